// The grade-point editor page, driven through the dialog seam.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <cmath>

#include "platform/qt/RecordTableModel.h"
#include "support/FakeDataViewHost.h"
#include "vertical/qt/RoadVerCurveNewDlg.h"
#include "vertical/qt/RoadVerCurveView.h"

namespace trazmark {
namespace {

using test::FakeDataViewHost;

GradePointInput circle(double mileage, double elevation, double radius = 0) {
  GradePointInput in;
  in.mileage = mileage;
  in.elevation = elevation;
  in.radius = radius;
  return in;
}

class VerCurveViewTest : public ::testing::Test {
 protected:
  void SetUp() override { test::application(); }
  FakeDataViewHost host;
};

TEST_F(VerCurveViewTest, ListRefreshesAndRefusalsShowTheirMessages) {
  CRoadVerCurveView view(host);
  EXPECT_FALSE(view.saveButton()->isEnabled());
  ASSERT_TRUE(view.addPoint(circle(0, 100)));  // a first point at K0+000
  ASSERT_TRUE(view.addPoint(circle(500, 110, 2000)));
  ASSERT_TRUE(view.addPoint(circle(1000, 95)));
  EXPECT_TRUE(host.dialogs.warnings.empty());
  EXPECT_TRUE(view.saveButton()->isEnabled());
  ASSERT_EQ(view.model()->rowCount(), 3);
  EXPECT_EQ(view.model()->data(view.model()->index(1, 0), Qt::DisplayRole).toString(), "2");
  EXPECT_EQ(view.model()->data(view.model()->index(1, 3), Qt::DisplayRole).toString(), "2000.000");
  EXPECT_NEAR(view.editor().points()[1].I2, -3, 1e-12);

  EXPECT_FALSE(view.addPoint(circle(1000, 1)));
  EXPECT_FALSE(view.addPoint(circle(1100, 1, -5)));
  EXPECT_FALSE(view.editPoint(1, circle(1000, 1)));
  EXPECT_EQ(host.dialogs.warnings,
            (std::vector<std::string>{"IDS_WARN_last_mileage_less_min", "IDS_DATA_radius_can_not_be_negative",
                                      "IDS_WARN_mileage_large_nextpoint"}));
  EXPECT_EQ(view.model()->rowCount(), 3);

  // Delete needs a row.
  view.selectRow(-1);
  EXPECT_FALSE(view.deletePoint());
  EXPECT_EQ(host.dialogs.warnings.back(), "IDS_WARN_select_element_first");
  view.selectRow(2);
  ASSERT_TRUE(view.deletePoint());
  EXPECT_EQ(view.model()->rowCount(), 2);
  EXPECT_EQ(view.editor().points()[1].I1, 0);  // the new last point

  view.save();
  EXPECT_EQ(host.roadModified, 1);
  EXPECT_EQ(host.store.verticalCurves.size(), 2u);
  EXPECT_FALSE(view.saveButton()->isEnabled());
  EXPECT_FALSE(view.hasPendingInput());
}

TEST_F(VerCurveViewTest, PointDialogStaysOpenOnARefusal) {
  CRoadVerCurveView view(host);
  ASSERT_TRUE(view.addPoint(circle(100, 10)));
  int accepted = 0;
  view.setDialogRunner([&](QDialog& d) {
    auto& dialog = static_cast<CRoadVerCurveNewDlg&>(d);
    dialog.findChild<QLineEdit*>("mileageEdit")->setText("50");  // before the last point
    dialog.accept();
    EXPECT_FALSE(dialog.result() == QDialog::Accepted);
    for (const char* text : {"abc", "1,5", "300m", "", "inf"}) {
      dialog.findChild<QLineEdit*>("mileageEdit")->setText(text);
      dialog.accept();
    }
    dialog.findChild<QLineEdit*>("mileageEdit")->setText(" +3e2 ");
    dialog.findChild<QComboBox*>("curveKindBox")->setCurrentIndex(kVerCurveSymmetricParabola);
    dialog.findChild<QLineEdit*>("lengthEdit")->setText("80");
    dialog.accept();
    accepted = dialog.result();
    return dialog.result();
  });
  view.findChild<QPushButton*>("addButton")->click();
  EXPECT_EQ(accepted, QDialog::Accepted);
  EXPECT_EQ(host.dialogs.warnings,
            (std::vector<std::string>{"IDS_WARN_last_mileage_less_min", "IDS_WARN_number_invalid",
                                      "IDS_WARN_number_invalid", "IDS_WARN_number_invalid",
                                      "IDS_WARN_number_invalid", "IDS_WARN_number_invalid"}));
  ASSERT_EQ(view.editor().count(), 2);
  EXPECT_EQ(view.editor().points()[1].Mileage, 300);
  EXPECT_EQ(view.editor().points()[1].CalMode, kVerCurveSymmetricParabola);
  EXPECT_EQ(view.editor().points()[1].CurveL, 80);
  EXPECT_TRUE(view.editor().isParabola(1));
}

TEST_F(VerCurveViewTest, DrawHandsAPrivateVrFileToTheProfileAndRemovesIt) {
  host.store.verticalCurves.append(CRoadVerCurveForm::toRecord(circle(0, 100)));
  host.store.verticalCurves.append(CRoadVerCurveForm::toRecord(circle(500, 110, 2000)));
  host.store.verticalCurves.append(CRoadVerCurveForm::toRecord(circle(1000, 95)));
  CRoadVerCurveView view(host);
  EXPECT_EQ(view.model()->rowCount(), 3);
  ASSERT_TRUE(view.drawProfile());
  ASSERT_EQ(host.profileFiles.size(), 1u);
  EXPECT_EQ(host.profileFiles[0].second.substr(0, 52), "0.000,100.000,0.000,0.000,0.000,0.000,0.000,0.000,0,");
  EXPECT_NE(host.profileFiles[0].second.find("500.000,110.000,2000.000,2.000,-3.000,"), std::string::npos);
  EXPECT_FALSE(test::fileExists(host.profileFiles[0].first));

  // No temporary folder to write into: the user is told, nothing is shown.
  const QByteArray tmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", "/nonexistent/trazmark-test");
  EXPECT_FALSE(view.drawProfile());
  if (tmp.isNull())
    qunsetenv("TMPDIR");
  else
    qputenv("TMPDIR", tmp);
  EXPECT_EQ(host.profileFiles.size(), 1u);
  EXPECT_EQ(host.dialogs.warnings, std::vector<std::string>{"IDS_WARN_save_file_failed"});

  // Reload discards unsaved edits.
  ASSERT_TRUE(view.addPoint(circle(2000, 90)));
  view.reloadFromRoad();
  EXPECT_EQ(view.editor().count(), 3);
  EXPECT_FALSE(view.hasPendingInput());
}

}  // namespace
}  // namespace trazmark
