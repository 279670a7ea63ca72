// Export of a design table through the save dialog of the dialog seam: the
// CSV written with its titles, an empty table, a cancelled dialog and an
// unwritable file each leave no file and say why.

#include "shell/TableExportCommand.h"

#include <gtest/gtest.h>

#include "maps/TablePdf.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;

DesignTable gradeTable() {
  DesignTable t;
  t.titleKey = kGradesTitleKey;
  t.columns = {{"IDS_TEST_station", ""}, {"IDS_TEST_elevation", ""}};
  t.rows.push_back({{"K0+000.000", "0.000"}, {"102.500", ""}});
  t.rows.push_back({{"K0+420.000", "420.000"}, {"110.900", ""}});
  return t;
}

TEST(TableExport, CsvThroughTheSaveDialog) {
  test::application();
  ScratchFolder dir;
  ScriptedDialogs dialogs;
  const std::string path = dir.path("grades.csv");
  dialogs.saveNames.push_back(path);
  EXPECT_EQ(exportTableCsv(dialogs, gradeTable(), "demo", dir.root()), path);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].suggestedName, "demo_grades.csv");
  EXPECT_EQ(dialogs.requests[0].defaultExtension, "csv");
  EXPECT_EQ(dialogs.requests[0].startFolder, dir.root());
  EXPECT_TRUE(dialogs.warnings.empty());
  const std::string csv = test::readFile(path);
  // The plain numbers go to the spreadsheet, not the K form.
  EXPECT_NE(csv.find("IDS_TEST_station,IDS_TEST_elevation\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("420.000,110.900\r\n"), std::string::npos) << csv;
  EXPECT_EQ(csv.find("K0+420"), std::string::npos) << csv;
}

TEST(TableExport, PdfPagesThroughTheSaveDialog) {
  test::application();
  ScratchFolder dir;
  ScriptedDialogs dialogs;
  DesignTable table = gradeTable();
  // Enough rows for several pages: each page repeats the header.
  for (int i = 0; i < 300; ++i) table.rows.push_back(table.rows[static_cast<std::size_t>(i % 2)]);
  const std::string path = dir.path("grades.pdf");
  dialogs.saveNames.push_back(path);
  EXPECT_EQ(exportTablePdf(dialogs, table, "demo", dir.root()), path);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].suggestedName, "demo_grades.pdf");
  EXPECT_EQ(dialogs.requests[0].defaultExtension, "pdf");
  EXPECT_TRUE(dialogs.warnings.empty());
  const std::string pdf = test::readFile(path);
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
  // One page object a page, as many as the writer says the table takes.
  const int pages = tablePdfPageCount(table, TablePdfOptions{});
  EXPECT_GT(pages, 1);
  std::size_t count = 0;
  for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
       at = pdf.find("/Type /Page\n", at + 1))
    ++count;
  for (std::size_t at = pdf.find("/Type /Page\r"); at != std::string::npos;
       at = pdf.find("/Type /Page\r", at + 1))
    ++count;
  EXPECT_TRUE(count == 0 || count == static_cast<std::size_t>(pages)) << count;
  // The same failures as CSV: an unwritable file says so.
  dialogs.saveNames.push_back(dir.path("no/such/folder/t.pdf"));
  EXPECT_TRUE(exportTablePdf(dialogs, table, "demo", dir.root()).empty());
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_TABLES_export_failed"});
}

TEST(TableExport, NothingWrittenWhenEmptyCancelledOrUnwritable) {
  test::application();
  ScratchFolder dir;
  {
    ScriptedDialogs dialogs;
    DesignTable empty = gradeTable();
    empty.rows.clear();
    EXPECT_TRUE(exportTableCsv(dialogs, empty, "demo", dir.root()).empty());
    EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_TABLES_empty"});
    EXPECT_TRUE(dialogs.requests.empty());  // no dialog for nothing
  }
  {
    ScriptedDialogs dialogs;  // no name scripted: the dialog is cancelled
    EXPECT_TRUE(exportTableCsv(dialogs, gradeTable(), "demo", dir.root()).empty());
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(dialogs.warnings.empty());
  }
  {
    ScriptedDialogs dialogs;
    dialogs.saveNames.push_back(dir.path("no/such/folder/t.csv"));
    EXPECT_TRUE(exportTableCsv(dialogs, gradeTable(), "demo", dir.root()).empty());
    EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_TABLES_export_failed"});
    ASSERT_EQ(dialogs.details.size(), 1u);
    EXPECT_FALSE(dialogs.details[0].empty());
  }
}

TEST(TableExport, SuggestedNames) {
  DesignTable t;
  const struct {
    const char* key;
    const char* road;
    const char* name;
  } cases[] = {{kStakeCoordinatesTitleKey, "demo", "demo_stake_coordinates.pdf"},
               {kSubgradeTitleKey, "", "road_subgrade.pdf"},
               {"", "demo", "demo_table.pdf"},
               {"OTHER", "demo", "demo_OTHER.pdf"}};
  for (const auto& c : cases) {
    t.titleKey = c.key;
    EXPECT_EQ(suggestedTableFileName(t, c.road, "pdf"), c.name) << c.key;
  }
}

}  // namespace
}  // namespace trazmark
