#pragma once
// The owner-drawn push button of the navigation pane (picture look) and of the
// road list (text look).

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QRect>
#include <array>
#include <functional>

namespace trazmark {

/// Where a picture-look button draws its picture, the picture's symbol and
/// its caption.
struct PictureButtonLayout {
  QRect picture;  ///< the whole button
  QRect symbol;   ///< the part of the picture its symbol may take
  QRect caption;
};
/// The layout of a picture-look button of `size` whose caption is
/// `textHeight` pixels high: the caption sits just above the lower edge and
/// the symbol takes the upper part (45 of 70 pixels) of the picture, but never
/// reaches down into the caption, so a short button's caption stays legible.
PictureButtonLayout pictureButtonLayout(QSize size, int textHeight);

class CMyButton : public QAbstractButton {
  Q_OBJECT
 public:
  enum class Look { Picture, Text };
  enum class State { Normal, Hover, Pressed, Disabled };

  explicit CMyButton(Look look, QWidget* parent = nullptr);

  Look look() const { return look_; }
  /// The three pictures of the picture look.
  void setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& disabled);
  /// Pictures made at the size they are shown, for each look (Normal,
  /// Pressed or Disabled), with the symbol no higher than `symbolHeight`, in
  /// place of three fixed ones that get stretched.
  using PictureSource = std::function<QPixmap(State state, QSize size, int symbolHeight)>;
  void setPictureSource(PictureSource source);
  /// Background and text colours of the normal (and disabled) text look.
  void setColours(const QColor& background, const QColor& text);
  /// A latched button keeps its pressed look.
  void setLatched(bool latched);
  bool isLatched() const { return latched_; }

  /// The look the button paints now.
  State state() const;

  QSize sizeHint() const override;

 signals:
  /// Message 1525: a picture-look button was pressed.
  void buttonDown();
  /// Message 1526: a text-look button was released, with its caption.
  void buttonUp(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void paintPicture(class QPainter& painter);
  void paintText(class QPainter& painter);

  const QPixmap& pictureFor(State state, const PictureButtonLayout& layout);

  Look look_;
  QPixmap normal_, pressed_, disabled_;
  PictureSource source_;
  std::array<QPixmap, 3> made_;  ///< by source_, for Normal, Pressed, Disabled
  int madeSymbolHeight_ = -1;

  QColor background_{240, 240, 240};
  QColor textColour_{40, 40, 40};
  bool latched_ = false;
  bool hover_ = false;
};

}  // namespace trazmark
