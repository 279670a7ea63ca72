#include "editors/qt/RoadChainNewDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/RoadChainEditor.h"
#include "editors/qt/EditorsControlIds.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

CRoadChainNewDlg::CRoadChainNewDlg(UserDialogs& dialogs, const Scisson_Data* chain, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), before_(new QLineEdit(this)), after_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("roadChainNewDlg"));
  setWindowTitle(QString::fromUtf8("断链"));
  before_->setObjectName(QStringLiteral("beforeMileage"));
  after_->setObjectName(QStringLiteral("afterMileage"));
  auto* beforeLabel = new QLabel(QString::fromUtf8("断链前里程:"), this);
  auto* afterLabel = new QLabel(QString::fromUtf8("断链后里程:"), this);
  setControlId(beforeLabel, kCtlChainBeforeLabel);
  setControlId(afterLabel, kCtlChainAfterLabel);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
  setControlId(ok, kCtlOk);
  setControlId(cancel, kCtlCancel);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CRoadChainNewDlg::tryAccept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout(this);
  form->addRow(beforeLabel, before_);
  form->addRow(afterLabel, after_);
  form->addRow(buttons);
  if (chain != nullptr) {
    std::string b, a;
    chainEntryTexts(*chain, b, a);
    before_->setText(toQt(b));
    after_->setText(toQt(a));
  }
  LocalizeDialog(this, kDlgRoadChainNew);
}

void CRoadChainNewDlg::tryAccept() {
  ChainEntryResult r = acceptChainEntry(fromQt(before_->text()), fromQt(after_->text()));
  switch (r.outcome) {
    case ChainEntryResult::kStayOpen:
      return;
    case ChainEntryResult::kRefused:
      dialogs_.warning(r.messageKey);
      return;
    case ChainEntryResult::kAccepted:
      chain_ = r.chain;
      accept();
      return;
  }
}

}  // namespace trazmark
