#pragma once
// The tab control that hosts dialog pages inside a data view: up to 16 pages,
// each made from its dialog when the sheet is shown, and a lock that the owner
// sets while a page must not be left.

#include <QTabWidget>

class QKeyEvent;
#include <functional>
#include <vector>

namespace trazmark {

class CTabSheet : public QTabWidget {
  Q_OBJECT
 public:
  static constexpr int kMaxPages = 16;
  using PageFactory = std::function<QWidget*(QWidget* parent)>;

  explicit CTabSheet(QWidget* parent = nullptr);

  /// Adds a page: its title, the dialog it is made from (its resource number,
  /// for LocalizeDialog) and the function that makes it. False, and ignored,
  /// when the sheet already has 16 pages or has been shown.
  bool addPage(const QString& title, int dialogId, PageFactory factory);
  /// Pages added so far.
  int pageCount() const { return static_cast<int>(pages_.size()); }
  /// Makes every page, adds its tab and shows page 0.
  void showPages();
  /// Index of the visible page (-1 before showPages).
  int visiblePage() const { return visible_; }
  /// Shows page `index` (when valid and not the visible one), selects its tab
  /// and gives it the focus. Sends no message.
  void selectPage(int index);

  /// While locked the visible page stays: presses on the tabs and the keys
  /// that switch pages are ignored entirely; Tab still moves the focus.
  void setLocked(bool locked) { locked_ = locked; }
  bool isLocked() const { return locked_; }

 signals:
  /// Message 1629: the user switched to page `index`.
  void tabChanged(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  static bool isPageSwitchKey(const QKeyEvent& event);

  struct Page {
    QString title;
    int dialogId = 0;
    PageFactory factory;
  };
  std::vector<Page> pages_;
  int visible_ = -1;
  bool locked_ = false;
  bool shown_ = false;
  bool selecting_ = false;
};

}  // namespace trazmark
