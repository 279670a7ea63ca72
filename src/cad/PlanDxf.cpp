#include "cad/PlanDxf.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "platform/CodePage.h"
#include "platform/TextFile.h"

namespace trazmark {

namespace {

/// Chords of a curve are first cut to this length, then halved as needed.
constexpr double kMaxChord = 20.0;
/// Halving stops here whatever the curve: 2^24 pieces of a chord.
constexpr int kMaxDepth = 24;
/// Height of the key points' texts, metres.
constexpr double kTextHeight = 2.5;

struct Xy {
  double x = 0;  ///< north
  double y = 0;  ///< east
};

std::optional<Xy> pointAt(const CRoadElement& e, double mileage) {
  const std::optional<StationPoint> p = e.pointAtMileage(mileage, 0);
  if (!p || !std::isfinite(p->x) || !std::isfinite(p->y)) return std::nullopt;
  return Xy{p->x, p->y};
}

/// Distance of `p` from the chord a-b.
double offChord(const Xy& a, const Xy& b, const Xy& p) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return std::hypot(p.x - a.x, p.y - a.y);
  return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

void subdivide(const CRoadElement& e, double m0, const Xy& p0, double m1, const Xy& p1, double tolerance,
               int depth, std::vector<double>& out) {
  bool close = depth >= kMaxDepth;
  if (!close) {
    close = true;
    for (double share : {0.25, 0.5, 0.75}) {
      const std::optional<Xy> q = pointAt(e, m0 + (m1 - m0) * share);
      if (!q || offChord(p0, p1, *q) > tolerance) {
        close = !q.has_value();  // a point that cannot be evaluated ends the halving
        break;
      }
    }
  }
  if (!close) {
    const double mid = (m0 + m1) / 2;
    const std::optional<Xy> pm = pointAt(e, mid);
    if (pm) {
      subdivide(e, m0, p0, mid, *pm, tolerance, depth + 1, out);
      subdivide(e, mid, *pm, m1, p1, tolerance, depth + 1, out);
      return;
    }
  }
  out.push_back(m1);
}

/// The centre of the circle through three points, none when they are in line.
std::optional<Xy> circleCentre(const Xy& a, const Xy& b, const Xy& c) {
  // Relative to a, so that coordinates of millions of metres keep their digits.
  const double bx = b.x - a.x, by = b.y - a.y;
  const double cx = c.x - a.x, cy = c.y - a.y;
  const double d = 2 * (bx * cy - by * cx);
  if (d == 0 || !std::isfinite(d)) return std::nullopt;
  const double b2 = bx * bx + by * by;
  const double c2 = cx * cx + cy * cy;
  const Xy centre{a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d};
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return std::nullopt;
  return centre;
}

/// Angle in degrees, counter-clockwise from east, of the DXF direction of
/// (north, east) offset.
double dxfAngle(double north, double east) {
  double a = std::atan2(north, east) * 180.0 / M_PI;
  if (a < 0) a += 360;
  return a;
}

void writeTables(DL_Dxf& dxf, DL_WriterA& dw) {
  dxf.writeHeader(dw);
  dw.sectionEnd();
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();
  // Colours: centre line red, points yellow, names white, stations cyan.
  const std::pair<const char*, int> layers[] = {{"0", 7},
                                                {kDxfLayerCentreLine, 1},
                                                {kDxfLayerKeyPoints, 2},
                                                {kDxfLayerKeyPointNames, 7},
                                                {kDxfLayerStations, 4}};
  dw.tableLayers(static_cast<int>(std::size(layers)));
  for (const auto& [name, colour] : layers)
    dxf.writeLayer(dw, DL_LayerData(name, 0), DL_Attributes("", colour, 100, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, kTextHeight, "txt", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();
  dw.sectionBlocks();
  dxf.writeBlock(dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Model_Space");
  dxf.writeBlock(dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Paper_Space");
  dxf.writeBlock(dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(dw, "*Paper_Space0");
  dw.sectionEnd();
}

DL_Attributes onLayer(const char* layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

void writeElement(DL_Dxf& dxf, DL_WriterA& dw, const CRoadElement& e) {
  const DL_Attributes attributes = onLayer(kDxfLayerCentreLine);
  if (!(e.endMileage > e.startMileage)) return;  // a start point, or nothing to draw
  const std::optional<Xy> a = pointAt(e, e.startMileage);
  const std::optional<Xy> b = pointAt(e, e.endMileage);
  if (!a || !b) return;
  if (e.type == kElementLine) {
    dxf.writeLine(dw, DL_LineData(a->y, a->x, 0, b->y, b->x, 0), attributes);
    return;
  }
  if (e.type == kElementArc) {
    const std::optional<Xy> m = pointAt(e, (e.startMileage + e.endMileage) / 2);
    const std::optional<Xy> c = m ? circleCentre(*a, *m, *b) : std::nullopt;
    if (c) {
      const double radius = std::hypot(a->x - c->x, a->y - c->y);
      double from = dxfAngle(a->x - c->x, a->y - c->y);
      double to = dxfAngle(b->x - c->x, b->y - c->y);
      // DXF arcs run counter-clockwise (in x east, y north); a right turn is
      // written from its end to its start.
      const double turn = (m->y - a->y) * (b->x - a->x) - (m->x - a->x) * (b->y - a->y);
      if (turn < 0) std::swap(from, to);
      dxf.writeArc(dw, DL_ArcData(c->y, c->x, 0, radius, from, to), attributes);
      return;
    }
    // Three points in line (a radius beyond what doubles tell apart): the
    // polyline below draws it.
  } else if (e.type != kElementSpiral) {
    return;
  }
  const std::vector<double> mileages = chordMileages(e, kDxfChordTolerance);
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(mileages.size()), 0, 0, 0), attributes);
  for (double mileage : mileages) {
    const std::optional<Xy> p = pointAt(e, mileage);
    if (p) dxf.writeVertex(dw, DL_VertexData(p->y, p->x, 0, 0));
  }
  dxf.writePolylineEnd(dw);
}

}  // namespace

/// Texts in DXF 2000 are in the drawing's code page; anything beyond ASCII is
/// written as a \U+XXXX escape, which every reader understands.
std::string dxfText(const std::string& ansi) {
  const std::string utf8 = ansiToUtf8(ansi);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    unsigned long code = extra == 3 ? (c & 0x07u) : extra == 2 ? (c & 0x0Fu) : (c & 0x1Fu);
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
    char escape[16];
    std::snprintf(escape, sizeof escape, code > 0xFFFF ? "\\U+%06lX" : "\\U+%04lX", code);
    out += escape;
  }
  return out;
}

std::vector<double> chordMileages(const CRoadElement& element, double tolerance) {
  const double start = element.startMileage;
  const double end = element.endMileage;
  std::vector<double> out{start};
  if (!(end > start) || !(tolerance > 0)) {
    out.push_back(end);
    return out;
  }
  const double pieces = std::ceil((end - start) / kMaxChord);
  const long count = pieces < 1 ? 1 : pieces > 1e6 ? 1000000L : static_cast<long>(pieces);
  std::optional<Xy> previous = pointAt(element, start);
  double m0 = start;
  for (long k = 1; k <= count; ++k) {
    const double m1 = k == count ? end : start + (end - start) * static_cast<double>(k) / static_cast<double>(count);
    const std::optional<Xy> p1 = pointAt(element, m1);
    if (previous && p1)
      subdivide(element, m0, *previous, m1, *p1, tolerance, 0, out);
    else
      out.push_back(m1);
    previous = p1;
    m0 = m1;
  }
  return out;
}

std::string dxfStationText(double station) {
  const bool negative = station < 0;
  // Rounded to the millimetre first, so that 999.9996 reads K1+000.000.
  const double mm = std::round(std::fabs(station) * 1000);
  const double km = std::floor(mm / 1e6);
  const double rest = (mm - km * 1e6) / 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%sK%.0f+%07.3f", negative ? "-" : "", km, rest);
  return text;
}

bool writePlanDxf(const CRoadDesign& design, const std::string& path, std::string& error) {
  if (design.elements().empty() || design.keyPoints().empty()) {
    error = "the alignment has nothing to draw";
    return false;
  }
  // The library writes to a named file: a private temporary one, whose bytes
  // then replace the target as every other save does.
  char temp[] = "/tmp/trazmark-dxf-XXXXXX";
  const int fd = mkstemp(temp);
  if (fd < 0) {
    error = "cannot create a temporary file for " + path;
    return false;
  }
  close(fd);
  struct Remove {
    const char* name;
    ~Remove() { std::remove(name); }
  } removeTemp{temp};
  {
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(temp, DL_Codes::AC1015));
    if (!dw) {
      error = "cannot write " + path;
      return false;
    }
    writeTables(dxf, *dw);
    dw->sectionEntities();
    for (const CRoadElement& e : design.elements()) writeElement(dxf, *dw, e);
    const auto& points = design.keyPoints();
    const std::vector<double>& mileages = design.keyPointMileages();
    for (std::size_t k = 0; k < points.size(); ++k) {
      const SurveyCoord& p = points[k];
      dxf.writePoint(*dw, DL_PointData(p.Y, p.X, 0), onLayer(kDxfLayerKeyPoints));
      // The name right of and above the point, the station below it.
      dxf.writeText(*dw,
                    DL_TextData(p.Y + kTextHeight, p.X + kTextHeight / 2, 0, 0, 0, 0, kTextHeight, 1, 0, 0, 0,
                                dxfText(p.Name), "Standard", 0),
                    onLayer(kDxfLayerKeyPointNames));
      if (k < mileages.size()) {
        const std::string station = dxfStationText(design.displayedFromContinuous(mileages[k]));
        dxf.writeText(*dw,
                      DL_TextData(p.Y + kTextHeight, p.X - kTextHeight * 1.5, 0, 0, 0, 0, kTextHeight, 1, 0, 0, 0,
                                  station, "Standard", 0),
                      onLayer(kDxfLayerStations));
      }
    }
    dw->sectionEnd();
    dxf.writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
  }
  std::string bytes;
  {
    std::ifstream in(temp, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) bytes.clear();
  }
  if (bytes.empty()) {
    error = "cannot write " + path;
    return false;
  }
  if (!writeTextFileAtomically(path, bytes)) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace trazmark
