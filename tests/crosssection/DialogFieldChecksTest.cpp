// The cross-section dialogs' range checks: each refused field is named by its
// message key, and the limits themselves pass.

#include <gtest/gtest.h>

#include "crosssection/RoadSlopeEditor.h"
#include "crosssection/RoadSuperEditor.h"
#include "crosssection/StandardSectionEditor.h"

namespace trazmark {
namespace {

TEST(CrossSectionDialogChecks, ComponentSlopeStepAndChangePointNameTheRefusedField) {
  struct Case {
    const char* what;
    std::string key;   // what the check returns
    const char* expected;
  };
  auto component = [](const char* kerb, const char* slope, const char* width) {
    return CSectionComponentForm::refusal({"lane", width, slope, kerb});
  };
  auto slopeEntry = [](const char* start, const char* end) {
    return acceptSlopeEntry({}, -1, {0, 0, "K1", start, end}).messageKey;
  };
  auto step = [](int32_t mode, const char* first, const char* second) {
    return acceptStepEntry("K1", {mode, "S1", first, second}).messageKey;
  };
  auto added = [](SuperValueKind kind, const char* value, const char* mileage) {
    const std::vector<SuperComponentEntry> entries{{"L-lane", "lane", 0, 0}};
    return acceptNewSuperEntry(kind, entries, {0, 0, value, mileage}).messageKey;
  };
  auto edited = [](SuperValueKind kind, const char* value, const char* mileage) {
    Road_Super_Item item;
    item.values.append({100, 2, 0, 0});
    return acceptSuperEdit(kind, item, 0, {0, 0, value, mileage}).messageKey;
  };
  const Case cases[] = {
      {"component as typed", component("0.15", "-2", "3.75"), ""},
      {"component limits", component("-100", "1000", "1000"), ""},
      {"kerb height", component("150", "2", "3.75"), "IDS_WARN_range_kerb_height"},
      {"cross slope", component("0", "-1e4", "3.75"), "IDS_WARN_range_cross_slope"},
      {"width", component("0", "2", "-1"), "IDS_WARN_range_width"},
      {"width not a number", component("0", "2", "3,75"), "IDS_WARN_range_width"},
      {"slope mileages", slopeEntry("-1e8", "1e8"), ""},
      {"slope start", slopeEntry("1e300", "100"), "IDS_WARN_range_start_mileage"},
      {"slope end", slopeEntry("0", "2e8"), "IDS_WARN_range_end_mileage"},
      {"surface", step(kStepSlopeSurface, "8", "1.5"), ""},
      {"surface height", step(kStepSlopeSurface, "1e4", "1.5"), "IDS_WARN_range_step_height"},
      {"surface ratio", step(kStepSlopeSurface, "8", "-1"), "IDS_WARN_range_step_ratio"},
      {"platform width", step(kStepPlatform, "2000", "2"), "IDS_WARN_range_step_width"},
      {"platform slope", step(kStepPlatform, "2", "5000"), "IDS_WARN_range_cross_slope"},
      {"superelevation", added(SuperValueKind::kSlope, "-4", "120"), ""},
      {"superelevation value", added(SuperValueKind::kSlope, "1e5", "120"), "IDS_WARN_range_cross_slope"},
      {"superelevation mileage", added(SuperValueKind::kSlope, "2", "1e9"), "IDS_WARN_range_mileage"},
      {"widening value", added(SuperValueKind::kWidth, "-3", "120"), "IDS_WARN_range_width"},
      {"edited widening", edited(SuperValueKind::kWidth, "1e4", "100"), "IDS_WARN_range_width"},
      {"edited mileage", edited(SuperValueKind::kSlope, "2", "-1e300"), "IDS_WARN_range_mileage"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.key, c.expected) << c.what;
}

}  // namespace
}  // namespace trazmark
