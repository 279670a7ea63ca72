#include "shell/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/Artwork.h"
#include "platform/qt/Localization.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QString::fromUtf8("关于 Trazmark"));
  auto* icon = new QLabel(this);
  icon->setPixmap(applicationIcon().pixmap(64, 64));
  auto* name = new QLabel(QStringLiteral("Trazmark"), this);
  setControlId(name, kCtlAboutProgramName);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  name->setFont(big);
  auto* version = new QLabel(QString::fromUtf8("1.0 版"), this);
  setControlId(version, kCtlAboutVersion);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QString::fromUtf8("确定"));
  setControlId(ok, kCtlOk);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  setMinimumWidth(320);
  LocalizeDialog(this, kDlgAbout);
}

}  // namespace trazmark
