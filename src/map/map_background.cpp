#include "map/map_background.h"

#include <charconv>
#include <cmath>
#include <string>

#include "map/map_file_drawing.h"
#include "map/map_projection.h"
#include "platform/csv_reader.h"
#include "platform/file_io.h"

namespace {

constexpr TColor kBlack = 0x000000;
// The capacities of the fields of airway.txt and nav.txt.
constexpr size_t kNumberField = 15;
constexpr size_t kNameField = 63;

// The navigation points by type '0'..'9': the switch that shows them
// (none: always shown), their colour and where their name stands. The
// colours are crossed on purpose: each is the setting's key, not the type's
// name, and stored settings rely on it.
struct NavPointKind {
  flag MapControls::*shownBy;
  TColor ColorSettings::*colour;
  int nameDx, nameDy;
};
const NavPointKind kNavPointKinds[10] = {
    {nullptr, &ColorSettings::MapPointNone, 9, -6},                             // other point
    {&MapControls::SpeedButton21Down, &ColorSettings::MapPointVORTAC, 10, -6},  // VOR/DME
    {&MapControls::SpeedButton22Down, &ColorSettings::MapPointNDB, 10, -6},     // VORTAC
    {&MapControls::SpeedButton23Down, &ColorSettings::MapPointNAV, 7, -6},      // NDB
    {&MapControls::SpeedButton24Down, &ColorSettings::MapPointAirPort, 7, -7},  // waypoint
    {&MapControls::SpeedButton28Down, &ColorSettings::MapPointVORDME, 7, -7},   // airport
    {nullptr, &ColorSettings::MapPointHome, 9, -6},                             // home
    {nullptr, &ColorSettings::MapPointBeacon, 9, -6},                           // beacon
    {nullptr, &ColorSettings::MapPointAnt, 9, -6},                              // antenna
    {nullptr, &ColorSettings::MapPointMount, 9, -6},                            // mountain
};

// Airway types "1", "2", "3": the switch and the colour.
struct AirwayKind {
  flag MapControls::*shownBy;
  TColor ColorSettings::*colour;
};
const AirwayKind kAirwayKinds[3] = {
    {&MapControls::SpeedButton25Down, &ColorSettings::MapAirwayVOR},
    {&MapControls::SpeedButton26Down, &ColorSettings::MapAirwayNDB},
    {&MapControls::SpeedButton27Down, &ColorSettings::MapAirwayNAV},
};

// The kind index of a type field that is exactly one character of first..last.
int TypeIndex(std::string_view field, char first, char last) {
  if (field.size() != 1 || field[0] < first || field[0] > last) return -1;
  return field[0] - first;
}

void Segment(MapSink& sink, const MapPen& pen, double lat0, double lat1, double lon0, double lon1) {
  const double lats[2] = {lat0, lat1};
  double lons[2] = {lon0, lon1};
  DateLineStep(lons);
  sink.Segment(pen, lats, lons);
}

int Width(const Bitmap24& b) { return b.IsNull() ? 0 : b.Width(); }
int Height(const Bitmap24& b) { return b.IsNull() ? 0 : b.Height(); }

void DrawGround(const MapState& map, const ColorSettings& colours, MapSink& sink) {
  if (!map.GlobeView) {
    sink.Fill(colours.MapBackColor);
    return;
  }
  sink.Fill(kBlack);
  int32_t diameter;
  if (!TruncToPixel(2 * map.GlobeRadius * map.MapZoom, diameter)) return;
  const int64_t w = Width(map.MapBitmap), h = Height(map.MapBitmap);
  sink.Disc(static_cast<int>((w - diameter) / 2), static_cast<int>((h - diameter) / 2),
            static_cast<int>((w + diameter) / 2), static_cast<int>((h + diameter) / 2), colours.MapBackColor);
}

void DrawGrid(MapSettings& settings, const ColorSettings& colours, int d, MapSink& sink) {
  if (settings.GridType == 0) return;
  // Any other value than solid is drawn dotted, and is dotted from now on.
  if (settings.GridType != 1) settings.GridType = 2;
  const MapPen pen{colours.GridColor, settings.GridType == 1 ? PenStyle::Solid : PenStyle::Dotted};
  for (int lat = -90; lat < 100; lat += d) {
    for (int lon = -180; lon < 180; ++lon) Segment(sink, pen, lat, lat, lon, lon + 1);
  }
  for (int lon = -180; lon < 180; lon += d) {
    for (int lat = -90; lat < 90; ++lat) Segment(sink, pen, lat, lat + 1, lon, lon);
  }
}

void DrawGridValues(const MapState& map, const MapSettings& settings, const ColorSettings& colours, int d,
                    MapSink& sink) {
  const int w = Width(map.MapBitmap), h = Height(map.MapBitmap);
  const TColor colour = colours.GridNumColor;
  for (int lat = -90; lat < 100; lat += d) {
    const std::string number = std::to_string(lat);
    const std::string label = lat == 0 ? "  0" : (lat > 0 || !map.GlobeView) ? " " + number : number;
    if (map.GlobeView) {
      const double centE = settings.MapCentE;
      const double meridian = centE >= 0 ? (std::trunc(centE / d) + 1) * d : std::trunc(centE / d) * d;
      PixelPoint p;
      if (ProjectLatLon(map, settings, map.MapBitmap, lat, meridian, p)) sink.Text(p.x, p.y, label, 8, colour);
    } else {
      int32_t y;
      if (TruncToPixel((map.MapTopLat - lat) * map.MapScaleY, y))
        sink.Text(lat < 0 ? w - 24 : w - 18, y + 1, label, 8, colour);
    }
  }
  if (map.GlobeView) {
    for (int lon = -180 + d; lon < 180 + d; lon += d) {
      PixelPoint p;
      if (ProjectLatLon(map, settings, map.MapBitmap, 0, lon, p))
        sink.Text(p.x + 2, p.y, std::to_string(lon), 8, colour);
    }
    return;
  }
  for (int lon = 0; lon < 360; lon += d) {
    double d0 = lon - map.MapLeftLon;
    const double d1 = lon + 1 - map.MapLeftLon;
    if (d0 > 360.0) {
      d0 -= 360.0;
    } else if (d0 < 0.0 && d1 < 0.0) {
      d0 += 360.0;
    }
    int32_t x;
    if (TruncToPixel(d0 * map.MapScaleX, x))
      sink.Text(x + 2, h - 13, std::to_string(lon > 180 ? lon - 360 : lon), 8, colour);
  }
}

void DrawAirways(const MapState& map, const MapContext& c, MapSink& sink) {
  std::string bytes;
  if (!platform::ReadWholeFile(map.AirwayPath, bytes)) return;
  platform::CsvReader reader(bytes, {kNumberField, kNumberField, kNumberField});
  // Records of two lines, type, latitude and longitude each; the segment
  // runs from the second line's point to the first's.
  while (reader.Next()) {
    const std::vector<std::string_view> first = reader.Fields();
    if (!reader.Next()) break;
    const std::vector<std::string_view>& second = reader.Fields();
    const int kind = TypeIndex(first[0], '1', '3');
    if (kind < 0 || !(c.Controls.*kAirwayKinds[kind].shownBy)) continue;
    double lat1, lon1, lat2, lon2;
    if (first.size() < 3 || second.size() < 3 || !ParseCoordinate(first[1], lat1) || !ParseCoordinate(first[2], lon1) ||
        !ParseCoordinate(second[1], lat2) || !ParseCoordinate(second[2], lon2)) {
      continue;
    }
    Segment(sink, {c.Color.*kAirwayKinds[kind].colour, PenStyle::Dotted}, lat2, lat1, lon2, lon1);
  }
}

void DrawGlobeOutline(const MapState& map, const ColorSettings& colours, MapSink& sink) {
  const double R = map.GlobeRadius, z = map.MapZoom;
  const MapPen pen{colours.BoundariesColor, PenStyle::Solid};
  PixelPoint previous;
  for (int i = 0; i <= 63; ++i) {
    const double a = i * 2 * M_PI / 63;
    PixelPoint p;
    if (!TruncToPixel(R * z * std::cos(a) + R, p.x) || !TruncToPixel(R * z * std::sin(a) + R, p.y)) return;
    p = {p.x + map.GlobeLeft, p.y + map.GlobeTop};
    if (i > 0) sink.Line(pen, previous, p);
    previous = p;
  }
}

void DrawNavPoints(const MapState& map, const MapContext& c, MapSink& sink) {
  std::string bytes;
  if (!platform::ReadWholeFile(map.NavPointsPath, bytes)) return;
  platform::CsvReader reader(bytes, {kNumberField, kNumberField, kNumberField});
  while (reader.Next()) {
    const std::vector<std::string_view>& fields = reader.Fields();
    const int kind = TypeIndex(fields[0], '0', '9');
    if (kind < 0) continue;
    const NavPointKind& k = kNavPointKinds[kind];
    double lat, lon;
    if (fields.size() < 3 || !ParseCoordinate(fields[1], lat) || !ParseCoordinate(fields[2], lon)) continue;
    if (k.shownBy && !(c.Controls.*k.shownBy)) continue;
    PixelPoint p;
    if (!ProjectLatLon(map, c.Map, map.MapBitmap, lat, lon, p)) continue;
    // The name is the text after the line's last comma.
    const std::string_view line = reader.Line();
    std::string name(platform::CutWholeCharacters(line.substr(line.rfind(',') + 1), kNameField));
    if (fields[0] == "5" && c.Controls.N8Checked) name = c.Aircraft.LookupAirportName(name);
    const TColor colour = c.Color.*k.colour;
    sink.Glyph(fields[0][0], p.x, p.y, colour);
    sink.Text(p.x + k.nameDx, p.y + k.nameDy, name, 8, colour);
  }
}

}  // namespace

bool ParseCoordinate(std::string_view field, double& value) {
  const size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  field = field.substr(first, field.find_last_not_of(" \t") - first + 1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && std::isfinite(value);
}

void DrawMapBackground(MapState& map, const MapContext& c, MapSink& sink) {
  DrawGround(map, c.Color, sink);
  DrawMapFile(map, c.Map, c.Color, sink);
  const int select = c.Map.SelectDegree;
  const int d = select >= 0 && select < static_cast<int>(map.GridDegrees.size())
                    ? map.GridDegrees[static_cast<size_t>(select)]
                    : 0;
  if (d > 0) {
    DrawGrid(c.Map, c.Color, d, sink);
    if (c.Map.GridValue) DrawGridValues(map, c.Map, c.Color, d, sink);
  }
  DrawAirways(map, c, sink);
  if (map.GlobeView) DrawGlobeOutline(map, c.Color, sink);
  DrawNavPoints(map, c, sink);
}
