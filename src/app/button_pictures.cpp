#include "app/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSize = 18;
const QColor kInk(48, 48, 48);
const QColor kBlue(30, 90, 200);
const QColor kGreen(20, 140, 60);
const QColor kRed(200, 40, 40);

QPen Pen(const QColor& colour, double width = 1.5) {
  QPen p(colour, width);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

void Arrow(QPainter& p, double angleDegrees) {
  p.save();
  p.translate(9, 9);
  p.rotate(angleDegrees);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  // Pointing right before the rotation.
  p.drawPolygon(QPolygonF({QPointF(7, 0), QPointF(0, -6), QPointF(0, -2.5), QPointF(-7, -2.5), QPointF(-7, 2.5),
                           QPointF(0, 2.5), QPointF(0, 6)}));
  p.restore();
}

void Magnifier(QPainter& p, const QPointF& centre, double radius) {
  p.setPen(Pen(kInk, 1.8));
  p.setBrush(QColor(220, 235, 255));
  p.drawEllipse(centre, radius, radius);
  const double d = radius * 0.72;
  p.setPen(Pen(kInk, 2.6));
  p.drawLine(centre + QPointF(d, d), centre + QPointF(d + 4.5, d + 4.5));
}

void Letters(QPainter& p, const QRectF& box, const QString& text, const QColor& colour, int pixelSize) {
  QFont f = p.font();
  f.setPixelSize(pixelSize);
  f.setBold(true);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter, text);
}

void Airway(QPainter& p, const QString& letter, const QColor& colour) {
  p.setPen(Pen(colour, 1.6));
  p.drawPolyline(QPolygonF({QPointF(1, 15), QPointF(6, 10), QPointF(11, 13), QPointF(17, 6)}));
  p.setBrush(colour);
  for (const QPointF& c : {QPointF(6, 10), QPointF(11, 13)}) p.drawEllipse(c, 1.2, 1.2);
  Letters(p, QRectF(0, 0, 10, 9), letter, kInk, 9);
}

// A star of the given number of points, the first pointing up.
QPolygonF Star(const QPointF& centre, int points, double outer, double inner) {
  QPolygonF star;
  for (int i = 0; i < 2 * points; ++i) {
    const double r = i % 2 ? inner : outer;
    const double a = qDegreesToRadians(-90.0 + 180.0 / points * i);
    star << centre + QPointF(r * std::cos(a), r * std::sin(a));
  }
  return star;
}

void Hexagon(QPainter& p, double r) {
  QPolygonF hex;
  for (int i = 0; i < 6; ++i) {
    const double a = qDegreesToRadians(60.0 * i);
    hex << QPointF(9 + r * std::cos(a), 9 + r * std::sin(a));
  }
  p.drawPolygon(hex);
}

void Aircraft(QPainter& p, const QPointF& at, double scale, const QColor& colour) {
  p.save();
  p.translate(at);
  p.scale(scale, scale);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  // Nose up, spanning about -5..5.
  p.drawPolygon(QPolygonF({QPointF(0, -5), QPointF(1, -2), QPointF(5, 1), QPointF(5, 2), QPointF(1, 1), QPointF(1, 3),
                           QPointF(2.5, 4.5), QPointF(2.5, 5), QPointF(0, 4.3), QPointF(-2.5, 5), QPointF(-2.5, 4.5),
                           QPointF(-1, 3), QPointF(-1, 1), QPointF(-5, 2), QPointF(-5, 1), QPointF(-1, -2)}));
  p.restore();
}

void DrawPictogram(QPainter& p, int number) {
  switch (number) {
    case 3:  // the received-aircraft list
      p.setPen(Pen(kInk, 1.6));
      for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(2, 3 + 4 * i, 2.5, 2.5), kBlue);
        p.drawLine(QPointF(7, 4.2 + 4 * i), QPointF(16, 4.2 + 4 * i));
      }
      break;
    case 7:  // aircraft information
      p.setPen(Pen(kBlue, 1.6));
      p.setBrush(QColor(225, 235, 255));
      p.drawEllipse(QPointF(9, 9), 7.5, 7.5);
      Letters(p, QRectF(0, 1, 18, 17), "i", kBlue, 12);
      break;
    case 4:  // aircraft search
      Aircraft(p, QPointF(7, 7), 0.9, kBlue);
      Magnifier(p, QPointF(7.5, 7.5), 5.5);
      break;
    case 18:  // ACARS message search
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(255, 250, 225));
      p.drawRect(QRectF(1, 3, 12, 9));
      p.drawPolyline(QPolygonF({QPointF(1, 3), QPointF(7, 8), QPointF(13, 3)}));
      Magnifier(p, QPointF(12, 11), 3.2);
      break;
    case 6:  // the received-text window
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3, 1.5, 12, 15));
      p.setPen(Pen(kInk, 1.0));
      for (int i = 0; i < 4; ++i) p.drawLine(QPointF(5.5, 5 + 3 * i), QPointF(12.5, 5 + 3 * i));
      break;
    case 16: {  // tracks
      QPen dotted = Pen(kGreen, 1.6);
      dotted.setStyle(Qt::DotLine);
      p.setPen(dotted);
      QPainterPath path(QPointF(2, 16));
      path.cubicTo(QPointF(4, 6), QPointF(10, 14), QPointF(12, 6));
      p.drawPath(path);
      Aircraft(p, QPointF(12.5, 5), 0.8, kBlue);
      break;
    }
    case 8:  // the newest aircraft
      p.setPen(Pen(QColor(170, 110, 0), 1.0));
      p.setBrush(QColor(255, 200, 40));
      p.drawPolygon(Star(QPointF(9, 9.5), 5, 8.0, 3.2));
      break;
    case 9:  // sub-display: flight level
      Letters(p, QRectF(0, 0, 18, 18), "FL", kBlue, 10);
      break;
    case 10:  // sub-display: time
      p.setPen(Pen(kInk, 1.5));
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(9, 9), 7, 7);
      p.drawLine(QPointF(9, 9), QPointF(9, 4.5));
      p.drawLine(QPointF(9, 9), QPointF(12.5, 10.5));
      break;
    case 11:  // sub-display: route and type
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(255, 250, 225));
      p.drawRect(QRectF(1.5, 4, 15, 10));
      p.setPen(Pen(kBlue, 1.4));
      p.drawLine(QPointF(4, 7.5), QPointF(14, 7.5));
      p.drawLine(QPointF(4, 10.5), QPointF(11, 10.5));
      break;
    case 12: Arrow(p, 180); break;
    case 15: Arrow(p, 0); break;
    case 13: Arrow(p, -90); break;
    case 14: Arrow(p, 90); break;
    case 20:  // zoom out
    case 19:  // zoom in
      Magnifier(p, QPointF(7.5, 7.5), 5.5);
      p.setPen(Pen(kInk, 1.6));
      p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
      if (number == 19) p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
      break;
    case 2:  // globe view
      p.setPen(Pen(kBlue, 1.2));
      p.setBrush(QColor(210, 230, 255));
      p.drawEllipse(QPointF(9, 9), 7.5, 7.5);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(9, 9), 3.5, 7.5);
      p.drawLine(QPointF(1.5, 9), QPointF(16.5, 9));
      p.drawLine(QPointF(9, 1.5), QPointF(9, 16.5));
      break;
    case 5:  // flat map
      p.setPen(Pen(kBlue, 1.2));
      p.setBrush(QColor(210, 230, 255));
      p.drawRect(QRectF(1.5, 3.5, 15, 11));
      for (double x : {6.5, 11.5}) p.drawLine(QPointF(x, 3.5), QPointF(x, 14.5));
      p.drawLine(QPointF(1.5, 9), QPointF(16.5, 9));
      break;
    case 21:  // VOR/DME
      p.setPen(Pen(QColor(0, 140, 160), 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(2, 2, 14, 14));
      Hexagon(p, 5);
      p.setBrush(QColor(0, 140, 160));
      p.drawEllipse(QPointF(9, 9), 1.2, 1.2);
      break;
    case 22:  // VORTAC
      p.setPen(Pen(QColor(160, 0, 160), 1.3));
      p.setBrush(Qt::NoBrush);
      Hexagon(p, 5.5);
      p.setBrush(QColor(160, 0, 160));
      for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(9, 9);
        p.rotate(30 + 120 * i);
        p.drawRect(QRectF(5, -2, 3, 4));
        p.restore();
      }
      break;
    case 23:  // NDB
      p.setPen(Pen(QColor(110, 0, 200), 1.2));
      p.setBrush(QColor(110, 0, 200));
      p.drawEllipse(QPointF(9, 9), 2, 2);
      p.setBrush(Qt::NoBrush);
      for (double r : {4.5, 7.5}) {
        QPen dotted = Pen(QColor(110, 0, 200), 1.2);
        dotted.setStyle(Qt::DotLine);
        p.setPen(dotted);
        p.drawEllipse(QPointF(9, 9), r, r);
      }
      break;
    case 24:  // waypoint
      p.setPen(Pen(QColor(200, 0, 110), 1.0));
      p.setBrush(QColor(240, 120, 180));
      p.drawPolygon(Star(QPointF(9, 9), 4, 7.5, 2.0));
      break;
    case 28:  // airport
      p.setPen(Pen(QColor(120, 0, 60), 1.4));
      p.setBrush(QColor(250, 220, 235));
      p.drawEllipse(QPointF(9, 9), 7, 7);
      p.setPen(Pen(QColor(120, 0, 60), 2.2));
      p.drawLine(QPointF(5, 13), QPointF(13, 5));
      p.drawLine(QPointF(6, 6), QPointF(12, 12));
      break;
    case 25: Airway(p, "V", QColor(230, 110, 0)); break;
    case 26: Airway(p, "N", QColor(230, 110, 0)); break;
    case 27: Airway(p, "A", QColor(230, 110, 0)); break;
    case 17:  // audio monitor
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(5, 7), QPointF(9, 3), QPointF(9, 15), QPointF(5, 11),
                               QPointF(2, 11)}));
      p.setPen(Pen(kBlue, 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(7, 5, 6, 8), -50 * 16, 100 * 16);
      p.drawArc(QRectF(6, 2, 10, 14), -50 * 16, 100 * 16);
      break;
    case 1:  // TCP/IP link
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(210, 230, 255));
      p.drawRect(QRectF(1, 2, 7, 5.5));
      p.drawRect(QRectF(10, 10.5, 7, 5.5));
      p.setPen(Pen(kGreen, 1.6));
      p.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(4.5, 13), QPointF(9.5, 13)}));
      p.drawPolyline(QPolygonF({QPointF(13.5, 10), QPointF(13.5, 5), QPointF(8.5, 5)}));
      break;
    default:
      break;
  }
}

}  // namespace

QIcon SpeedButtonPicture(int number) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPictogram(p, number);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap LogoPicture(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(QColor(16, 32, 72));
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A burst of a phase-keyed carrier along the bottom.
  QPainterPath wave;
  const double base = height * 0.78;
  const double amplitude = height * 0.12;
  wave.moveTo(0, base);
  for (int x = 0; x <= width; ++x) {
    const double phase = (x / (width / 6.0)) > 3.0 ? M_PI : 0.0;
    wave.lineTo(x, base + amplitude * std::sin(x * 0.55 + phase));
  }
  p.setPen(QPen(QColor(80, 200, 255), std::max(1.0, height / 24.0)));
  p.drawPath(wave);
  QFont f = p.font();
  f.setBold(true);
  f.setItalic(true);
  f.setPixelSize(static_cast<int>(height * 0.62));
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, width, static_cast<int>(height * 0.72)), Qt::AlignCenter, QStringLiteral("Skarvel"));
  return pixmap;
}

QPixmap ProgramIconPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(16, 32, 72));
  p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
  p.scale(size / 18.0, size / 18.0);
  Aircraft(p, QPointF(9, 6.5), 0.9, Qt::white);
  p.setPen(Pen(QColor(80, 200, 255), 1.2));
  p.setBrush(Qt::NoBrush);
  QPainterPath wave(QPointF(2, 14));
  for (double x = 2; x <= 16; x += 0.5) wave.lineTo(x, 14 + 1.8 * std::sin((x - 2) * 1.3));
  p.drawPath(wave);
  return pixmap;
}

QPixmap TextPicture(const QStringList& lines, int width, int height, int pixelSize) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = p.font();
  f.setPixelSize(pixelSize);
  p.setFont(f);
  p.setPen(Qt::black);
  const int n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i) {
    const QRect row(0, height * i / n, width, height / n);
    p.drawText(row, Qt::AlignCenter, lines[i]);
  }
  return pixmap;
}
