// The language file: texts by key, dialog captions and control texts, and the
// shipped language files.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "support/UiTestSupport.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/Localization.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::writeFile;

const char* kSmallLanguageFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<HEAD>\r\n"
    "<Language>Chinese</Language>\r\n"
    "<String>\r\n"
    "<IDS_DATA_prompt>提示</IDS_DATA_prompt>\r\n"
    "</String>\r\n"
    "<Dialog>\r\n"
    "<IDD312>\r\n<IDD312_Title>other</IDD312_Title>\r\n<IDD312_1>other</IDD312_1>\r\n</IDD312>\r\n"
    "<IDD313>\r\n"
    "<IDD313_Title>断链</IDD313_Title>\r\n"
    "<IDD313_1>确定</IDD313_1>\r\n"
    "<IDD313_1005>断链前里程:</IDD313_1005>\r\n"
    "</IDD313>\r\n"
    "</Dialog>\r\n"
    "</HEAD>\r\n";

TEST(LanguageFile, TextOfAKeyAndEmptyForAnyOther) {
  ScratchFolder dir;
  writeFile(dir.path("Language.xml"), kSmallLanguageFile);
  CLanguageFile file;
  file.setPath(dir.path("Language.xml"));
  EXPECT_EQ(file.text("IDS_DATA_prompt"), "提示");
  EXPECT_EQ(file.text("IDS_DATA_name"), "");
  EXPECT_EQ(file.text("Language"), "");  // only HEAD/String holds texts
  EXPECT_EQ(file.text("IDS_DATA_prompt"), "提示");  // positions reset between lookups
}

TEST(LanguageFile, MissingFileGivesEmptyTextsAndIsTriedAgain) {
  ScratchFolder dir;
  CLanguageFile file;
  file.setPath(dir.path("Language.xml"));
  EXPECT_EQ(file.text("IDS_DATA_prompt"), "");
  EXPECT_FALSE(file.dialogTexts(313, {1}).found);
  writeFile(dir.path("Language.xml"), kSmallLanguageFile);
  EXPECT_EQ(file.text("IDS_DATA_prompt"), "提示");
}

TEST(LanguageFile, IllFormedFileGivesEmptyTexts) {
  ScratchFolder dir;
  writeFile(dir.path("Language.xml"), "<HEAD><String><IDS_DATA_prompt>x</IDS_DATA_prompt></String>");
  CLanguageFile file;
  file.setPath(dir.path("Language.xml"));
  EXPECT_EQ(file.text("IDS_DATA_prompt"), "");
}

TEST(LocalizeDialog, SetsTitleAndControlTextsOfItsDialogOnly) {
  test::application();
  ScratchFolder dir;
  writeFile(dir.path("Language.xml"), kSmallLanguageFile);
  setLanguageFilePath(dir.path("Language.xml"));

  QDialog dialog;
  dialog.setWindowTitle("resource title");
  auto* ok = new QPushButton("OK", &dialog);
  setControlId(ok, 1);
  auto* label = new QLabel("before", &dialog);
  setControlId(label, 1005);
  auto* box = new QCheckBox("keeps", &dialog);
  setControlId(box, 1006);
  auto* plain = new QLabel("no id", &dialog);

  LocalizeDialog(&dialog, 313);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("断链"));
  EXPECT_EQ(ok->text(), QString::fromUtf8("确定"));
  EXPECT_EQ(label->text(), QString::fromUtf8("断链前里程:"));
  EXPECT_EQ(box->text(), "keeps");
  EXPECT_EQ(plain->text(), "no id");

  QDialog unknown;
  unknown.setWindowTitle("stays");
  LocalizeDialog(&unknown, 399);
  EXPECT_EQ(unknown.windowTitle(), "stays");

  EXPECT_EQ(GetLanguageText("IDS_DATA_prompt"), "提示");
  setLanguageFilePath("");
}

TEST(LocalizeDialog, DialogWithoutTitleKeepsItsCaptionButGetsControls) {
  test::application();
  ScratchFolder dir;
  writeFile(dir.path("Language.xml"),
            "<HEAD><Dialog><IDD320><IDD320_2>取消</IDD320_2></IDD320></Dialog></HEAD>");
  setLanguageFilePath(dir.path("Language.xml"));
  QDialog dialog;
  dialog.setWindowTitle("caption");
  auto* cancel = new QPushButton("Cancel", &dialog);
  setControlId(cancel, 2);
  LocalizeDialog(&dialog, 320);
  EXPECT_EQ(dialog.windowTitle(), "caption");
  EXPECT_EQ(cancel->text(), QString::fromUtf8("取消"));
  setLanguageFilePath("");
}

// Every key the program looks up has a text in every shipped language, and
// every dialog has a title.
TEST(ShippedLanguageFiles, HoldEveryKeyAndEveryDialogTitle) {
  const std::string langFolder = std::string(TRAZMARK_SOURCE_DIR) + "/lang/";
  const char* keys[] = {
      "IDS_DATA_after_mileage", "IDS_DATA_arc", "IDS_DATA_azimuth", "IDS_DATA_before_mileage",
      "IDS_DATA_broken_chain", "IDS_DATA_cal_stake_distance", "IDS_DATA_cal_stake_number", "IDS_DATA_circle",
      "IDS_DATA_coordinate_east", "IDS_DATA_coordinate_hight", "IDS_DATA_coordinate_north", "IDS_DATA_corner",
      "IDS_DATA_cross_method", "IDS_DATA_cross_slope", "IDS_DATA_curve", "IDS_DATA_curve1", "IDS_DATA_dig",
      "IDS_DATA_element", "IDS_DATA_element_method", "IDS_DATA_end_mileage", "IDS_DATA_export_line_file",
      "IDS_DATA_export_stake_file", "IDS_DATA_fill", "IDS_DATA_flat_curve", "IDS_DATA_four_parabola",
      "IDS_DATA_gradient_mode", "IDS_DATA_left", "IDS_DATA_left_curve_length", "IDS_DATA_left_side",
      "IDS_DATA_length", "IDS_DATA_line", "IDS_DATA_line_element_method", "IDS_DATA_linear",
      "IDS_DATA_lineelement_direction", "IDS_DATA_lineelement_end_radius", "IDS_DATA_lineelement_linetype",
      "IDS_DATA_lineelement_start_radius", "IDS_DATA_list_mark", "IDS_DATA_list_road", "IDS_DATA_longchain",
      "IDS_DATA_lsit_calculate", "IDS_DATA_mileage", "IDS_DATA_name", "IDS_DATA_new_road",
      "IDS_DATA_plate_mode_1", "IDS_DATA_plate_mode_2", "IDS_DATA_plate_mode_3", "IDS_DATA_plate_mode_4",
      "IDS_DATA_plate_mode_5", "IDS_DATA_plate_mode_6", "IDS_DATA_plate_mode_7", "IDS_DATA_platform",
      "IDS_DATA_point", "IDS_DATA_position", "IDS_DATA_prompt", "IDS_DATA_pt_name", "IDS_DATA_radius",
      "IDS_DATA_radius_can_not_be_negative", "IDS_DATA_right", "IDS_DATA_right_curve_length",
      "IDS_DATA_right_side", "IDS_DATA_road_manage", "IDS_DATA_road_teeth", "IDS_DATA_shortchain",
      "IDS_DATA_side", "IDS_DATA_slop_mileage", "IDS_DATA_slope", "IDS_DATA_slope_high", "IDS_DATA_slope_lib",
      "IDS_DATA_slope_scale", "IDS_DATA_slope_surface", "IDS_DATA_standard_cross_section",
      "IDS_DATA_start_mileage", "IDS_DATA_super_high", "IDS_DATA_super_widen", "IDS_DATA_three_parabola",
      "IDS_DATA_type", "IDS_DATA_ver_curve", "IDS_DATA_width", "IDS_WARN_angle_error", "IDS_WARN_calculate_error",
      "IDS_WARN_data_export_finish", "IDS_WARN_element_first_must_pt", "IDS_WARN_element_last_must_line",
      "IDS_WARN_element_second_must_line", "IDS_WARN_element_too_less", "IDS_WARN_import_failed",
      "IDS_WARN_is_save_last_road", "IDS_WARN_last_mileage_less_min", "IDS_WARN_mileage_large_nextpoint",
      "IDS_WARN_mileage_less_uppoint", "IDS_WARN_mileage_less_uppoint_insert", "IDS_WARN_name_empty_save_failed",
      "IDS_WARN_name_has_exist", "IDS_WARN_no_input_coordinate", "IDS_WARN_road_load_error",
      "IDS_WARN_same_infinite", "IDS_WARN_save_file_failed", "IDS_WARN_save_file_successful",
      "IDS_WARN_select_element_first", "IDS_DATA_view_not_available", "IDS_MENU_file", "IDS_MENU_about"};
  for (const char* name : {"Language.xml", "Language.en.xml"}) {
    CLanguageFile file;
    file.setPath(langFolder + name);
    for (const char* key : keys) EXPECT_FALSE(file.text(key).empty()) << name << ": " << key;
    for (int id : {100, 311, 312, 313, 314, 315, 316, 317, 318, 319, 320, 321, 322, 323, 324, 325, 326, 327,
                   328, 329, 330, 331, 332, 333, 334, 335}) {
      CLanguageFile::DialogTexts texts = file.dialogTexts(id, {1});
      EXPECT_TRUE(texts.found && texts.title && !texts.title->empty()) << name << ": IDD" << id;
    }
  }
}

}  // namespace
}  // namespace trazmark
