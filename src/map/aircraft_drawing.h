#pragma once
// One aircraft of the received-aircraft table, drawn once at a pass's
// offset: its colours (by operator group and age), its symbol, leader and
// tag, and its track. Which aircraft are drawn, in which order and how
// often (the shadow passes), is the layers' choice. The geometry and the
// texts are pure functions; the drawers put them on a canvas.
#include <optional>
#include <string>
#include <vector>

#include "aircraft/received_aircraft_table.h"
#include "map/map_links.h"
#include "map/map_state.h"
#include "platform/canvas.h"

// The colour a drawing routine asks for.
enum PlotColorKind : int { kShadowColor = 0, kHeadColor = 1, kPlotColor = 2 };

// A pass's pixel offset, as one value, so that the two cannot change
// places on the way.
struct PassOffset {
  int dx = 0;
  int dy = 0;
};
// The eight offsets around a pixel, row by row.
extern const PassOffset kSurroundOffsets[8];

// The passes of one aircraft for PlotType: 0 plain, 1 a shadow one pixel down
// and right, 2 a shadow all round; tracks under symbols within each layer.
// track and aircraft take the colour kind and the offset.
template <typename Track, typename Aircraft>
void DrawPlotPasses(int plotType, Track track, Aircraft aircraft) {
  const PassOffset centre;
  switch (plotType) {
    case 0:
      track(kPlotColor, centre);
      aircraft(kHeadColor, centre);
      return;
    case 1:
      track(kShadowColor, PassOffset{1, 1});
      aircraft(kShadowColor, PassOffset{1, 1});
      track(kPlotColor, centre);
      aircraft(kHeadColor, centre);
      return;
    case 2:
      for (const PassOffset& o : kSurroundOffsets) track(kShadowColor, o);
      track(kPlotColor, centre);
      for (const PassOffset& o : kSurroundOffsets) aircraft(kShadowColor, o);
      aircraft(kHeadColor, centre);
      return;
    default:
      return;
  }
}

// The sizes that SymbolSize picks (0 large, 1 medium, 2 small); any other
// value draws as medium, with a line pitch of its own.
struct SymbolSizeRow {
  double polygonScale;
  int radarRadius;
  int radarLineLength;
  int tagFontPoints;  // the altitude view's; the map's tag is always 9 pt
  int linePitch;
  int leaderStep;
  int straightLeaderStep;
  int secondLineIndent;
  int trendShiftX;
  int trendShiftY;
  double iconScale;
};
const SymbolSizeRow& SymbolSizeOf(int symbolSize);

// The point drawn as the aircraft's head: LastPoint, at most MaxPlotData -
// 1 and within the record's points; -1 when there is none.
int CurrentPoint(const AircraftRecord& record, int maxPlotData);

// The first operator group whose two-character code equals the first two
// characters of the flight id; -1 none. A one-character code never
// matches; "--" matches a flight id that begins "--".
int OperatorGroup(const ColorSettings& colours, const AircraftRecord& record);
// The colour dimmed by the age class, byte by byte; unchanged while
// fading is off.
TColor FadeColorByAge(flag timeAdjust, int ageClass, TColor colour);
// The colour of kind at point (-1: the current point), faded by the
// point's age; nothing for a kind outside 0..2 or a point out of range.
std::optional<TColor> PlotColor(const MapSettings& settings, const ColorSettings& colours, const AircraftRecord& record,
                                int group, int kind, int point);
// Pen, font and brush in that colour (the brush becomes solid).
void SetPlotColors(Canvas& canvas, const MapContext& context, const AircraftRecord& record, int group, int kind,
                   int point);

// A record's fixed field up to its NUL, at most `length` characters.
std::string RecordField(const char* field, size_t length = 7);
// The flight-number form that N21 (carrier prefix) and N28 (no leading
// zeros) choose: the box's title, whatever N24 says.
std::string FlightNumberText(const MapControls& controls, const AircraftRecord& record);
// A tag's and the side list's first line: that form while N24 (flight
// number) is ticked, else the registration.
std::string FlightLabelText(const MapControls& controls, const AircraftRecord& record);
// The flight-level line: "FL" and RoundToInt64(altitude / 1000) x 10 from
// 10000 ft, else the feet and "ft"; empty from 80000 ft (not drawn).
std::string FlightLevelText(int altitude);

// The aircraft symbol's 41 vertices at a screen heading, scale and centre.
std::vector<PixelPoint> AircraftPolygon(int screenHeading, double scale, int x, int y);
// The altitude view's side view: nose left for headings 0..179, else right.
std::vector<PixelPoint> ProfileIconPolygon(int heading, double scale, int x, int y);

struct TagLayout {
  PixelPoint leaderFrom, leaderTo;
  PixelPoint text;  // the first line's top left
};
// The map's tag around (x, y) by TagPos (0..4; any other value as 0).
TagLayout MapTagLayout(int tagPos, const SymbolSizeRow& size, int x, int y);
// The altitude view's: always the shape of position 0.
TagLayout ProfileTagLayout(const SymbolSizeRow& size, int x, int y);

// A pen line from one pixel toward another (the last pixel not drawn).
struct PenLine {
  PixelPoint from, to;
};
// The tag's trend mark by AltTrend at (X, Y): level, descending, climbing;
// none for other values.
std::vector<PenLine> TagTrendMark(int altTrend, int X, int Y);

// The symbols, in the canvas's pen and brush; the brush is clear after.
void DrawMapAircraftSymbol(Canvas& canvas, int screenHeading, int x, int y, double scale);
void DrawProfileAircraftIcon(Canvas& canvas, int heading, int x, int y, double scale);
// The dot with two rings of a point without a heading, in the pen.
void DrawNoHeadingMark(Canvas& canvas, int x, int y);

// The tag's text lines from its first line's top left: the first line,
// then by SubDispType the flight level with its trend mark, the time, or
// the route and the type. The canvas's font size is the caller's.
void DrawTagText(Canvas& canvas, const MapContext& context, const AircraftRecord& record, int point,
                 const SymbolSizeRow& size, PixelPoint text, const std::string& firstLine);

// An aircraft's pixels on the map, worked out once for all its passes: its
// head with the heading on screen, and each track segment's start point
// and ends (the track only while tracks are shown).
struct MapAircraftPixels {
  int last = -1;  // the current point, -1 none
  bool headVisible = false;
  PixelPoint head;
  int screenHeading = 0;
  std::vector<PixelPoint> symbol;  // the aircraft polygon around (0, 0)
  struct Segment {
    bool startVisible = false;
    PixelPoint start;
    bool drawn = false;
    PixelPoint from, to;
  };
  std::vector<Segment> track;  // points 0 .. last - 1
};
MapAircraftPixels ProjectMapAircraft(const MapState& map, const MapContext& context, const AircraftRecord& record);

// The aircraft's symbol, leader and tag at its current point on the map.
// selected: the selected slot, -1 none (tags are then shown only while
// following the newest aircraft or for a Shift-click).
void DrawMapAircraft(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                     int kind, int group, PassOffset offset, int selected);
void DrawMapAircraft(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                     const MapAircraftPixels& pixels, int kind, int group, PassOffset offset, int selected);
// The aircraft's track segments on the map, with their point marks.
void DrawMapTrack(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                  int kind, int group, PassOffset offset);
void DrawMapTrack(Canvas& canvas, const MapContext& context, const AircraftRecord& record,
                  const MapAircraftPixels& pixels, int kind, int group, PassOffset offset);
