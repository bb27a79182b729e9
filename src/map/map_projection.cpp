#include "map/map_projection.h"

#include <cmath>

#include "map/zoom_factors.h"

namespace {

constexpr double kPixelLimit = 1073741824.0;  // 2^30

const MapState::GlobeCentre& CentreOf(const MapState& map, const MapSettings& settings) {
  MapState::GlobeCentre& c = map.Centre;
  if (c.centE != settings.MapCentE || c.viewDeg != settings.ViewDeg) {
    const double lambda0 = DegToRad(settings.MapCentE);
    const double v = DegToRad(-settings.ViewDeg);
    c = {settings.MapCentE, settings.ViewDeg, std::sin(lambda0), std::cos(lambda0), std::sin(v), std::cos(v)};
  }
  return c;
}

}  // namespace

GlobePoint GlobeViewOf(const MapState& map, const MapSettings& settings, double lat, double lon) {
  const MapState::GlobeCentre& c = CentreOf(map, settings);
  const double phi = DegToRad(lat);
  const double lambda = DegToRad(lon);
  const double a = std::cos(phi) * std::sin(lambda);
  const double b = std::cos(phi) * std::cos(lambda);
  const double X = c.cosLon0 * a - c.sinLon0 * b;
  const double Y1 = -std::sin(phi);
  const double Z1 = c.sinLon0 * a + c.cosLon0 * b;
  return {X, c.cosV * Y1 + c.sinV * Z1, -c.sinV * Y1 + c.cosV * Z1};
}

bool GlobePixel(const MapState& map, double X, double Y, PixelPoint& out) {
  const double R = map.GlobeRadius;
  int32_t x, y;
  const bool ok = TruncToPixel(R * map.MapZoom * X + R, x) & TruncToPixel(R * map.MapZoom * Y + R, y);
  out = {x + map.GlobeLeft, y + map.GlobeTop};
  return ok;
}

namespace {

bool FlatPixel(const MapState& map, double d, double lat, PixelPoint& out) {
  const bool ok = TruncToPixel(d * map.MapScaleX, out.x) & TruncToPixel((map.MapTopLat - lat) * map.MapScaleY, out.y);
  return ok;
}

// The x of a segment's ends on the flat map, after its shift across the
// wrap; false when a value is not a number.
bool FlatSegmentX(const MapState& map, const double lon[2], int32_t& x0, int32_t& x1) {
  double d0 = lon[0] - map.MapLeftLon;
  const double d1 = lon[1] - map.MapLeftLon;
  double shift = 0.0;
  if (d0 > 360.0) {
    d0 -= 360.0;
    shift = -360.0;
  } else if (d0 < 0.0 && d1 < 0.0) {
    d0 += 360.0;
    shift = 360.0;
  }
  return TruncToPixel(d0 * map.MapScaleX, x0) & TruncToPixel((d1 + shift) * map.MapScaleX, x1);
}

}  // namespace

double DegToRad(double degrees) { return degrees * M_PI * (1.0 / 180.0); }

bool TruncToPixel(double value, int32_t& out) {
  if (std::isnan(value)) {
    out = 0;
    return false;
  }
  if (value >= kPixelLimit) {
    out = 1 << 30;
    return std::isfinite(value);
  }
  if (value <= -kPixelLimit) {
    out = -(1 << 30);
    return std::isfinite(value);
  }
  out = static_cast<int32_t>(value);
  return true;
}

void UpdateMapGeometry(MapState& map, const MapSettings& settings, const MapControls& controls) {
  const int w = map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Width();
  const int h = map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Height();
  map.MapLeftLon = settings.MapCentE - (w / 2) / map.MapScaleX;
  map.MapTopLat = settings.MapCentN + (h / 2) / map.MapScaleY;
  map.GlobeRadius = (h / 2) * 0.9;
  const int diameter = static_cast<int>(2 * map.GlobeRadius);
  map.GlobeLeft = (w - diameter) / 2;
  map.GlobeTop = (h - diameter) / 2;
  const int step = controls.ComboBox1Index;
  map.MapZoom = step >= 0 && step < static_cast<int>(ZoomFactors.size()) ? ZoomFactors[static_cast<size_t>(step)] : 1.0;
  map.GlobeView = controls.SpeedButton2Down ? 1 : 0;
}

bool ProjectLatLon(const MapState& map, const MapSettings& settings, const Bitmap24& bitmap, double lat, double lon,
                   PixelPoint& out) {
  if (map.GlobeView) {
    const GlobePoint p = GlobeViewOf(map, settings, lat, lon);
    // NaN counts as hidden.
    return GlobePixel(map, p.X, p.Y, out) && p.Z >= 0.0;
  }
  double d = lon - map.MapLeftLon;
  if (d > 360.0) d -= 360.0;
  if (d < 0.0) d += 360.0;
  if (!FlatPixel(map, d, lat, out)) return false;
  const int64_t w = bitmap.IsNull() ? 0 : bitmap.Width(), h = bitmap.IsNull() ? 0 : bitmap.Height();
  return out.x >= -500 && out.x <= w + 500 && out.y >= -500 && out.y <= h + 500;
}

MapPointSide ProjectMapPoint(MapState& map, const MapSettings& settings, double lat, double lon, bool secondCopy,
                             PixelPoint& out) {
  if (map.GlobeView) return GlobeMapPoint(map, GlobeViewOf(map, settings, lat, lon), out);
  if (map.MapLeftLon < -180.0) map.MapLeftLon += 360.0;
  double d = lon - map.MapLeftLon;
  if (secondCopy) d += 360.0;
  return FlatPixel(map, d, lat, out) ? MapPointSide::Visible : MapPointSide::Unusable;
}

MapPointSide GlobeMapPoint(const MapState& map, const GlobePoint& p, PixelPoint& out) {
  if (p.Z >= 0.0) return GlobePixel(map, p.X, p.Y, out) ? MapPointSide::Visible : MapPointSide::Unusable;
  const double theta = p.X == 0.0 && p.Y == 0.0 ? 0.0 : std::atan2(p.Y, p.X);
  if (!GlobePixel(map, std::cos(theta), std::sin(theta), out) || !std::isfinite(p.Z)) return MapPointSide::Unusable;
  return MapPointSide::Hidden;
}

int ScreenHeading(const MapState& map, const MapSettings& settings, int heading, double lat, double lon, int x, int y) {
  const double h = DegToRad(heading);
  const double dLat = std::cos(h) * 10 / map.MapZoom;
  const double dLon = std::sin(h) * 10 / map.MapZoom;
  double lat2, lon2;
  if (map.GlobeView) {
    lat2 = lat + dLat;
    lon2 = lon + dLon / std::cos(DegToRad(lat));
  } else {
    const int W = map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Width();
    const int H = map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Height();
    lat2 = lat + 0.2 * dLat;
    lon2 = lon + 0.2 * dLon * 2 * H / W;
  }
  PixelPoint p2;
  if (!ProjectLatLon(map, settings, map.MapBitmap, lat2, lon2, p2)) return 0;
  const int64_t dx = int64_t{x} - p2.x, dy = int64_t{y} - p2.y;
  if (dx == 0 && dy == 0) return 0;
  int result = static_cast<int>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180 / M_PI) - 90;
  if (result < 0) result += 360;
  return result;
}

void DateLineStep(double lon[2]) {
  const double difference = std::trunc(lon[0] - lon[1]);
  if (!(std::fabs(difference) > 180.0)) return;
  for (int i = 0; i < 2; ++i) {
    if (lon[i] < 0.0) lon[i] += 360.0;
  }
}

bool MapSegmentPixels(const MapState& map, const MapSettings& settings, const double lat[2], double lon[2],
                      PixelPoint& from, PixelPoint& to) {
  DateLineStep(lon);
  if (map.GlobeView) {
    PixelPoint ends[2];
    for (int i = 0; i < 2; ++i) {
      const GlobePoint p = GlobeViewOf(map, settings, lat[i], lon[i]);
      if (!GlobePixel(map, p.X, p.Y, ends[i])) return false;
      if (!(p.Z >= 0.0)) ends[i] = {-10000, -10000};
    }
    from = ends[0];
    to = ends[1];
    return from.x > -500 && to.x > -500;
  }
  return FlatSegmentX(map, lon, from.x, to.x) & TruncToPixel((map.MapTopLat - lat[0]) * map.MapScaleY, from.y) &
         TruncToPixel((map.MapTopLat - lat[1]) * map.MapScaleY, to.y);
}

void DrawMapPolyline(const MapState& map, const MapSettings& settings, Canvas& canvas, const double lat[2],
                     double lon[2], int dx, int dy) {
  PixelPoint from, to;
  if (!MapSegmentPixels(map, settings, lat, lon, from, to)) return;
  canvas.MoveTo(from.x + dx, from.y + dy);
  canvas.LineTo(to.x + dx, to.y + dy);
}

bool ProfileSegmentPixels(const MapState& map, const MapSettings& settings, const double lat[2], double lon[2],
                          const int altitude[2], PixelPoint& from, PixelPoint& to) {
  DateLineStep(lon);
  if (altitude[0] >= 80000 || altitude[1] >= 80000) return false;
  PixelPoint ends[2];
  if (map.GlobeView) {
    for (int i = 0; i < 2; ++i) {
      const GlobePoint p = GlobeViewOf(map, settings, lat[i], lon[i]);
      // A track behind the globe would run to the view's left edge.
      if (!GlobePixel(map, p.X, p.Y, ends[i]) || !(p.Z >= 0.0)) return false;
    }
  } else if (!FlatSegmentX(map, lon, ends[0].x, ends[1].x)) {
    return false;
  }
  for (int i = 0; i < 2; ++i) ends[i].y = static_cast<int32_t>(200 - int64_t{altitude[i]} * 200 / 50000);
  from = ends[0];
  to = ends[1];
  return true;
}

void DrawProfileSegment(const MapState& map, const MapSettings& settings, Canvas& canvas, const double lat[2],
                        double lon[2], const int altitude[2], int dx, int dy) {
  PixelPoint from, to;
  if (!ProfileSegmentPixels(map, settings, lat, lon, altitude, from, to)) return;
  canvas.MoveTo(from.x + dx, from.y + dy);
  canvas.LineTo(to.x + dx, to.y + dy);
}

namespace {

void ScaleFrom(MapState& map, int step, int w, int h, int w0, int h0) {
  if (step < 0 || step >= static_cast<int>(ZoomFactors.size())) return;
  if (step == 0) {
    if (w0 <= 0 || h0 <= 0) return;
    map.MapScaleX = w0 / 360.0;
    map.MapScaleY = h0 / 180.0;
    return;
  }
  if (w <= 0 || h <= 0) return;
  const double zoom = ZoomFactors[static_cast<size_t>(step)];
  map.MapScaleX = w * zoom / 360;
  map.MapScaleY = zoom * h / 180;
}

int BitmapWidth(const MapState& map) { return map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Width(); }
int BitmapHeight(const MapState& map) { return map.MapBitmap.IsNull() ? 0 : map.MapBitmap.Height(); }

}  // namespace

void ApplyScaleRule(MapState& map, int step) {
  // Without a map panel there is no scale to compute: the last one stays
  // (dividing by it would carry infinities into the settings file).
  if (map.ImageWidth <= 0 || map.ImageHeight <= 0) return;
  ScaleFrom(map, step, BitmapWidth(map), BitmapHeight(map), map.ImageWidth, map.ImageHeight);
}

void ApplyPanelScaleRule(MapState& map, int step) {
  ScaleFrom(map, step, BitmapWidth(map), BitmapHeight(map), BitmapWidth(map), BitmapHeight(map));
}

void ApplyLatitudeRule(const MapState& map, MapSettings& settings) {
  if (!(map.MapScaleY > 0.0) || !std::isfinite(map.MapScaleY)) return;
  const int half = BitmapHeight(map) / 2;
  if (settings.MapCentN + half / map.MapScaleY > 90.0) settings.MapCentN = 90.0 - half / map.MapScaleY;
  if (settings.MapCentN - half / map.MapScaleY < -90.0) settings.MapCentN = half / map.MapScaleY - 90.0;
}
