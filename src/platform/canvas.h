#pragma once
// A drawing step on a Bitmap24: pen, brush, font and a current position, as
// the map draws. The step works on a 32-bit copy of the bitmap (the toolkit
// paints 24-bit pictures slowly) and hands the picture back once, at End.
// Every primitive is clipped against the bitmap in 64-bit arithmetic before
// a pixel is set, so any int coordinate is safe.
#include <QFont>
#include <QImage>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/bitmap24.h"
#include "platform/color.h"

class QPainter;

struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
};

enum class PenStyle { Solid, Dotted };

class Canvas {
 public:
  explicit Canvas(Bitmap24& target);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The picture goes back to the bitmap; nothing more is drawn.
  void End();
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Dotted: one pixel on, one off, the gaps left as they were.
  void SetPen(TColor colour, PenStyle style = PenStyle::Solid);
  void SetPenStyle(PenStyle style) { penStyle_ = style; }
  TColor PenColor() const { return penTColor_; }
  // Setting the colour makes the brush solid; only SetBrushClear clears it.
  void SetBrushColor(TColor colour);
  void SetBrushClear();
  void SetFont(int points, TColor colour);
  void SetFontSize(int points) { fontPoints_ = points; }
  void SetFontColor(TColor colour) { fontTColor_ = colour; }

  // A line covers its start pixel and stops one pixel short of its end.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // The shape covers x1..x2-1 and y1..y2-1: outline in the pen, inside in
  // the brush when it is solid.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Ellipse(int x1, int y1, int x2, int y2);
  // Closed; the inside (odd-even) in the brush when solid, the outline in
  // the pen.
  void Polygon(const std::vector<PixelPoint>& points);
  // Code page 932 text with the top-left of its cell at (x, y), in the font
  // colour on a transparent background. Needs the application's fonts:
  // without a QGuiApplication it draws nothing.
  void TextOut(int x, int y, std::string_view cp932);
  void Pixel(int x, int y, TColor colour);
  // The picture copied 1:1 with its top left at (x, y), clipped.
  void Draw(int x, int y, const Bitmap24& picture);
  // The whole bitmap in one colour.
  void Fill(TColor colour);

 private:
  void PenPixel(int64_t x, int64_t y);
  void Span(int64_t y, int64_t x0, int64_t x1, uint32_t pixel);
  QPainter* Painter();
  // The font of a pixel size, made once per canvas.
  const QFont& FontOfSize(int pixels);

  // A text's pixels as the painter sets them, relative to its anchor,
  // rendered once per canvas: the layers draw each tag at up to nine
  // offsets. A text whose pixels are not all fully set (a font that
  // smooths anyway) is drawn by the painter every time instead.
  struct TextMask {
    bool rendered = false;
    bool solid = true;
    std::vector<PixelPoint> pixels;
  };
  void RenderMask(int pixelSize, std::string_view cp932, TextMask& mask);
  void PaintText(int x, int y, int pixelSize, std::string_view cp932);

  Bitmap24* target_;
  QImage work_;
  uint32_t* bits_ = nullptr;
  int stride_ = 0;  // in pixels
  int width_ = 0, height_ = 0;
  uint32_t pen_ = 0xFF000000u, brush_ = 0xFFFFFFFFu;
  TColor penTColor_ = 0;
  TColor fontTColor_ = 0;
  PenStyle penStyle_ = PenStyle::Solid;
  bool brushSolid_ = true;
  int fontPoints_ = 8;
  int penX_ = 0, penY_ = 0;
  // A dotted pen's pattern runs on from one line to the next.
  uint64_t dotPhase_ = 0;
  std::unique_ptr<QPainter> painter_;
  int fontPixels_ = 0;  // the painter's font; 0 none yet
  int fontAscent_ = 0;  // and its ascent
  std::map<int, QFont> fonts_;
  std::unordered_map<std::string, TextMask> masks_;
  struct Edge {
    double x0, y0, slope;
    int64_t firstRow, lastRow;
  };
  std::vector<Edge> edges_;
  std::vector<const Edge*> active_;
  std::vector<double> crossings_;
};
