#include "crosssection/qt/RoadSuperHighNewDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "crosssection/qt/CrossSectionControlIds.h"
#include "platform/TextFields.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

CRoadSuperHighNewDlg::CRoadSuperHighNewDlg(SuperValueKind kind, UserDialogs& dialogs,
                                           std::vector<SuperComponentEntry> entries, QWidget* parent)
    : QDialog(parent), kind_(kind), dialogs_(dialogs), entries_(std::move(entries)) {
  build();
}

CRoadSuperHighNewDlg::CRoadSuperHighNewDlg(SuperValueKind kind, UserDialogs& dialogs,
                                           std::vector<SuperComponentEntry> entries, const Road_Super_Item& item,
                                           int k, QWidget* parent)
    : QDialog(parent), kind_(kind), dialogs_(dialogs), entries_(std::move(entries)), editing_(true), item_(item), k_(k) {
  build();
  const Road_Super_Value& v = item.values[static_cast<std::size_t>(k)];
  // The item's own entry, when its component is still in the cross section.
  name_->setCurrentIndex(
      superEntryIndexOf(entries_, item, GetLanguageText("IDS_DATA_left"), GetLanguageText("IDS_DATA_right")));
  name_->setEnabled(false);
  const std::vector<int32_t> modes = dialogGradientModes(kind, &v);
  for (std::size_t i = 0; i < modes.size(); ++i) {
    if (static_cast<int>(i) >= mode_->count()) mode_->addItem(QString::number(modes[i]));
    if (modes[i] == v.Mode) mode_->setCurrentIndex(static_cast<int>(i));
  }
  value_->setText(toQt(formatFixed(superValue(v, kind), 3)));
  mileage_->setText(toQt(formatFixed(v.Mileage, 3)));
}

void CRoadSuperHighNewDlg::build() {
  const bool widening = kind_ == SuperValueKind::kWidth;
  setObjectName(widening ? QStringLiteral("roadSuperWidenNewDlg") : QStringLiteral("roadSuperHighNewDlg"));
  setWindowTitle(QString::fromUtf8(widening ? "加宽" : "超高"));
  mode_ = new QComboBox(this);
  for (int32_t m : offeredGradientModes(kind_)) mode_->addItem(toQt(GetLanguageText(gradientModeKey(m))));
  mode_->setCurrentIndex(0);
  name_ = new QComboBox(this);
  for (const SuperComponentEntry& e : entries_) name_->addItem(toQt(e.text));
  name_->setCurrentIndex(entries_.empty() ? -1 : 0);
  value_ = new QLineEdit(this);
  mileage_ = new QLineEdit(this);
  value_->setObjectName(QStringLiteral("value"));
  mileage_->setObjectName(QStringLiteral("mileage"));

  auto label = [this](const char* text, int id) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    setControlId(l, id);
    return l;
  };
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
  setControlId(ok, kCtlOk);
  setControlId(cancel, kCtlCancel);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CRoadSuperHighNewDlg::tryAccept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(label("渐变方式:", kCtlSuperModeLabel), mode_);
  form->addRow(label("名称:", kCtlSuperNameLabel), name_);
  form->addRow(label(widening ? "加宽后宽度:" : "横坡(%):", kCtlSuperValueLabel), value_);
  form->addRow(label("变化点里程:", kCtlSuperMileageLabel), mileage_);
  form->addRow(buttons);
  setMinimumWidth(320);
  LocalizeDialog(this, widening ? kDlgRoadSuperWidenNew : kDlgRoadSuperHighNew);
}

void CRoadSuperHighNewDlg::tryAccept() {
  SuperEntryFields f;
  f.modeIndex = mode_->currentIndex();
  f.componentIndex = name_->currentIndex();
  f.valueText = fromQt(value_->text());
  f.mileageText = fromQt(mileage_->text());
  SuperEntryResult r = editing_ ? acceptSuperEdit(kind_, item_, k_, f) : acceptNewSuperEntry(kind_, entries_, f);
  switch (r.outcome) {
    case SuperEntryResult::kStayOpen:
      return;
    case SuperEntryResult::kRefused:
      dialogs_.warning(r.messageKey);
      return;
    case SuperEntryResult::kAccepted:
      result_ = std::move(r);
      accept();
      return;
  }
}

}  // namespace trazmark
