// Packed degrees-minutes-seconds: reading, writing and the two rounding variants.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "coords/AngleFormat.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

double radians(double d, double m, double s) { return (d + m / 60 + s / 3600) * kPi / 180; }

TEST(AngleFormatTest, ParseAngle) {
  struct Case {
    const char* text;
    double degrees;
  };
  const Case cases[] = {
      {"12.3405", 12 + 34.0 / 60 + 5.0 / 3600},
      {"-12.3405", -(12 + 34.0 / 60 + 5.0 / 3600)},
      {"12.34055", 12 + 34.0 / 60 + 5.5 / 3600},
      {" +90", 90},
      {"45.3", 45.5},
      {"", 0},
      {"abc", 0},
      {"0.0000000001", 0},
      {"nan", 0},
      {"inf", 0},
      {"-inf", 0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(parseAngle(c.text), c.degrees, 1e-10) << c.text;
  }
  EXPECT_TRUE(std::isfinite(parseAngle("1e300")));
  EXPECT_TRUE(std::isfinite(parseAngle("1e999")));
}

TEST(AngleFormatTest, FormatDms) {
  struct Case {
    double degrees;
    const char* text;
  };
  const Case cases[] = {
      {12.5, "12.3000000000"},
      {12 + 34.0 / 60 + 5.5 / 3600, "12.3405500000"},
      {12 + 59.0 / 60 + 59.99995 / 3600, "13.0000000000"},  // seconds and minutes carry
      {-12.5, "-12.3000000000"},
      {-1e-7, "0.0000000360"},  // the sign is dropped above -1e-6
      {0, "0.0000000000"},
      {359 + 59.0 / 60 + 59.5 / 3600, "359.5959500000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatDms(c.degrees), c.text) << c.degrees;
  }
  EXPECT_EQ(formatDms(std::nan("")), "");
  EXPECT_EQ(formatDms(std::numeric_limits<double>::infinity()), "");
  EXPECT_FALSE(formatDms(1e300).empty());
  EXPECT_NEAR(parseAngle(formatDms(123.456789)), 123.456789, 1e-9);
}

TEST(AngleFormatTest, RadiansToPackedDmsVariants) {
  EXPECT_EQ(radiansToPackedDms(kPi / 4), 45.0);
  EXPECT_EQ(radiansToPackedDms(kPi / 4, DmsVariant::Stake), 45.0000000037);
  EXPECT_EQ(radiansToPackedDms(-kPi / 4), -45.0);
  EXPECT_DOUBLE_EQ(radiansToPackedDms(radians(12, 34, 5)), 12.3405);
  // A second fraction of 0.99995 rounds up for the editors, not for stakes.
  const double r = radians(10, 20, 30.99995);
  EXPECT_DOUBLE_EQ(radiansToPackedDms(r), 10.2031);
  const double stake = radiansToPackedDms(r, DmsVariant::Stake);
  EXPECT_GT(stake, 10.20309999);
  EXPECT_LT(stake, 10.2031);
  // Carries through seconds, minutes and degrees.
  EXPECT_DOUBLE_EQ(radiansToPackedDms(radians(12, 59, 59.99995)), 13.0);
  EXPECT_EQ(radiansToPackedDms(radians(12, 59, 59.9999999), DmsVariant::Stake), 13.0000000037);
  EXPECT_EQ(radiansToPackedDms(1e-9), 0.0);
  EXPECT_EQ(radiansToPackedDms(-1e-9), 0.0);
  EXPECT_EQ(radiansToPackedDms(std::nan("")), 0.0);
  EXPECT_EQ(radiansToPackedDms(std::numeric_limits<double>::infinity()), 0.0);
  EXPECT_TRUE(std::isfinite(radiansToPackedDms(1e300, DmsVariant::Stake)));
}

}  // namespace
}  // namespace trazmark
