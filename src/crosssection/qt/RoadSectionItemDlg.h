#pragma once
// The cross-section component dialog ("横断面"): a name box offering the seven
// plate-mode names (any other name may be typed) and the kerb height, cross
// slope and width. It only shows fields; CSectionComponentForm turns them
// into a component.

#include <QDialog>

#include "crosssection/StandardSectionEditor.h"

class QComboBox;
class QLineEdit;

namespace trazmark {

class UserDialogs;

class CRoadSectionItemDlg : public QDialog {
  Q_OBJECT

 public:
  /// `dialogs` shows why OK refuses a field (none: refused silently).
  explicit CRoadSectionItemDlg(QWidget* parent = nullptr, UserDialogs* dialogs = nullptr);
  /// OK: closes the dialog only when the form takes the fields.
  void accept() override;

  void setFields(const SectionComponentFields& fields);
  SectionComponentFields fields() const;
  Road_Section_Item component() const { return CSectionComponentForm::toRecord(fields()); }

  QComboBox* nameBox() const { return name_; }

 private:
  UserDialogs* dialogs_;
  QComboBox* name_;
  QLineEdit* roadteeth_;
  QLineEdit* slope_;
  QLineEdit* width_;
};

}  // namespace trazmark
