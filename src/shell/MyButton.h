#pragma once
// The owner-drawn push button of the navigation pane (picture look) and of the
// road list (text look).

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QRect>

namespace trazmark {

/// Where a picture-look button draws its picture and its caption.
struct PictureButtonLayout {
  QRect picture;
  QRect caption;
};
/// The layout of a picture-look button of `size` whose caption is
/// `textHeight` pixels high: the caption sits just above the lower edge; the
/// picture fills the button while its symbol (the upper part of the picture)
/// stays clear of the caption, and otherwise shrinks into the part above it,
/// so that a short button's caption never prints over its symbol.
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

  Look look_;
  QPixmap normal_, pressed_, disabled_;
  QColor background_{240, 240, 240};
  QColor textColour_{40, 40, 40};
  bool latched_ = false;
  bool hover_ = false;
};

}  // namespace trazmark
