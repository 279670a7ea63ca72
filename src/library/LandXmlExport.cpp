#include "library/LandXmlExport.h"

#include <pugixml.hpp>

#include <cmath>
#include <ctime>
#include <optional>
#include <sstream>

#include "alignment/ChainageTable.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kNamespace = "http://www.landxml.org/schema/LandXML-1.2";
// Decimals written: a tenth of a micrometre for lengths and coordinates,
// well past what a round trip through the file must keep.
constexpr int kLengthDecimals = 8;
constexpr int kAngleDecimals = 10;

std::string len(double v) { return formatFixed(v, kLengthDecimals); }
std::string deg(double radians) {
  double d = radians * 180 / kPi;
  d = std::fmod(d, 360.0);
  if (d < 0) d += 360;
  return formatFixed(d, kAngleDecimals);
}

void setText(pugi::xml_node node, double north, double east) {
  node.text().set((len(north) + " " + len(east)).c_str());
}

void addPoint(pugi::xml_node parent, const char* name, double north, double east) {
  setText(parent.append_child(name), north, east);
}

// Where the tangents at two points meet (north, east); empty when they are
// parallel.
std::optional<std::pair<double, double>> tangentsMeet(double x0, double y0, double a0, double x1,
                                                      double y1, double a1) {
  const double dx0 = std::cos(a0), dy0 = std::sin(a0);
  const double dx1 = std::cos(a1), dy1 = std::sin(a1);
  const double det = dx0 * dy1 - dy0 * dx1;
  if (!(std::fabs(det) > 1e-12)) return std::nullopt;
  const double t = ((x1 - x0) * dy1 - (y1 - y0) * dx1) / det;
  return std::make_pair(x0 + t * dx0, y0 + t * dy0);
}

const char* rotOf(double signedRadius) { return signedRadius > 0 ? "cw" : "ccw"; }

void addLine(pugi::xml_node geom, const CRoadElement& e) {
  pugi::xml_node n = geom.append_child("Line");
  n.append_attribute("dir") = deg(e.startAzimuth).c_str();
  n.append_attribute("length") = len(e.length).c_str();
  n.append_attribute("staStart") = len(e.startMileage).c_str();
  addPoint(n, "Start", e.startX, e.startY);
  addPoint(n, "End", e.endX, e.endY);
}

void addCurve(pugi::xml_node geom, const CRoadElement& e) {
  const double r = e.startRadius;
  const double delta = e.length / std::fabs(r);
  pugi::xml_node n = geom.append_child("Curve");
  n.append_attribute("rot") = rotOf(r);
  n.append_attribute("crvType") = "arc";
  n.append_attribute("radius") = len(std::fabs(r)).c_str();
  n.append_attribute("length") = len(e.length).c_str();
  n.append_attribute("staStart") = len(e.startMileage).c_str();
  n.append_attribute("delta") = formatFixed(delta * 180 / kPi, kAngleDecimals).c_str();
  n.append_attribute("chord") = len(std::hypot(e.endX - e.startX, e.endY - e.startY)).c_str();
  n.append_attribute("dirStart") = deg(e.startAzimuth).c_str();
  n.append_attribute("dirEnd") = deg(e.endAzimuth).c_str();
  addPoint(n, "Start", e.startX, e.startY);
  // The centre lies r to the right of travel (a negative r: to the left).
  addPoint(n, "Center", e.startX - r * std::sin(e.startAzimuth), e.startY + r * std::cos(e.startAzimuth));
  addPoint(n, "End", e.endX, e.endY);
  if (delta < kPi - 1e-9) {
    const double t = std::fabs(r) * std::tan(delta / 2);
    addPoint(n, "PI", e.startX + t * std::cos(e.startAzimuth), e.startY + t * std::sin(e.startAzimuth));
  }
}

void addSpiral(pugi::xml_node geom, const CRoadElement& e) {
  const double finite = e.startRadius != 0 ? e.startRadius : e.endRadius;
  pugi::xml_node n = geom.append_child("Spiral");
  n.append_attribute("rot") = rotOf(finite);
  n.append_attribute("spiType") = "clothoid";
  n.append_attribute("length") = len(e.length).c_str();
  n.append_attribute("radiusStart") = e.startRadius == 0 ? "INF" : len(std::fabs(e.startRadius)).c_str();
  n.append_attribute("radiusEnd") = e.endRadius == 0 ? "INF" : len(std::fabs(e.endRadius)).c_str();
  n.append_attribute("staStart") = len(e.startMileage).c_str();
  n.append_attribute("theta") =
      formatFixed(std::fabs(e.endAzimuth - e.startAzimuth) * 180 / kPi, kAngleDecimals).c_str();
  addPoint(n, "Start", e.startX, e.startY);
  if (auto pi = tangentsMeet(e.startX, e.startY, e.startAzimuth, e.endX, e.endY, e.endAzimuth))
    addPoint(n, "PI", pi->first, pi->second);
  addPoint(n, "End", e.endX, e.endY);
}

// The grade points on continuous mileage, placed as the road places them:
// each on the first place of its displayed station not before the one before it.
bool placeGradePoints(const CChainageTable& table, const RecordList<CVerticalCurveCal>& points,
                      std::vector<double>& stations, std::string& error) {
  double previous = -HUGE_VAL;
  for (std::size_t i = 0; i < points.size(); ++i) {
    std::optional<double> place = table.continuousFromDisplayed(points[i].Mileage, false);
    if (place && *place < previous) place = table.continuousFromDisplayed(points[i].Mileage, true);
    if (!place || *place < previous) {
      error = "grade point " + std::to_string(i + 1) + " (station " +
              formatFixed(points[i].Mileage, 3) + ") names no place on the road after the one before it";
      return false;
    }
    stations.push_back(*place);
    previous = *place;
  }
  return true;
}

bool addProfile(pugi::xml_node alignment, const CRoadDesign& design,
                const RecordList<CVerticalCurveCal>& points, const std::string& name,
                std::string& error) {
  if (points.empty()) return true;
  CChainageTable table(design.brokenChains);
  std::vector<double> stations;
  if (!placeGradePoints(table, points, stations, error)) return false;
  pugi::xml_node profile = alignment.append_child("Profile");
  profile.append_attribute("name") = name.c_str();
  pugi::xml_node prof = profile.append_child("ProfAlign");
  prof.append_attribute("name") = name.c_str();
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n; ++i) {
    const CVerticalCurveCal& p = points[i];
    const std::string text = len(stations[i]) + " " + len(p.High);
    pugi::xml_node node;
    const bool interior = i > 0 && i + 1 < n;
    if (interior && p.CalMode == 1 && p.CurveL > 0) {
      node = prof.append_child("ParaCurve");
      node.append_attribute("length") = len(p.CurveL).c_str();
    } else if (interior && p.CalMode == 2 && p.InLength + p.OutLength > 0) {
      node = prof.append_child("UnsymParaCurve");
      node.append_attribute("lengthIn") = len(p.InLength).c_str();
      node.append_attribute("lengthOut") = len(p.OutLength).c_str();
    } else if (interior && p.CalMode == 0 && p.Radius > 0) {
      auto grade = [&](std::size_t a, std::size_t b) {
        const double run = stations[b] - stations[a];
        return run > 0 ? (points[b].High - points[a].High) / run : 0.0;
      };
      const double turn = std::fabs(std::atan(grade(i, i + 1)) - std::atan(grade(i - 1, i)));
      node = prof.append_child("CircCurve");
      node.append_attribute("length") = len(p.Radius * turn).c_str();
      node.append_attribute("radius") = len(p.Radius).c_str();
    } else {
      node = prof.append_child("PVI");
    }
    node.text().set(text.c_str());
  }
  return true;
}

struct StringWriter : pugi::xml_writer {
  std::string text;
  void write(const void* data, size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
};

}  // namespace

bool exportLandXml(const CRoadDesign& design, const RecordList<CVerticalCurveCal>& gradePoints,
                   const std::string& name, std::string& xml, std::string& error) {
  if (!design.computed()) {
    error = "the alignment is not computed";
    return false;
  }
  CChainageTable table(design.brokenChains);
  if (!table.valid()) {
    error = "the broken chains cannot be placed along the road: " + table.error();
    return false;
  }
  const std::string utf8Name = ansiToUtf8(name);
  pugi::xml_document doc;
  pugi::xml_node root = doc.append_child("LandXML");
  root.append_attribute("xmlns") = kNamespace;
  root.append_attribute("version") = "1.2";
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char date[16], time[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
  std::strftime(time, sizeof time, "%H:%M:%S", &utc);
  root.append_attribute("date") = date;
  root.append_attribute("time") = time;
  pugi::xml_node metric = root.append_child("Units").append_child("Metric");
  metric.append_attribute("linearUnit") = "meter";
  metric.append_attribute("areaUnit") = "squareMeter";
  metric.append_attribute("volumeUnit") = "cubicMeter";
  metric.append_attribute("angularUnit") = "decimal degrees";
  metric.append_attribute("directionUnit") = "decimal degrees";
  pugi::xml_node app = root.append_child("Application");
  app.append_attribute("name") = "Trazmark";
  app.append_attribute("version") = "0.1";
  pugi::xml_node alignment = root.append_child("Alignments").append_child("Alignment");
  alignment.append_attribute("name") = utf8Name.c_str();
  alignment.append_attribute("length") = len(design.endMileage() - design.startMileage()).c_str();
  alignment.append_attribute("staStart") = len(design.startMileage()).c_str();
  pugi::xml_node geom = alignment.append_child("CoordGeom");
  for (const CRoadElement& e : design.elements()) {
    switch (e.type) {
      case kElementLine: addLine(geom, e); break;
      case kElementArc: addCurve(geom, e); break;
      case kElementSpiral: addSpiral(geom, e); break;
      default: break;
    }
  }
  for (const ChainBreak& b : table.breaks()) {
    const Scisson_Data& chain = design.brokenChains[b.index];
    pugi::xml_node q = alignment.append_child("StaEquation");
    q.append_attribute("staBack") = len(chain.Before_mileage).c_str();
    q.append_attribute("staAhead") = len(chain.After_mileage).c_str();
    q.append_attribute("staInternal") = len(b.continuous).c_str();
    q.append_attribute("desc") = "increasing";
  }
  if (!addProfile(alignment, design, gradePoints, utf8Name, error)) return false;
  StringWriter writer;
  doc.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration);
  xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + writer.text;
  return true;
}

bool exportLandXmlFile(const CRoadDesign& design,
                       const RecordList<CVerticalCurveCal>& gradePoints, const std::string& name,
                       const std::string& path, std::string& error) {
  std::string xml;
  if (!exportLandXml(design, gradePoints, name, xml, error)) return false;
  if (!writeTextFileAtomically(path, xml)) {
    error = "cannot write the file";
    return false;
  }
  return true;
}

}  // namespace trazmark
