#include "shell/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace trazmark {
namespace {

const QColor kInk(40, 52, 70);
const QColor kRoadRed(200, 40, 40);
const QColor kBlue(40, 100, 190);
const QColor kGreen(60, 140, 70);
const QColor kEarth(150, 110, 60);

// Toolbar icons are drawn on a 20-unit grid and scaled to the pixmap size.
QPixmap drawIcon(ToolbarIcon which, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 20.0, size / 20.0);
  QPen ink(kInk, 1.2);
  ink.setJoinStyle(Qt::RoundJoin);
  ink.setCapStyle(Qt::RoundCap);
  p.setPen(ink);

  auto magnifier = [&](bool plus) {
    p.setBrush(QColor(225, 238, 255));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.2, 12.2), QPointF(17.5, 17.5));
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.3, 8), QPointF(10.7, 8));
    if (plus) p.drawLine(QPointF(8, 5.3), QPointF(8, 10.7));
  };

  switch (which) {
    case ToolbarIcon::New: {
      QPainterPath page;
      page.moveTo(4, 1.5);
      page.lineTo(12.5, 1.5);
      page.lineTo(16, 5);
      page.lineTo(16, 18.5);
      page.lineTo(4, 18.5);
      page.closeSubpath();
      p.setBrush(Qt::white);
      p.drawPath(page);
      p.drawPolyline(QPolygonF({QPointF(12.5, 1.5), QPointF(12.5, 5), QPointF(16, 5)}));
      p.setPen(QPen(kRoadRed, 1.4, Qt::SolidLine, Qt::RoundCap));
      QPainterPath road;
      road.moveTo(6, 16);
      road.cubicTo(9, 15, 8, 9, 13.5, 7.5);
      p.setBrush(Qt::NoBrush);
      p.drawPath(road);
      break;
    }
    case ToolbarIcon::Open: {
      p.setBrush(QColor(240, 200, 90));
      p.drawPolygon(QPolygonF({QPointF(1.5, 4), QPointF(7, 4), QPointF(8.5, 5.5), QPointF(16, 5.5),
                               QPointF(16, 16.5), QPointF(1.5, 16.5)}));
      p.setBrush(QColor(252, 224, 130));
      p.drawPolygon(QPolygonF({QPointF(4, 8.5), QPointF(18.5, 8.5), QPointF(16, 16.5), QPointF(1.5, 16.5)}));
      break;
    }
    case ToolbarIcon::Save: {
      p.setBrush(QColor(70, 110, 180));
      p.drawRoundedRect(QRectF(2, 2, 16, 16), 1.5, 1.5);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5, 2, 10, 6.5));
      p.setBrush(QColor(210, 215, 225));
      p.drawRect(QRectF(5.5, 11.5, 9, 6.5));
      p.setPen(QPen(kInk, 1.4));
      p.drawLine(QPointF(12, 3.5), QPointF(12, 7));
      break;
    }
    case ToolbarIcon::ZoomIn:
      magnifier(true);
      break;
    case ToolbarIcon::ZoomOut:
      magnifier(false);
      break;
    case ToolbarIcon::FullExtent: {
      p.setBrush(QColor(225, 238, 255));
      p.drawRect(QRectF(6, 6, 8, 8));
      p.setPen(QPen(kBlue, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      const QPointF corners[4] = {{2, 2}, {18, 2}, {18, 18}, {2, 18}};
      for (const QPointF& c : corners) {
        QPointF in((c.x() + 10) / 2, (c.y() + 10) / 2);
        QPointF dx(c.x() < 10 ? 3.5 : -3.5, 0), dy(0, c.y() < 10 ? 3.5 : -3.5);
        p.drawLine(in, c);
        p.drawLine(c, c + dx);
        p.drawLine(c, c + dy);
      }
      break;
    }
    case ToolbarIcon::Move: {
      p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(10, 2), QPointF(10, 18));
      p.drawLine(QPointF(2, 10), QPointF(18, 10));
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(7.5, 4.5), QPointF(12.5, 4.5)}));
      p.drawPolygon(QPolygonF({QPointF(10, 19), QPointF(7.5, 15.5), QPointF(12.5, 15.5)}));
      p.drawPolygon(QPolygonF({QPointF(1, 10), QPointF(4.5, 7.5), QPointF(4.5, 12.5)}));
      p.drawPolygon(QPolygonF({QPointF(19, 10), QPointF(15.5, 7.5), QPointF(15.5, 12.5)}));
      break;
    }
    case ToolbarIcon::About: {
      p.setBrush(kBlue);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(10, 10), 8.5, 8.5);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(10, 5.8), 1.4, 1.4);
      p.drawRoundedRect(QRectF(8.8, 8.3, 2.4, 7.5), 0.8, 0.8);
      break;
    }
  }
  return pixmap;
}

// The symbol of a kind of road data, drawn in a 40 by 34 box.
void drawKindSymbol(QPainter& p, int kind, bool disabled) {
  QColor ink = disabled ? QColor(130, 130, 130) : kInk;
  QColor red = disabled ? QColor(150, 150, 150) : kRoadRed;
  QColor blue = disabled ? QColor(165, 165, 165) : kBlue;
  QColor earth = disabled ? QColor(175, 175, 175) : kEarth;
  QColor green = disabled ? QColor(160, 160, 160) : kGreen;
  QPen inkPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(inkPen);
  p.setBrush(Qt::NoBrush);
  switch (kind) {
    case 0: {  // road list: a list of roads
      p.setBrush(disabled ? QColor(235, 235, 235) : Qt::white);
      p.drawRoundedRect(QRectF(6, 2, 28, 30), 2, 2);
      for (int i = 0; i < 4; ++i) {
        double y = 8 + i * 6.5;
        p.setPen(QPen(red, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(11, y));
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, y), QPointF(29 - (i % 2) * 4, y));
      }
      break;
    }
    case 1: {  // broken chain: two links and the break
      p.setPen(QPen(ink, 2.4));
      p.drawRoundedRect(QRectF(3, 11, 17, 10), 5, 5);
      p.drawRoundedRect(QRectF(20, 11, 17, 10), 5, 5);
      p.setPen(QPen(red, 2.0, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(20, 4), QPointF(17, 9));
      p.drawLine(QPointF(20, 28), QPointF(23, 23));
      break;
    }
    case 2: {  // horizontal alignment: straight, curve, straight, key points
      QPainterPath path;
      path.moveTo(3, 30);
      path.lineTo(12, 20);
      path.quadTo(20, 10, 30, 10);
      path.lineTo(38, 10);
      p.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawPath(path);
      p.setPen(QPen(ink, 1.0, Qt::DashLine));
      p.drawLine(QPointF(12, 20), QPointF(20.5, 10.5));
      p.setPen(inkPen);
      p.setBrush(disabled ? QColor(220, 220, 220) : Qt::white);
      p.drawEllipse(QPointF(12, 20), 2.5, 2.5);
      p.drawEllipse(QPointF(30, 10), 2.5, 2.5);
      break;
    }
    case 3: {  // vertical curves: ground and grade line with a crest
      QPainterPath ground;
      ground.moveTo(2, 30);
      ground.cubicTo(12, 22, 20, 26, 38, 20);
      ground.lineTo(38, 33);
      ground.lineTo(2, 33);
      ground.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(disabled ? QColor(210, 210, 210) : QColor(205, 180, 140));
      p.drawPath(ground);
      QPainterPath grade;
      grade.moveTo(2, 24);
      grade.lineTo(14, 12);
      grade.quadTo(20, 6, 26, 12);
      grade.lineTo(38, 20);
      p.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawPath(grade);
      p.setPen(QPen(blue, 1.2, Qt::DashLine));
      p.drawLine(QPointF(14, 12), QPointF(20, 6));
      p.drawLine(QPointF(20, 6), QPointF(26, 10));
      break;
    }
    case 4: {  // standard cross section: carriageway, kerbs, shoulders
      p.setPen(Qt::NoPen);
      p.setBrush(disabled ? QColor(190, 190, 190) : QColor(90, 95, 105));
      p.drawPolygon(QPolygonF({QPointF(6, 16), QPointF(20, 13), QPointF(34, 16), QPointF(34, 20),
                               QPointF(20, 17), QPointF(6, 20)}));
      p.setBrush(earth);
      p.drawPolygon(QPolygonF({QPointF(1, 30), QPointF(6, 20), QPointF(6, 16), QPointF(34, 16), QPointF(34, 20),
                               QPointF(39, 30)}));
      p.setBrush(disabled ? QColor(190, 190, 190) : QColor(90, 95, 105));
      p.drawPolygon(QPolygonF({QPointF(6, 16), QPointF(20, 13), QPointF(34, 16), QPointF(34, 19),
                               QPointF(20, 16), QPointF(6, 19)}));
      p.setPen(QPen(Qt::white, 1.0, Qt::DashLine));
      p.drawLine(QPointF(20, 4), QPointF(20, 12));
      p.setPen(QPen(ink, 1.0, Qt::DashLine));
      p.drawLine(QPointF(20, 3), QPointF(20, 12));
      break;
    }
    case 5: {  // slopes: an embankment with a berm
      p.setPen(Qt::NoPen);
      p.setBrush(disabled ? QColor(200, 200, 200) : QColor(150, 190, 120));
      p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(12, 6), QPointF(20, 16), QPointF(25, 16), QPointF(36, 30),
                               QPointF(2, 30)}));
      p.setPen(QPen(green, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({QPointF(2, 6), QPointF(12, 6), QPointF(20, 16), QPointF(25, 16), QPointF(36, 30)}));
      p.setPen(QPen(ink, 1.0));
      p.drawLine(QPointF(27, 18), QPointF(37, 18));
      p.drawLine(QPointF(37, 18), QPointF(37, 27));
      break;
    }
    case 6: {  // superelevation: a tilted lane with its cross slope
      p.setPen(Qt::NoPen);
      p.setBrush(disabled ? QColor(190, 190, 190) : QColor(90, 95, 105));
      p.drawPolygon(QPolygonF({QPointF(4, 24), QPointF(36, 12), QPointF(36, 16), QPointF(4, 28)}));
      p.setPen(QPen(ink, 1.0, Qt::DashLine));
      p.drawLine(QPointF(4, 24), QPointF(36, 24));
      p.setPen(QPen(red, 1.8, Qt::SolidLine, Qt::RoundCap));
      QPainterPath arc;
      arc.moveTo(28, 24);
      arc.quadTo(29.5, 19, 28, 15.5);
      p.drawPath(arc);
      p.drawText(QRectF(8, 2, 24, 10), Qt::AlignCenter, QStringLiteral("i%"));
      break;
    }
    case 7: {  // widening: a lane growing wider, arrows outward
      p.setPen(Qt::NoPen);
      p.setBrush(disabled ? QColor(190, 190, 190) : QColor(90, 95, 105));
      p.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(36, 6), QPointF(36, 28), QPointF(4, 22)}));
      p.setPen(QPen(Qt::white, 1.2, Qt::DashLine));
      p.drawLine(QPointF(5, 17), QPointF(35, 17));
      p.setPen(QPen(red, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(30, 10), QPointF(30, 2));
      p.drawPolyline(QPolygonF({QPointF(27.5, 4.5), QPointF(30, 2), QPointF(32.5, 4.5)}));
      p.drawLine(QPointF(30, 24), QPointF(30, 32));
      p.drawPolyline(QPolygonF({QPointF(27.5, 29.5), QPointF(30, 32), QPointF(32.5, 29.5)}));
      break;
    }
    default:
      break;
  }
}

}  // namespace

QIcon toolbarIcon(ToolbarIcon which) {
  QIcon icon;
  for (int size : {20, 40}) icon.addPixmap(drawIcon(which, size));
  return icon;
}

QPixmap navigationPicture(int kind, PictureState state, QSize size, int symbolHeight) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF tile = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 2, -3, -2);
  QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
  switch (state) {
    case PictureState::Normal:
      gradient.setColorAt(0, QColor(250, 251, 253));
      gradient.setColorAt(1, QColor(214, 220, 230));
      break;
    case PictureState::Pressed:
      gradient.setColorAt(0, QColor(104, 150, 220));
      gradient.setColorAt(1, QColor(52, 98, 176));
      break;
    case PictureState::Disabled:
      gradient.setColorAt(0, QColor(200, 200, 200));
      gradient.setColorAt(1, QColor(186, 186, 186));
      break;
  }
  p.setPen(QPen(state == PictureState::Pressed ? QColor(30, 60, 120) : QColor(120, 120, 120), 1));
  p.setBrush(gradient);
  p.drawRoundedRect(tile, 6, 6);

  // The symbol in a light disc over the upper part; the caption goes below.
  double symbolScale = std::min(size.width() / 80.0, size.height() / 70.0);
  // The symbol with its margin takes 45 pixels at scale 1; a short button
  // keeps it above its caption.
  if (symbolHeight > 0) symbolScale = std::min(symbolScale, symbolHeight / 45.0);
  QRectF disc(size.width() / 2.0 - 23 * symbolScale, 5 * symbolScale, 46 * symbolScale, 40 * symbolScale);
  p.setPen(Qt::NoPen);
  p.setBrush(state == PictureState::Pressed ? QColor(255, 255, 255, 215) : QColor(255, 255, 255, 120));
  p.drawRoundedRect(disc, 8 * symbolScale, 8 * symbolScale);
  p.translate(disc.left() + 3 * symbolScale, disc.top() + 3 * symbolScale);
  p.scale(symbolScale, symbolScale);
  drawKindSymbol(p, kind, state == PictureState::Disabled);
  return pixmap;
}

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 64, 128}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 40.0, size / 40.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(34, 40, 52));
    p.drawRoundedRect(QRectF(1, 1, 38, 38), 7, 7);
    QPainterPath road;
    road.moveTo(6, 34);
    road.lineTo(14, 24);
    road.quadTo(21, 14, 34, 12);
    p.setPen(QPen(kRoadRed, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(road);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(34, 40, 52));
    p.drawEllipse(QPointF(14, 24), 3, 3);
    p.drawEllipse(QPointF(34, 12), 3, 3);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace trazmark
