#pragma once
// The two dialogs of the slope view: a slope (side, cut or fill, name and
// mileage range) and a step of a slope (slope surface or platform, name and two
// numbers whose labels follow the kind of step at once).

#include <QDialog>

#include "crosssection/RoadSlopeEditor.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace trazmark {

class UserDialogs;

class CRoadSlopeNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// `editedIndex` -1: a new slope; otherwise slope `editedIndex` of `slopes`,
  /// whose fields the dialog shows.
  CRoadSlopeNewDlg(UserDialogs& dialogs, const RecordList<Road_Slope>& slopes, int editedIndex,
                   QWidget* parent = nullptr);

  QRadioButton* leftButton() const { return left_; }
  QRadioButton* rightButton() const { return right_; }
  QRadioButton* cutButton() const { return cut_; }
  QRadioButton* fillButton() const { return fill_; }
  QLineEdit* nameEdit() const { return name_; }
  QLineEdit* startEdit() const { return start_; }
  QLineEdit* endEdit() const { return end_; }
  /// The slope of the last accepted OK (without steps).
  const Road_Slope& slope() const { return slope_; }

  void tryAccept();

 private:
  UserDialogs& dialogs_;
  const RecordList<Road_Slope>& slopes_;
  int editedIndex_;
  QRadioButton* left_;
  QRadioButton* right_;
  QRadioButton* cut_;
  QRadioButton* fill_;
  QLineEdit* name_;
  QLineEdit* start_;
  QLineEdit* end_;
  Road_Slope slope_;
};

class CRoadSlopeItemNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// `step` non-null: the dialog shows it.
  CRoadSlopeItemNewDlg(UserDialogs& dialogs, std::string slopeName, const Road_Slope_Item* step,
                       QWidget* parent = nullptr);

  QRadioButton* surfaceButton() const { return surface_; }
  QRadioButton* platformButton() const { return platform_; }
  QLineEdit* nameEdit() const { return name_; }
  QLineEdit* firstEdit() const { return first_; }
  QLineEdit* secondEdit() const { return second_; }
  QLabel* firstLabel() const { return firstLabel_; }
  QLabel* secondLabel() const { return secondLabel_; }
  const Road_Slope_Item& step() const { return step_; }

  void tryAccept();

 private:
  void updateLabels();

  UserDialogs& dialogs_;
  std::string slopeName_;
  QRadioButton* surface_;
  QRadioButton* platform_;
  QLineEdit* name_;
  QLineEdit* first_;
  QLineEdit* second_;
  QLabel* firstLabel_;
  QLabel* secondLabel_;
  Road_Slope_Item step_;
};

}  // namespace trazmark
