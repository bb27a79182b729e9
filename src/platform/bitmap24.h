#pragma once
// A 24-bit drawing surface whose scan lines hold blue, green, red, top row
// first. Every 24-bit picture of the program is one of these.
#include <QImage>
#include <cstdint>

#include "platform/color.h"

class QLabel;

class Bitmap24 {
 public:
  Bitmap24() = default;
  Bitmap24(int width, int height);

  void Resize(int width, int height);
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool IsNull() const { return image_.isNull(); }

  // Row y in blue, green, red order; a row is BytesPerLine() long.
  uint8_t* ScanLine(int y) { return image_.scanLine(y); }
  const uint8_t* ScanLine(int y) const { return image_.constScanLine(y); }
  int BytesPerLine() const { return static_cast<int>(image_.bytesPerLine()); }

  void Fill(TColor colour);
  TColor Pixel(int x, int y) const;

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

  // Shows a copy in the label, 1:1.
  void Show(QLabel* label) const;

 private:
  QImage image_;
};
