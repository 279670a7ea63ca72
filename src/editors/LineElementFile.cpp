#include "editors/LineElementFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <vector>

#include "alignment/RoadDesign_Element.h"
#include "coords/AngleFormat.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr int kMaxLines = 1000;
constexpr std::size_t kShortestLine = 8;  // lines of 7 characters or fewer carry nothing

// Line-element kinds.
constexpr int32_t kStartPoint = 1;  // the first line of every file
constexpr int32_t kStraight = 2;
constexpr int32_t kArc = 3;
constexpr int32_t kSpiral = 4;

/// The radius that stands for "infinite" at a spiral end.
constexpr double kInfiniteRadius = -1.0;
/// Length of the arc that hands a spiral its radius at a finite end.
constexpr double kFramingArcLength = 0.00001;

std::vector<std::string_view> splitAtCommas(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

/// Field `index`, or an empty field when the line has fewer.
std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string_view();
}

/// Iterates the lines of a method text file: a line ends at a line feed or,
/// once no line feed is left, at a carriage return; text after the last line
/// end is no line. Each line is cut at its first CR and its first LF.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}
  bool next(std::string_view& line) {
    std::size_t end = std::string::npos;
    if (lineFeedsLeft_) {
      end = text_.find('\n', pos_);
      lineFeedsLeft_ = end != std::string::npos;
    }
    if (!lineFeedsLeft_) end = text_.find('\r', pos_);
    if (end == std::string::npos) return false;
    line = std::string_view(text_.data() + pos_, end - pos_);
    pos_ = end + 1;
    line = line.substr(0, line.find('\r'));
    line = line.substr(0, line.find('\n'));
    return true;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
  bool lineFeedsLeft_ = true;
};

void appendElementLine(std::string& out, const Road_LineElement& record, int32_t type, double x,
                       double y, double z, double azimuth, double length, double radius) {
  appendFormat(out, "ELEMENT :%d,%s,%.6f,%.6f,%.6f,%s,%.12f,%.6f,%.6f,%.6f,\r\n", type,
               record.point.Name.c_str(), x, y, z, record.point.MileageText.c_str(), azimuth,
               length, radius, 0.0);
}

/// The start azimuth in decimal degrees: it travels as typed (ddd.mmss).
double startAzimuthDegrees(const Road_LineElement& start) {
  std::string packed;
  appendFormat(packed, "%.8f", start.Azimuth);
  return parseAngle(packed);
}

// Element kinds of the element method.
constexpr int32_t kElementStart = 1;
constexpr int32_t kElementLine = 2;
constexpr int32_t kElementArc = 3;
constexpr int32_t kElementSpiral = 4;

/// An arc or spiral shorter than this is no element: the curve file holds
/// lengths to six decimals (metres).
constexpr double kShortestCurve = 1e-6;
/// Radii that differ by less than this are one radius: the LE file keeps
/// radii to four decimals (metres).
constexpr double kSameRadius = 1e-4;

/// A radius as the engine hands it on: 0 for a straight or an infinite radius.
double chainRadius(double lineElementRadius) {
  return lineElementRadius == kInfiniteRadius ? 0.0 : lineElementRadius;
}

bool sameRadius(double a, double b) { return std::fabs(a - b) < kSameRadius; }

/// Whether a line element becomes an element of the chain.
bool isWritten(const Road_LineElement& r) {
  switch (r.Type) {
    case kStraight: return true;
    case kArc:
    case kSpiral: return r.Length >= kShortestCurve;
    default: return false;
  }
}

/// The radius the engine gives the start of the element made from `r`: a
/// spiral's own start radius is not known to it when the spiral before reads
/// it, so it counts as 0.
double chainStartRadius(const Road_LineElement& r) { return r.Type == kArc ? r.StartRadius : 0.0; }

Road_Element chainElement(int32_t type, double length, double radius, double azimuth = 0) {
  Road_Element e;
  e.Type = type;
  e.Length = length;
  e.Radius = radius;
  e.Azimuth = azimuth;
  return e;
}

}  // namespace

RecordList<Road_Element> roadElementsFromLineElements(const LineElementData& data) {
  RecordList<Road_Element> chain;
  // Without its start point the list says nowhere where the road lies.
  if (data.elements.empty() || data.elements.front().Type != kStartPoint) return chain;
  const auto& records = data.elements;
  const std::size_t n = records.size();

  Road_Element start = chainElement(kElementStart, 0, 0);
  start.point = records.front().point;
  start.Mileage = data.startMileage;
  chain.append(start);

  // The first line sets the road's direction: the first straight when the
  // road begins with one, else a line of length 0 before the first curve.
  const double azimuth = startAzimuthDegrees(records.front());
  std::size_t i = 1;
  if (n > 1 && records[1].Type == kStraight) {
    chain.append(chainElement(kElementLine, records[1].Length, 0, azimuth));
    i = 2;
  } else {
    chain.append(chainElement(kElementLine, 0, 0, azimuth));
  }
  double endRadius = 0;  // radius at the end of the chain so far (0: infinite)
  // A joint of no length (or the shortest arc) that hands on `radius`.
  auto addJoint = [&chain, &endRadius](double radius) {
    if (radius == 0) {
      chain.append(chainElement(kElementLine, 0, 0));  // azimuth 0: continues the tangent
    } else {
      chain.append(chainElement(kElementArc, kJointArcLength, radius));
    }
    endRadius = radius;
  };

  for (; i < n; ++i) {
    const Road_LineElement& r = records[i];
    if (!isWritten(r)) continue;
    switch (r.Type) {
      case kStraight:
        // Straights in a row (or a straight after a joint of length 0) are
        // one straight: a point inside it is no key point.
        if (chain.back().Type == kElementLine) {
          chain.back().Length += r.Length;
        } else {
          chain.append(chainElement(kElementLine, r.Length, 0));
        }
        endRadius = 0;
        break;
      case kArc:
        chain.append(chainElement(kElementArc, r.Length, r.StartRadius));
        endRadius = r.StartRadius;
        break;
      case kSpiral: {
        const double from = chainRadius(r.StartRadius);
        const double to = chainRadius(r.EndRadius);
        if (!sameRadius(endRadius, from)) addJoint(from);
        chain.append(chainElement(kElementSpiral, r.Length, r.StartRadius));
        // What follows must give the spiral its end radius. A spiral never
        // does, and where two spirals meet at an infinite radius the line of
        // length 0 ends one curve and begins the next.
        const Road_LineElement* next = nullptr;
        for (std::size_t k = i + 1; k < n && !next; ++k)
          if (isWritten(records[k])) next = &records[k];
        if (!next || next->Type == kSpiral || !sameRadius(chainStartRadius(*next), to)) {
          addJoint(to);
        } else {
          endRadius = to;
        }
        break;
      }
      default:
        break;
    }
  }
  return chain;
}

bool writeLineElementCurveFile(const std::string& path, const LineElementData& data, double* length) {
  CRoadDesign_Element method{std::string()};
  method.roadName = data.roadName;
  method.startMileage = data.startMileage;
  method.elements = roadElementsFromLineElements(data);
  const bool written = method.writeCurveFile(path, CRoadDesign_Element::ShortLines::Keep);
  if (length != nullptr) *length = method.runningLength;
  return written;
}

std::string lineElementText(const LineElementData& data) {
  std::string text;
  if (data.elements.empty()) return text;
  const Road_LineElement& start = data.elements.front();
  appendFormat(text, "ROADNAME:%s,\r\n", data.roadName.c_str());
  appendFormat(text, "MILEAGE :%.3f,\r\n", data.startMileage);
  appendFormat(text, "POINTELEMENT :%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.8f,\r\n", start.Type,
               start.point.X, start.point.Y, start.point.Z, data.startMileage, start.Length,
               start.Azimuth);
  for (std::size_t i = 1; i < data.elements.size(); ++i) {
    const Road_LineElement& e = data.elements[i];
    appendFormat(text, "LINEELEMENT :%d,%d,%.4f,%.4f,%.4f,\r\n", e.Type, e.Deviation,
                 e.StartRadius, e.EndRadius, e.Length);
  }
  return text;
}

bool writeLineElementFile(const std::string& path, LineElementData& data) {
  const std::string file = trimWhiteSpace(path);
  if (file.empty()) return false;
  if (!data.elements.empty()) data.elements.front().Mileage = data.startMileage;
  return writeTextFileAtomically(file, lineElementText(data));
}

void parseLineElementText(const std::string& text, LineElementData& data) {
  data.elements.clear();
  // The file carries no radii or side for the start point: it gets those of
  // a start point made in the dialog.
  Road_LineElement working;
  working.StartRadius = working.EndRadius = kInfiniteRadius;
  working.Deviation = -1;

  LineReader reader(text);
  std::string_view line;
  for (int count = 0; count < kMaxLines && reader.next(line); ++count) {
    if (line.size() < kShortestLine) continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, colon + 1);
    const std::vector<std::string_view> fields = splitAtCommas(line.substr(colon + 1));
    if (key == "ROADNAME:") {
      data.roadName = std::string(field(fields, 0));
    } else if (key == "MILEAGE :" || key == "MELIAGE :") {
      data.startMileage = parseDecimal(field(fields, 0));
    } else if (key == "POINTELEMENT :") {
      working.Type = parseInteger(field(fields, 0));
      working.point = SurveyCoord();
      working.point.X = parseDecimal(field(fields, 1));
      working.point.Y = parseDecimal(field(fields, 2));
      working.point.Z = parseDecimal(field(fields, 3));
      working.Mileage = parseDecimal(field(fields, 4));
      working.Length = parseDecimal(field(fields, 5));
      working.Azimuth = parseDecimal(field(fields, 6));
      working.spare1 = 0;
      working.StartRadius = working.EndRadius = kInfiniteRadius;
      working.Deviation = -1;
      data.elements.append(working);
    } else if (key == "LINEELEMENT :") {
      // The element keeps the start point's position and mileage.
      working.Type = parseInteger(field(fields, 0));
      working.Deviation = parseInteger(field(fields, 1));
      working.StartRadius = parseDecimal(field(fields, 2));
      working.EndRadius = parseDecimal(field(fields, 3));
      working.Length = parseDecimal(field(fields, 4));
      working.Azimuth = 0;
      data.elements.append(working);
    }
  }
}

bool readLineElementFile(const std::string& path, LineElementData& data) {
  const std::string file = trimWhiteSpace(path);
  std::string text;
  if (file.empty() || !readTextFileAsAnsi(file, text)) return false;
  parseLineElementText(text, data);
  return true;
}

std::string elementPathForLineElementFile(const std::string& lePath) {
  if (lePath.size() < 2) return std::string();
  return lePath.substr(0, lePath.size() - 2) + "RE";
}

std::string elementTextFromLineElements(const LineElementData& data) {
  std::string text;
  appendFormat(text, "ROADNAME:%s,\r\n", data.roadName.c_str());
  appendFormat(text, "MILEAGE :%.3f,\r\n", data.startMileage);
  for (std::size_t i = 0; i < data.elements.size(); ++i) {
    const Road_LineElement& r = data.elements[i];
    // The element file wants the azimuth in degrees.
    const double azimuth = startAzimuthDegrees(r);
    const double x = r.point.X, y = r.point.Y, z = r.point.Z;
    if (i == 0) {
      appendElementLine(text, r, r.Type, x, y, z, 0, 0, 0);
      // A line of length 0 carries the start tangent.
      appendElementLine(text, r, kStraight, 0, 0, 0, azimuth, 0, 0);
      continue;
    }
    switch (r.Type) {
      case kStraight:
        appendElementLine(text, r, kStraight, 0, 0, 0, azimuth, r.Length, 0);
        break;
      case kArc:
        appendElementLine(text, r, kArc, 0, 0, 0, 0, r.Length, r.StartRadius);
        break;
      case kSpiral:
        if (r.StartRadius != kInfiniteRadius)
          appendElementLine(text, r, kArc, x, y, z, 0, kFramingArcLength, r.StartRadius);
        else
          appendElementLine(text, r, kStraight, 0, 0, 0, 0, 0, 0);
        appendElementLine(text, r, kSpiral, x, y, z, 0, r.Length, r.StartRadius);
        if (r.EndRadius != kInfiniteRadius)
          appendElementLine(text, r, kArc, x, y, z, 0, kFramingArcLength, r.EndRadius);
        else
          appendElementLine(text, r, kStraight, x, y, z, 0, 0, 0);
        break;
      default:
        break;
    }
  }
  if (!data.elements.empty()) {
    // A closing line of length 0 ends the road on the tangent of its last element.
    const Road_LineElement& last = data.elements.back();
    appendElementLine(text, last, kStraight, last.point.X, last.point.Y, last.point.Z, 0, 0, 0);
  }
  return text;
}

bool convertLineElementFile(const std::string& lePath, LineElementData& data) {
  const std::string file = trimWhiteSpace(lePath);
  if (!readLineElementFile(file, data)) return false;
  const std::string rePath = elementPathForLineElementFile(file);
  if (rePath.empty()) return false;
  return writeTextFileAtomically(rePath, elementTextFromLineElements(data));
}

}  // namespace trazmark
