// `check -o report.pdf`: the report written by the tool, which has no window
// and no application object of its own; a file that cannot be written is
// refused with its name.

#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"

namespace trazmark::test {
namespace {

using CheckReportCli = CliFixture;

TEST_F(CheckReportCli, ThePdfReportIsWrittenWithoutAWindow) {
  const std::string road = TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo.REC";
  const std::string points = TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo-survey.csv";
  const CliRun r = run({"check", road, "--points", points, "-o", path("report.pdf")});
  if (r.err.find("writes no PDF") != std::string::npos) GTEST_SKIP() << "no toolkit";
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(read("report.pdf").rfind("%PDF-", 0), 0u);
  // A folder that does not exist: refused, naming the file.
  const CliRun bad = run({"check", road, "--points", points, "-o", path("no/such/report.pdf")});
  EXPECT_NE(bad.exitCode, 0);
  EXPECT_NE(bad.err.find("report.pdf"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace trazmark::test
