// The plan map's status-bar readout of the station and offset under the mouse.

#include <gtest/gtest.h>

#include <cmath>

#include "alignment/RoadDesign.h"
#include "maps/RoadMap.h"
#include "platform/qt/Localization.h"

namespace trazmark {
namespace {

TEST(StationReadout, StationAndOffsetOrOutside) {
  setLanguageFilePath(TRAZMARK_SOURCE_DIR "/lang/Language.en.xml");
  CRoadDesign d;
  EXPECT_TRUE(stationReadout(d, 0, 0).isEmpty()) << "nothing computed";
  Road_Element start;
  start.Type = 1;
  Road_Element line;
  line.Type = 2;
  line.Length = 500;
  line.Azimuth = 90;
  ASSERT_TRUE(d.loadFromRoad("r", 1000, {start, line}));
  d.brokenChains = {Scisson_Data{1, 20, 1100, 1120}};
  // 250 m east and 3.5 m north: left of travel eastward.
  EXPECT_EQ(stationReadout(d, 3.5, 250), QString("Station 1270.000  offset -3.500 m"));
  EXPECT_EQ(stationReadout(d, 0, -12), QString("Outside the road, 12.000 m from its end"));
  EXPECT_TRUE(stationReadout(d, std::nan(""), 0).isEmpty());
  setLanguageFilePath("");
}

}  // namespace
}  // namespace trazmark
