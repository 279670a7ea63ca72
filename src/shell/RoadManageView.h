#pragma once
// The road list view (kind 0): New and Open, and one button per known road.

#include <QString>
#include <vector>

#include "platform/qt/DataView.h"

class QPushButton;
class QLabel;

namespace trazmark {

class CMyButton;

/// Where road button `index` sits in a view of the given size.
QRect roadButtonRect(int viewWidth, int viewHeight, int index);

class CRoadManageView : public CDataView {
  Q_OBJECT
 public:
  static constexpr int kMaxRoadButtons = 10;

  explicit CRoadManageView(CDataViewHost& host, QWidget* parent = nullptr);

  /// Reads the road list file again (when its path is set) and makes one
  /// button for each of the first ten entries, captioned with the road's name
  /// from the list (its file's name when it has none), its path the tooltip.
  void rebuild();
  const std::vector<CMyButton*>& roadButtons() const { return roadButtons_; }
  QPushButton* newButton() const { return newButton_; }
  QPushButton* openButton() const { return openButton_; }
  void retranslate();

 signals:
  void newRoadRequested();
  void openRoadRequested();
  /// Message 1526 from a road button: the road file to open.
  void roadChosen(const std::string& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutButtons();

  QPushButton* newButton_;
  QPushButton* openButton_;
  QLabel* info_;
  std::vector<CMyButton*> roadButtons_;
  std::vector<std::string> roadPaths_;
  bool handlingClick_ = false;
  bool rebuildPending_ = false;
};

}  // namespace trazmark
