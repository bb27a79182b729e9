#include "platform/canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/bitmap_text_font.h"
#include "platform/cp932.h"
#include "platform/qt_color.h"

namespace {

uint32_t Argb(TColor c) { return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }

// A text anchored this far outside cannot reach the bitmap (names and
// labels are short), and the toolkit's fixed-point coordinates stay safe.
constexpr int kFarTextAnchor = 32768;

// The pixels whose centres lie in [from, to) along one row, as a column
// range clamped to -1 .. limit.
int64_t FirstCentreAtOrAfter(double x, int64_t limit) {
  const double c = std::ceil(x - 0.5);
  if (!(c > -1.0)) return -1;
  if (c > static_cast<double>(limit)) return limit;
  return static_cast<int64_t>(c);
}

}  // namespace

Canvas::Canvas(Bitmap24& target) : target_(&target) {
  if (target.IsNull()) return;
  work_ = target.Image().convertToFormat(QImage::Format_RGB32);
  width_ = work_.width();
  height_ = work_.height();
  bits_ = reinterpret_cast<uint32_t*>(work_.bits());
  stride_ = static_cast<int>(work_.bytesPerLine() / 4);
}

Canvas::~Canvas() { End(); }

void Canvas::End() {
  if (!target_) return;
  if (painter_) painter_->end();
  painter_.reset();
  if (bits_) target_->Image() = work_.convertToFormat(QImage::Format_BGR888);
  bits_ = nullptr;
  width_ = height_ = 0;
  target_ = nullptr;
}

void Canvas::SetPen(TColor colour, PenStyle style) {
  pen_ = Argb(colour);
  penTColor_ = colour;
  penStyle_ = style;
}

void Canvas::SetBrushColor(TColor colour) {
  brush_ = Argb(colour);
  brushSolid_ = true;
}

void Canvas::SetBrushClear() { brushSolid_ = false; }

void Canvas::SetFont(int points, TColor colour) {
  fontPoints_ = points;
  fontTColor_ = colour;
}

void Canvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void Canvas::LineTo(int x, int y) {
  const int64_t x0 = penX_, y0 = penY_;
  penX_ = x;
  penY_ = y;
  const int64_t dx = x - x0, dy = y - y0;
  const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  if (adx == 0 && ady == 0) return;
  // Pixel i (0 .. major-1) steps the major axis by i and the minor axis by
  // i * minor / major rounded half up.
  const bool xMajor = adx >= ady;
  const int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
  const int64_t mLimit = xMajor ? width_ : height_, nLimit = xMajor ? height_ : width_;
  const uint64_t phase = dotPhase_;
  dotPhase_ += static_cast<uint64_t>(major);
  if (!bits_) return;
  int64_t first, last;
  if (majorStep > 0) {
    first = std::max<int64_t>(0, -m0);
    last = std::min<int64_t>(major - 1, mLimit - 1 - m0);
  } else {
    first = std::max<int64_t>(0, m0 - (mLimit - 1));
    last = std::min<int64_t>(major - 1, m0);
  }
  if (first > last) return;
  const __int128 numerator = static_cast<__int128>(2) * first * minor + major;
  int64_t q = static_cast<int64_t>(numerator / (2 * major));
  int64_t r = static_cast<int64_t>(numerator % (2 * major));
  for (int64_t i = first; i <= last; ++i) {
    const int64_t n = n0 + minorStep * q;
    if (n >= 0 && n < nLimit) {
      if (penStyle_ == PenStyle::Solid || ((phase + static_cast<uint64_t>(i)) & 1u) == 0) {
        const int64_t m = m0 + majorStep * i;
        if (xMajor) {
          bits_[n * stride_ + m] = pen_;
        } else {
          bits_[m * stride_ + n] = pen_;
        }
      }
    } else if ((minorStep > 0) == (n >= nLimit)) {
      break;  // past the bitmap, and moving away
    }
    r += 2 * minor;
    if (r >= 2 * major) {
      r -= 2 * major;
      ++q;
    }
  }
}

void Canvas::Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (!bits_ || y < 0 || y >= height_) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, width_ - 1);
  if (x0 > x1) return;
  std::fill(bits_ + y * stride_ + x0, bits_ + y * stride_ + x1 + 1, pixel);
}

void Canvas::PenPixel(int64_t x, int64_t y) {
  if (bits_ && x >= 0 && y >= 0 && x < width_ && y < height_) bits_[y * stride_ + x] = pen_;
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 == x1 || y2 == y1) return;
  if (brushSolid_) {
    for (int64_t y = std::max<int64_t>(y1, 0); y < std::min<int64_t>(y2, height_); ++y)
      Span(y, x1, int64_t{x2} - 1, brush_);
  }
  const int savedX = penX_, savedY = penY_;
  if (int64_t{x2} - x1 == 1 && int64_t{y2} - y1 == 1) {
    PenPixel(x1, y1);
  } else {
    MoveTo(x1, y1);
    LineTo(x2 - 1, y1);
    LineTo(x2 - 1, y2 - 1);
    LineTo(x1, y2 - 1);
    LineTo(x1, y1);
  }
  MoveTo(savedX, savedY);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 == x1 || y2 == y1 || !bits_) return;
  const double cx = (static_cast<double>(x1) + x2) / 2.0, cy = (static_cast<double>(y1) + y2) / 2.0;
  const double rx = (static_cast<double>(x2) - x1) / 2.0, ry = (static_cast<double>(y2) - y1) / 2.0;
  // The pixels of row y whose centres lie inside; false when none.
  auto span = [&](int64_t y, int64_t& a, int64_t& b) {
    const double t = (static_cast<double>(y) + 0.5 - cy) / ry;
    if (t * t > 1.0) return false;
    const double w = rx * std::sqrt(1.0 - t * t);
    a = static_cast<int64_t>(std::ceil(cx - w - 0.5));
    b = static_cast<int64_t>(std::floor(cx + w - 0.5));
    return a <= b;
  };
  const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(int64_t{y2} - 1, height_ - 1);
  for (int64_t y = top; y <= bottom; ++y) {
    int64_t a, b;
    if (!span(y, a, b)) continue;
    if (brushSolid_) Span(y, a, b, brush_);
    // The outline: pixels of the row with a neighbour above or below
    // outside the shape.
    int64_t ua, ub, da, db;
    int64_t lo = b + 1, hi = b;  // the inner part, empty unless both neighbours have pixels
    if (span(y - 1, ua, ub) && span(y + 1, da, db)) {
      lo = std::max({a + 1, ua, da});
      hi = std::min({b - 1, ub, db});
    }
    if (lo > hi) {
      Span(y, a, b, pen_);
    } else {
      Span(y, a, lo - 1, pen_);
      Span(y, hi + 1, b, pen_);
    }
  }
}

void Canvas::Polygon(const std::vector<PixelPoint>& points) {
  if (points.empty()) return;
  if (brushSolid_ && bits_ && points.size() >= 3) {
    edges_.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const PixelPoint& a = points[i];
      const PixelPoint& b = points[(i + 1) % points.size()];
      if (a.y == b.y) continue;
      const PixelPoint& upper = a.y < b.y ? a : b;
      const PixelPoint& lower = a.y < b.y ? b : a;
      // Rows whose centres lie between the ends: upper.y .. lower.y - 1.
      const int64_t firstRow = std::max<int64_t>(upper.y, 0);
      const int64_t lastRow = std::min<int64_t>(int64_t{lower.y} - 1, height_ - 1);
      if (firstRow > lastRow) continue;
      const double slope = (static_cast<double>(lower.x) - upper.x) / (static_cast<double>(lower.y) - upper.y);
      edges_.push_back({static_cast<double>(upper.x), static_cast<double>(upper.y), slope, firstRow, lastRow});
    }
    std::sort(edges_.begin(), edges_.end(), [](const Edge& l, const Edge& r) { return l.firstRow < r.firstRow; });
    active_.clear();
    size_t next = 0;
    int64_t lastRow = -1;
    for (const Edge& e : edges_) lastRow = std::max(lastRow, e.lastRow);
    for (int64_t y = edges_.empty() ? 0 : edges_.front().firstRow; y <= lastRow; ++y) {
      while (next < edges_.size() && edges_[next].firstRow == y) active_.push_back(&edges_[next++]);
      active_.erase(std::remove_if(active_.begin(), active_.end(), [y](const Edge* e) { return e->lastRow < y; }),
                    active_.end());
      crossings_.clear();
      for (const Edge* e : active_) crossings_.push_back(e->x0 + (static_cast<double>(y) + 0.5 - e->y0) * e->slope);
      std::sort(crossings_.begin(), crossings_.end());
      for (size_t k = 0; k + 1 < crossings_.size(); k += 2) {
        const int64_t from = FirstCentreAtOrAfter(crossings_[k], width_);
        const int64_t to = FirstCentreAtOrAfter(crossings_[k + 1], width_) - 1;
        Span(y, from, to, brush_);
      }
    }
  }
  MoveTo(points[0].x, points[0].y);
  if (points.size() == 1) {
    PenPixel(points[0].x, points[0].y);
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
  LineTo(points[0].x, points[0].y);
}

QPainter* Canvas::Painter() {
  if (!bits_ || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&work_);
    painter_->setBackgroundMode(Qt::TransparentMode);
    // The painter draws into the same pixels as the primitives above.
    bits_ = reinterpret_cast<uint32_t*>(work_.bits());
  }
  return painter_.get();
}

const QFont& Canvas::FontOfSize(int pixels) {
  auto it = fonts_.find(pixels);
  if (it != fonts_.end()) return it->second;
  return fonts_.emplace(pixels, platform::BitmapTextFont(pixels)).first->second;
}

void Canvas::RenderMask(int pixelSize, std::string_view cp932, TextMask& mask) {
  const QFont& font = FontOfSize(pixelSize);
  const QFontMetrics metrics(font);
  const QString text = platform::Cp932ToQString(cp932);
  // Room on every side for glyphs that reach beyond their advance.
  const int margin = pixelSize;
  // White on black in the canvas's own format, as the painter draws on it.
  QImage picture(metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
    std::fill(row, row + picture.width(), 0xFF000000u);
  }
  {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(margin, margin + metrics.ascent(), text);
  }
  for (int y = 0; y < picture.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      if (rgb == 0) continue;
      if (rgb != 0xFFFFFFu) mask.solid = false;
      mask.pixels.push_back({x - margin, y - margin});
    }
  }
  mask.rendered = true;
}

void Canvas::PaintText(int x, int y, int pixelSize, std::string_view cp932) {
  QPainter* painter = Painter();
  if (!painter) return;
  if (pixelSize != fontPixels_) {
    const QFont& font = FontOfSize(pixelSize);
    painter->setFont(font);
    fontAscent_ = QFontMetrics(font).ascent();
    fontPixels_ = pixelSize;
  }
  painter->setPen(platform::ToQColor(fontTColor_));
  painter->drawText(x, y + fontAscent_, platform::Cp932ToQString(cp932));
}

void Canvas::TextOut(int x, int y, std::string_view cp932) {
  if (cp932.empty() || x >= width_ || y >= height_ || x < -kFarTextAnchor || y < -kFarTextAnchor || !bits_) return;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  const int pixels = platform::BitmapTextPixels(fontPoints_);
  std::string key = std::to_string(pixels);
  key.push_back('\0');
  key.append(cp932);
  TextMask& mask = masks_[key];
  if (!mask.rendered) RenderMask(pixels, cp932, mask);
  if (!mask.solid) {
    PaintText(x, y, pixels, cp932);
    return;
  }
  const uint32_t colour = Argb(fontTColor_);
  for (const PixelPoint& p : mask.pixels) {
    const int64_t px = int64_t{x} + p.x, py = int64_t{y} + p.y;
    if (px >= 0 && py >= 0 && px < width_ && py < height_) bits_[py * stride_ + px] = colour;
  }
}

void Canvas::Pixel(int x, int y, TColor colour) {
  if (bits_ && x >= 0 && y >= 0 && x < width_ && y < height_) bits_[int64_t{y} * stride_ + x] = Argb(colour);
}

void Canvas::Draw(int x, int y, const Bitmap24& picture) {
  if (!bits_ || picture.IsNull()) return;
  const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t{x} + picture.Width(), width_);
  const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t{y} + picture.Height(), height_);
  for (int64_t row = y0; row < y1; ++row) {
    const uint8_t* source = picture.ScanLine(static_cast<int>(row - y));
    uint32_t* target = bits_ + row * stride_;
    for (int64_t col = x0; col < x1; ++col) {
      const uint8_t* bgr = source + 3 * (col - x);
      target[col] = 0xFF000000u | (uint32_t{bgr[2]} << 16) | (uint32_t{bgr[1]} << 8) | bgr[0];
    }
  }
}

void Canvas::Fill(TColor colour) {
  for (int y = 0; y < height_; ++y) Span(y, 0, width_ - 1, Argb(colour));
}
