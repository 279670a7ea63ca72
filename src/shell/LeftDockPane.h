#pragma once
// The navigation pane: one picture button per kind of road data, stacked from
// the top of a grey pane.

#include <QDockWidget>
#include <QFont>
#include <QRect>
#include <QStringList>
#include <array>

#include "platform/qt/ShellIds.h"

namespace trazmark {

class CMyButton;

/// Where navigation button `index` sits in a pane `paneHeight` pixels high:
/// `width` pixels wide (80 unless a caption needs more); 70 high from a
/// 660-pixel pane on, else (height - 20) / 8.
QRect navigationButtonRect(int paneHeight, int index, int width = 80);
/// The navigation buttons' width: 80 pixels, or wider so that the widest
/// caption fits at full size in bold (the selected button's look).
int navigationButtonWidth(const QFont& font, const QStringList& captions);

class CLeftDockPane : public QDockWidget {
  Q_OBJECT
 public:
  explicit CLeftDockPane(QWidget* parent = nullptr);

  CMyButton* button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
  int selectedIndex() const { return selected_; }
  /// The area the buttons are laid out in.
  QWidget* buttonArea() const { return area_; }

  /// Buttons 1 to 7 act only while a road is open.
  void setRoadOpen(bool open);
  /// After New and Open: selects the broken-chain button and shows its view.
  void refresh();
  /// Selects button `index` (its pressed look latches, the previous one returns
  /// to normal) and asks for the view of that kind.
  void selectButton(int index);
  /// Sets the selection without asking for a view (the frame switched itself).
  void markSelected(int index);
  /// Captions from the language file.
  void retranslate();

 signals:
  /// Message 1524: show the data view of `kind`.
  void showDataView(int kind);

 private:
  QWidget* area_;
  std::array<CMyButton*, kDataKindCount> buttons_{};
  int selected_ = 0;
};

}  // namespace trazmark
