#include "crosssection/qt/RoadSectionItemDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

/// Suggested component names: the texts of "IDS_DATA_plate_mode_1" to
/// "_7", in this order; the built-in names stand in without a language file.
constexpr const char* kPlateModeNames[] = {"行车道", "硬路肩", "土路肩", "中央分隔带",
                                           "左侧路缘带", "右侧路缘带", "人行道"};

CRoadSectionItemDlg::CRoadSectionItemDlg(QWidget* parent, UserDialogs* dialogs)
    : QDialog(parent),
      dialogs_(dialogs),
      name_(new QComboBox(this)),
      roadteeth_(new QLineEdit(this)),
      slope_(new QLineEdit(this)),
      width_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("roadSectionItemDlg"));
  setWindowTitle(QString::fromUtf8("横断面"));
  name_->setObjectName(QStringLiteral("nameBox"));
  name_->setEditable(true);
  name_->setInsertPolicy(QComboBox::NoInsert);
  int mode = 1;
  for (const char* builtIn : kPlateModeNames) {
    const std::string key = "IDS_DATA_plate_mode_" + std::to_string(mode++);
    name_->addItem(languageTextOr(key.c_str(), QString::fromUtf8(builtIn)));
  }
  name_->setCurrentIndex(0);
  roadteeth_->setObjectName(QStringLiteral("roadteethEdit"));
  slope_->setObjectName(QStringLiteral("slopeEdit"));
  width_->setObjectName(QStringLiteral("widthEdit"));

  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8("名称:"), name_);
  form->addRow(QString::fromUtf8("高差(道牙):"), roadteeth_);
  form->addRow(QString::fromUtf8("标准横坡:"), slope_);
  form->addRow(QString::fromUtf8("标准宽度:"), width_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
  setControlId(buttons->button(QDialogButtonBox::Ok), kCtlOk);
  setControlId(buttons->button(QDialogButtonBox::Cancel), kCtlCancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setFields(CSectionComponentForm::empty());
  name_->setCurrentIndex(0);
  LocalizeDialog(this, kDlgRoadSectionNew);
}

void CRoadSectionItemDlg::setFields(const SectionComponentFields& f) {
  // An edited component keeps its name, an empty one too; only a new
  // component starts with the first suggested name (the constructor's).
  name_->setEditText(toQt(f.name));
  roadteeth_->setText(toQt(f.roadteeth));
  slope_->setText(toQt(f.slope));
  width_->setText(toQt(f.width));
}

SectionComponentFields CRoadSectionItemDlg::fields() const {
  return {fromQt(name_->currentText()), fromQt(width_->text()), fromQt(slope_->text()), fromQt(roadteeth_->text())};
}

void CRoadSectionItemDlg::accept() {
  const std::string key = CSectionComponentForm::refusal(fields());
  if (!key.empty()) {
    if (dialogs_ != nullptr) dialogs_->warning(key);
    return;  // the user corrects the field
  }
  QDialog::accept();
}

}  // namespace trazmark
