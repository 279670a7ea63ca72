#include "platform/qt/TabSheet.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTabBar>

#include "platform/qt/Localization.h"

namespace trazmark {

CTabSheet::CTabSheet(QWidget* parent) : QTabWidget(parent) {
  tabBar()->installEventFilter(this);
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    if (!shown_ || index < 0 || index == visible_) return;
    visible_ = index;
    if (!selecting_) emit tabChanged(index);
  });
}

bool CTabSheet::addPage(const QString& title, int dialogId, PageFactory factory) {
  if (shown_ || pageCount() >= kMaxPages || !factory) return false;
  pages_.push_back(Page{title, dialogId, std::move(factory)});
  return true;
}

void CTabSheet::showPages() {
  if (shown_) return;
  for (const Page& page : pages_) {
    QWidget* w = page.factory(this);
    if (w == nullptr) w = new QWidget(this);
    if (page.dialogId != 0) LocalizeDialog(w, page.dialogId);
    selecting_ = true;
    addTab(w, page.title);
    selecting_ = false;
  }
  shown_ = true;
  visible_ = pages_.empty() ? -1 : 0;
  if (visible_ == 0) {
    selecting_ = true;
    setCurrentIndex(0);
    selecting_ = false;
  }
}

void CTabSheet::selectPage(int index) {
  if (!shown_ || index < 0 || index >= count() || index == visible_) return;
  selecting_ = true;
  setCurrentIndex(index);
  selecting_ = false;
  visible_ = index;
  if (QWidget* w = widget(index)) w->setFocus();
}

bool CTabSheet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tabBar() && locked_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) return true;
        break;
      case QEvent::Wheel:
      case QEvent::KeyPress:
        // The wheel and the arrow keys would switch pages as well.
        return true;
      default:
        break;
    }
  }
  return QTabWidget::eventFilter(watched, event);
}

}  // namespace trazmark
