#include "map/canvas_map_sink.h"

#include "map/map_projection.h"
#include "map/nav_glyphs.h"

void CanvasMapSink::Fill(TColor colour) { canvas_.Fill(colour); }

void CanvasMapSink::Disc(int x1, int y1, int x2, int y2, TColor colour) {
  canvas_.SetPen(colour);
  canvas_.SetBrushColor(colour);
  canvas_.Ellipse(x1, y1, x2, y2);
}

void CanvasMapSink::Segment(const MapPen& pen, const double lat[2], const double lon[2]) {
  canvas_.SetPen(pen.colour, pen.style);
  double lons[2] = {lon[0], lon[1]};
  DrawMapPolyline(map_, settings_, canvas_, lat, lons, 0, 0);
}

void CanvasMapSink::Line(const MapPen& pen, PixelPoint from, PixelPoint to) {
  canvas_.SetPen(pen.colour, pen.style);
  canvas_.MoveTo(from.x, from.y);
  canvas_.LineTo(to.x, to.y);
}

void CanvasMapSink::Polygon(const MapPolygon& polygon) {
  canvas_.SetPen(polygon.outline);
  if (polygon.clearFill) {
    canvas_.SetBrushClear();
  } else {
    canvas_.SetBrushColor(polygon.fill);
  }
  canvas_.Polygon(polygon.points);
}

void CanvasMapSink::Text(int x, int y, const std::string& text, int points, TColor colour) {
  canvas_.SetFont(points, colour);
  canvas_.TextOut(x, y, text);
}

void CanvasMapSink::Glyph(char type, int x, int y, TColor colour) {
  for (const GlyphRun& run : NavGlyph(type)) {
    for (int dx = run.dx0; dx <= run.dx1; ++dx) canvas_.Pixel(x + dx, y + run.dy, colour);
  }
}
