#include "alignment/RoadDesign_Element.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "alignment/CurveFile.h"
#include "markup/MarkupDocument.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {

namespace {

/// Lengths below this are written as kShortestLength, so that the engine
/// keeps every element of the list (it drops arcs and spirals of length 0).
constexpr double kLengthFloor = 1e-6;
constexpr double kShortestLength = 0.0001;

double writtenLength(double length) { return length < kLengthFloor ? kShortestLength : length; }

}  // namespace

CRoadDesign_Element::CRoadDesign_Element() : folder(userSettingsFolder()) {}

CRoadDesign_Element::CRoadDesign_Element(std::string settingsFolder)
    : folder(std::move(settingsFolder)) {}

bool CRoadDesign_Element::saveSettings() const {
  return writeMethodSettings(folder, kSettingsFileName, "RoadDesign_Element", CalculateMode, Interval);
}

bool CRoadDesign_Element::readText(const std::string& path) {
  std::vector<MethodFileLine> lines;
  if (!readMethodFileLines(path, lines)) return false;
  roadName.clear();
  startMileage = 0;
  elements.clear();
  bool mileageGiven = false;
  for (const auto& [tag, data] : lines) {
    if (tag == "ROADNAME:") {
      roadName = data.substr(0, data.find(','));
    } else if (tag == "MILEAGE :" || tag == "MELIAGE :") {
      // The older spelling is still found in files written by earlier versions.
      startMileage = parseDecimal(data);
      mileageGiven = true;
    } else if (tag == "ELEMENT :") {
      std::vector<std::string> f = splitCommaFields(data);
      f.resize(std::max<std::size_t>(f.size(), 10));
      Road_Element e;
      e.Type = parseInteger(f[0]);
      e.point.Name = f[1];
      e.point.X = parseDecimal(f[2]);
      e.point.Y = parseDecimal(f[3]);
      e.point.Z = parseDecimal(f[4]);
      e.point.MileageText = f[5];
      e.Azimuth = parseDecimal(f[6]);
      e.Length = parseDecimal(f[7]);
      e.Radius = parseDecimal(f[8]);
      e.Mileage = parseDecimal(f[9]);
      elements.append(e);
    }
  }
  // Older files have no MILEAGE line: the road starts at its first element's
  // mileage rather than at 0.
  if (!mileageGiven && !elements.empty()) startMileage = elements[0].Mileage;
  return true;
}

bool CRoadDesign_Element::writeText(const std::string& path) const {
  const std::string trimmed = trimWhiteSpace(path);
  if (trimmed.empty()) return false;
  std::string text = "ROADNAME:" + sanitizeFieldText(roadName) + ",\r\n";
  text += formatRecord("MILEAGE :%.3f,\r\n", startMileage);
  for (const Road_Element& e : elements) {
    text += formatRecord("ELEMENT :%d,", e.Type) + sanitizeFieldText(e.point.Name) +
            formatRecord(",%.6f,%.6f,%.6f,", e.point.X, e.point.Y, e.point.Z) +
            sanitizeFieldText(e.point.MileageText) +
            formatRecord(",%.12f,%.6f,%.6f,%.6f,\r\n", e.Azimuth, e.Length, e.Radius, e.Mileage);
  }
  return writeTextFileAtomically(trimmed, text);
}

bool CRoadDesign_Element::writeCurveFile(const std::string& path, ShortLines shortLines) {
  const std::string trimmed = trimWhiteSpace(path);
  if (trimmed.empty()) return false;
  runningLength = 0;
  CCurveFileWriter out(CurveFileKind::RE);
  out.writeHeader(startMileage, roadName);
  const int n = elements.count();
  for (int i = 0; i < n; ++i) {
    const Road_Element& e = elements[i];
    switch (e.Type) {
      case 1:
        out.writeStartPoint(e.point.X, e.point.Y);
        break;
      case 2: {
        const double length =
            shortLines == ShortLines::Keep && e.Length >= 0 ? e.Length : writtenLength(e.Length);
        out.writeLine(length, e.Azimuth);
        runningLength += length;
        break;
      }
      case 3: {
        const double length = writtenLength(e.Length);
        out.writeArc(length, e.Radius);
        runningLength += length;
        break;
      }
      case 4: {
        // A spiral reaches the radius of the arc it leads into, or leaves the
        // arc before it; between two lines it has no radius.
        double radius = 0;
        if (i + 1 < n && elements[i + 1].Type == 3) {
          radius = elements[i + 1].Radius;
        } else if (i > 0 && elements[i - 1].Type == 3) {
          radius = elements[i - 1].Radius;
        }
        const double length = writtenLength(e.Length);
        // sqrt|L·R| taken as sqrt|L|·sqrt|R| so that huge values do not overflow.
        out.writeSpiral(length, std::sqrt(std::fabs(e.Length)) * std::sqrt(std::fabs(radius)));
        runningLength += length;
        break;
      }
      default:
        break;
    }
  }
  return out.save(trimmed);
}

}  // namespace trazmark
