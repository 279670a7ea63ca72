// The list of a design table: as many rows and columns as the table, the
// cells' shown texts, column titles from the language file with the column's
// detail, and a second table replacing the first whole.

#include "platform/qt/DesignTableModel.h"

#include <gtest/gtest.h>

#include "platform/qt/Localization.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

DesignTable smallTable() {
  DesignTable t;
  t.titleKey = kStakeCoordinatesTitleKey;
  t.columns = {{"IDS_TEST_no_such_key", ""}, {"IDS_TEST_station", "L"}, {"IDS_TEST_third", ""}};
  t.rows.push_back({{"ZH-01", ""}, {"K0+120.000", "120.0000"}, {"-3.5000", ""}});
  // A short row: the side with fewer components.
  t.rows.push_back({{"12", ""}});
  return t;
}

TEST(DesignTableModel, RowsColumnsCellsAndTitlesOfTheTable) {
  test::application();
  test::ScratchFolder dir;
  test::writeFile(
      dir.path("Language.xml"),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HEAD>\r\n<Language>Chinese</Language>\r\n"
      "<String>\r\n<IDS_TEST_station>里程</IDS_TEST_station>\r\n</String>\r\n</HEAD>\r\n");
  setLanguageFilePath(dir.path("Language.xml"));
  CDesignTableModel model;
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.columnCount(), 0);
  model.setTable(smallTable());
  ASSERT_EQ(model.rowCount(), 2);
  ASSERT_EQ(model.columnCount(), 3);

  struct Cell {
    int row, column;
    const char* text;
    Qt::Alignment alignment;
  } cells[] = {{0, 0, "ZH-01", Qt::AlignLeft},    {0, 1, "K0+120.000", Qt::AlignRight},
               {0, 2, "-3.5000", Qt::AlignRight}, {1, 0, "12", Qt::AlignRight},
               {1, 1, "", Qt::AlignLeft},         {1, 2, "", Qt::AlignLeft}};
  for (const Cell& c : cells) {
    SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.column));
    const QModelIndex index = model.index(c.row, c.column);
    EXPECT_EQ(model.data(index, Qt::DisplayRole).toString().toStdString(), c.text);
    const auto alignment = model.data(index, Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, c.alignment);
  }
  // Outside the table: nothing, not a crash.
  EXPECT_FALSE(model.data(model.index(2, 0), Qt::DisplayRole).isValid());
  EXPECT_FALSE(model.data(QModelIndex(), Qt::DisplayRole).isValid());

  // Titles: a key the language file lacks shows as itself; a known key its
  // text, with the detail after it; rows are numbered from 1.
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
            "IDS_TEST_no_such_key");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
            QString::fromUtf8("里程 L"));
  EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toInt(), 2);
  EXPECT_FALSE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).isValid());
  setLanguageFilePath("");
}

TEST(DesignTableModel, ALargeTableIsReadWhereShownAndReplacedWhole) {
  test::application();
  DesignTable big;
  big.titleKey = kStakeCoordinatesTitleKey;
  big.columns = {{"IDS_TEST_a", ""}, {"IDS_TEST_b", ""}};
  big.rows.assign(100000, {{"1", ""}, {"2", ""}});
  big.rows.back() = {{"last", ""}, {"row", ""}};
  CDesignTableModel model;
  int resets = 0;
  QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  model.setTable(big);
  EXPECT_EQ(model.rowCount(), 100000);
  EXPECT_EQ(model.data(model.index(99999, 1), Qt::DisplayRole).toString(), "row");
  model.setTable(smallTable());
  EXPECT_EQ(resets, 2);
  EXPECT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.table().titleKey, kStakeCoordinatesTitleKey);
}

}  // namespace
}  // namespace trazmark
