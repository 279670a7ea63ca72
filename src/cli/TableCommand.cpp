// `table curves|stakes|grades|subgrade|superelevation FILE -o OUT.csv|pdf`:
// the design tables, their column titles in the interface language.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "editors/AlignmentLoader.h"
#include "editors/SurveyImport.h"
#include "library/InputRoadLibrary.h"
#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "tables/DesignTables.h"
#include "terrain/RoadGround.h"

#ifdef TRAZMARK_WITH_MAPS
#include <QGuiApplication>

#include "maps/TablePdf.h"
#endif

namespace trazmark::cli {

namespace {

std::string lowerExtension(const std::string& path) {
  std::string e = fileTypeCode(path);
  for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return e;
}

std::string programFolder() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.find_last_of('/') + 1);
}

}  // namespace

std::string languageFilePath(const std::string& language) {
  const std::string name =
      language.empty() || language == "zh" ? "Language.xml" : "Language." + language + ".xml";
  const std::string folder = programFolder();
  // Beside the program (a build), else installed.
  for (const std::string& candidate : {folder + name, folder + "../share/trazmark/" + name}) {
    if (FILE* f = std::fopen(candidate.c_str(), "rb")) {
      std::fclose(f);
      return candidate;
    }
  }
  return {};
}

TableTextLookup languageLookup(const std::string& language) {
  auto doc = std::make_shared<MarkupDocument>();
  const std::string path = languageFilePath(language);
  const bool loaded = !path.empty() && doc->loadFile(path);
  auto cache = std::make_shared<std::map<std::string, std::string>>();
  return [doc, loaded, cache](const std::string& key) -> std::string {
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    std::string text;
    if (loaded) {
      doc->resetPositions();
      if (doc->findElement("HEAD") && doc->enterElement() && doc->findElement("String") &&
          doc->enterElement() && doc->findElement(key))
        text = ansiToUtf8(doc->elementData());
    }
    // A key the file lacks shows as itself rather than as a blank title.
    if (text.empty()) text = key;
    return (*cache)[key] = text;
  };
}

int cmdTable(const std::vector<std::string>& argv) {
  std::vector<std::string> options = {"--interval", "-o", "--lang", "--paper", "--pavement-depth"};
  options.insert(options.end(), kTerrainOptions.begin(), kTerrainOptions.end());
  CliArgs args(argv, options);
  const double interval = args.number("--interval", 20);
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 2 || !args.has("-o"))
    return fail("table: expected curves|stakes|grades|subgrade|superelevation FILE -o OUT.csv|pdf");
  const std::string kind = args.positional()[0];
  const std::string path = args.positional()[1];
  const std::string out = *args.value("-o");
  const std::string ext = lowerExtension(out);
  if (kind != "curves" && kind != "stakes" && kind != "grades" && kind != "subgrade" &&
      kind != "superelevation")
    return fail("table: unknown table '" + kind + "' (curves, stakes, grades, subgrade, superelevation)");
  if (ext != "csv" && ext != "pdf") return fail("table: OUT must end in .csv or .pdf");
  if (!(interval >= 1)) return fail("table: the interval must be at least 1");
  const bool roadOnly = kind != "curves" && kind != "stakes";
  if (roadOnly && fileTypeCode(path) != "REC")
    return fail("table " + kind + ": FILE must be a road file (.REC)");

  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  if (!loadAlignmentFile(path, design, source, error)) {
    // The grade table needs no alignment: a road without one is read whole.
    CInputRoadLibrary whole;
    if (kind != "grades" || !whole.readRoadFile(path)) return fail(path + ": " + error);
    source.kind = "REC";
    source.road = whole;
    design.brokenChains = whole.scissons;
  }
  if (!design.brokenChainError().empty()) return fail(path + ": " + design.brokenChainError());
  const bool isRoad = source.kind == "REC";
  const RoadDataSet& road = source.road;

  DesignTable table;
  if (kind == "curves") {
    RecordList<Road_CrossPoint> points;
    bool byPoint = false;
    if (isRoad && road.FlatcurveType == kFlatcurveCrossPoints) {
      points = road.crossPoints;
      byPoint = true;
    } else if (source.kind == "RP") {
      CRoadDesign_CrossPoint method("");
      if (method.readText(path)) {
        points = method.points;
        byPoint = true;
      }
    } else if (source.kind == "IP" || source.kind == "XY") {
      // A survey file's points, converted as loading it does, through a
      // private temporary RP file (nothing is written beside the survey).
      std::string surveyText, rpText;
      if (readTextFileAsAnsi(path, surveyText) &&
          (source.kind == "IP" ? convertIpSurveyText(surveyText, source.roadName, rpText)
                               : convertXySurveyText(surveyText, source.roadName, rpText))) {
        char scratch[] = "/tmp/trazmark-table-XXXXXX";
        const int fd = ::mkstemp(scratch);
        if (fd >= 0) {
          ::close(fd);
          CRoadDesign_CrossPoint method("");
          if (writeTextFileAtomically(scratch, rpText) && method.readText(scratch)) {
            points = method.points;
            byPoint = true;
          }
          std::remove(scratch);
        }
      }
    }
    if (byPoint) {
      std::vector<CurvePointRow> rows;
      if (!curvePointRows(points, design, rows, error)) return fail("table curves: " + error);
      table = curvePointTable(rows);
    } else {
      table = elementTable(elementRows(design));
    }
  } else if (kind == "stakes") {
    std::vector<StakeRow> rows;
    const RecordList<CVerticalCurveCal>* grades = isRoad ? &road.verticalCurves : nullptr;
    if (!stakeRows(design, grades, interval, rows, error)) return fail("table stakes: " + error);
    table = stakeTable(rows, grades && !grades->empty());
  } else if (kind == "grades") {
    std::vector<GradePointRow> rows;
    if (!gradePointRows(road.verticalCurves, design, rows, error)) return fail("table grades: " + error);
    table = gradePointTable(rows);
  } else if (kind == "subgrade") {
    // The ground when the road has one (or --terrain names it); blank without.
    CRoadGround ground;
    std::string groundError;
    const bool hasGround = loadGround(args, path, false, ground, groundError);
    if (!hasGround && args.has("--terrain")) return fail("table subgrade: " + groundError);
    double pavementDepth = 0;
    if (hasGround && !readPavementDepth(args, path, pavementDepth, error)) return fail("table subgrade: " + error);
    std::vector<SubgradeRow> rows;
    if (!subgradeRows(road, design, hasGround ? &ground : nullptr, interval, rows, error, pavementDepth))
      return fail("table subgrade: " + error);
    table = subgradeTable(rows);
  } else {
    std::vector<SuperelevationRow> rows;
    if (!superelevationRows(road, design, interval, rows, error))
      return fail("table superelevation: " + error);
    table = superelevationTable(rows);
  }

  std::string language = args.value("--lang").value_or("");
  if (language.empty())
    if (const char* env = std::getenv("TRAZMARK_LANG")) language = env;
  const TableTextLookup text = languageLookup(language);
  if (ext == "csv") {
    if (!writeTableCsv(out, table, text, error)) return fail("table: " + error);
    return 0;
  }
#ifdef TRAZMARK_WITH_MAPS
  const std::string paper = args.value("--paper").value_or("a3");
  if (paper != "a3" && paper != "a4") return fail("table: --paper must be a3 or a4");
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  char name[] = "trazmark-cli";
  char* qtArgv[] = {name, nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  TablePdfOptions pdfOptions;
  pdfOptions.roadName = ansiToUtf8(source.roadName.empty() ? design.roadName() : source.roadName);
  char date[32];
  const std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
  pdfOptions.date = date;
  pdfOptions.a3 = paper == "a3";
  if (!writeTablePdf(out, table, text, pdfOptions, error)) return fail("table: " + error);
  return 0;
#else
  return fail("table: PDF needs a build with the toolkit (write .csv)");
#endif
}

}  // namespace trazmark::cli
