#include "shell/LeftDockPane.h"

#include <QResizeEvent>
#include <algorithm>

#include "shell/Artwork.h"
#include "shell/DataViewRegistry.h"
#include "platform/qt/Localization.h"
#include "shell/MyButton.h"

namespace trazmark {
namespace {

constexpr int kButtonWidth = 80;
constexpr int kFullButtonHeight = 70;
constexpr int kFullHeightFrom = 660;
const QColor kPaneGrey(152, 152, 152);

// The button area lays its buttons out by the pane's rule on every resize.
class NavigationArea : public QWidget {
 public:
  explicit NavigationArea(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPaneGrey);
    setPalette(pal);
    setFixedWidth(kButtonWidth);
    setMinimumHeight(8 * 24 + 20);
  }
  void setButtonWidth(int width) {
    setFixedWidth(width);
    layoutButtons();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    layoutButtons();
  }

 private:
  void layoutButtons() {
    int i = 0;
    for (QObject* child : children()) {
      if (auto* b = qobject_cast<CMyButton*>(child)) b->setGeometry(navigationButtonRect(height(), i++, width()));
    }
  }
};

// Room beside the caption inside a button: the picture's rounded frame.
constexpr int kCaptionMargin = 12;

}  // namespace

QRect navigationButtonRect(int paneHeight, int index, int width) {
  int h = paneHeight >= kFullHeightFrom ? kFullButtonHeight : (paneHeight - 20) / 8;
  if (h < 0) h = 0;
  return QRect(0, h * index, width, h);
}

int navigationButtonWidth(const QFont& font, const QStringList& captions) {
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  int width = kButtonWidth;
  for (const QString& caption : captions) width = std::max(width, metrics.horizontalAdvance(caption) + kCaptionMargin);
  return width;
}

CLeftDockPane::CLeftDockPane(QWidget* parent) : QDockWidget(parent), area_(new NavigationArea(this)) {
  setObjectName(QStringLiteral("navigationPane"));
  setControlId(this, kNavigationPaneId);
  setFeatures(QDockWidget::DockWidgetClosable);
  setAllowedAreas(Qt::LeftDockWidgetArea);
  for (int i = 0; i < kDataKindCount; ++i) {
    auto* b = new CMyButton(CMyButton::Look::Picture, area_);
    b->setObjectName(QStringLiteral("navigationButton%1").arg(i));
    setControlId(b, kNavigationCommandBase + i);
    // Drawn at the size shown, so a short pane keeps the symbols' proportions
    // and their captions clear.
    b->setPictureSource([i](CMyButton::State state, QSize size, int symbolHeight) {
      PictureState look = state == CMyButton::State::Pressed    ? PictureState::Pressed
                          : state == CMyButton::State::Disabled ? PictureState::Disabled
                                                                : PictureState::Normal;
      return size.isEmpty() ? QPixmap() : navigationPicture(i, look, size, symbolHeight);
    });
    connect(b, &CMyButton::buttonDown, this, [this, i] {
      // Message 1525: the previously selected button returns to normal.
      if (selected_ != i) buttons_[static_cast<std::size_t>(selected_)]->setLatched(false);
    });
    connect(b, &QAbstractButton::clicked, this, [this, i] { selectButton(i); });
    buttons_[static_cast<std::size_t>(i)] = b;
  }
  setWidget(area_);
  retranslate();
  setRoadOpen(false);
  markSelected(0);
}

void CLeftDockPane::retranslate() {
  setWindowTitle(languageTextOr("IDS_DATA_pane_navigation", QStringLiteral("Panel")));
  QStringList captions;
  for (int i = 0; i < kDataKindCount; ++i) {
    buttons_[static_cast<std::size_t>(i)]->setText(dataKindName(i));
    buttons_[static_cast<std::size_t>(i)]->setToolTip(dataKindName(i));
    captions << dataKindName(i);
  }
  // One width for every button, whichever is selected: none is set smaller.
  static_cast<NavigationArea*>(area_)->setButtonWidth(navigationButtonWidth(buttons_[0]->font(), captions));
}

void CLeftDockPane::setRoadOpen(bool open) {
  for (int i = 1; i < kDataKindCount; ++i) buttons_[static_cast<std::size_t>(i)]->setEnabled(open);
}

void CLeftDockPane::markSelected(int index) {
  if (index < 0 || index >= kDataKindCount) return;
  for (int i = 0; i < kDataKindCount; ++i) buttons_[static_cast<std::size_t>(i)]->setLatched(i == index);
  selected_ = index;
}

void CLeftDockPane::selectButton(int index) {
  if (index < 0 || index >= kDataKindCount) return;
  markSelected(index);
  emit showDataView(index);
}

void CLeftDockPane::refresh() { selectButton(kKindBrokenChain); }

}  // namespace trazmark
