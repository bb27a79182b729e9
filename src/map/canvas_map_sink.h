#pragma once
// The map's drawing on the canvas of its bitmap.
#include "app/settings_sections.h"
#include "map/map_sink.h"
#include "map/map_state.h"

class CanvasMapSink : public MapSink {
 public:
  CanvasMapSink(Canvas& canvas, const MapState& map, const MapSettings& settings)
      : canvas_(canvas), map_(map), settings_(settings) {}

  void Fill(TColor colour) override;
  void Disc(int x1, int y1, int x2, int y2, TColor colour) override;
  void Segment(const MapPen& pen, const double lat[2], const double lon[2]) override;
  void Line(const MapPen& pen, PixelPoint from, PixelPoint to) override;
  void Polygon(const MapPolygon& polygon) override;
  void Text(int x, int y, const std::string& text, int points, TColor colour) override;
  void Glyph(char type, int x, int y, TColor colour) override;

 private:
  Canvas& canvas_;
  const MapState& map_;
  const MapSettings& settings_;
};
