#pragma once
// The grade-point dialog: mileage, elevation and the vertical curve (a circle
// with its radius, a symmetric parabola with its length, or an asymmetric
// parabola with its lengths before and after the point). On OK it asks its
// check (the editor's rules) and stays open on a refusal, showing the message
// through the dialog seam.

#include <QDialog>
#include <functional>
#include <string>

#include "vertical/RoadVerCurveEditor.h"

class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace trazmark {

class UserDialogs;

class CRoadVerCurveNewDlg : public QDialog {
  Q_OBJECT

 public:
  /// `check` returns the refusing message key of an input, or empty.
  using Check = std::function<std::string(const GradePointInput&)>;

  CRoadVerCurveNewDlg(UserDialogs& dialogs, Check check, QWidget* parent = nullptr);

  void setInput(const GradePointInput& input);
  /// The fields as an input; a field that is not a number gives NaN, which
  /// the check refuses.
  GradePointInput input() const;

  void accept() override;

 private:
  UserDialogs& dialogs_;
  Check check_;
  QLineEdit* mileage_;
  QLineEdit* elevation_;
  QComboBox* kind_;
  QStackedWidget* curvePages_;
  QLineEdit* radius_;
  QLineEdit* length_;
  QLineEdit* inLength_;
  QLineEdit* outLength_;
};

}  // namespace trazmark
