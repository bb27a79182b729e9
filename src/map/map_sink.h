#pragma once
// Where the background and the map files draw, in the map's terms: the
// program's sink paints on the canvas of MapBitmap (CanvasMapSink), tests
// record what would be painted.
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/color.h"

struct MapPen {
  TColor colour = 0;
  PenStyle style = PenStyle::Solid;
};

// A closed polygon of a map file, projected and clipped, with the colours
// it is drawn in. On the globe a ring gives one for each of its pieces on
// the near side.
struct MapPolygon {
  std::vector<PixelPoint> points;
  TColor fill = 0;
  bool clearFill = false;  // outline only
  TColor outline = 0;
  char type = '-';
  // The 1-based numbers of its "PLGN" line and of the line that closed it.
  int startLine = 0, endLine = 0;
};

class MapSink {
 public:
  virtual ~MapSink() = default;
  // The whole picture in one colour.
  virtual void Fill(TColor colour) = 0;
  // The globe's disc in the square (x1, y1)-(x2, y2), brush and pen alike.
  virtual void Disc(int x1, int y1, int x2, int y2, TColor colour) = 0;
  // One piece of a map line as DrawMapPolyline draws it, its longitudes
  // past the date-line step.
  virtual void Segment(const MapPen& pen, const double lat[2], const double lon[2]) = 0;
  // A straight line between two pixels.
  virtual void Line(const MapPen& pen, PixelPoint from, PixelPoint to) = 0;
  virtual void Polygon(const MapPolygon& polygon) = 0;
  // Code page 932 text, its cell's top-left at (x, y).
  virtual void Text(int x, int y, const std::string& text, int points, TColor colour) = 0;
  // A navigation point's glyph of type '0'..'9' around (x, y).
  virtual void Glyph(char type, int x, int y, TColor colour) = 0;
};
