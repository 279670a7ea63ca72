#include "platform/qt/TabSheet.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>

#include "platform/qt/Localization.h"

namespace trazmark {

CTabSheet::CTabSheet(QWidget* parent) : QTabWidget(parent) {
  tabBar()->installEventFilter(this);
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    if (!shown_ || index < 0 || index == visible_) return;
    if (locked_ && !selecting_) {
      // Whatever way the page was changed (a mnemonic, an accessibility
      // tool), the lock holds: back to the page the owner keeps.
      selecting_ = true;
      setCurrentIndex(visible_);
      selecting_ = false;
      return;
    }
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

bool CTabSheet::isPageSwitchKey(const QKeyEvent& event) {
  const bool control = event.modifiers() & Qt::ControlModifier;
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgUp and Ctrl+PgDown step through the
      // pages from anywhere in the sheet; plain Tab moves the focus.
      return control;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

void CTabSheet::keyPressEvent(QKeyEvent* event) {
  if (locked_ && isPageSwitchKey(*event)) {
    event->accept();
    return;
  }
  QTabWidget::keyPressEvent(event);
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
        // The wheel would switch pages as well.
        return true;
      case QEvent::KeyPress:
        // The arrow keys switch pages; Tab still leaves the tab bar.
        if (isPageSwitchKey(*static_cast<QKeyEvent*>(event))) return true;
        break;
      default:
        break;
    }
  }
  return QTabWidget::eventFilter(watched, event);
}

}  // namespace trazmark
