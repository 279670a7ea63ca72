#include "shell/MyButton.h"

#include <QMouseEvent>
#include <algorithm>
#include <QPainter>

namespace trazmark {
namespace {

const QColor kHoverFill(220, 230, 220);
const QColor kPressedFill(200, 220, 220);
const QColor kActiveText(72, 118, 255);
const QColor kBorder(192, 192, 192);
constexpr int kCornerRadius = 5;
constexpr int kTextIndent = 10;
/// The navigation pictures keep their symbol in the upper 45 of 70 pixels.
constexpr double kSymbolShare = 45.0 / 70.0;
/// Space between the caption and the button's lower edge.
constexpr int kCaptionGap = 4;

}  // namespace

PictureButtonLayout pictureButtonLayout(QSize size, int textHeight) {
  const int captionTop = std::max(0, size.height() - textHeight - kCaptionGap);
  PictureButtonLayout layout;
  layout.picture = QRect(QPoint(0, 0), size);
  layout.caption = QRect(0, captionTop, size.width(), std::min(textHeight, size.height()));
  const int symbolHeight = std::min(static_cast<int>(size.height() * kSymbolShare), captionTop);
  layout.symbol = QRect(0, 0, size.width(), symbolHeight);
  return layout;
}

CMyButton::CMyButton(Look look, QWidget* parent) : QAbstractButton(parent), look_(look) {
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(look == Look::Picture ? Qt::NoFocus : Qt::StrongFocus);
  // A text-look button reports its release with its caption; the keyboard's
  // click counts as one too.
  if (look == Look::Text) connect(this, &QAbstractButton::clicked, this, [this] { emit buttonUp(text()); });
}

void CMyButton::setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& disabled) {
  normal_ = normal;
  pressed_ = pressed;
  disabled_ = disabled;
  update();
}

void CMyButton::setPictureSource(PictureSource source) {
  source_ = std::move(source);
  made_ = {};
  update();
}

const QPixmap& CMyButton::pictureFor(State state, const PictureButtonLayout& layout) {
  if (!source_) return state == State::Disabled ? disabled_ : state == State::Pressed ? pressed_ : normal_;
  if (madeSymbolHeight_ != layout.symbol.height()) {
    made_ = {};
    madeSymbolHeight_ = layout.symbol.height();
  }
  const State look = state == State::Hover ? State::Normal : state;
  QPixmap& made = made_[look == State::Pressed ? 1 : look == State::Disabled ? 2 : 0];
  if (made.size() != layout.picture.size()) made = source_(look, layout.picture.size(), layout.symbol.height());
  return made;
}

void CMyButton::setColours(const QColor& background, const QColor& text) {
  background_ = background;
  textColour_ = text;
  update();
}

void CMyButton::setLatched(bool latched) {
  if (latched_ == latched) return;
  latched_ = latched;
  update();
}

CMyButton::State CMyButton::state() const {
  if (!isEnabled()) return State::Disabled;
  if (isDown() || (look_ == Look::Picture && (latched_ || isChecked()))) return State::Pressed;
  if (hover_) return State::Hover;
  return State::Normal;
}

QSize CMyButton::sizeHint() const { return look_ == Look::Picture ? QSize(80, 70) : QSize(200, 50); }

void CMyButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (look_ == Look::Picture) {
    paintPicture(painter);
  } else {
    paintText(painter);
  }
}

void CMyButton::paintPicture(QPainter& painter) {
  State s = state();
  QFont font = painter.font();
  font.setBold(s == State::Pressed);
  // A long caption is set smaller (down to 70 %) before it is shortened.
  const double fullSize = font.pointSizeF();
  for (double factor = 1.0; factor > 0.69; factor -= 0.05) {
    font.setPointSizeF(fullSize * factor);
    if (QFontMetrics(font).horizontalAdvance(text()) <= width() - 6) break;
  }
  painter.setFont(font);
  const PictureButtonLayout layout = pictureButtonLayout(size(), painter.fontMetrics().height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QPixmap& picture = pictureFor(s, layout);
  if (!picture.isNull()) painter.drawPixmap(layout.picture, picture);
  // The caption sits in the lower part of the picture, just above its edge,
  // below the symbol.
  painter.setPen(s == State::Disabled ? QColor(120, 120, 120) : s == State::Pressed ? QColor(255, 255, 255)
                                                                                   : QColor(30, 30, 30));
  QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideRight, width() - 4);
  painter.drawText(layout.caption, Qt::AlignHCenter | Qt::AlignVCenter, shown);
}

void CMyButton::paintText(QPainter& painter) {
  State s = state();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor fill = background_;
  QColor ink = textColour_;
  bool border = false;
  if (s == State::Hover) {
    fill = kHoverFill;
    ink = kActiveText;
    border = true;
  } else if (s == State::Pressed) {
    fill = kPressedFill;
    ink = kActiveText;
    border = true;
  }
  painter.fillRect(rect(), fill);
  if (border) {
    painter.setPen(QPen(kBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
  }
  painter.setPen(ink);
  QRect textRect = rect().adjusted(kTextIndent, 0, -kTextIndent, 0);
  QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideMiddle, textRect.width());
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void CMyButton::mousePressEvent(QMouseEvent* event) {
  QAbstractButton::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  if (look_ == Look::Picture) {
    latched_ = true;
    emit buttonDown();
  }
  update();
}

void CMyButton::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractButton::mouseReleaseEvent(event);
  update();
}

void CMyButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void CMyButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace trazmark
