#include "vertical/qt/RoadVerCurveNewDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/TextFields.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {
namespace {

/// A whole field as a number with a dot, whatever the locale; NaN when it
/// is not one (a typed "1,5" or "12m" is refused rather than read as 1 or 12).
double fieldNumber(const QLineEdit* field) {
  std::string text = trimWhiteSpace(field->text().toStdString());
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  double v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, v, std::chars_format::general);
  if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(v))
    return std::numeric_limits<double>::quiet_NaN();
  return v;
}

QString fieldText(double v) { return QString::fromStdString(formatFixed(v, 3)); }

QLineEdit* numberField(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  e->setText(QStringLiteral("0.000"));
  return e;
}

}  // namespace

CRoadVerCurveNewDlg::CRoadVerCurveNewDlg(UserDialogs& dialogs, Check check, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      check_(std::move(check)),
      mileage_(numberField(this, "mileageEdit")),
      elevation_(numberField(this, "elevationEdit")),
      kind_(new QComboBox(this)),
      curvePages_(new QStackedWidget(this)),
      radius_(numberField(this, "radiusEdit")),
      length_(numberField(this, "lengthEdit")),
      inLength_(numberField(this, "inLengthEdit")),
      outLength_(numberField(this, "outLengthEdit")) {
  setObjectName(QStringLiteral("roadVerCurveNewDlg"));
  setWindowTitle(QString::fromUtf8("变坡点"));
  kind_->setObjectName(QStringLiteral("curveKindBox"));
  kind_->addItem(languageTextOr("IDS_DATA_circle", QString::fromUtf8("圆曲线")));
  kind_->addItem(languageTextOr("IDS_DATA_symmetric_parabola", QString::fromUtf8("对称抛物线")));
  kind_->addItem(languageTextOr("IDS_DATA_asymmetric_parabola", QString::fromUtf8("非对称抛物线")));

  auto* form = new QFormLayout;
  form->addRow(languageTextOr("IDS_DATA_slop_mileage", QString::fromUtf8("变坡点里程")), mileage_);
  form->addRow(languageTextOr("IDS_DATA_coordinate_hight", QString::fromUtf8("高程")), elevation_);
  form->addRow(languageTextOr("IDS_DATA_type", QString::fromUtf8("类型")), kind_);

  auto page = [this](std::initializer_list<std::pair<QString, QLineEdit*>> rows) {
    auto* w = new QWidget(curvePages_);
    auto* l = new QFormLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    for (const auto& [label, field] : rows) l->addRow(label, field);
    curvePages_->addWidget(w);
  };
  page({{languageTextOr("IDS_DATA_radius", QString::fromUtf8("半径")), radius_}});
  page({{languageTextOr("IDS_DATA_length", QString::fromUtf8("长度")), length_}});
  page({{languageTextOr("IDS_DATA_in_length", QString::fromUtf8("前长")), inLength_},
        {languageTextOr("IDS_DATA_out_length", QString::fromUtf8("后长")), outLength_}});
  connect(kind_, &QComboBox::currentIndexChanged, curvePages_, &QStackedWidget::setCurrentIndex);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
  setControlId(buttons->button(QDialogButtonBox::Ok), kCtlOk);
  setControlId(buttons->button(QDialogButtonBox::Cancel), kCtlCancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(curvePages_);
  layout->addWidget(buttons);
  LocalizeDialog(this, kDlgRoadVerCurveNew);
}

void CRoadVerCurveNewDlg::setInput(const GradePointInput& in) {
  mileage_->setText(fieldText(in.mileage));
  elevation_->setText(fieldText(in.elevation));
  const int kind = in.kind >= kVerCurveCircle && in.kind <= kVerCurveAsymmetricParabola ? in.kind : 0;
  kind_->setCurrentIndex(kind);
  curvePages_->setCurrentIndex(kind);
  radius_->setText(fieldText(in.radius));
  length_->setText(fieldText(in.curveLength));
  inLength_->setText(fieldText(in.inLength));
  outLength_->setText(fieldText(in.outLength));
}

GradePointInput CRoadVerCurveNewDlg::input() const {
  GradePointInput in;
  in.mileage = fieldNumber(mileage_);
  in.elevation = fieldNumber(elevation_);
  in.kind = kind_->currentIndex();
  // Only the fields of the chosen kind are read; the others are not stored.
  switch (in.kind) {
    case kVerCurveSymmetricParabola:
      in.curveLength = fieldNumber(length_);
      break;
    case kVerCurveAsymmetricParabola:
      in.inLength = fieldNumber(inLength_);
      in.outLength = fieldNumber(outLength_);
      break;
    default:
      in.radius = fieldNumber(radius_);
      break;
  }
  return in;
}

void CRoadVerCurveNewDlg::accept() {
  const std::string key = check_ ? check_(input()) : std::string();
  if (!key.empty()) {
    dialogs_.warning(key);
    return;  // the user corrects the input
  }
  QDialog::accept();
}

}  // namespace trazmark
