#pragma once
// The dialogs of the horizontal alignment view. Each only shows its fields;
// the records and the keys that refuse them come from editors/FlatDialogs.h.
// `tryAccept` is what OK does: it closes the dialog only when the fields are
// taken (tests call it without running the dialog).

#include <QDialog>
#include <optional>
#include <string>

#include "editors/FlatDialogs.h"
#include "editors/FlatPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace trazmark {

class UserDialogs;

/// A number typed in a field, read with a dot; NaN when it is not a number.
double fieldNumber(const QLineEdit* field);
/// Shows "%.4f" of a number in a field.
void setFieldNumber(QLineEdit* field, double value);

/// Point dialog of the intersection-point page.
class CRoadFlatCrossNewDlg : public QDialog {
  Q_OBJECT
 public:
  CRoadFlatCrossNewDlg(UserDialogs& dialogs, QWidget* parent = nullptr);
  void setFields(const CrossPointFields& f);
  CrossPointFields fields() const;
  /// The road's points, whose names OK compares the new name with (asking
  /// before a second point of one name); `edited` the point being edited.
  /// Both must outlive the dialog.
  void setRoadPoints(const RecordList<Road_CrossPoint>* points, const Road_CrossPoint* edited);
  /// Refuses a field with its message; asks before a name the road holds
  /// already (Cancel goes back to the dialog).
  bool tryAccept();

  QLineEdit* leftLength;
  QLineEdit* rightLength;
  QLineEdit* radius;
  QLineEdit* mileage;
  QLineEdit* name;
  QLineEdit* north;
  QLineEdit* east;
  QLineEdit* elevation;

 private:
  UserDialogs& dialogs_;
  const RecordList<Road_CrossPoint>* points_ = nullptr;
  const Road_CrossPoint* edited_ = nullptr;
};

/// Element dialog of the element page.
class CRoadFlatElementNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// `firstElement`: the list is empty, the kind is fixed to the start point.
  /// `editing`: the kind list shows the element's kind and is disabled.
  /// `dialogs` shows why a field is refused (none: refused silently).
  CRoadFlatElementNewDlg(bool firstElement, bool editing, QWidget* parent = nullptr,
                         UserDialogs* dialogs = nullptr);
  void setFields(const ElementFields& f);
  ElementFields fields() const;
  bool tryAccept();

  QComboBox* kind;
  QLineEdit* text;
  QLineEdit* numbers[3];
  QLabel* labels[4];

 private:
  void applyKind(int index);
  bool first_;
  UserDialogs* dialogs_;
};

/// Element dialog of the line-element page.
class CRoadFlatLineElementNewDlg : public QDialog {
  Q_OBJECT
 public:
  /// `withStart`: the start point is entered too (first Add, Edit of row 1).
  CRoadFlatLineElementNewDlg(UserDialogs& dialogs, bool withStart, QWidget* parent = nullptr);
  void setFields(const LineElementFields& f);
  LineElementFields fields() const;
  bool tryAccept();

  QComboBox* type;
  QLineEdit* north;
  QLineEdit* east;
  QLineEdit* mileage;
  QLineEdit* azimuth;
  QLineEdit* startRadius;
  QLineEdit* endRadius;
  QLineEdit* length;
  QCheckBox* startInfinite;
  QCheckBox* endInfinite;
  QComboBox* direction;

 private:
  void applyType(int index);
  UserDialogs& dialogs_;
  bool withStart_;
};

/// Export dialog: line file or stake file; OK asks for the file (and before
/// side stakes replace an existing side stake file), and cancelling keeps
/// this dialog open with its values.
class CRoadFlatExportDlg : public QDialog {
  Q_OBJECT
 public:
  CRoadFlatExportDlg(UserDialogs& dialogs, int filterKind, QWidget* parent = nullptr);
  bool tryAccept();
  /// The choices, with the chosen path after a successful tryAccept.
  FlatExportRequest request() const;

  QComboBox* exportType;
  QComboBox* calculateMode;
  QLineEdit* interval;
  QLineEdit* offset;

 private:
  void applyType(int index);
  UserDialogs& dialogs_;
  int filterKind_;
  std::string path_;
};

/// Add-stake dialog: side of a broken chain, mileage, offset.
class CRoadFlatAddStakeDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CRoadFlatAddStakeDlg(QWidget* parent = nullptr);
  QComboBox* side;
  QLineEdit* mileage;
  QLineEdit* offset;
};

/// The computed stake: north, east and azimuth, with a button that copies them.
class CRoadFlatStakeResultDlg : public QDialog {
  Q_OBJECT
 public:
  CRoadFlatStakeResultDlg(const QString& text, QWidget* parent = nullptr);
  QPlainTextEdit* result;
};

}  // namespace trazmark
