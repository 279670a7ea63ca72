#include "shell/EarthworkList.h"

#include "editors/AlignmentLoader.h"
#include "maps/EarthworkViews.h"
#include "maps/ProfileDrawing.h"
#include "platform/TextFields.h"
#include "platform/qt/UserDialogs.h"
#include "shell/CsvExport.h"

namespace trazmark {

std::string prepareEarthwork(const RoadDataSet& road, const std::string& roadName,
                             std::shared_ptr<const CRoadGround> ground, double pavementDepth,
                             EarthworkInputs& inputs) {
  inputs.road = road;
  inputs.design = CRoadDesign();
  inputs.profile = CRoadProfile();
  std::string error;
  if (!loadRoadAlignment(inputs.road, roadName, inputs.design, error))
    return "IDS_WARN_station_needs_road";
  if (!inputs.profile.build(inputs.road.verticalCurves, inputs.design, error))
    return "IDS_WARN_station_needs_grade_line";
  if (!ground || ground->empty()) return "IDS_WARN_earthwork_needs_ground";
  inputs.ground = std::move(ground);
  inputs.options = EarthworkOptions{};
  inputs.options.pavementDepth = pavementDepth;
  // The list shows every station; a side without areas says why in its note.
  inputs.options.allowIncomplete = true;
  return {};
}

CBackgroundJob<EarthworkTable>::Work earthworkWork(std::shared_ptr<const EarthworkInputs> inputs) {
  return [inputs](EarthworkTable& table, std::string& error,
                  const CBackgroundJob<EarthworkTable>::Progress& progress) {
    return earthworkTable(inputs->road, inputs->design, inputs->profile, *inputs->ground,
                          inputs->options, table, error, progress);
  };
}

CBackgroundJob<std::vector<std::string>>::Work sectionSheetsWork(
    std::shared_ptr<const EarthworkInputs> inputs, std::string path, std::string roadName,
    SheetWords words) {
  return [inputs, path = std::move(path), roadName = std::move(roadName), words = std::move(words)](
             std::vector<std::string>& written, std::string& error,
             const CBackgroundJob<std::vector<std::string>>::Progress& progress) {
    // Each stage reports its own share within the whole.
    auto stage = [&progress](double from, double to) {
      return [&progress, from, to](double share) { return progress(from + (to - from) * share); };
    };
    EarthworkTable table;
    if (!earthworkTable(inputs->road, inputs->design, inputs->profile, *inputs->ground,
                        inputs->options, table, error, stage(0, 0.1)))
      return false;
    std::vector<SheetSection> sections;
    if (!sheetSectionsOf(inputs->road, inputs->design, inputs->profile, *inputs->ground,
                         inputs->options.pavementDepth, table, sections, error, stage(0.1, 0.3)))
      return false;
    return writeSectionSheets(sections, path, roadName, error, words, stage(0.3, 1), &written);
  };
}

int CEarthworkList::rowCount() const {
  if (!table_ || table_->rows.empty()) return 0;
  return static_cast<int>(table_->rows.size()) + 1;
}

std::string CEarthworkList::cellText(int row, int column, const std::string& totalWord) const {
  if (!table_ || row < 0 || row >= rowCount()) return {};
  if (isTotalsRow(row)) {
    const EarthworkTotals& t = table_->totals;
    switch (column) {
      case kStation:
        return totalWord;
      case kDistance:
        return formatFixed(t.length, 3);
      case kCutVolume:
      case kCumCut:
        return formatFixed(t.cut, 2);
      case kFillVolume:
      case kCumFill:
        return formatFixed(t.fill, 2);
      case kMass:
        return formatFixed(t.mass, 2);
      default:
        return {};
    }
  }
  const EarthworkRow& r = table_->rows[static_cast<std::size_t>(row)];
  switch (column) {
    case kStation:
      return formatStation(r.station);
    case kCutArea:
      return formatFixed(r.cutArea, 2);
    case kFillArea:
      return formatFixed(r.fillArea, 2);
    case kDistance:
      return formatFixed(r.distance, 3);
    case kCutVolume:
      return formatFixed(r.cutVolume, 2);
    case kFillVolume:
      return formatFixed(r.fillVolume, 2);
    case kCumCut:
      return formatFixed(r.cumCut, 2);
    case kCumFill:
      return formatFixed(r.cumFill, 2);
    case kMass:
      return formatFixed(r.mass, 2);
    case kNote:
      return r.note;
    default:
      return {};
  }
}

std::string CEarthworkList::totalsText(const std::string& cut, const std::string& fill,
                                       const std::string& mass) const {
  if (!table_) return {};
  const EarthworkTotals& t = table_->totals;
  const std::string m3 = " m\xC2\xB3";
  return cut + " " + formatFixed(t.cut, 2) + m3 + "  " + fill + " " + formatFixed(t.fill, 2) + m3 +
         "  " + mass + " " + formatFixed(t.mass, 2) + m3;
}

std::string CEarthworkList::csvText() const {
  return table_ ? earthworkTableText(*table_, true) : std::string();
}

bool CEarthworkList::exportCsv(UserDialogs& dialogs, const std::string& startFolder,
                               const std::string& suggestedName) const {
  if (!table_ || table_->rows.empty()) {
    dialogs.warning("IDS_WARN_earthwork_none");
    return false;
  }
  return saveCsvAs(dialogs, startFolder, suggestedName, csvText(), "IDS_WARN_earthwork_csv_failed");
}

}  // namespace trazmark
