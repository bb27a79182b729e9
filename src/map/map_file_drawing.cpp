#include "map/map_file_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "map/globe_clipping.h"
#include "map/map_line_reader.h"
#include "map/map_projection.h"

namespace {

// Blue, green, aqua, red, fuchsia, yellow.
constexpr TColor kDebugColours[6] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF};
constexpr TColor kWhite = 0xFFFFFF;
// The flat view keeps polygons within this many pixels of the bitmap's
// left and right edges.
constexpr int kStripMargin = 100;

bool StartsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

std::string Extension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

// A polyline drawn segment by segment. The previous point is kept as the
// segment's date-line step left it, so a raised longitude carries on.
class Polyline {
 public:
  void Break() { started_ = false; }
  // True when a segment was drawn; its start (after the step) in lat0, lon0.
  bool Add(double lat, double lon, const MapPen& pen, MapSink& sink, double& lat0, double& lon0) {
    if (!started_) {
      started_ = true;
      lat_ = lat;
      lon_ = lon;
      return false;
    }
    const double lats[2] = {lat_, lat};
    double lons[2] = {lon_, lon};
    DateLineStep(lons);
    sink.Segment(pen, lats, lons);
    lat0 = lats[0];
    lon0 = lons[0];
    lat_ = lat;
    lon_ = lons[1];
    return true;
  }

 private:
  bool started_ = false;
  double lat_ = 0.0, lon_ = 0.0;
};

void DrawPolylineFile(const std::string& path, bool outFormat, const MapPen& pen, MapSink& sink) {
  MapLineReader reader(path);
  Polyline line;
  std::string_view piece, first, second;
  double lat0, lon0;
  while (reader.Next(piece)) {
    // The "-1" test comes first: no point line of a .out file begins so.
    if (outFormat ? StartsWith(piece, "$TYPE=") || StartsWith(piece, "-1") : StartsWith(piece, "# -b")) {
      line.Break();
      continue;
    }
    if (!IsPointLine(piece) || !SplitPointLine(piece, outFormat ? '+' : '\t', first, second)) continue;
    const double lat = ParseDecimal(outFormat ? first : second);
    const double lon = ParseDecimal(outFormat ? second : first);
    line.Add(lat, lon, pen, sink, lat0, lon0);
  }
}

// One side of a Sutherland-Hodgman clip: keeps x >= bound (or <= bound).
void ClipAgainst(const std::vector<PixelPoint>& in, std::vector<PixelPoint>& out, int64_t bound, bool keepRight) {
  out.clear();
  const size_t n = in.size();
  auto inside = [&](const PixelPoint& p) { return keepRight ? p.x >= bound : p.x <= bound; };
  auto cut = [&](const PixelPoint& a, const PixelPoint& b) {
    const double t = (static_cast<double>(bound) - a.x) / (static_cast<double>(b.x) - a.x);
    const double y = a.y + (static_cast<double>(b.y) - a.y) * t;
    return PixelPoint{static_cast<int32_t>(bound), static_cast<int32_t>(std::lround(y))};
  };
  for (size_t i = 0; i < n; ++i) {
    const PixelPoint& current = in[i];
    const PixelPoint& previous = in[(i + n - 1) % n];
    if (inside(current)) {
      if (!inside(previous)) out.push_back(cut(previous, current));
      out.push_back(current);
    } else if (inside(previous)) {
      out.push_back(cut(previous, current));
    }
  }
}

class MapFilePasses {
 public:
  MapFilePasses(MapState& map, const MapSettings& settings, const ColorSettings& colours, MapSink& sink)
      : map_(map), settings_(settings), colours_(colours), sink_(sink), debug_(map.MapDebug != 0) {
    pen_ = colours.MapCoastColor;
    brush_ = colours.MapBackColor;
  }

  void Run(const std::string& path) {
    const bool globe = map_.GlobeView != 0;
    PolygonPass(path, false);
    if (!globe) PolygonPass(path, true);
    if (debug_) {
      sink_.Text(10, 10, "=== MAP DEBUG MODE ===", 12, kWhite);
      sink_.Text(10, 24, "MaxPolygonLines=" + std::to_string(maxPolygonLines_), 12, kWhite);
    }
    LinePass(path);
  }

 private:
  TColor NextDebugColour() { return kDebugColours[debugIndex_++ % 6]; }

  void PolygonPass(const std::string& path, bool secondCopy) {
    MapLineReader reader(path);
    bool inPolygon = false;
    std::string_view piece, lonText, latText;
    while (reader.Next(piece)) {
      const bool plgn = StartsWith(piece, "PLGN");
      if (plgn || StartsWith(piece, "LINE") || StartsWith(piece, "TERM")) {
        if (inPolygon) ClosePolygon(reader.LineNumber(), plgn && !secondCopy);
        inPolygon = plgn;
        if (plgn) {
          type_ = piece.size() > 5 && piece[4] == '=' ? piece[5] : '-';
          startLine_ = reader.LineNumber();
          points_.clear();
          ring_.clear();
          view_.clear();
          visible_ = false;
        }
        if (StartsWith(piece, "TERM")) return;
        continue;
      }
      // The globe leaves out the polygons of type "F".
      if (!inPolygon || (map_.GlobeView && type_ == 'F') || !IsPointLine(piece) ||
          !SplitPointLine(piece, '\t', lonText, latText)) {
        continue;
      }
      const double lat = ParseDecimal(latText), lon = ParseDecimal(lonText);
      if (map_.GlobeView) {
        // The ring is clipped at the horizon when it closes.
        const GlobePoint g = GlobeViewOf(map_, settings_, lat, lon);
        if (!std::isfinite(g.X) || !std::isfinite(g.Y) || !std::isfinite(g.Z)) continue;
        ring_.push_back({lon, lat});
        view_.push_back(g);
        continue;
      }
      PixelPoint p;
      const MapPointSide side = ProjectMapPoint(map_, settings_, lat, lon, secondCopy, p);
      if (side == MapPointSide::Unusable) continue;
      if (side == MapPointSide::Visible) visible_ = true;
      points_.push_back(p);
    }
    // A polygon that the end of the file cuts off is not drawn.
  }

  void ClosePolygon(int endLine, bool countLines) {
    if (countLines) maxPolygonLines_ = std::max(maxPolygonLines_, map_.GlobeView ? view_.size() : points_.size());
    shapes_.clear();
    if (map_.GlobeView) {
      GlobeShapes();
    } else if (visible_ && !points_.empty()) {
      // Clipped, not clamped: an edge that crosses the strip's side keeps
      // its true course inside it.
      const int64_t width = map_.MapBitmap.IsNull() ? 0 : map_.MapBitmap.Width();
      ClipAgainst(points_, clipped_, -kStripMargin, true);
      shapes_.emplace_back();
      ClipAgainst(clipped_, shapes_.back(), width + kStripMargin, false);
      if (shapes_.back().empty()) shapes_.clear();
    }
    if (shapes_.empty()) return;
    polygon_.type = type_;
    polygon_.startLine = startLine_;
    polygon_.endLine = endLine;
    if (debug_) {
      const TColor colour = NextDebugColour();
      polygon_.fill = polygon_.outline = colour;
      polygon_.clearFill = true;
    } else {
      switch (type_) {
        case 'L':
          brush_ = colours_.MapCoastColor;
          pen_ = colours_.BoundariesColor;
          break;
        case 'S':
          brush_ = colours_.MapBackColor;
          pen_ = colours_.BoundariesColor;
          break;
        case 'F':
          brush_ = colours_.MapCoastColor;
          pen_ = colours_.MapCoastColor;
          break;
        default:
          break;  // the colours of the polygon before
      }
      polygon_.fill = brush_;
      polygon_.outline = pen_;
      polygon_.clearFill = false;
    }
    for (std::vector<PixelPoint>& shape : shapes_) {
      polygon_.points.swap(shape);
      sink_.Polygon(polygon_);
    }
    if (!debug_) return;
    const PixelPoint first = LabelPoint(0);
    const PixelPoint last = LabelPoint(map_.GlobeView ? view_.size() - 1 : points_.size() - 1);
    sink_.Text(first.x, first.y - 10, "S:" + std::to_string(startLine_), 8, polygon_.outline);
    sink_.Text(last.x, last.y, "E:" + std::to_string(endLine), 8, polygon_.outline);
  }

  // The part of the ring on the near side of the globe, in pixels.
  void GlobeShapes() {
    NearSideOutlines(ring_, view_, RimStep(map_.GlobeRadius * map_.MapZoom), outlines_);
    for (const std::vector<DiscPoint>& outline : outlines_) {
      std::vector<PixelPoint> shape;
      shape.reserve(outline.size());
      for (const DiscPoint& d : outline) {
        PixelPoint p;
        if (GlobePixel(map_, d.X, d.Y, p)) shape.push_back(p);
      }
      if (!shape.empty()) shapes_.push_back(std::move(shape));
    }
  }

  // Where a label of the polygon's point i stands: a point behind the
  // globe on the rim in its own direction; on the flat map its x held to
  // the strip.
  PixelPoint LabelPoint(size_t i) const {
    PixelPoint p;
    if (map_.GlobeView) {
      GlobeMapPoint(map_, view_[i], p);
      return p;
    }
    p = points_[i];
    const int width = map_.MapBitmap.IsNull() ? 0 : map_.MapBitmap.Width();
    if (p.x <= 0) p.x = -kStripMargin;
    if (p.x >= width) p.x = width + kStripMargin;
    return p;
  }

  void LinePass(const std::string& path) {
    MapLineReader reader(path);
    Polyline line;
    bool inSection = false;
    int sectionLine = 0;
    MapPen pen{colours_.BoundariesColor, PenStyle::Solid};
    std::string_view piece, lonText, latText;
    double lat0, lon0;
    while (reader.Next(piece)) {
      if (StartsWith(piece, "PLGN")) {
        inSection = false;
      } else if (StartsWith(piece, "LINE")) {
        inSection = true;
        line.Break();
        sectionLine = reader.LineNumber();
        if (debug_) pen.colour = NextDebugColour();
      } else if (StartsWith(piece, "TERM")) {
        return;
      } else if (inSection && IsPointLine(piece) && SplitPointLine(piece, '\t', lonText, latText)) {
        if (!line.Add(ParseDecimal(latText), ParseDecimal(lonText), pen, sink_, lat0, lon0) || !debug_) continue;
        PixelPoint p;
        if (ProjectLatLon(map_, settings_, map_.MapBitmap, lat0, lon0, p)) {
          sink_.Text(p.x, p.y, std::to_string(sectionLine), 8, pen.colour);
        }
      }
    }
  }

  MapState& map_;
  const MapSettings& settings_;
  const ColorSettings& colours_;
  MapSink& sink_;
  const bool debug_;
  TColor pen_, brush_;
  size_t debugIndex_ = 0;
  size_t maxPolygonLines_ = 0;
  // The polygon being collected.
  char type_ = '-';
  int startLine_ = 0;
  bool visible_ = false;
  std::vector<PixelPoint> points_, clipped_;
  // On the globe: the ring as read and as seen, and the outlines of its
  // near side.
  std::vector<LonLat> ring_;
  std::vector<GlobePoint> view_;
  std::vector<std::vector<DiscPoint>> outlines_;
  // What is filled: on the flat map the polygon clipped to the strip, on
  // the globe the ring's near-side pieces.
  std::vector<std::vector<PixelPoint>> shapes_;
  MapPolygon polygon_;
};

}  // namespace

void DrawMapFile(MapState& map, const MapSettings& settings, const ColorSettings& colours, MapSink& sink) {
  const std::string extension = Extension(map.MapFileName);
  if (extension == ".dat" || extension == ".out") {
    DrawPolylineFile(map.MapFileName, extension == ".out", {colours.MapCoastColor, PenStyle::Solid}, sink);
  } else if (extension == ".map") {
    MapFilePasses(map, settings, colours, sink).Run(map.MapFileName);
  }
}
