#include "map/aircraft_layer.h"

#include <algorithm>

#include "map/aircraft_drawing.h"
#include "map/aircraft_texts.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0x000000;
constexpr TColor kGrey = 0x808080;
constexpr int kBoxFontPoints = 9;
constexpr int kButtonFontPoints = 12;
constexpr int kPhotoHeight = 85;

// The quick buttons: the rectangle's left and right edges and the text's
// x, as distances from the right edge W (left > right).
struct QuickButtonPlace {
  QuickButton button;
  int left, right, text;
};
constexpr QuickButtonPlace kQuickButtons[] = {
    {QuickButton::Tracks, 605, 505, 585}, {QuickButton::Monitor, 495, 420, 478}, {QuickButton::View, 410, 355, 393},
    {QuickButton::Text, 345, 270, 328},   {QuickButton::ToolBar, 260, 185, 243}, {QuickButton::Screen, 175, 95, 152},
    {QuickButton::Exit, 85, 10, 65},
};

void HideAllBut(std::vector<flag>& visible, int selected) {
  std::fill(visible.begin(), visible.end(), 0);
  if (selected < static_cast<int>(visible.size())) visible[static_cast<size_t>(selected)] = 1;
}

flag FlagOf(const std::vector<flag>& visible, int slot) {
  return slot >= 0 && slot < static_cast<int>(visible.size()) ? visible[static_cast<size_t>(slot)] : 0;
}

void SetFlag(std::vector<flag>& visible, int slot, flag value) {
  if (slot >= 0 && slot < static_cast<int>(visible.size())) visible[static_cast<size_t>(slot)] = value;
}

// The newest aircraft alone, remembering the flag it had.
void ShowLatestAlone(MapState& map, std::vector<flag>& visible, int selected) {
  std::fill(visible.begin(), visible.end(), 0);
  map.LatestAircraftShown = FlagOf(visible, selected);
  SetFlag(visible, selected, 1);
  map.LatestAircraft = selected;
  map.AutoShowLatest = 1;
}

// A one-shot flag keeps the visible set once.
bool KeepOnce(MapState& map) {
  if (map.KeepViewOnce) {
    map.KeepViewOnce = 0;
    return true;
  }
  if (map.KeepSelectionOnce) {
    map.KeepSelectionOnce = 0;
    return true;
  }
  return false;
}

void DrawPasses(Canvas& canvas, const MapState& map, const MapContext& c, const AircraftRecord& r, int group,
                int selected) {
  const MapAircraftPixels pixels = ProjectMapAircraft(map, c, r);
  auto track = [&](int kind, PassOffset o) { DrawMapTrack(canvas, c, r, pixels, kind, group, o); };
  auto aircraft = [&](int kind, PassOffset o) { DrawMapAircraft(canvas, map, c, r, pixels, kind, group, o, selected); };
  DrawPlotPasses(c.Map.PlotType, track, aircraft);
}

void BoxPen(Canvas& canvas, const ColorSettings& colours) {
  canvas.SetPen(colours.SelText);
  canvas.SetFont(kBoxFontPoints, colours.SelText);
  canvas.SetBrushColor(colours.SelBack);
}

void DrawBoxLines(Canvas& canvas, const std::vector<BoxLine>& lines, int x, int top) {
  canvas.SetBrushClear();
  for (size_t k = 0; k < lines.size(); ++k) {
    const int y = top + 11 * static_cast<int>(k);
    canvas.TextOut(x + 20, y, lines[k].label);
    canvas.TextOut(x + 60, y, lines[k].value);
  }
}

void DrawTrackPointBox(Canvas& canvas, const ColorSettings& colours, const TrackPoint& point, int x, int y) {
  BoxPen(canvas, colours);
  canvas.Rectangle(x + 10, y + 10, x + 120, y + 90);
  DrawBoxLines(canvas, TrackPointBoxLines(point), x, y + 15);
}

// The photograph, else noimage.jpg, scaled as it is read; only the columns
// that fall on the map are asked for. Nothing when neither loads.
void DrawBoxPhoto(Canvas& canvas, MapAircraftLink& aircraft, const AircraftRecord& record, int x, int y) {
  const int64_t left = int64_t{x} + 115, top = int64_t{y} + 31;
  if (left >= canvas.Width() || top >= canvas.Height() || top + kPhotoHeight <= 0) return;
  platform::JpegScaling scaling;
  scaling.size = BoxPhotoSize;
  scaling.firstColumn = static_cast<int>(std::clamp<int64_t>(-left, 0, INT32_MAX));
  scaling.lastColumn = static_cast<int>(std::clamp<int64_t>(canvas.Width() - 1 - left, -1, INT32_MAX));
  for (const std::string& path : {aircraft.PhotoPath(RecordField(record.Registration)), aircraft.NoImagePath()}) {
    if (std::optional<platform::ScaledJpeg> photo = platform::LoadJpegScaled(path, scaling)) {
      canvas.Draw(static_cast<int>(left + photo->firstColumn), static_cast<int>(top), photo->picture);
      return;
    }
  }
}

void DrawAircraftBox(Canvas& canvas, const MapContext& c, const AircraftRecord& record, const TrackPoint& point, int x,
                     int y) {
  const ColorSettings& colours = c.Color;
  BoxPen(canvas, colours);
  canvas.Rectangle(x + 10, y + 10, x + 250, y + 165);
  canvas.SetBrushColor(colours.SelText);
  canvas.Rectangle(x + 10, y + 10, x + 250, y + 25);
  canvas.SetBrushClear();
  canvas.SetFontColor(colours.SelBack);
  canvas.TextOut(x + 15, y + 11, FlightNumberText(c.Controls, record));
  canvas.SetFontColor(colours.SelText);
  for (const auto& [dx, dy] : {std::pair{10, 10}, std::pair{0, 8}, std::pair{8, 0}}) {
    canvas.MoveTo(x + 3, y + 3);
    canvas.LineTo(x + 3 + dx, y + 3 + dy);
  }
  DrawBoxLines(canvas, AircraftBoxLines(record, point, c.Aircraft.LookupAirline2(RecordField(record.FlightId))), x,
               y + 28);
  DrawBoxPhoto(canvas, c.Aircraft, record, x, y);
}

void DrawBoxes(Canvas& canvas, const MapState& map, const MapContext& c, const AircraftRecord& record,
               const std::vector<BoxAt>& boxes) {
  for (const BoxAt& box : boxes) {
    const TrackPoint& point = record.Points[static_cast<size_t>(box.point)];
    PixelPoint p;
    if (!ProjectLatLon(map, c.Map, map.MapBitmap, point.Lat, point.Lon, p)) continue;
    if (box.kind == BoxKind::TrackPoint) {
      DrawTrackPointBox(canvas, c.Color, point, p.x, p.y);
    } else {
      DrawAircraftBox(canvas, c, record, point, p.x, p.y);
    }
  }
}

bool QuickButtonOn(const MapContext& c, QuickButton button) {
  switch (button) {
    case QuickButton::Tracks:
      return c.Controls.SpeedButton16Down != 0;
    case QuickButton::Monitor:
      return c.Controls.SpeedButton17Down != 0;
    case QuickButton::Text:
      return c.Window.TextWindowShown();
    case QuickButton::ToolBar:
      return c.Window.ToolBarShown();
    default:
      return true;
  }
}

void DrawMapButtonBar(Canvas& canvas, const MapContext& c, int W, int H) {
  const bool fullScreen = c.Window.FullScreenShown();
  for (const QuickButtonPlace& b : kQuickButtons) {
    canvas.SetPen(kWhite);
    canvas.SetBrushColor(kBlack);
    canvas.Rectangle(W - b.left, H - 30, W - b.right, H - 10);
    canvas.SetBrushClear();
    canvas.SetFont(kButtonFontPoints, QuickButtonOn(c, b.button) ? kWhite : kGrey);
    switch (b.button) {
      case QuickButton::Tracks:
        canvas.TextOut(W - b.text, H - 30, "TRACKS");
        break;
      case QuickButton::Monitor:
        canvas.TextOut(W - b.text, H - 30, "MONI");
        break;
      case QuickButton::View:
        canvas.TextOut(W - b.text, H - 30, c.Controls.SpeedButton2Down ? "2D" : "3D");
        break;
      case QuickButton::Text:
        canvas.TextOut(W - b.text, H - 30, "TEXT");
        break;
      case QuickButton::ToolBar:
        canvas.TextOut(W - b.text, H - 30, "TOOL");
        break;
      case QuickButton::Screen:
        canvas.TextOut(fullScreen ? W - 157 : W - b.text, H - 30, fullScreen ? "NORM" : "FULL");
        break;
      case QuickButton::Exit:
        canvas.TextOut(W - b.text, H - 30, "EXIT");
        break;
    }
  }
}

}  // namespace

void UpdateVisibleSet(MapState& map, bool followNewest, int selected, std::vector<flag>& visible) {
  if (selected < 0) {
    map.AutoShowLatest = 0;
    map.AutoShowAll = 0;
    std::fill(visible.begin(), visible.end(), 1);
    return;
  }
  if (!followNewest) {
    map.AutoShowLatest = 0;
    if (KeepOnce(map)) return;
    HideAllBut(visible, selected);
    map.AutoShowAll = 1;
    return;
  }
  map.AutoShowAll = 0;
  if (!map.FromAcars) {
    if (!KeepOnce(map)) ShowLatestAlone(map, visible, selected);
    return;
  }
  // This redraw follows the ACARS position whatever a one-shot flag asked
  // of it. The ACARS road sets KeepViewOnce for it; left set, it held the
  // next HFDL position's redraw, and the newest aircraft was not shown.
  map.KeepViewOnce = 0;
  map.KeepSelectionOnce = 0;
  if (!map.AutoShowLatest) {
    ShowLatestAlone(map, visible, selected);
  } else if (map.LatestAircraft != selected) {
    if (map.LatestAircraft >= 0) SetFlag(visible, map.LatestAircraft, map.LatestAircraftShown);
    map.LatestAircraftShown = FlagOf(visible, selected);
    SetFlag(visible, selected, 1);
    map.LatestAircraft = selected;
  }
  map.FromAcars = 0;
}

bool PassesCompanyFilter(const MapControls& c, const AircraftRecord& record) {
  if (c.ComboBox2Index == 0) return true;
  if (c.ComboBox2Index < 0 || c.ComboBox2Index >= static_cast<int>(c.ComboBox2Items.size())) return false;
  return c.ComboBox2Items[static_cast<size_t>(c.ComboBox2Index)] == RecordField(record.FlightId, 2);
}

std::vector<BoxAt> ChooseBoxes(const MapState& map, const MapControls& controls, int selected, bool passesFilter,
                               bool selectedVisible, int last) {
  std::vector<BoxAt> boxes;
  if (selected < 0 || !passesFilter || last < 0) return boxes;
  if (controls.SpeedButton16Down && (map.MapViewOptions & kShiftOption)) {
    for (int i = 0; i < last; ++i) boxes.push_back({BoxKind::TrackPoint, i});
  } else if (controls.SpeedButton16Down && (map.MapViewOptions & kAltOption)) {
    if (map.ClickedTrackPoint >= 0 && map.ClickedTrackPoint <= last) {
      boxes.push_back({BoxKind::TrackPoint, map.ClickedTrackPoint});
    }
  } else if (!controls.SpeedButton8Down && selectedVisible) {
    boxes.push_back({BoxKind::Aircraft, last});
  }
  return boxes;
}

std::vector<BoxLine> TrackPointBoxLines(const TrackPoint& p) {
  return {{"TIME", TimeOfDayText(p.ReportTime)},
          {"LAT", LatLonText(p.Lat)},
          {"LON", LatLonText(p.Lon)},
          {"ALT", BoxAltitudeText(p.Altitude)},
          {"TEMP", BoxTemperatureText(p.Temperature)},
          {"WIND", WindText(p.WindDir, p.WindSpeed)}};
}

std::vector<BoxLine> AircraftBoxLines(const AircraftRecord& r, const TrackPoint& p, const std::string& airline) {
  return {{"REG", RecordField(r.Registration)}, {"TIME", TimeOfDayText(p.ReportTime)},
          {"LAT", LatLonText(p.Lat)},           {"LON", LatLonText(p.Lon)},
          {"ALT", BoxAltitudeText(p.Altitude)}, {"TEMP", BoxTemperatureText(p.Temperature)},
          {"HEAD", HeadingText(p.Heading)},     {"WIND", WindText(p.WindDir, p.WindSpeed)},
          {"PLAN", CutBoxText(r.Route4)},       {"TYPE", CutBoxText(r.AircraftType)},
          {"COMP", CutBoxText(airline)},        {"ACCS", CutBoxText(r.AccessStation)}};
}

std::optional<QuickButton> QuickButtonAt(int W, int H, int x, int y) {
  const int64_t w = W, h = H;
  if (y < h - 30 || y > h - 10) return std::nullopt;
  for (const QuickButtonPlace& b : kQuickButtons) {
    if (x >= w - b.left && x <= w - b.right) return b.button;
  }
  return std::nullopt;
}

platform::JpegSize BoxPhotoSize(int sourceWidth, int sourceHeight) {
  if (sourceHeight <= 0) return {};
  return {static_cast<int>(int64_t{sourceWidth} * kPhotoHeight / sourceHeight), kPhotoHeight};
}

void DrawMapAircraftLayer(MapState& map, const MapContext& c, int selected) {
  const std::vector<AircraftRecord>& records = c.Aircraft.Records();
  const int slotCount = std::min(static_cast<int>(records.size()), std::max(c.Map.MaxMapPlot, 0));
  const int count = std::clamp(c.Aircraft.AircraftCount(), 0, slotCount);
  std::vector<flag> visible(static_cast<size_t>(slotCount));
  for (int i = 0; i < slotCount; ++i) visible[static_cast<size_t>(i)] = records[static_cast<size_t>(i)].Visible;
  UpdateVisibleSet(map, c.Controls.SpeedButton8Down != 0, selected, visible);
  for (int i = 0; i < slotCount; ++i) {
    if (visible[static_cast<size_t>(i)] != records[static_cast<size_t>(i)].Visible) {
      c.Aircraft.SetVisible(i, visible[static_cast<size_t>(i)]);
    }
  }

  map.MapViewBitmap = map.MapBitmap;
  {
    Canvas canvas(map.MapViewBitmap);
    for (int a = 0; a < count; ++a) {
      const AircraftRecord& r = records[static_cast<size_t>(a)];
      canvas.SetPenStyle(PenStyle::Solid);
      if (!PassesCompanyFilter(c.Controls, r) || !r.Visible) continue;
      DrawPasses(canvas, map, c, r, OperatorGroup(c.Color, r), selected);
    }
    if (selected >= 0 && selected < count) {
      const AircraftRecord& r = records[static_cast<size_t>(selected)];
      DrawBoxes(canvas, map, c, r,
                ChooseBoxes(map, c.Controls, selected, PassesCompanyFilter(c.Controls, r), r.Visible != 0,
                            CurrentPoint(r, c.Map.MaxPlotData)));
    }
    if (c.Controls.N38Checked) DrawMapButtonBar(canvas, c, canvas.Width(), canvas.Height());
  }
  c.Window.ResetBlockCounter();
  c.Window.ShowMapPicture(map.MapViewBitmap);
}
