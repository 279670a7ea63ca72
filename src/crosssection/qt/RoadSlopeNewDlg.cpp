#include "crosssection/qt/RoadSlopeNewDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "crosssection/qt/CrossSectionControlIds.h"
#include "platform/TextFields.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

namespace {

QRadioButton* radio(const char* text, int id, QWidget* parent) {
  auto* r = new QRadioButton(QString::fromUtf8(text), parent);
  setControlId(r, id);
  return r;
}

QLabel* label(const char* text, int id, QWidget* parent) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  setControlId(l, id);
  return l;
}

// A radio pair in a row of its own, exclusive within the pair only.
QHBoxLayout* radioPair(QRadioButton* a, QRadioButton* b, QObject* owner) {
  auto* group = new QButtonGroup(owner);
  group->addButton(a);
  group->addButton(b);
  auto* row = new QHBoxLayout;
  row->addWidget(a);
  row->addWidget(b);
  row->addStretch(1);
  return row;
}

QDialogButtonBox* okCancel(QDialog* dialog, std::function<void()> onOk) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
  setControlId(ok, kCtlOk);
  setControlId(cancel, kCtlCancel);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, std::move(onOk));
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

CRoadSlopeNewDlg::CRoadSlopeNewDlg(UserDialogs& dialogs, const RecordList<Road_Slope>& slopes, int editedIndex,
                                   QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      slopes_(slopes),
      editedIndex_(editedIndex),
      left_(radio("左侧边坡", kCtlSlopeLeft, this)),
      right_(radio("右侧边坡", kCtlSlopeRight, this)),
      cut_(radio("挖方", kCtlSlopeCut, this)),
      fill_(radio("填方", kCtlSlopeFill, this)),
      name_(new QLineEdit(this)),
      start_(new QLineEdit(this)),
      end_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("roadSlopeNewDlg"));
  setWindowTitle(QString::fromUtf8("边坡"));
  left_->setChecked(true);
  cut_->setChecked(true);
  auto* form = new QFormLayout(this);
  form->addRow(radioPair(left_, right_, this));
  form->addRow(radioPair(cut_, fill_, this));
  form->addRow(label("名称:", kCtlSlopeNameLabel, this), name_);
  form->addRow(label("起里程:", kCtlSlopeStartLabel, this), start_);
  form->addRow(label("终里程:", kCtlSlopeEndLabel, this), end_);
  form->addRow(okCancel(this, [this] { tryAccept(); }));
  setMinimumWidth(300);
  if (editedIndex >= 0 && editedIndex < slopes.count()) {
    const Road_Slope& s = slopes[static_cast<std::size_t>(editedIndex)];
    (s.LeftRight == 1 ? right_ : left_)->setChecked(true);
    (s.Type == 1 ? fill_ : cut_)->setChecked(true);
    name_->setText(toQt(s.SlopeName));
    start_->setText(toQt(formatFixed(s.StartMileage, 3)));
    end_->setText(toQt(formatFixed(s.EndMileage, 3)));
  } else {
    start_->setText(QStringLiteral("0.000"));
    end_->setText(QStringLiteral("0.000"));
  }
  LocalizeDialog(this, kDlgRoadSlopeNew);
}

void CRoadSlopeNewDlg::tryAccept() {
  SlopeEntryFields f;
  f.leftRight = right_->isChecked() ? 1 : 0;
  f.type = fill_->isChecked() ? 1 : 0;
  f.name = fromQt(name_->text());
  f.startText = fromQt(start_->text());
  f.endText = fromQt(end_->text());
  SlopeEntryResult r = acceptSlopeEntry(slopes_, editedIndex_, f);
  if (r.outcome != SlopeEntryResult::kAccepted) {
    if (r.information) {
      dialogs_.information(r.messageKey);
    } else {
      dialogs_.warning(r.messageKey);
    }
    return;
  }
  slope_ = r.slope;
  accept();
}

CRoadSlopeItemNewDlg::CRoadSlopeItemNewDlg(UserDialogs& dialogs, std::string slopeName, const Road_Slope_Item* step,
                                           QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      slopeName_(std::move(slopeName)),
      surface_(radio("坡面", kCtlStepSurface, this)),
      platform_(radio("平台", kCtlStepPlatform, this)),
      name_(new QLineEdit(this)),
      first_(new QLineEdit(this)),
      second_(new QLineEdit(this)),
      firstLabel_(new QLabel(this)),
      secondLabel_(new QLabel(this)) {
  setObjectName(QStringLiteral("roadSlopeItemNewDlg"));
  setWindowTitle(QString::fromUtf8("元素"));
  surface_->setChecked(true);
  auto* form = new QFormLayout(this);
  form->addRow(radioPair(surface_, platform_, this));
  form->addRow(label("名称:", kCtlStepNameLabel, this), name_);
  form->addRow(firstLabel_, first_);
  form->addRow(secondLabel_, second_);
  form->addRow(okCancel(this, [this] { tryAccept(); }));
  setMinimumWidth(300);
  if (step != nullptr) {
    StepEntryFields f = stepEntryFields(*step);
    (f.mode == kStepPlatform ? platform_ : surface_)->setChecked(true);
    name_->setText(toQt(f.name));
    first_->setText(toQt(f.firstText));
    second_->setText(toQt(f.secondText));
  } else {
    first_->setText(QStringLiteral("0.000"));
    second_->setText(QStringLiteral("0.000"));
  }
  connect(platform_, &QRadioButton::toggled, this, &CRoadSlopeItemNewDlg::updateLabels);
  LocalizeDialog(this, kDlgRoadSlopeItemNew);
  updateLabels();
}

void CRoadSlopeItemNewDlg::updateLabels() {
  auto text = [](const char* key) { return toQt(GetLanguageText(key)); };
  if (platform_->isChecked()) {
    firstLabel_->setText(text("IDS_DATA_width") + QStringLiteral("(m):"));
    secondLabel_->setText(text("IDS_DATA_cross_slope") + QStringLiteral("(%):"));
  } else {
    firstLabel_->setText(text("IDS_DATA_slope_high") + QStringLiteral("(m):"));
    secondLabel_->setText(text("IDS_DATA_slope_scale") + QStringLiteral("(1:N):"));
  }
}

void CRoadSlopeItemNewDlg::tryAccept() {
  StepEntryFields f;
  f.mode = platform_->isChecked() ? kStepPlatform : kStepSlopeSurface;
  f.name = fromQt(name_->text());
  f.firstText = fromQt(first_->text());
  f.secondText = fromQt(second_->text());
  StepEntryResult r = acceptStepEntry(slopeName_, f);
  if (r.outcome == StepEntryResult::kStayOpen) return;
  if (r.outcome == StepEntryResult::kRefused) {
    dialogs_.warning(r.messageKey);
    return;
  }
  step_ = r.step;
  accept();
}

}  // namespace trazmark
