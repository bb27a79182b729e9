#include "map/altitude_view.h"

#include <algorithm>
#include <cmath>

#include "map/aircraft_layer.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"

namespace {

constexpr int kProfileFontPoints = 9;
constexpr int kScaleFontPoints = 8;
constexpr int kNoAltitude = 80000;

// The map's height, which bounds the aircraft the view shows.
bool OnTheMap(const MapState& map, int mapY) {
  return mapY >= 0 && !map.MapViewBitmap.IsNull() && mapY < map.MapViewBitmap.Height();
}

void DrawPasses(Canvas& canvas, const MapState& map, const MapContext& c, const AircraftRecord& r, int group) {
  const ProfilePixels pixels = ProjectProfileAircraft(map, c, r);
  auto track = [&](int kind, PassOffset o) { DrawProfileTrack(canvas, c, r, pixels, kind, group, o); };
  auto aircraft = [&](int kind, PassOffset o) { DrawProfileAircraft(canvas, c, r, pixels, kind, group, o); };
  DrawPlotPasses(c.Map.PlotType, track, aircraft);
}

}  // namespace

int AltitudeViewY(int altitude) { return static_cast<int>(200 - int64_t{altitude} * 200 / 50000); }

bool AltitudeViewPoint(const MapState& map, const MapSettings& settings, double lat, double lon, PixelPoint& pixel) {
  if (ProjectLatLon(map, settings, map.AltitudeBitmap, lat, lon, pixel)) return true;
  return !map.GlobeView && std::isfinite(lat) && std::isfinite(lon);
}

ProfilePixels ProjectProfileAircraft(const MapState& map, const MapContext& c, const AircraftRecord& record) {
  ProfilePixels pixels;
  pixels.last = CurrentPoint(record, c.Map.MaxPlotData);
  if (pixels.last < 0) return pixels;
  const TrackPoint& head = record.Points[static_cast<size_t>(pixels.last)];
  PixelPoint p;
  pixels.headShown = ProjectLatLon(map, c.Map, map.MapBitmap, head.Lat, head.Lon, p) && head.Altitude < kNoAltitude &&
                     OnTheMap(map, p.y);
  pixels.head = {p.x, AltitudeViewY(head.Altitude)};
  if (!c.Controls.SpeedButton16Down) return pixels;
  pixels.track.resize(static_cast<size_t>(pixels.last));
  for (int i = 0; i < pixels.last; ++i) {
    ProfilePixels::Segment& segment = pixels.track[static_cast<size_t>(i)];
    const TrackPoint& a = record.Points[static_cast<size_t>(i)];
    const TrackPoint& b = record.Points[static_cast<size_t>(i) + 1];
    const double lat[2] = {a.Lat, b.Lat};
    double lon[2] = {a.Lon, b.Lon};
    DateLineStep(lon);
    segment.used = AltitudeViewPoint(map, c.Map, lat[0], lon[0], p) && a.Altitude < kNoAltitude && OnTheMap(map, p.y);
    if (!segment.used) continue;
    segment.start = {p.x, AltitudeViewY(a.Altitude)};
    const int altitude[2] = {a.Altitude, b.Altitude};
    segment.drawn = ProfileSegmentPixels(map, c.Map, lat, lon, altitude, segment.from, segment.to);
  }
  return pixels;
}

void DrawProfileAircraft(Canvas& canvas, const MapState& map, const MapContext& c, const AircraftRecord& record,
                         int kind, int group, PassOffset offset) {
  DrawProfileAircraft(canvas, c, record, ProjectProfileAircraft(map, c, record), kind, group, offset);
}

void DrawProfileAircraft(Canvas& canvas, const MapContext& c, const AircraftRecord& record, const ProfilePixels& pixels,
                         int kind, int group, PassOffset offset) {
  canvas.SetFontSize(kProfileFontPoints);
  if (!record.Visible || pixels.last < 0) return;
  SetPlotColors(canvas, c, record, group, kind, pixels.last);
  if (!pixels.headShown) return;
  const TrackPoint& point = record.Points[static_cast<size_t>(pixels.last)];
  const int x = pixels.head.x + offset.dx, y = pixels.head.y + offset.dy;
  const SymbolSizeRow& size = SymbolSizeOf(c.Map.SymbolSize);
  if (point.Heading > 360) {
    DrawNoHeadingMark(canvas, x, y);
  } else if (c.Map.MapSymbol) {
    DrawProfileAircraftIcon(canvas, point.Heading, x, y, size.iconScale);
  } else {
    canvas.SetBrushClear();
    const int r = size.radarRadius;
    canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
  }
  if (c.Map.HideText) return;
  canvas.SetFontSize(size.tagFontPoints);
  const TagLayout tag = ProfileTagLayout(size, x, y);
  canvas.MoveTo(tag.leaderFrom.x, tag.leaderFrom.y);
  canvas.LineTo(tag.leaderTo.x, tag.leaderTo.y);
  DrawTagText(canvas, c, record, pixels.last, size, tag.text, FlightLabelText(c.Controls, record));
}

void DrawProfileTrack(Canvas& canvas, const MapState& map, const MapContext& c, const AircraftRecord& record, int kind,
                      int group, PassOffset offset) {
  DrawProfileTrack(canvas, c, record, ProjectProfileAircraft(map, c, record), kind, group, offset);
}

void DrawProfileTrack(Canvas& canvas, const MapContext& c, const AircraftRecord& record, const ProfilePixels& pixels,
                      int kind, int group, PassOffset offset) {
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushClear();
  if (pixels.last <= 0 || !c.Controls.SpeedButton16Down) return;
  for (int i = 0; i < pixels.last && i < static_cast<int>(pixels.track.size()); ++i) {
    SetPlotColors(canvas, c, record, group, kind, i);
    const ProfilePixels::Segment& segment = pixels.track[static_cast<size_t>(i)];
    if (!segment.used) continue;
    const PixelPoint p = segment.start;
    canvas.SetBrushClear();
    if (c.Map.TrackMark)
      canvas.Ellipse(p.x + offset.dx - 2, p.y + offset.dy - 2, p.x + offset.dx + 3, p.y + offset.dy + 3);
    if (c.Map.LineType == 1) canvas.SetPenStyle(PenStyle::Dotted);
    if (segment.drawn) {
      canvas.MoveTo(segment.from.x + offset.dx, segment.from.y + offset.dy);
      canvas.LineTo(segment.to.x + offset.dx, segment.to.y + offset.dy);
    }
    canvas.SetPenStyle(PenStyle::Solid);
  }
}

void DrawAltitudeProfile(MapState& map, const MapContext& c, int /*selected*/) {
  if (!c.Controls.N26Checked || map.AltitudeBitmap.IsNull()) return;
  const std::vector<AircraftRecord>& records = c.Aircraft.Records();
  const int count = std::clamp(c.Aircraft.AircraftCount(), 0, static_cast<int>(records.size()));
  {
    Canvas canvas(map.AltitudeBitmap);
    canvas.Fill(c.Color.AltBack);
    canvas.SetPen(c.Color.AltScale, PenStyle::Dotted);
    canvas.SetFont(kScaleFontPoints, c.Color.AltScale);
    canvas.SetBrushClear();
    for (int k = 0; k <= 3; ++k) {
      canvas.MoveTo(0, 40 * k + 40);
      canvas.LineTo(canvas.Width(), 40 * k + 40);
      canvas.TextOut(5, 40 * k + 27, std::to_string((4 - k) * 10000) + "ft");
    }
    canvas.SetFontSize(kScaleFontPoints);
    canvas.SetPenStyle(PenStyle::Solid);
    for (int a = 0; a < count; ++a) {
      const AircraftRecord& r = records[static_cast<size_t>(a)];
      if (!PassesCompanyFilter(c.Controls, r) || !r.Visible) continue;
      DrawPasses(canvas, map, c, r, OperatorGroup(c.Color, r));
    }
  }
  c.Window.ShowAltitudePicture(map.AltitudeBitmap);
}
