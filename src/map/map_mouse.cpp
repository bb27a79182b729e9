#include "map/map_mouse.h"

#include <algorithm>
#include <cmath>

#include "map/aircraft_drawing.h"
#include "map/aircraft_layer.h"
#include "map/altitude_view.h"
#include "map/map_navigation.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "map/side_list.h"

namespace {

// A release further than this from its press, in x or y, ends a drag.
constexpr int kDragPixels = 10;
constexpr int kMapReach = 10;
constexpr int kAltitudeReach = 5;

const MapLayers kAircraftViews = {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};
const MapLayers kViewLayers = {MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude};

int InUse(MapAircraftLink& aircraft) {
  return std::clamp(aircraft.AircraftCount(), 0, static_cast<int>(aircraft.Records().size()));
}

bool IsDrag(const MapState& map, const MouseEventAt& e) {
  return std::llabs(int64_t{map.MapPressPoint.x} - e.x) > kDragPixels ||
         std::llabs(int64_t{map.MapPressPoint.y} - e.y) > kDragPixels;
}

bool Within(int64_t centre, int64_t value, int reach) { return centre - reach < value && value < centre + reach; }

// Brought back into -180..180 after a step of the drag.
void WrapLongitude(double& lon) {
  if (lon > 180.0) {
    lon -= 360.0;
  } else if (lon < -180.0) {
    lon += 360.0;
  }
  // A drag far beyond the window's edge may step more than once round.
  if (std::isfinite(lon) && (lon > 180.0 || lon < -180.0)) lon = std::remainder(lon, 360.0);
}

void SelectAircraft(const MapMouseContext& c, int a) {
  MapState& m = c.map;
  m.KeepSelectionOnce = 0;
  m.KeepViewOnce = 0;
  m.AircraftSelected = 1;
  m.SelectedAircraft = a;
  RequestRedraw(m, kAircraftViews);
  c.aircraft.ShowFlightInformation(RecordField(c.aircraft.Records()[static_cast<size_t>(a)].FlightId));
  c.controls.N10Enabled = 1;
}

void ClearSelection(const MapMouseContext& c) {
  c.controls.ComboBox2Index = 0;
  c.map.AircraftSelected = 0;
  c.controls.SpeedButton8Down = 0;
  c.controls.N10Enabled = 0;
  c.map.LatestAircraft = -1;
  RequestRedraw(c.map, kAircraftViews);
}

void RunQuickButton(const MapMouseContext& c, QuickButton button) {
  switch (button) {
    case QuickButton::Tracks:
      c.window.ClickTracksButton();
      return;
    case QuickButton::Monitor:
      c.window.SetSelcalMonitorButton(!c.controls.SpeedButton17Down);
      c.window.ClickMonitorButton();
      return;
    case QuickButton::View:
      if (c.controls.SpeedButton2Down) {
        SpeedButton5Click(c.map, c.settings, c.controls);
      } else {
        SpeedButton2Click(c.map, c.settings, c.controls);
      }
      return;
    case QuickButton::Text:
      c.window.ToggleTextWindow();
      RequestRedraw(c.map, {MapLayer::Aircraft});
      return;
    case QuickButton::ToolBar:
      c.window.ToggleToolBar();
      return;
    case QuickButton::Screen:
      c.window.ToggleFullScreen();
      return;
    case QuickButton::Exit:
      c.window.CloseMainWindow();
      return;
  }
}

void DragMap(const MapMouseContext& c, const MouseEventAt& e) {
  MapState& m = c.map;
  MapSettings& s = c.settings;
  // No scale yet (an empty map panel): the drag would carry infinities.
  if (!(m.MapScaleX > 0.0) || !(m.MapScaleY > 0.0)) return;
  const double dx = int64_t{m.MapPressPoint.x} - e.x, dy = int64_t{m.MapPressPoint.y} - e.y;
  s.MapCentE += dx / m.MapScaleX;
  if (c.controls.SpeedButton2Down) {
    s.ViewDeg += dy / m.MapScaleY;
  } else {
    s.MapCentN -= dy / m.MapScaleY;
  }
  if (c.controls.ComboBox1Index == 0) s.MapCentN = 0.0;
  WrapLongitude(s.MapCentE);
  s.ViewDeg = std::clamp(s.ViewDeg, -90.0, 90.0);
  ApplyLatitudeRule(m, s);
  RequestRedraw(m, kViewLayers);
}

}  // namespace

void Image2MouseDown(MapState& map, const MouseEventAt& e) { map.MapPressPoint = {e.x, e.y}; }
void Image4MouseDown(MapState& map, const MouseEventAt& e) { map.MapPressPoint = {e.x, e.y}; }

AircraftHit FindMapHit(const MapState& map, const MapSettings& settings, const MapControls& controls,
                       MapAircraftLink& aircraft, int x, int y) {
  const std::vector<AircraftRecord>& records = aircraft.Records();
  for (int a = 0; a < InUse(aircraft); ++a) {
    const AircraftRecord& r = records[static_cast<size_t>(a)];
    const int last = CurrentPoint(r, settings.MaxPlotData);
    for (int j = controls.SpeedButton16Down ? 0 : last; j >= 0 && j <= last; ++j) {
      const TrackPoint& p = r.Points[static_cast<size_t>(j)];
      PixelPoint pixel;
      const bool visible = ProjectLatLon(map, settings, map.MapBitmap, p.Lat, p.Lon, pixel);
      // The flat map's margin does not matter; the far side of the globe does.
      if (!visible && (map.GlobeView || !std::isfinite(p.Lat) || !std::isfinite(p.Lon))) continue;
      if (Within(pixel.x, x, kMapReach) && Within(pixel.y, y, kMapReach)) return {a, j};
    }
  }
  return {};
}

AircraftHit FindAltitudeHit(const MapState& map, const MapSettings& settings, MapAircraftLink& aircraft, int x, int y) {
  const std::vector<AircraftRecord>& records = aircraft.Records();
  for (int a = 0; a < InUse(aircraft); ++a) {
    const AircraftRecord& r = records[static_cast<size_t>(a)];
    const int last = CurrentPoint(r, settings.MaxPlotData);
    for (int j = 0; j <= last; ++j) {
      const TrackPoint& p = r.Points[static_cast<size_t>(j)];
      PixelPoint pixel;
      if (!AltitudeViewPoint(map, settings, p.Lat, p.Lon, pixel)) continue;
      if (Within(pixel.x, x, kAltitudeReach) && Within(AltitudeViewY(p.Altitude), y, kAltitudeReach)) return {a, j};
    }
  }
  return {};
}

void Image1MouseUp(const MapMouseContext& c, const MouseEventAt& e) {
  MapState& m = c.map;
  m.MapViewOptions = e.shift;
  const int n = ListRowsPerPage(m.SideListBitmap.IsNull() ? 0 : m.SideListBitmap.Height());
  const int count = InUse(c.aircraft);
  // A list too short for a row has no arrows and no rows to click.
  if (n < 1) return;
  if (e.x < 20 && e.y < 20 && m.ListPage > 1) {
    m.KeepViewOnce = 0;
    --m.ListPage;
    m.KeepSelectionOnce = 1;
    RequestRedraw(m, {MapLayer::SideList});
    return;
  }
  if (e.x > 180 && e.y < 20 && int64_t{n} * m.ListPage < count) {
    m.KeepViewOnce = 0;
    ++m.ListPage;
    m.KeepSelectionOnce = 1;
    RequestRedraw(m, {MapLayer::SideList});
    return;
  }
  if (e.y <= 20 || e.button != MouseButton::Left) return;
  // Only a row the page shows: below its last row lies the next page.
  const int row = (e.y - 20) / kListRowHeight;
  const int64_t index = int64_t{n} * (std::max(m.ListPage, 1) - 1) + row;
  if (row < n && index <= count - 1) SelectAircraft(c, static_cast<int>(index));
}

void Image2MouseUp(const MapMouseContext& c, const MouseEventAt& e) {
  if (e.button != MouseButton::Left) return;
  MapState& m = c.map;
  if (c.controls.N38Checked && !m.MapViewBitmap.IsNull()) {
    if (std::optional<QuickButton> b = QuickButtonAt(m.MapViewBitmap.Width(), m.MapViewBitmap.Height(), e.x, e.y)) {
      RunQuickButton(c, *b);
      return;
    }
  }
  m.KeepViewOnce = 1;
  if (IsDrag(m, e)) {
    DragMap(c, e);
    return;
  }
  const AircraftHit hit = FindMapHit(m, c.settings, c.controls, c.aircraft, e.x, e.y);
  if (hit.aircraft < 0) {
    m.MapViewOptions = 0;
    ClearSelection(c);
    return;
  }
  m.ClickedTrackPoint = hit.point;
  c.controls.SpeedButton8Down = 0;
  if (e.shift & kCtrlOption) {
    m.MapViewOptions = 0;
    const int tag = c.aircraft.Records()[static_cast<size_t>(hit.aircraft)].TagPos;
    c.aircraft.SetTagPos(hit.aircraft, tag >= 0 && tag < 4 ? tag + 1 : 0);
    m.KeepViewOnce = 0;
    m.AircraftSelected = 0;
    m.SelectedAircraft = -1;
    RequestRedraw(m, kAircraftViews);
    return;
  }
  const bool again = hit.aircraft == m.SelectedAircraft && !(e.shift & (kAltOption | kShiftOption));
  m.MapViewOptions = again ? 0 : e.shift;
  SelectAircraft(c, hit.aircraft);
}

void Image4MouseUp(const MapMouseContext& c, const MouseEventAt& e) {
  MapState& m = c.map;
  m.MapViewOptions = e.shift;
  if (e.button != MouseButton::Left) return;
  m.KeepViewOnce = 1;
  if (IsDrag(m, e)) {
    if (!(m.MapScaleX > 0.0)) return;
    c.settings.MapCentE += (int64_t{m.MapPressPoint.x} - e.x) / m.MapScaleX;
    WrapLongitude(c.settings.MapCentE);
    RequestRedraw(m, kViewLayers);
    return;
  }
  const AircraftHit hit = FindAltitudeHit(m, c.settings, c.aircraft, e.x, e.y);
  if (hit.aircraft < 0) {
    ClearSelection(c);
    return;
  }
  m.ClickedTrackPoint = hit.point;
  SelectAircraft(c, hit.aircraft);
}
