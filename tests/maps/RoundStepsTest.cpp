// The round numbers of scale bars and grids, and labels kept inside the window.

#include "maps/RoundSteps.h"

#include <gtest/gtest.h>

#include <cmath>

#include "maps/MapDecorations.h"
#include "maps/ProfileDrawing.h"

namespace trazmark {
namespace {

TEST(RoundSteps, RoundLengthsAreOneTwoOrFiveTimesAPowerOfTen) {
  struct Case {
    double least;
    double length;
    const char* text;
  } cases[] = {{0.37, 0.5, "0.5"}, {12, 20, "20"},        {200, 200, "200"}, {201, 500, "500"},
               {0.011, 0.02, "0.02"}, {1e-4, 1e-4, "0.0001"}, {6e4, 1e5, "100000"}, {1, 1, "1"}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(roundLength(c.least), c.length) << c.least;
    EXPECT_EQ(roundLengthText(roundLength(c.least)), c.text) << c.least;
  }
  for (double bad : {0.0, -3.0, std::nan(""), double(INFINITY)}) EXPECT_EQ(roundLength(bad), 0) << bad;
}

TEST(RoundSteps, GridValuesAreWholeStepsWrittenToTheStep) {
  // Multiples of the step only, the edges included, 0 exactly 0.
  const std::vector<double> tenths = gridValues(-0.35, 0.31, 0.1);
  ASSERT_EQ(tenths.size(), 7u);
  EXPECT_EQ(tenths[3], 0.0);
  EXPECT_EQ(gridValueText(tenths.front(), 0.1), "-0.3");
  EXPECT_EQ(gridValueText(tenths.back(), 0.1), "0.3");
  EXPECT_EQ(gridValues(95, 121, 5), (std::vector<double>{95, 100, 105, 110, 115, 120}));
  EXPECT_TRUE(gridValues(1, 0, 1).empty());
  EXPECT_TRUE(gridValues(0, 1e9, 1).empty());  // too many lines: none
  EXPECT_TRUE(gridValues(0, 1, 0).empty());
  struct Case {
    double value, step;
    const char* text;
  } texts[] = {{12.4, 0.2, "12.4"}, {120, 20, "120"},   {-20, 5, "-20"},     {-1e-12, 0.5, "0.0"},
               {0.25, 0.05, "0.25"}, {-0.0, 1, "0"},    {1234.5, 0.5, "1234.5"}};
  for (const Case& c : texts) EXPECT_EQ(gridValueText(c.value, c.step), c.text) << c.value;
  EXPECT_EQ(stationGridText(1200, 100), "K1+200");
  EXPECT_EQ(stationGridText(1200.5, 0.5), "K1+200.5");
  EXPECT_EQ(stationGridText(-20, 10), "-K0+020");
  EXPECT_EQ(stationGridText(0.125, 0.005), "K0+000.125");
}

TEST(RoundSteps, LabelsAtTheEdgeMoveInside) {
  struct Case {
    int start, length, low, high, placed;
  } cases[] = {{10, 20, 0, 99, 10},   // inside: as it is
               {-7, 20, 0, 99, 0},    // cut at the left or top: moved in
               {90, 20, 0, 99, 80},   // runs past the right or bottom: moved back
               {5, 200, 0, 99, 0}};   // longer than the window: from its start
  for (const Case& c : cases)
    EXPECT_EQ(placeInside(c.start, c.length, c.low, c.high), c.placed) << c.start;
}

TEST(RoundSteps, EveryMapsScaleBarIsARoundLength) {
  MapView view;
  view.setClientRect({0, 0, 640, 480});
  for (double scale : {0.0031, 0.25, 1.7, 38.0}) {
    view.commitTarget({0, 0, scale});
    for (double factor : {1.0, kProfileExaggeration}) {
      const ScaleBar bar = roundScaleBar(view, kScaleBarLeastPixels, factor);
      EXPECT_DOUBLE_EQ(bar.metres, roundLength(bar.metres)) << scale;
      EXPECT_GE(bar.pixels, kScaleBarLeastPixels - 1e-9) << scale;
      EXPECT_LT(bar.pixels, 2.5 * kScaleBarLeastPixels) << scale;
      EXPECT_NEAR(bar.pixels * view.scale() * factor, bar.metres, 1e-9 * bar.metres);
    }
  }
}

}  // namespace
}  // namespace trazmark
