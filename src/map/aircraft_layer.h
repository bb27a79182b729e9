#pragma once
// The picture the user sees on the map: the finished background, the
// aircraft with their tracks in their shadow passes, the information boxes
// of the selected aircraft and the quick buttons. Which aircraft are
// visible, which boxes are drawn and what they say are pure functions; the
// layer then draws.
#include <optional>
#include <string>
#include <vector>

#include "map/map_links.h"
#include "map/map_state.h"
#include "platform/canvas.h"
#include "platform/jpeg_loader.h"

// The MapViewOptions bits: the modifier keys, then the buttons and the
// double click of the click that selected the aircraft.
enum MapViewOption : uint8_t {
  kShiftOption = 1,
  kAltOption = 2,
  kCtrlOption = 4,
  kLeftOption = 8,
  kRightOption = 16,
  kMiddleOption = 32,
  kDoubleOption = 64,
};

// The visible set before a drawing, from the selection state and the
// Visible flags (one per record): everything while nothing is selected,
// the selected aircraft alone once it is selected (unless a one-shot flag
// keeps the set, which it then clears), and, while following the newest
// aircraft, the newest alone, moved on by each stored ACARS position
// (FromAcars, cleared here, with the one-shot flags) with the previous
// one's flag given back.
void UpdateVisibleSet(MapState& map, bool followNewest, int selected, std::vector<flag>& visible);

// ComboBox2 at "ALL", or at the flight id's airline code.
bool PassesCompanyFilter(const MapControls& controls, const AircraftRecord& record);

enum class BoxKind { TrackPoint, Aircraft };
struct BoxAt {
  BoxKind kind;
  int point;
};
// The boxes of the selected aircraft, by the first case that holds: with
// tracks shown, Shift gives one per track point but the head, Alt one at
// the clicked point; else, while not following the newest aircraft, the
// large box at the head. None for an aircraft the company selector hides.
// last: the aircraft's current point.
std::vector<BoxAt> ChooseBoxes(const MapState& map, const MapControls& controls, int selected, bool passesFilter,
                               bool selectedVisible, int last);

struct BoxLine {
  const char* label;
  std::string value;
};
std::vector<BoxLine> TrackPointBoxLines(const TrackPoint& point);
// airline: LookupAirline2 of the flight id.
std::vector<BoxLine> AircraftBoxLines(const AircraftRecord& record, const TrackPoint& point,
                                      const std::string& airline);

// The quick buttons along the map's bottom edge.
enum class QuickButton { Tracks, Monitor, View, Text, ToolBar, Screen, Exit };
// The button at (x, y) of a W x H map, bounds included.
std::optional<QuickButton> QuickButtonAt(int W, int H, int x, int y);

// The photograph's size in the large box: 85 pixels high, as wide as its
// proportions say.
platform::JpegSize BoxPhotoSize(int sourceWidth, int sourceHeight);

// DrawMapAircraftLayer is declared with the other drawers in map_redraw.h.
