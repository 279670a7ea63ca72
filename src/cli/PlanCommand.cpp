// `plan`, `profile-plot` and `section-plot`: the maps drawn offscreen by the
// window's own drawing code, at full extent, with a title block, and saved as
// a PNG picture, an SVG or a PDF; the plan also as DXF for CAD. And the
// earthwork's pictures: `section-sheets` and `mass-haul`.

#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "cad/PlanDxf.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"

#include "alignment/RoadDesign.h"
#include "editors/AlignmentLoader.h"

#ifdef TRAZMARK_WITH_MAPS
#include <QGuiApplication>

#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkTable.h"
#include "library/InputRoadLibrary.h"
#include "maps/DrawingExport.h"
#include "maps/EarthworkViews.h"
#include "maps/GroundViews.h"
#include "maps/MassHaulDrawing.h"
#include "maps/SectionSheets.h"
#include "terrain/RoadGround.h"
#include "vertical/VerticalCurveCal.h"
#endif

namespace trazmark::cli {

namespace {

int drawFail(const std::string& verb, const std::string& message) {
  std::fprintf(stderr, "trazmark-cli: %s: %s\n", verb.c_str(), message.c_str());
  return 1;
}

}  // namespace

#ifdef TRAZMARK_WITH_MAPS

namespace {

// "WxH" with both sides from 16 to 16384 pixels.
bool parseSize(const std::string& text, int& width, int& height) {
  std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  double w = 0, h = 0;
  if (!parseNumber(text.substr(0, x), w) || !parseNumber(text.substr(x + 1), h)) return false;
  if (w != static_cast<int>(w) || h != static_cast<int>(h)) return false;
  if (w < 16 || h < 16 || w > 16384 || h > 16384) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

/// The road's name in the title block: the file's name without its folder
/// and extension.
std::string nameOfFile(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

/// What every drawing verb reads first: FILE, -o OUT with a known extension,
/// --size. `allowDxf`: only the plan is written as DXF.
struct DrawingRequest {
  std::string input;
  std::string output;
  DrawingFormat format = DrawingFormat::Png;
  QSize size{1200, 900};
  std::unique_ptr<CliArgs> args;  ///< every option, for those of one verb
};

/// `extraOptions`: the value options of one verb beside -o and --size.
bool readRequest(const std::vector<std::string>& argv, const std::string& verb, bool allowDxf,
                 DrawingRequest& request, std::string& error,
                 std::vector<std::string> extraOptions = {}, std::vector<std::string> flags = {}) {
  extraOptions.insert(extraOptions.begin(), {"-o", "--size"});
  request.args = std::make_unique<CliArgs>(argv, extraOptions, std::vector<std::string>{}, flags);
  CliArgs& args = *request.args;
  if (!args.ok()) {
    error = args.error();
    return false;
  }
  if (args.positional().size() != 1 || !args.has("-o")) {
    error =
        "expected FILE -o OUT.png|svg|pdf" + std::string(allowDxf ? "|dxf" : "") + " [--size WxH]";
    return false;
  }
  int width = 1200, height = 900;
  if (auto size = args.value("--size")) {
    if (!parseSize(*size, width, height)) {
      error = "--size '" + *size + "': expected WxH, each 16 to 16384 pixels";
      return false;
    }
  }
  request.input = args.positional()[0];
  request.output = *args.value("-o");
  request.size = QSize(width, height);
  // A drawing under another extension would be bytes that the tools chosen
  // by that name cannot open.
  const std::optional<DrawingFormat> format = drawingFormatFor(request.output);
  if (!format || (*format == DrawingFormat::Dxf && !allowDxf)) {
    error =
        "cannot write " + request.output + ": " + verb +
        (allowDxf ? " drawings are PNG, SVG, PDF or DXF (name ending in .png, .svg, .pdf or .dxf)"
                  : " drawings are PNG, SVG or PDF (name ending in .png, .svg or .pdf)");
    return false;
  }
  request.format = *format;
  return true;
}

/// Text on a drawing needs the font machinery of a GUI application; no window
/// is ever shown, so the offscreen platform serves on any machine.
/// The toolkit's own notes (a missing runtime folder, font fallbacks) are
/// not the tool's output: a failure stays one line on standard error.
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg)
    std::fprintf(stderr, "trazmark-cli: %s\n", message.toLocal8Bit().constData());
}

struct OffscreenGui {
  int argc = 1;
  char name[16] = "trazmark-cli";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QGuiApplication> app;
  OffscreenGui() {
    qInstallMessageHandler(quietToolkit);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // the toolkit took the user's locale; numbers keep a dot
  }
};

/// The flag of the sheet verbs that keeps the screen's colours (light lines
/// on black) instead of white paper.
const char* const kScreenColours = "--screen-colours";

/// The sheet is checked before the toolkit starts, so that what cannot be
/// drawn fails without it.
int writeSheet(const std::string& verb, std::optional<DrawingSheet> sheet,
               const DrawingRequest& request, const std::string& nothing) {
  if (!sheet) return drawFail(verb, request.input + ": " + nothing);
  if (request.args->has(kScreenColours)) sheet->palette = DrawingPalette::screen();
  if (!sheetView(*sheet))
    return drawFail(verb, "a sheet of " + std::to_string(request.size.width()) + "x" +
                              std::to_string(request.size.height()) +
                              " pixels has no room for the map");
  OffscreenGui gui;
  std::string error;
  if (!writeDrawing(*sheet, request.output, error)) return drawFail(verb, error);
  return 0;
}

/// The road file of `profile-plot` and `section-plot`.
bool readRoad(const std::string& path, CInputRoadLibrary& road, std::string& error) {
  if (fileTypeCode(path) != "REC") {
    error = path + ": expected a road file (.REC)";
    return false;
  }
  if (!road.readRoadFile(path)) {
    error = path + ": cannot read the road file";
    return false;
  }
  return true;
}

/// The road's ground for a drawing: --terrain (with its options), else what
/// the road's settings name; a road that names none is drawn without
/// (`ground` stays empty, true).
bool drawingGround(CliArgs& args, const std::string& roadPath, CRoadGround& ground,
                   std::string& error) {
  if (!args.value("--terrain")) {
    RoadTerrainSettings settings;
    if (!readRoadTerrainSettings(roadPath, settings, error)) return false;
    if (settings.terrainPath.empty() && settings.dmxPath.empty() && settings.hdmPath.empty()) {
      // Options of a terrain without the terrain are a mistake loadGround names.
      for (const std::string& option : kTerrainOptions)
        if (args.has(option)) return loadGround(args, roadPath, false, ground, error);
      return true;
    }
  }
  return loadGround(args, roadPath, false, ground, error);
}

/// What the earthwork's pictures read: the road, its alignment and grade
/// line, its ground (required) and the earthwork's own options.
struct EarthworkRequest {
  CInputRoadLibrary road;
  CRoadDesign design;
  CRoadProfile profile;
  CRoadGround ground;
  EarthworkOptions options;
};

bool readEarthworkRequest(CliArgs& args, const std::string& roadPath, EarthworkRequest& request,
                          std::string& error) {
  auto number = [&](const char* option, std::optional<double>& value) {
    const std::optional<std::string> text = args.value(option);
    if (!text) return true;
    double v = 0;
    if (!parseNumber(*text, v) || !std::isfinite(v)) {
      error = std::string(option) + " '" + *text + "' is not a number";
      return false;
    }
    value = v;
    return true;
  };
  std::optional<double> interval, bulking;
  if (!number("--interval", interval) || !number("--from", request.options.from) ||
      !number("--to", request.options.to) || !number("--bulking", bulking))
    return false;
  if (interval) request.options.interval = *interval;
  if (bulking) request.options.bulking = *bulking;
  // The core refuses these too, but only after the road and its ground are
  // read: a mistyped option is named at once.
  if (!(request.options.interval > 0)) {
    error = "--interval must be a positive number of metres";
    return false;
  }
  if (!(request.options.bulking > 0)) {
    error = "--bulking must be a positive factor";
    return false;
  }
  request.options.prismoidal = args.has("--prismoidal");
  if (!readRoad(roadPath, request.road, error)) return false;
  AlignmentSource source;
  if (!loadAlignmentFile(roadPath, request.design, source, error)) {
    error = roadPath + ": " + error;
    return false;
  }
  if (!request.profile.build(request.road.verticalCurves, request.design, error)) {
    error = roadPath + ": " + error + " (the earthwork needs the grade line)";
    return false;
  }
  if (!drawingGround(args, roadPath, request.ground, error)) return false;
  if (request.ground.empty()) {
    error = roadPath + ": the road names no ground (give --terrain T)";
    return false;
  }
  // The depth given wins over the road's settings.
  std::optional<double> depth;
  if (!number("--pavement-depth", depth)) return false;
  RoadTerrainSettings settings;
  if (readRoadTerrainSettings(roadPath, settings, error))
    request.options.pavementDepth = settings.pavementDepth;
  error.clear();
  if (depth) request.options.pavementDepth = *depth;
  if (!(request.options.pavementDepth >= 0)) {
    error = "--pavement-depth must be 0 or more metres";
    return false;
  }
  return true;
}

const std::vector<std::string> kEarthworkOptions = {"--interval", "--from", "--to", "--bulking",
                                                    "--pavement-depth"};

}  // namespace

int cmdPlan(const std::vector<std::string>& argv) {
  DrawingRequest request;
  std::string error;
  if (!readRequest(argv, "plan", true, request, error, {}, {kScreenColours}))
    return drawFail("plan", error);
  CRoadDesign design;
  AlignmentSource source;
  if (!loadAlignmentFile(request.input, design, source, error))
    return drawFail("plan", request.input + ": " + error);
  if (request.format == DrawingFormat::Dxf) {
    if (!writePlanDxf(design, request.output, error)) return drawFail("plan", error);
    return 0;
  }
  TitleBlock title;
  title.roadName = nameOfFile(request.input);
  return writeSheet("plan", planSheet(design, request.size, title), request,
                    "the alignment has no extent to draw");
}

int cmdProfilePlot(const std::vector<std::string>& argv) {
  DrawingRequest request;
  std::string error;
  if (!readRequest(argv, "profile-plot", false, request, error, kTerrainOptions, {kScreenColours}))
    return drawFail("profile-plot", error);
  CInputRoadLibrary road;
  if (!readRoad(request.input, road, error)) return drawFail("profile-plot", error);
  RecordList<CVerticalCurveCal> points = road.verticalCurves;
  // The grades come from the neighbours, as the grade-point editor shows them.
  refreshGradePoints(points);
  setupVerticalCurves(points);
  // The ground at the road's stakes, as the profile map draws it.
  CRoadGround ground;
  if (!drawingGround(*request.args, request.input, ground, error))
    return drawFail("profile-plot", error);
  std::vector<GroundSample> samples;
  if (!ground.empty()) {
    CRoadDesign design;
    AlignmentSource source;
    if (!loadAlignmentFile(request.input, design, source, error))
      return drawFail("profile-plot",
                      request.input + ": " + error + " (the ground is taken at the road's stakes)");
    samples = groundAtStakes(design, ground);
  }
  TitleBlock title;
  title.roadName = nameOfFile(request.input);
  return writeSheet(
      "profile-plot",
      profileSheet(points, request.size, title, true, samples.empty() ? nullptr : &samples),
      request, "no grade line to draw (fewer than two grade points)");
}

int cmdSectionPlot(const std::vector<std::string>& argv) {
  DrawingRequest request;
  std::string error;
  std::vector<std::string> options = kTerrainOptions;
  options.insert(options.end(), {"--station", "--side"});
  if (!readRequest(argv, "section-plot", false, request, error, options, {kScreenColours}))
    return drawFail("section-plot", error);
  CliArgs& args = *request.args;
  CInputRoadLibrary road;
  if (!readRoad(request.input, road, error)) return drawFail("section-plot", error);
  TitleBlock title;
  title.roadName = nameOfFile(request.input);
  const std::optional<std::string> stationText = args.value("--station");
  if (!stationText) {
    for (const std::string& option : {std::string("--side"), std::string("--terrain")})
      if (args.has(option)) return drawFail("section-plot", option + " goes with --station S");
    return writeSheet("section-plot",
                      sectionSheet(road.leftSections, road.rightSections, request.size, title),
                      request, "no standard cross section to draw");
  }
  // The section at a station, as `section` computes it, over the ground across.
  double station = 0;
  if (!parseNumber(*stationText, station))
    return drawFail("section-plot", "--station '" + *stationText + "' is not a number");
  const std::string sideText = args.value("--side").value_or("default");
  int side = -1;
  if (sideText == "before")
    side = 0;
  else if (sideText == "after")
    side = 1;
  else if (sideText != "default")
    return drawFail("section-plot", "--side must be before, after or default");
  CRoadDesign design;
  AlignmentSource source;
  if (!loadAlignmentFile(request.input, design, source, error))
    return drawFail("section-plot", request.input + ": " + error);
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error))
    return drawFail("section-plot",
                    request.input + ": " + error + " (the section's elevations need them)");
  CRoadGround ground;
  if (!drawingGround(args, request.input, ground, error)) return drawFail("section-plot", error);
  StationSectionPicture picture;
  if (!stationSectionPicture(road, design, profile, &ground, station, side, {}, picture, error))
    return drawFail("section-plot", error);
  return writeSheet("section-plot", stationSectionSheet(std::move(picture), request.size, title),
                    request, "no section to draw at that station");
}

int cmdSectionSheets(const std::vector<std::string>& argv) {
  const std::string verb = "section-sheets";
  DrawingRequest request;
  std::string error;
  std::vector<std::string> options = kTerrainOptions;
  options.insert(options.end(), {"--interval", "--from", "--to", "--pavement-depth"});
  if (!readRequest(argv, verb, false, request, error, options)) return drawFail(verb, error);
  if (request.args->has("--size"))
    return drawFail(verb, "--size: the sheets are A3 landscape pages");
  EarthworkRequest earthwork;
  if (!readEarthworkRequest(*request.args, request.input, earthwork, error))
    return drawFail(verb, error);
  // Every station gets its sheet; a side without areas says why on it.
  earthwork.options.allowIncomplete = true;
  EarthworkTable table;
  if (!earthworkTable(earthwork.road, earthwork.design, earthwork.profile, earthwork.ground,
                      earthwork.options, table, error))
    return drawFail(verb, error);
  std::vector<SheetSection> sections;
  if (!sheetSectionsOf(earthwork.road, earthwork.design, earthwork.profile, earthwork.ground,
                       earthwork.options.pavementDepth, table, sections, error))
    return drawFail(verb, error);
  OffscreenGui gui;
  if (!writeSectionSheets(sections, request.output, nameOfFile(request.input), error))
    return drawFail(verb, error);
  return 0;
}

int cmdMassHaul(const std::vector<std::string>& argv) {
  const std::string verb = "mass-haul";
  DrawingRequest request;
  std::string error;
  std::vector<std::string> options = kTerrainOptions;
  options.insert(options.end(), kEarthworkOptions.begin(), kEarthworkOptions.end());
  if (!readRequest(argv, verb, false, request, error, options,
                   {"--prismoidal", "--allow-incomplete"}))
    return drawFail(verb, error);
  EarthworkRequest earthwork;
  if (!readEarthworkRequest(*request.args, request.input, earthwork, error))
    return drawFail(verb, error);
  earthwork.options.allowIncomplete = request.args->has("--allow-incomplete");
  EarthworkTable table;
  if (!earthworkTable(earthwork.road, earthwork.design, earthwork.profile, earthwork.ground,
                      earthwork.options, table, error))
    return drawFail(verb, error);
  OffscreenGui gui;
  if (!writeMassHaul(massHaulOf(table), request.output, request.size, nameOfFile(request.input),
                     error))
    return drawFail(verb, error);
  return 0;
}

#else

// Without the toolkit only the plan's DXF is written: it needs no drawing.
int cmdPlan(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"-o", "--size"});
  if (!args.ok()) return drawFail("plan", args.error());
  if (args.positional().size() != 1 || !args.has("-o"))
    return drawFail("plan", "expected FILE -o OUT.dxf");
  const std::string out = *args.value("-o");
  if (fileTypeCode(out) != "DXF")
    return drawFail("plan",
                    "this build has no map drawing (built without Qt); only .dxf is written");
  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  const std::string& path = args.positional()[0];
  if (!loadAlignmentFile(path, design, source, error)) return drawFail("plan", path + ": " + error);
  if (!writePlanDxf(design, out, error)) return drawFail("plan", error);
  return 0;
}
int cmdProfilePlot(const std::vector<std::string>&) {
  return drawFail("profile-plot", "this build has no map drawing (built without Qt)");
}
int cmdSectionPlot(const std::vector<std::string>&) {
  return drawFail("section-plot", "this build has no map drawing (built without Qt)");
}
int cmdSectionSheets(const std::vector<std::string>&) {
  return drawFail("section-sheets", "this build has no map drawing (built without Qt)");
}
int cmdMassHaul(const std::vector<std::string>&) {
  return drawFail("mass-haul", "this build has no map drawing (built without Qt)");
}

#endif

}  // namespace trazmark::cli
