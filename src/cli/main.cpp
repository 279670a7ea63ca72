// trazmark-cli: computes an alignment without the window.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "alignment/ChainageTable.h"
#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "coords/AngleFormat.h"
#include "crosssection/RoadProfile.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"
#include "vertical/VerticalCurveCal.h"
#include "vertical/VerticalCurveFile.h"

namespace trazmark::cli {
namespace {

constexpr const char* kUsage =
    "usage: trazmark-cli COMMAND [ARGS]\n"
    "\n"
    "Alignment files: FILE is any alignment file, chosen by its extension:\n"
    "  .RP intersection points, .RE elements, .LE line elements, .IP/.XY survey\n"
    "  files, .REC a road file (its method in force and its broken chains), and\n"
    "  any other extension a curve file (.TDFE).\n"
    "\n"
    "Commands:\n"
    "  keypoints FILE [--chain B:A]...\n"
    "      print the key points: name,mileage,X,Y\n"
    "  stakes FILE [--interval N] [--mode number|distance] [--offset D] [-o OUT] [--chain B:A]...\n"
    "         [--elevations]\n"
    "      write the stake list (default interval 20, mode number) to OUT or standard output;\n"
    "      with --offset the stakes lie D metres right of the centre line (negative: left);\n"
    "      --elevations (a road file with grade points) puts the design elevation in Z\n"
    "  point FILE STATION [--offset D] [--side before|after|default] [--chain B:A]...\n"
    "      print X, Y and the azimuth (decimal degrees and packed ddd.mmss) at a displayed "
    "station\n"
    "  locate FILE X Y [--chain B:A]...\n"
    "  locate FILE --points CSV [--chain B:A]...\n"
    "      station and offset of a point: STATION,OFFSET,CONTINUOUS (or outside,DISTANCE);\n"
    "      with --points, one NAME,STATION,OFFSET,CONTINUOUS line per NAME,X,Y line\n"
    "  section ROAD.REC STATION [--side before|after|default] [--csv] [--chain B:A]...\n"
    "      the cross section at a station: each component's width, cross slope (percent),\n"
    "      outer edge offset, elevation, X and Y, left then right, then the side slopes;\n"
    "      --csv: SIDE,NAME,WIDTH,SLOPE,EDGE_OFFSET,EDGE_ELEVATION,EDGE_X,EDGE_Y lines\n"
    "  section ROAD.REC STATION --terrain T [--pavement-depth D] [...]\n"
    "      with ground (--terrain, or the ground the road's settings file names) the same,\n"
    "      then the formation (D metres below the paved components), each side's slope\n"
    "      run out to its catch point (offset, elevation, X, Y) and the cut and fill areas\n"
    "      (m2); a side without a slope, without ground or whose slope does not meet the\n"
    "      ground says so instead; --csv adds FORMATION,OFFSET,ELEVATION,\n"
    "      CATCH,SIDE,OFFSET,ELEVATION,X,Y, AREA,SIDE|TOTAL,CUT,FILL and STATUS,SIDE,WHY lines\n"
    "  curve FILE -o OUT\n"
    "      write the curve file of the alignment method in FILE\n"
    "  profile FILE (--station M [--side before|after] | --interval N [--with-end])\n"
    "      print station,elevation on the grade line of a road file (.REC) or a .VR file;\n"
    "      stations are displayed stations across the road's broken chains (--side: which\n"
    "      place of a station a long chain repeats, before by default);\n"
    "      --with-end adds the end of the grade line (as the profile map draws it)\n"
    "  info ROAD.REC\n"
    "      summarise a road file\n"
    "  resave IN.REC OUT.REC\n"
    "      read a road file and write it back as the program's Save does\n"
    "  plan FILE -o OUT.png|svg|pdf|dxf [--size WxH] [--screen-colours]\n"
    "      draw the plan of the alignment at full extent with a title block (road name,\n"
    "      scale, date) on a sheet of WxH 96 dpi pixels (default 1200x900), key points and\n"
    "      stations along the road, north arrow and scale bar; .dxf writes\n"
    "      the centre line, key points, names and stations for CAD on named layers\n"
    "      (plan, profile-plot, section-plot: white paper and dark lines; --screen-colours\n"
    "      keeps the maps' colours on black)\n"
    "  profile-plot ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--terrain T] [--screen-colours]\n"
    "      draw the profile (grade line and grade-point labels) of a road file, with the\n"
    "      ground at the stakes and the fill/cut heights where the road has ground\n"
    "  section-plot ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--station S [--side before|after]\n"
    "               [--terrain T]] [--screen-colours]\n"
    "      draw the standard cross section of a road file; with --station the section at\n"
    "      that station (as `section` computes it) over the ground across the road\n"
    "  section-sheets ROAD.REC -o OUT.pdf|svg|png [--interval N] [--from S --to S] "
    "[--pavement-depth D] [--terrain T]\n"
    "      cross-section sheets: the sections at the earthwork's stations (every N m, default\n"
    "      20, and where the centre passes between cut and fill) against the ground, with\n"
    "      catch points, centre elevations and cut and fill areas, several to an A3 page at one\n"
    "      scale, a title block per page; PDF pages, or one SVG/PNG file a page (OUT-001.svg...)\n"
    "  mass-haul ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--interval N] [--from S --to S]\n"
    "            [--bulking F] [--prismoidal] [--allow-incomplete] [--terrain T]\n"
    "      the mass-haul diagram: cumulative cut x F - cumulative fill along the road, with\n"
    "      its axes and the totals; a station without areas fails unless --allow-incomplete\n"
    "  ground ROAD.REC [--terrain T] [--interval N] [--csv] [--chain B:A]...\n"
    "      the ground profile at every stake of the stake list (key points included, default\n"
    "      interval 20): station, ground, design (the grade line) and height = design - ground\n"
    "      (fill positive, cut negative), '-' where there is none; --csv: "
    "STATION,GROUND,DESIGN,HEIGHT\n"
    "  ground ROAD.REC [--terrain T] [--interval N] [--dmx OUT.dmx] [--hdm OUT.hdm [--width W]]\n"
    "      write the TIN's ground at the stakes as ground line files: longitudinal (.dmx) and\n"
    "      across the road (.hdm, W metres a side, default 50)\n"
    "  earthwork ROAD.REC [--terrain T] [--interval N] [--from S] [--to S] [--prismoidal]\n"
    "            [--bulking F] [--pavement-depth D] [--csv] [-o OUT] [--chain B:A]...\n"
    "      cut and fill along the road: one line per station (every N metres of displayed\n"
    "      station, default 20, the broken chains, the ends and where the centre passes\n"
    "      between cut and fill) STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,\n"
    "      CUM_CUT,CUM_FILL,MASS, then the totals; areas m2, volumes m3 (\"%.2f\"), distances\n"
    "      continuous metres; volumes by average end areas, --prismoidal with a middle section;\n"
    "      MASS = CUM_CUT x F - CUM_FILL (F default 1); D, the pavement depth, defaults to\n"
    "      the road's settings file (else 0); a station whose side has no slope, no ground\n"
    "      or no catch point fails the command, naming it\n"
    "  check ROAD.REC --points FILE [--format name,x,y,z|name,code,e,n,z] [--tol-z 0.02]\n"
    "        [--tol-offset 0.05] [--pavement-depth D] [--terrain T [--terrain-format F]] [--csv]\n"
    "        [-o OUT.txt|csv|pdf] [--chain B:A]...\n"
    "      surveyed points against the design: NAME,STATION,OFFSET,DESIGN_Z,DZ,EDGE,DOFFSET,FLAG,\n"
    "      NOTE per point (STATION marked (before)/(after) in a long chain's repeated range; DZ =\n"
    "      surveyed - design on the finished surface, and with ground on the side slopes out to\n"
    "      the catch points; EDGE the component edge, slope step, catch point or centre the\n"
    "      point's code names, else the nearest, DOFFSET = offset - its offset; '-' where there\n"
    "      is none; a code naming no edge is a surface point, its DOFFSET not judged); FLAG ok\n"
    "      or BEYOND either tolerance (metres; exactly at it is within); points off the road\n"
    "      (outside,DISTANCE) after the others; then the summary. FILE (default name,x,y,z:\n"
    "      north, east) is read whole first; -o OUT.pdf writes the report with the plan\n"
    "  ground-section ROAD.REC STATION [--terrain T] [--width W] [--side before|after|default]\n"
    "      the ground across the road at a displayed station: OFFSET,ELEVATION from -W to +W\n"
    "      (default 50, right of travel positive) at every crossing of a triangle edge;\n"
    "      a line 'gap' where the line has no ground\n"
    "  terrain info FILE\n"
    "      points, triangles, extent, elevation range, dropped triangles, duplicate points\n"
    "  terrain FILE --points CSV\n"
    "      NAME,Z (or NAME,outside) for every NAME,X,Y line of CSV\n"
    "  table curves|stakes|grades|subgrade|superelevation FILE -o OUT.csv|pdf [--interval D]\n"
    "        [--lang CODE] [--paper a3|a4] [--terrain T]\n"
    "      a design table: curve elements (per intersection point, or per element for roads of\n"
    "      elements), stake coordinates (with the design elevation on a road with grade points),\n"
    "      grades and vertical curves, subgrade design (ground from --terrain or the road's\n"
    "      settings, blank without), superelevation and widening; stakes every D metres (20).\n"
    "      FILE: a road file; for curves and stakes any alignment file. CSV: UTF-8 with a BOM,\n"
    "      one header row, plain station numbers; PDF: landscape pages (A3 default), the\n"
    "      header on every page, title block. Titles in the language of --lang CODE (else\n"
    "      TRAZMARK_LANG; Chinese by default, en English)\n"
    "  import FILE.xml -o ROAD.REC [--alignment NAME]\n"
    "      read the first (or the named) alignment of a LandXML 1.2 file into a road file\n"
    "  export FILE -o FILE.xml\n"
    "      write the alignment, broken chains and grade points as LandXML 1.2\n"
    "\n"
    "  --chain BEFORE:AFTER  a broken chain: short when BEFORE - AFTER <= 0.0001, else long\n"
    "Terrain: T or FILE is a LandXML surface (.xml) or a survey points file (any other "
    "extension):\n"
    "  --format x,y,z|name,x,y,z|name,code,e,n,z  the points file's columns (default x,y,z)\n"
    "  --breaklines FILE  breaklines for a points file   --surface NAME  the LandXML surface\n"
    "  --max-edge M  triangles with an edge longer than M metres are not ground\n"
    "  Without --terrain the ground commands read ROAD.REC.ground beside the road file.\n"
    "\n"
    "X is north and Y east, in metres; azimuths run clockwise from north.\n";

constexpr double kShortChainTolerance = 1e-4;

// The engine's fixed warnings ("道路元素不能少于2个!") come with a failure that
// the command reports itself: they join its error line, so a failure is always
// one line on standard error.
std::vector<std::string>& pendingWarnings() {
  static std::vector<std::string> warnings;
  return warnings;
}

void noteWarning(const std::string& text, const std::string& caption) {
  std::string warning = caption + ": " + text;
  auto& pending = pendingWarnings();
  if (std::find(pending.begin(), pending.end(), warning) == pending.end())
    pending.push_back(warning);
}

}  // namespace

int fail(const std::string& message) {
  std::string line = message;
  for (const std::string& warning : pendingWarnings()) line += " (" + warning + ")";
  pendingWarnings().clear();
  std::fprintf(stderr, "trazmark-cli: %s\n", line.c_str());
  return 1;
}

bool parseChains(const CliArgs& args, RecordList<Scisson_Data>& chains, std::string& error) {
  for (const std::string& text : args.values("--chain")) {
    std::size_t colon = text.find(':');
    double before = 0, after = 0;
    if (colon == std::string::npos || !parseNumber(text.substr(0, colon), before) ||
        !parseNumber(text.substr(colon + 1), after)) {
      error = "--chain '" + text + "': expected BEFORE:AFTER, two numbers";
      return false;
    }
    Scisson_Data chain;
    chain.Before_mileage = before;
    chain.After_mileage = after;
    chain.Type = before - after <= kShortChainTolerance ? 1 : 0;
    chain.Length = std::fabs(before - after);
    chains.append(chain);
  }
  return true;
}

// Loads FILE and applies --chain options (which replace a road file's chains).
bool loadDesign(const std::string& path, const CliArgs& args, CRoadDesign& design,
                std::string& error) {
  RecordList<Scisson_Data> chains;
  if (!parseChains(args, chains, error)) return false;
  AlignmentSource source;
  if (!loadAlignmentFile(path, design, source, error)) {
    error = path + ": " + error;
    return false;
  }
  if (!chains.empty()) design.brokenChains = chains;
  error = design.brokenChainError();
  return error.empty();
}

namespace {

int cmdKeypoints(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--chain"}, {"--chain"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1) return fail("keypoints: expected one FILE");
  CRoadDesign design;
  std::string error;
  if (!loadDesign(args.positional()[0], args, design, error)) return fail(error);
  const auto& points = design.keyPoints();
  for (std::size_t k = 0; k < points.size(); ++k) {
    double displayed = design.displayedFromContinuous(design.keyPointMileages()[k]);
    std::printf("%s,%.4f,%.4f,%.4f\n", points[k].Name.c_str(), displayed, points[k].X, points[k].Y);
  }
  return 0;
}

int cmdStakes(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--interval", "--mode", "--offset", "-o", "--chain"}, {"--chain"},
               {"--elevations"});
  double interval = args.number("--interval", 20);
  double offset = args.number("--offset", 0);
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1) return fail("stakes: expected one FILE");
  std::string mode = args.value("--mode").value_or("number");
  if (mode != "number" && mode != "distance")
    return fail("stakes: --mode must be 'number' or 'distance'");
  int calculateMode = mode == "number" ? 0 : 1;
  if (!(interval > 0) || (calculateMode == 0 && interval < 1))
    return fail("stakes: the interval must be positive (at least 1 with --mode number)");
  CRoadDesign design;
  std::string error;
  if (!loadDesign(args.positional()[0], args, design, error)) return fail(error);
  // The list is computed whole before anything is written, so a list that
  // cannot be computed leaves an existing OUT as it was rather than cut short.
  std::string text;
  if (args.has("--elevations")) {
    if (!stakeTextWithElevations(args.positional()[0], design, calculateMode, interval, offset,
                                 text, error))
      return fail("stakes: " + error);
  } else if (!design.stakeListText(calculateMode, interval, offset, text, StakePositions::AtOffset))
    return fail("stakes: the stake list cannot be computed (more than " +
                std::to_string(CRoadDesign::kMaxStakes) +
                " stakes at this interval, or a stake off the alignment)");
  if (auto out = args.value("-o")) {
    if (!writeTextFileAtomically(*out, text))
      return fail("stakes: cannot write the stake list to " + *out);
    return 0;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int cmdPoint(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--offset", "--side", "--chain"}, {"--chain"});
  double offset = args.number("--offset", 0);
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 2) return fail("point: expected FILE and STATION");
  double station = 0;
  if (!parseNumber(args.positional()[1], station))
    return fail("point: STATION '" + args.positional()[1] + "' is not a number");
  std::string sideText = args.value("--side").value_or("default");
  int side = -1;
  if (sideText == "before")
    side = 0;
  else if (sideText == "after")
    side = 1;
  else if (sideText != "default")
    return fail("point: --side must be before, after or default");
  CRoadDesign design;
  std::string error;
  if (!loadDesign(args.positional()[0], args, design, error)) return fail(error);
  auto p = design.pointAtStation(station, offset, side);
  if (!p) {
    const bool skipped = std::isnan(design.continuousFromDisplayed(station, side));
    return fail("point: station " + formatFixed(station, 4) +
                (skipped ? " is skipped by a short broken chain" : " is not on the alignment"));
  }
  double degrees = p->azimuth * 180.0 / M_PI;
  std::printf("X=%.4f Y=%.4f azimuth=%.8f dms=%.10f\n", p->x, p->y, degrees,
              radiansToPackedDms(p->azimuth, DmsVariant::Stake));
  return 0;
}

int cmdCurve(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"-o"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1 || !args.has("-o")) return fail("curve: expected FILE -o OUT");
  std::string error;
  if (!writeCurveFileFor(args.positional()[0], *args.value("-o"), error))
    return fail(args.positional()[0] + ": " + error);
  return 0;
}

int cmdProfile(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--station", "--interval", "--side"}, {}, {"--with-end"});
  double station = args.number("--station", 0);
  double interval = args.number("--interval", 0);
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1) return fail("profile: expected one FILE");
  if (args.has("--station") == args.has("--interval"))
    return fail("profile: give either --station M or --interval N");
  const std::string sideText = args.value("--side").value_or("before");
  if (sideText != "before" && sideText != "after")
    return fail("profile: --side must be before or after");
  const std::string& path = args.positional()[0];
  // Grade-point stations are displayed stations: a road file's broken chains
  // place them along the road, and the stations printed are displayed ones. A
  // VR file has no chains: its stations are the road's mileage as they stand.
  RecordList<CVerticalCurveCal> points;
  RecordList<Scisson_Data> chains;
  if (fileTypeCode(path) == "REC") {
    CInputRoadLibrary road;
    if (!road.readRoadFile(path)) return fail(path + ": cannot read the road file");
    if (road.verticalCurves.empty()) return fail(path + ": no grade points");
    chains = road.scissons;
    CRoadProfile profile;
    std::string error;
    if (!profile.build(road.verticalCurves, chains, error)) return fail(path + ": " + error);
    points = profile.placedPoints();
  } else if (!readVerticalCurveFile(path, points)) {
    return fail(path + ": cannot read the vertical curve file");
  }
  if (points.empty()) return fail(path + ": no grade points");
  const CChainageTable table(chains);
  if (args.has("--station")) {
    const std::optional<double> place = table.continuousFromDisplayed(station, sideText == "after");
    if (!place)
      return fail("profile: station " + formatFixed(station, 3) +
                  " is skipped by a short broken chain");
    double elevation = 0;
    if (!CGradeLine(points).elevationAt(*place, elevation))
      return fail("profile: no elevation at station " + formatFixed(station, 3));
    std::printf("%.3f,%.3f\n", station, elevation);
    return 0;
  }
  if (!(interval > 0)) return fail("profile: the interval must be positive");
  std::vector<GradeLineSample> samples;
  if (!sampleGradeLine(points, interval, samples, 1000000, args.has("--with-end")))
    return fail("profile: too many stations for this interval");
  std::string out;
  for (const auto& s : samples)
    appendFormat(out, "%.3f,%.3f\n", table.displayedFromContinuous(s.mileage), s.elevation);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const char* methodName(int type) {
  switch (type) {
    case kFlatcurveCrossPoints:
      return "intersection points";
    case kFlatcurveElements:
      return "elements";
    case kFlatcurveLineElements:
      return "line elements";
    default:
      return "none";
  }
}

int cmdInfo(const std::vector<std::string>& argv) {
  CliArgs args(argv, {});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1) return fail("info: expected one ROAD.REC");
  const std::string& path = args.positional()[0];
  CInputRoadLibrary road;
  if (!road.readRoadFile(path))
    return fail(path + ": cannot read the road file (missing, unreadable or not a road file)");
  std::printf("road file          %s\n", path.c_str());
  std::printf("horizontal method  %s (%d)\n", methodName(road.FlatcurveType), road.FlatcurveType);
  std::printf("broken chains      %d\n", road.scissons.count());
  std::printf("intersection pts   %d\n", road.crossPoints.count());
  std::printf("elements           %d\n", road.elements.count());
  std::printf("line elements      %d\n", road.lineElements.count());
  std::printf("grade points       %d\n", road.verticalCurves.count());
  std::printf("left sections      %d\n", road.leftSections.count());
  std::printf("right sections     %d\n", road.rightSections.count());
  std::printf("section changes    %d\n", road.sectionChanges.count());
  std::printf("slopes             %d\n", road.slopes.count());
  std::printf("superelevation     %d\n", road.superHighs.count());
  std::printf("widening           %d\n", road.widens.count());
  if (road.FlatcurveType >= 0) {
    CRoadDesign design;
    std::string error;
    // Warnings of the engine would repeat the error line below.
    WarningSink previous = setWarningSink([](const std::string&, const std::string&) {});
    // The road as read above: the file is not read a second time.
    bool loaded = loadRoadAlignment(road, roadNameOfPath(path), design, error);
    setWarningSink(previous);
    if (loaded) {
      // The end is the station a stake shows (after the broken chains) and
      // the length run along the elements; the start is both.
      const double endDisplayed = design.displayedFromContinuous(design.endMileage());
      std::printf("start mileage      %.4f\n", design.startMileage());
      if (std::isfinite(endDisplayed))
        std::printf("end displayed      %.4f\n", endDisplayed);
      else
        std::printf("end displayed      none (the broken chains leave no station there)\n");
      std::printf("end continuous     %.4f\n", design.endMileage());
    } else {
      std::printf("alignment          not computable: %s\n", error.c_str());
    }
  }
  return 0;
}

int cmdResave(const std::vector<std::string>& argv) {
  CliArgs args(argv, {});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 2) return fail("resave: expected IN.REC and OUT.REC");
  CInputRoadLibrary road;
  if (!road.readRoadFile(args.positional()[0]))
    return fail(args.positional()[0] + ": cannot read the road file");
  if (!road.writeRoadFile(args.positional()[1]))
    return fail(args.positional()[1] + ": cannot write the road file");
  return 0;
}

int dispatch(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::vector<std::string> rest(argv + 2, argv + argc);
  for (const auto& a : rest) {
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (command == "keypoints") return cmdKeypoints(rest);
  if (command == "stakes") return cmdStakes(rest);
  if (command == "point") return cmdPoint(rest);
  if (command == "curve") return cmdCurve(rest);
  if (command == "profile") return cmdProfile(rest);
  if (command == "info") return cmdInfo(rest);
  if (command == "resave") return cmdResave(rest);
  if (command == "plan") return cmdPlan(rest);
  if (command == "profile-plot") return cmdProfilePlot(rest);
  if (command == "section-plot") return cmdSectionPlot(rest);
  if (command == "section-sheets") return cmdSectionSheets(rest);
  if (command == "mass-haul") return cmdMassHaul(rest);
  if (command == "locate") return cmdLocate(rest);
  if (command == "section") return cmdSection(rest);
  if (command == "ground") return cmdGround(rest);
  if (command == "earthwork") return cmdEarthwork(rest);
  if (command == "check") return cmdCheck(rest);
  if (command == "ground-section") return cmdGroundSection(rest);
  if (command == "terrain") return cmdTerrain(rest);
  if (command == "import") return cmdImport(rest);
  if (command == "export") return cmdExport(rest);
  if (command == "table") return cmdTable(rest);
  return fail("unknown command '" + command + "' (try --help)");
}

}  // namespace

int run(int argc, char** argv) {
  setWarningSink(noteWarning);
  int code = dispatch(argc, argv);
  // Output that never reached its file (a full disk, a closed pipe) is a
  // failure, not a result.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    if (code == 0) code = fail("cannot write to standard output");
  }
  // Warnings that no error line took (a command that succeeded all the same).
  for (const std::string& warning : pendingWarnings())
    std::fprintf(stderr, "trazmark-cli: %s\n", warning.c_str());
  pendingWarnings().clear();
  return code;
}

}  // namespace trazmark::cli

int main(int argc, char** argv) { return trazmark::cli::run(argc, argv); }
