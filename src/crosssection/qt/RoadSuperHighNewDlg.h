#pragma once
// The change-point dialog of superelevation and widening: gradient mode,
// component, value (cross slope or width after widening) and mileage. New
// change points choose their component; an edited one keeps its own and must
// stay between its neighbours.

#include <QDialog>
#include <vector>

#include "crosssection/RoadSuperEditor.h"

class QComboBox;
class QLineEdit;

namespace trazmark {

class UserDialogs;

class CRoadSuperHighNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// A new change point of a component from `entries`.
  CRoadSuperHighNewDlg(SuperValueKind kind, UserDialogs& dialogs, std::vector<SuperComponentEntry> entries,
                       QWidget* parent = nullptr);
  /// Editing change point `k` of `item`.
  CRoadSuperHighNewDlg(SuperValueKind kind, UserDialogs& dialogs, std::vector<SuperComponentEntry> entries,
                       const Road_Super_Item& item, int k, QWidget* parent = nullptr);

  QComboBox* modeBox() const { return mode_; }
  QComboBox* nameBox() const { return name_; }
  QLineEdit* valueEdit() const { return value_; }
  QLineEdit* mileageEdit() const { return mileage_; }
  /// The result of the last accepted OK.
  const SuperEntryResult& entry() const { return result_; }

  void tryAccept();

 private:
  void build();

  SuperValueKind kind_;
  UserDialogs& dialogs_;
  std::vector<SuperComponentEntry> entries_;
  bool editing_ = false;
  Road_Super_Item item_;
  int k_ = -1;
  QComboBox* mode_ = nullptr;
  QComboBox* name_ = nullptr;
  QLineEdit* value_ = nullptr;
  QLineEdit* mileage_ = nullptr;
  SuperEntryResult result_;
};

}  // namespace trazmark
