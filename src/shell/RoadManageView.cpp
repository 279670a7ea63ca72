#include "shell/RoadManageView.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include "library/InputRoadLibrary.h"
#include "shell/Artwork.h"
#include "platform/qt/Localization.h"
#include "shell/MyButton.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {

QRect roadButtonRect(int viewWidth, int viewHeight, int index) {
  int width = viewWidth / 2;
  if (viewHeight >= 600) return QRect(5, 52 + 52 * index, width, 50);
  int d = (viewHeight - 100) / 10;
  if (d < 0) d = 0;
  return QRect(5, 52 + (d + 2) * index, width, d);
}

CRoadManageView::CRoadManageView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindRoadList, host, parent),
      newButton_(new QPushButton(this)),
      openButton_(new QPushButton(this)),
      info_(new QLabel(this)) {
  setObjectName(QStringLiteral("roadManageView"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(248, 248, 248));
  setPalette(pal);

  newButton_->setObjectName(QStringLiteral("newRoadButton"));
  openButton_->setObjectName(QStringLiteral("openRoadButton"));
  setControlId(newButton_, kCtlRoadManageNew);
  setControlId(openButton_, kCtlRoadManageOpen);
  newButton_->setIcon(toolbarIcon(ToolbarIcon::New));
  openButton_->setIcon(toolbarIcon(ToolbarIcon::Open));
  connect(newButton_, &QPushButton::clicked, this, &CRoadManageView::newRoadRequested);
  connect(openButton_, &QPushButton::clicked, this, &CRoadManageView::openRoadRequested);

  info_->setObjectName(QStringLiteral("roadListInfo"));
  info_->setWordWrap(true);
  info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  info_->setStyleSheet(QStringLiteral("color: #606060;"));

  retranslate();
  rebuild();
}

void CRoadManageView::retranslate() {
  newButton_->setText(QString::fromUtf8("新建道路"));
  openButton_->setText(QString::fromUtf8("打开道路"));
  LocalizeDialog(this, kDlgRoadManageView);
}

void CRoadManageView::rebuild() {
  // A road button's click may save the road and so ask for a rebuild: the
  // button must outlive its own click, so the buttons are made again once
  // the click has returned.
  if (handlingClick_) {
    if (!rebuildPending_) {
      rebuildPending_ = true;
      QMetaObject::invokeMethod(this, [this] {
        rebuildPending_ = false;
        rebuild();
      }, Qt::QueuedConnection);
    }
    return;
  }
  CInputRoadLibrary& store = host().roadLibrary();
  const std::string& listPath = host().roadFileState().roadListPath;
  if (!listPath.empty()) store.loadRoadList(listPath);

  for (CMyButton* b : roadButtons_) {
    b->hide();
    b->deleteLater();
  }
  roadButtons_.clear();
  roadPaths_.clear();
  int count = std::min(store.roadCount(), kMaxRoadButtons);
  for (int i = 0; i < count; ++i) {
    const RoadLibraryData& entry = store.road(i);
    auto* b = new CMyButton(CMyButton::Look::Text, this);
    b->setObjectName(QStringLiteral("roadButton%1").arg(i));
    b->setColours(QColor(240, 240, 240), QColor(40, 40, 40));
    // The road's name from the list; the path, which tells two roads of one
    // name apart, in the tooltip. A nameless entry shows its file's name.
    const QString path = pathToQt(entry.Path);
    b->setText(entry.Name.empty() ? QFileInfo(path).completeBaseName() : toQt(entry.Name));
    b->setToolTip(path);
    roadPaths_.push_back(entry.Path);
    std::size_t index = roadPaths_.size() - 1;
    connect(b, &CMyButton::buttonUp, this, [this, index](const QString&) {
      if (index >= roadPaths_.size() || handlingClick_) return;
      const std::string path = roadPaths_[index];  // the list may change while the road opens
      handlingClick_ = true;
      emit roadChosen(path);
      handlingClick_ = false;
    });
    b->show();
    roadButtons_.push_back(b);
  }

  QString text = languageTextOr("IDS_DATA_road_list_file", QString::fromUtf8("道路列表文件:")) + '\n' +
                 (listPath.empty() ? QStringLiteral("-") : pathToQt(listPath));
  if (store.roadCount() > kMaxRoadButtons) {
    text += '\n' + languageTextOr("IDS_DATA_road_list_more", QString::fromUtf8("仅显示前 %1 条道路。"))
                       .replace(QStringLiteral("%d"), QStringLiteral("%1"))
                       .arg(kMaxRoadButtons);
  }
  info_->setText(text);
  layoutButtons();
}

void CRoadManageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutButtons();
}

void CRoadManageView::layoutButtons() {
  // The buttons grow with their captions (English is longer than Chinese).
  const int newWidth = std::max(100, newButton_->sizeHint().width());
  newButton_->setGeometry(5, 5, newWidth, 40);
  openButton_->setGeometry(10 + newWidth, 5, std::max(100, openButton_->sizeHint().width()), 40);
  for (std::size_t i = 0; i < roadButtons_.size(); ++i) {
    roadButtons_[i]->setGeometry(roadButtonRect(width(), height(), static_cast<int>(i)));
  }
  int infoLeft = width() / 2 + 25;
  info_->setGeometry(infoLeft, 52, std::max(0, width() - infoLeft - 10), 120);
}

}  // namespace trazmark
