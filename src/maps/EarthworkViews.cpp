#include "maps/EarthworkViews.h"

#include <cmath>

#include "maps/ProfileDrawing.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

std::string areaText(double area) { return formatFixed(area, 2) + " m\xC2\xB2"; }

}  // namespace

std::vector<std::string> earthworkSideNotes(const EarthworkSection& section,
                                            const EarthworkSideWords& words) {
  auto name = [&words](EarthworkSideStatus status) {
    const auto index = static_cast<std::size_t>(status);
    return index < words.statuses.size() ? words.statuses[index]
                                         : std::string(earthworkSideStatusName(status));
  };
  std::vector<std::string> notes;
  if (section.left.status != EarthworkSideStatus::Ok)
    notes.push_back(words.left + ": " + name(section.left.status));
  if (section.right.status != EarthworkSideStatus::Ok)
    notes.push_back(words.right + ": " + name(section.right.status));
  return notes;
}

SheetSection sheetSectionOf(const EarthworkSection& section, double station,
                            const EarthworkSideWords& words) {
  SheetSection s;
  s.station = station;
  for (const DesignVertex& v : section.design) s.design.push_back({v.offset, v.elevation});
  for (const std::vector<GroundVertex>& piece : section.ground.pieces) {
    std::vector<SheetPoint> line;
    line.reserve(piece.size());
    for (const GroundVertex& v : piece) line.push_back({v.distance, v.elevation});
    s.ground.push_back(std::move(line));
  }
  for (const EarthworkSide* side : {&section.left, &section.right})
    if (side->catchPoint)
      s.catchPoints.push_back({side->catchPoint->offset, side->catchPoint->elevation});
  s.designCentre = section.finished.centreElevation;
  s.groundCentre = section.groundCentre;
  if (section.hasAreas()) {
    s.cutArea = section.cutArea();
    s.fillArea = section.fillArea();
  }
  s.notes = earthworkSideNotes(section, words);
  return s;
}

int rowSide(const CRoadDesign& design, const EarthworkRow& row) {
  // Before the break the station's first place is the row's own.
  const double before = design.continuousFromDisplayed(row.station, 0);
  return std::isfinite(before) && std::fabs(before - row.mileage) < 1e-3 ? 0 : 1;
}

bool sheetSectionsOf(const RoadDataSet& road, const CRoadDesign& design,
                     const CRoadProfile& profile, const CRoadGround& ground, double pavementDepth,
                     const EarthworkTable& table, std::vector<SheetSection>& sections,
                     std::string& error, const SheetProgress& progress) {
  sections.clear();
  sections.reserve(table.rows.size());
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    if (progress && !progress(static_cast<double>(i) / static_cast<double>(table.rows.size()))) {
      error = "cancelled";
      sections.clear();
      return false;
    }
    const EarthworkRow& row = table.rows[i];
    EarthworkSection section;
    if (!earthworkSectionAt(road, design, profile, ground, pavementDepth, row.station,
                            rowSide(design, row), section, error)) {
      error = "station " + formatStation(row.station) + ": " + error;
      sections.clear();
      return false;
    }
    sections.push_back(sheetSectionOf(section, row.station));
  }
  return true;
}

MassHaulData massHaulOf(const EarthworkTable& table) {
  MassHaulData data;
  data.points.reserve(table.rows.size());
  for (const EarthworkRow& row : table.rows)
    data.points.push_back({row.mileage, row.station, row.mass});
  data.totalCut = table.totals.cut;
  data.totalFill = table.totals.fill;
  data.bulking = table.bulking;
  return data;
}

void addEarthworkToPicture(StationSectionPicture& picture, const EarthworkSection& section,
                           const SectionCornerWords& words) {
  picture.earthworkLine.clear();
  picture.catchPoints.clear();
  for (const DesignVertex& v : section.design)
    picture.earthworkLine.push_back({v.offset, v.elevation});
  for (const EarthworkSide* side : {&section.left, &section.right})
    if (side->catchPoint)
      picture.catchPoints.push_back({side->catchPoint->offset, side->catchPoint->elevation});
  // The slope steps listed with the section are both slopes' whole steps;
  // the designed line shows the one that applies, ending at the ground.
  for (const char letter : {'L', 'R'}) {
    const int side = letter == 'L' ? 0 : 1;
    int firstSlope = -1;
    int index = -1;
    for (const SectionEdge& e : section.finished.edges) {
      if (e.side != letter) continue;
      ++index;
      if (e.name.rfind("slope:", 0) == 0) {
        firstSlope = index;
        break;
      }
    }
    if (firstSlope < 0) continue;
    bool dropping = false;
    std::vector<SectionSegment> kept;
    for (const SectionSegment& s : picture.segments) {
      if (s.side == side && (dropping || s.component >= firstSlope)) {
        dropping = true;
        continue;
      }
      kept.push_back(s);
    }
    picture.segments = std::move(kept);
  }
  const bool areas = section.hasAreas();
  picture.corner.push_back(words.cut + " " +
                           (areas ? areaText(section.cutArea()) : std::string("-")));
  picture.corner.push_back(words.fill + " " +
                           (areas ? areaText(section.fillArea()) : std::string("-")));
  for (const std::string& note :
       earthworkSideNotes(section, {words.left, words.right, words.statuses}))
    picture.corner.push_back(note);
}

}  // namespace trazmark
