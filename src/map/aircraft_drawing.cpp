#include "map/aircraft_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "map/map_projection.h"
#include "platform/shared_helpers.h"

namespace {

// The map's tag is 9 pt whatever the symbol size.
constexpr int kMapTagFontPoints = 9;
// Values at and above are "no altitude": nothing drawn.
constexpr int kNoAltitude = 80000;
constexpr int kNoHeadingAbove = 360;

constexpr SymbolSizeRow kSymbolSizes[4] = {
    {1.6, 4, 40, 11, 15, 12, 18, 2, 8, 8, 1.4},  // large
    {1.2, 3, 30, 9, 13, 10, 15, 0, 5, 5, 1.0},   // medium
    {0.8, 2, 20, 8, 11, 8, 12, 0, 5, 3, 0.8},    // small
    {1.2, 3, 30, 9, 10, 10, 15, 0, 5, 4, 1.0},   // any other value
};

// The aircraft outline in polar form (radians, pixels at scale 1), nose up
// at heading 0, as the vertices (-8,1) (-7,1) .. (-8,2) were stored rounded.
struct PolarPoint {
  double angle, radius;
};
constexpr PolarPoint kAircraftOutline[41] = {
    {3.01724, 8.06226},  {2.9997, 7.07107},   {3.14159, 7.0},       {3.14159, 5.0},       {-2.9442, 5.09902},
    {-2.81984, 3.16228}, {-2.55359, 3.60555}, {-2.03444, 2.23607},  {-1.71269, 7.07107},  {-1.5708, 8.0},
    {-1.4289, 7.07107},  {-1.10715, 2.23607}, {-0.588003, 3.60555}, {-0.321751, 3.16228}, {-0.197396, 5.09902},
    {0.0, 5.0},          {0.0, 7.0},          {0.141897, 7.07107},  {0.124355, 8.06226},  {0.244979, 8.24621},
    {0.463648, 4.47214}, {0.244979, 4.12311}, {0.785398, 1.41421},  {1.40565, 6.08276},   {1.24905, 6.32456},
    {1.1659, 7.61577},   {1.05165, 8.06226},  {1.0122, 9.43398},    {1.32582, 8.24621},   {1.4289, 7.07107},
    {1.71269, 7.07107},  {1.81577, 8.24621},  {2.1294, 9.43398},    {2.08994, 8.06226},   {1.97569, 7.61577},
    {1.89255, 6.32456},  {1.73595, 6.08276},  {2.35619, 1.41421},   {2.89661, 4.12311},   {2.67795, 4.47214},
    {2.89661, 8.24621},
};

// The altitude view's side view: nose at the left, fin at the right.
struct IconPoint {
  int a, b;
};
constexpr IconPoint kProfileIcon[6] = {{0, 4}, {1, 3}, {13, 3}, {16, 0}, {16, 5}, {0, 5}};

// The tag's trend marks by AltTrend 2 (level, pointing right), 3
// (descending) and 4 (climbing): three lines each, from and to relative
// to (X, Y).
constexpr int kTagTrendMarks[3][3][4] = {
    {{-4, 3, -4, 8}, {-3, 4, -3, 7}, {-2, 5, -2, 6}},
    {{-5, 4, 0, 4}, {-4, 5, -1, 5}, {-3, 6, -2, 6}},
    {{-3, 4, -2, 4}, {-4, 5, -1, 5}, {-5, 6, 0, 6}},
};

int Trunc(double v) {
  int32_t out;
  TruncToPixel(v, out);
  return out;
}

void Line(Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

}  // namespace

const PassOffset kSurroundOffsets[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

const SymbolSizeRow& SymbolSizeOf(int symbolSize) {
  return kSymbolSizes[symbolSize >= 0 && symbolSize <= 2 ? symbolSize : 3];
}

int CurrentPoint(const AircraftRecord& record, int maxPlotData) {
  if (record.LastPoint < 0 || maxPlotData < 1 || record.Points.empty()) return -1;
  return std::min({record.LastPoint, maxPlotData - 1, static_cast<int>(record.Points.size()) - 1});
}

int OperatorGroup(const ColorSettings& colours, const AircraftRecord& record) {
  // Two bytes whatever they are, so that a shorter code never matches.
  const std::string code(record.FlightId, 2);
  for (int j = 0; j < static_cast<int>(colours.UserText.size()); ++j) {
    if (colours.UserText[static_cast<size_t>(j)] == code) return j;
  }
  return -1;
}

TColor FadeColorByAge(flag timeAdjust, int ageClass, TColor colour) {
  if (!timeAdjust) return colour;
  const double d = ageClass * 0.25 + 0.75;
  TColor faded = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double q = ((colour >> shift) & 0xFFu) / d;
    // A class no table gives (0 or below) must not make the cast undefined.
    const int64_t v = std::isfinite(q) && std::fabs(q) < 1e15 ? static_cast<int64_t>(q) : 0;
    faded |= static_cast<TColor>(v & 0xFF) << shift;
  }
  return faded;
}

std::optional<TColor> PlotColor(const MapSettings& settings, const ColorSettings& c, const AircraftRecord& record,
                                int group, int kind, int point) {
  if (point < 0) point = CurrentPoint(record, settings.MaxPlotData);
  if (point < 0 || point >= static_cast<int>(record.Points.size())) return std::nullopt;
  const bool grouped = group >= 0 && group < 10;
  const size_t g = grouped ? static_cast<size_t>(group) : 0;
  TColor colour;
  switch (kind) {
    case kShadowColor:
      colour = grouped ? c.UserColor[3][g] : c.PlotBackColor;
      break;
    case kHeadColor:
      if (record.Age == 0) {
        colour = grouped ? c.UserColor[2][g] : c.PlotMarkUpColor;
      } else {
        colour = grouped ? c.UserColor[0][g] : c.PlotOnColor;
      }
      break;
    case kPlotColor:
      colour = grouped ? c.UserColor[1][g] : c.PlotOffColor;
      break;
    default:
      return std::nullopt;
  }
  return FadeColorByAge(settings.TimeAdjust, record.Points[static_cast<size_t>(point)].AgeClass, colour);
}

void SetPlotColors(Canvas& canvas, const MapContext& context, const AircraftRecord& record, int group, int kind,
                   int point) {
  const std::optional<TColor> colour = PlotColor(context.Map, context.Color, record, group, kind, point);
  if (!colour) return;
  canvas.SetPen(*colour);
  canvas.SetFontColor(*colour);
  canvas.SetBrushColor(*colour);
}

std::string RecordField(const char* field, size_t length) { return std::string(field, strnlen(field, length)); }

std::string FlightNumberText(const MapControls& controls, const AircraftRecord& r) {
  if (controls.N21Checked && controls.N28Checked) return r.FlightNo7Alt;
  if (controls.N21Checked) return r.FlightNo7;
  if (controls.N28Checked) return r.FlightNo6Alt;
  return r.FlightNo6;
}

std::string FlightLabelText(const MapControls& controls, const AircraftRecord& r) {
  return controls.N24Checked ? FlightNumberText(controls, r) : RecordField(r.Registration);
}

std::string FlightLevelText(int altitude) {
  if (altitude >= kNoAltitude) return {};
  if (altitude >= 10000) return "FL" + std::to_string(RoundToInt64(altitude * 0.001) * 10);
  return std::to_string(altitude) + "ft";
}

std::vector<PixelPoint> AircraftPolygon(int screenHeading, double scale, int x, int y) {
  std::vector<PixelPoint> points;
  points.reserve(41);
  const double h = screenHeading * M_PI / 180;
  for (const PolarPoint& p : kAircraftOutline) {
    const double angle = h + p.angle;
    points.push_back({Trunc(std::cos(angle) * p.radius * scale) + x, Trunc(std::sin(angle) * p.radius * scale) + y});
  }
  return points;
}

std::vector<PixelPoint> ProfileIconPolygon(int heading, double scale, int x, int y) {
  const int m = heading >= 0 && heading < 180 ? -1 : 1;
  std::vector<PixelPoint> points;
  points.reserve(6);
  for (const IconPoint& p : kProfileIcon) {
    points.push_back({Trunc((p.a - 8) * m * scale) + x, Trunc((p.b - 4) * scale) + y});
  }
  return points;
}

TagLayout MapTagLayout(int tagPos, const SymbolSizeRow& size, int x, int y) {
  const int L = size.leaderStep, S = size.straightLeaderStep;
  PixelPoint from, to;
  int a = -4;
  switch (tagPos) {
    case 1:
      from = {x, y + S};
      to = {x, y + 2 * S};
      a = 0;
      break;
    case 2:
      from = {x, y - S};
      to = {x, y - 2 * S};
      break;
    case 3:
      from = {x + L, y - L};
      to = {x + 2 * L, y - 2 * L};
      break;
    case 4:
      from = {x + S, y};
      to = {x + 2 * S, y};
      break;
    default:
      return ProfileTagLayout(size, x, y);
  }
  return {from, to, {to.x + 7, to.y + a}};
}

TagLayout ProfileTagLayout(const SymbolSizeRow& size, int x, int y) {
  const int L = size.leaderStep;
  return {{x + L, y + L}, {x + 2 * L, y + 2 * L}, {x + 2 * L + 7, y + 2 * L}};
}

std::vector<PenLine> TagTrendMark(int altTrend, int X, int Y) {
  if (altTrend < 2 || altTrend > 4) return {};
  std::vector<PenLine> lines;
  for (const auto& l : kTagTrendMarks[altTrend - 2]) lines.push_back({{X + l[0], Y + l[1]}, {X + l[2], Y + l[3]}});
  return lines;
}

void DrawMapAircraftSymbol(Canvas& canvas, int screenHeading, int x, int y, double scale) {
  canvas.Polygon(AircraftPolygon(screenHeading, scale, x, y));
  canvas.SetBrushClear();
}

void DrawProfileAircraftIcon(Canvas& canvas, int heading, int x, int y, double scale) {
  canvas.Polygon(ProfileIconPolygon(heading, scale, x, y));
  canvas.SetBrushClear();
}

void DrawNoHeadingMark(Canvas& canvas, int x, int y) {
  canvas.SetBrushClear();
  canvas.Pixel(x, y, canvas.PenColor());
  canvas.Ellipse(x - 2, y - 2, x + 3, y + 3);
  canvas.Ellipse(x - 4, y - 4, x + 5, y + 5);
}

void DrawTagText(Canvas& canvas, const MapContext& context, const AircraftRecord& record, int point,
                 const SymbolSizeRow& size, PixelPoint text, const std::string& firstLine) {
  const int p = size.linePitch;
  canvas.TextOut(text.x, text.y, firstLine);
  const int x2 = text.x + size.secondLineIndent + 6;
  switch (context.Map.SubDispType) {
    case 0: {
      const int altitude = record.Points[static_cast<size_t>(point)].Altitude;
      if (altitude >= kNoAltitude) return;
      canvas.TextOut(x2, text.y + p, FlightLevelText(altitude));
      const int X = text.x + size.trendShiftX, Y = text.y + p + size.trendShiftY;
      for (const PenLine& l : TagTrendMark(record.AltTrend, X, Y)) Line(canvas, l.from.x, l.from.y, l.to.x, l.to.y);
      return;
    }
    case 1:
      canvas.TextOut(x2, text.y + p, RecordField(record.LastTime, 5));
      return;
    case 2:
      canvas.TextOut(x2, text.y + p, context.Controls.N8Checked ? record.Route3 : record.Route4);
      canvas.TextOut(x2, text.y + 2 * p, record.AircraftType);
      return;
    default:
      return;
  }
}

MapAircraftPixels ProjectMapAircraft(const MapState& map, const MapContext& context, const AircraftRecord& record) {
  MapAircraftPixels pixels;
  pixels.last = CurrentPoint(record, context.Map.MaxPlotData);
  if (pixels.last < 0) return pixels;
  const TrackPoint& head = record.Points[static_cast<size_t>(pixels.last)];
  pixels.headVisible = ProjectLatLon(map, context.Map, map.MapBitmap, head.Lat, head.Lon, pixels.head);
  // The heading on screen is that of the aircraft's own pixel: a shadow
  // pass must not turn the symbol.
  if (pixels.headVisible && head.Heading <= kNoHeadingAbove) {
    pixels.screenHeading =
        ScreenHeading(map, context.Map, head.Heading, head.Lat, head.Lon, pixels.head.x, pixels.head.y);
    // The coordinates are truncated before the centre is added: the
    // polygon moves with the pass's offset unchanged.
    if (context.Map.MapSymbol) {
      pixels.symbol = AircraftPolygon(pixels.screenHeading, SymbolSizeOf(context.Map.SymbolSize).polygonScale, 0, 0);
    }
  }
  if (!context.Controls.SpeedButton16Down) return pixels;
  pixels.track.resize(static_cast<size_t>(pixels.last));
  for (int i = 0; i < pixels.last; ++i) {
    MapAircraftPixels::Segment& segment = pixels.track[static_cast<size_t>(i)];
    const TrackPoint& a = record.Points[static_cast<size_t>(i)];
    const TrackPoint& b = record.Points[static_cast<size_t>(i) + 1];
    const double lat[2] = {a.Lat, b.Lat};
    double lon[2] = {a.Lon, b.Lon};
    DateLineStep(lon);
    segment.startVisible = ProjectLatLon(map, context.Map, map.MapBitmap, lat[0], lon[0], segment.start);
    if (segment.startVisible) segment.drawn = MapSegmentPixels(map, context.Map, lat, lon, segment.from, segment.to);
  }
  return pixels;
}

void DrawMapAircraft(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                     int kind, int group, PassOffset offset, int selected) {
  DrawMapAircraft(canvas, map, context, record, ProjectMapAircraft(map, context, record), kind, group, offset,
                  selected);
}

void DrawMapAircraft(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                     const MapAircraftPixels& pixels, int kind, int group, PassOffset offset, int selected) {
  canvas.SetFontSize(kMapTagFontPoints);
  if (!record.Visible || pixels.last < 0) return;
  SetPlotColors(canvas, context, record, group, kind, pixels.last);
  if (!pixels.headVisible) return;
  const TrackPoint& point = record.Points[static_cast<size_t>(pixels.last)];
  const int x = pixels.head.x + offset.dx, y = pixels.head.y + offset.dy;
  const SymbolSizeRow& size = SymbolSizeOf(context.Map.SymbolSize);
  if (point.Heading > kNoHeadingAbove) {
    DrawNoHeadingMark(canvas, x, y);
  } else if (context.Map.MapSymbol) {
    std::vector<PixelPoint> symbol = pixels.symbol;
    for (PixelPoint& p : symbol) p = {p.x + x, p.y + y};
    canvas.Polygon(symbol);
    canvas.SetBrushClear();
  } else {
    canvas.SetBrushClear();
    const int r = size.radarRadius;
    canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
    const double a = (pixels.screenHeading - 90) * M_PI / 180;
    Line(canvas, x, y, x + Trunc(std::cos(a) * size.radarLineLength), y + Trunc(std::sin(a) * size.radarLineLength));
  }
  if (context.Map.HideText) return;
  if (selected != -1 && !context.Controls.SpeedButton8Down && !(map.MapViewOptions & 1)) return;
  const TagLayout tag = MapTagLayout(record.TagPos, size, x, y);
  Line(canvas, tag.leaderFrom.x, tag.leaderFrom.y, tag.leaderTo.x, tag.leaderTo.y);
  DrawTagText(canvas, context, record, pixels.last, size, tag.text, FlightLabelText(context.Controls, record));
}

void DrawMapTrack(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                  int kind, int group, PassOffset offset) {
  DrawMapTrack(canvas, context, record, ProjectMapAircraft(map, context, record), kind, group, offset);
}

void DrawMapTrack(Canvas& canvas, const MapContext& context, const AircraftRecord& record,
                  const MapAircraftPixels& pixels, int kind, int group, PassOffset offset) {
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushClear();
  if (pixels.last <= 0 || !context.Controls.SpeedButton16Down) return;
  for (int i = 0; i < pixels.last && i < static_cast<int>(pixels.track.size()); ++i) {
    SetPlotColors(canvas, context, record, group, kind, i);
    const MapAircraftPixels::Segment& segment = pixels.track[static_cast<size_t>(i)];
    if (!segment.startVisible) continue;
    const PixelPoint p = segment.start;
    canvas.SetBrushClear();
    if (context.Map.TrackMark) {
      canvas.Ellipse(p.x + offset.dx - 2, p.y + offset.dy - 2, p.x + offset.dx + 3, p.y + offset.dy + 3);
    }
    if (context.Map.LineType == 1) canvas.SetPenStyle(PenStyle::Dotted);
    if (segment.drawn) {
      canvas.MoveTo(segment.from.x + offset.dx, segment.from.y + offset.dy);
      canvas.LineTo(segment.to.x + offset.dx, segment.to.y + offset.dy);
    }
    canvas.SetPenStyle(PenStyle::Solid);
  }
}
