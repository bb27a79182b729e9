#include "platform/bitmap24.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/bitmap_text_font.h"
#include "platform/file_io.h"
#include "platform/qt_color.h"
#include "platform/write_failure.h"

namespace {

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutBytes(uint8_t* p, TColor colour) {
  p[0] = static_cast<uint8_t>(colour >> 16);  // blue
  p[1] = static_cast<uint8_t>(colour >> 8);   // green
  p[2] = static_cast<uint8_t>(colour);        // red
}

bool HasFonts() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QFont TextFont(int pointSize) { return platform::BitmapTextFont(platform::BitmapTextPixels(pointSize)); }

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Bitmap24::Bitmap24(int width, int height) { Resize(width, height); }

void Bitmap24::Resize(int width, int height) {
  image_ = QImage(width < 1 ? 1 : width, height < 1 ? 1 : height, QImage::Format_BGR888);
  image_.fill(Qt::black);
}

void Bitmap24::Fill(TColor colour) { FillRect(0, 0, Width() - 1, Height() - 1, colour); }

TColor Bitmap24::Pixel(int x, int y) const {
  const uint8_t* p = image_.constScanLine(y) + 3 * x;
  return platform::MakeColor(p[2], p[1], p[0]);
}

void Bitmap24::FillRect(int x0, int y0, int x1, int y1, TColor colour) {
  if (image_.isNull()) return;
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, Width() - 1);
  y1 = std::min(y1, Height() - 1);
  for (int y = y0; y <= y1; ++y) {
    uint8_t* row = image_.scanLine(y);
    for (int x = x0; x <= x1; ++x) PutBytes(row + 3 * x, colour);
  }
}

void Bitmap24::HLine(int x0, int x1, int y, TColor colour) { FillRect(std::min(x0, x1), y, std::max(x0, x1), y, colour); }

void Bitmap24::VLine(int x, int y0, int y1, TColor colour) { FillRect(x, std::min(y0, y1), x, std::max(y0, y1), colour); }

void Bitmap24::TextOut(int x, int y, const std::string& text, TColor colour, int pointSize) {
  if (image_.isNull() || text.empty() || !HasFonts()) return;
  const QFont font = TextFont(pointSize);
  QPainter painter(&image_);
  painter.setFont(font);
  painter.setPen(platform::ToQColor(colour));
  painter.setBackgroundMode(Qt::TransparentMode);
  // drawText places the baseline, the callers give the cell's top.
  painter.drawText(x, y + QFontMetrics(font).ascent(), FromUtf8(text));
}

int Bitmap24::TextWidth(const std::string& text, int pointSize) {
  if (text.empty() || !HasFonts()) return 0;
  return QFontMetrics(TextFont(pointSize)).horizontalAdvance(FromUtf8(text));
}

void Bitmap24::Show(QLabel* label) const {
  if (label) label->setPixmap(QPixmap::fromImage(image_.copy()));
}

void PutPixel24(int x, int y, Bitmap24& bitmap, TColor colour) {
  if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return;
  PutBytes(bitmap.ScanLine(y) + 3 * x, colour);
}

bool SaveBmp(const Bitmap24& bitmap, const std::string& path) {
  const uint32_t width = static_cast<uint32_t>(bitmap.IsNull() ? 0 : bitmap.Width());
  const uint32_t height = static_cast<uint32_t>(bitmap.IsNull() ? 0 : bitmap.Height());
  const uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  const uint32_t imageBytes = rowBytes * height;
  std::vector<uint8_t> file;
  file.reserve(54 + imageBytes);
  // BITMAPFILEHEADER, then BITMAPINFOHEADER.
  file.push_back('B');
  file.push_back('M');
  PutLittleEndian(file, 54 + imageBytes, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 54, 4);
  PutLittleEndian(file, 40, 4);
  PutLittleEndian(file, width, 4);
  PutLittleEndian(file, height, 4);
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, 24, 2);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, imageBytes, 4);
  PutLittleEndian(file, 3780, 4);  // 96 dpi
  PutLittleEndian(file, 3780, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 0, 4);
  for (uint32_t row = height; row-- > 0;) {
    const uint8_t* line = bitmap.ScanLine(static_cast<int>(row));
    file.insert(file.end(), line, line + width * 3);
    file.insert(file.end(), rowBytes - width * 3, 0);
  }
  // A picture cut short by a full disk would replace a whole one.
  return platform::ReportWriteOutcome(
      path, platform::ReplaceFileAtomically(
                path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size())));
}
