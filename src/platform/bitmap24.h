#pragma once
// A 24-bit drawing surface whose scan lines hold blue, green, red, top row
// first. Every 24-bit picture of the program is one of these. Colours are
// the program's 0x00BBGGRR values throughout; only the low 24 bits count.
#include <QImage>
#include <cstdint>
#include <string>

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

  // Inclusive ranges, as drawings describe them ("x 9..123, y 26..30");
  // whatever lies outside the bitmap is left out.
  void FillRect(int x0, int y0, int x1, int y1, TColor colour);
  void HLine(int x0, int x1, int y, TColor colour);
  void VLine(int x, int y0, int y1, TColor colour);

  // UTF-8 text on a transparent background with the top-left of its cell
  // at (x, y), in the default sans-serif at pointSize points as a 96 dpi
  // screen shows them (7 points: 9 pixels), whatever this screen's dpi.
  // Text needs the application's fonts: without a QGuiApplication it draws
  // nothing.
  void TextOut(int x, int y, const std::string& text, TColor colour, int pointSize = 7);
  // How far such a text reaches to the right of x; 0 without fonts.
  static int TextWidth(const std::string& text, int pointSize = 7);

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

  // Shows a copy in the label, 1:1.
  void Show(QLabel* label) const;

 private:
  QImage image_;
};

// One pixel, dropped when (x, y) lies outside the bitmap.
void PutPixel24(int x, int y, Bitmap24& bitmap, TColor colour);

// Writes a Windows bitmap file ("BM", 24 bits per pixel, rows bottom-up and
// padded to 4 bytes) whatever the path's extension. A failure is reported
// (ReportWriteFailure) and answered false.
bool SaveBmp(const Bitmap24& bitmap, const std::string& path);
