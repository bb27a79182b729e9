#include "platform/bitmap24.h"

#include <QLabel>
#include <QPixmap>

Bitmap24::Bitmap24(int width, int height) { Resize(width, height); }

void Bitmap24::Resize(int width, int height) {
  image_ = QImage(width < 1 ? 1 : width, height < 1 ? 1 : height, QImage::Format_BGR888);
  image_.fill(Qt::black);
}

void Bitmap24::Fill(TColor colour) { image_.fill(platform::ToQColor(colour)); }

TColor Bitmap24::Pixel(int x, int y) const {
  const uint8_t* p = image_.constScanLine(y) + 3 * x;
  return platform::MakeColor(p[2], p[1], p[0]);
}

void Bitmap24::Show(QLabel* label) const {
  if (label) label->setPixmap(QPixmap::fromImage(image_.copy()));
}
