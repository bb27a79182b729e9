#pragma once
// What the map reaches outside itself: the main window and the aircraft
// records. src/app implements both.
#include <string>

#include "app/settings_sections.h"
#include "map/map_controls.h"

class Bitmap24;

class MapWindowLink {
 public:
  virtual ~MapWindowLink() = default;
  // The map image Image2 shows the picture.
  virtual void ShowMapPicture(const Bitmap24& picture) = 0;
  // The aircraft layer was drawn: the audio blocks are counted afresh.
  virtual void ResetBlockCounter() = 0;
  // Borderless and maximised, or back; pending window messages run on the
  // way.
  virtual void SetFullScreen(bool on) = 0;
  // The save-picture dialog: the chosen path, empty when cancelled.
  virtual std::string AskSaveMapPath() = 0;
};

class MapAircraftLink {
 public:
  virtual ~MapAircraftLink() = default;
  // The airport's name for its code; the code itself when unknown.
  virtual std::string LookupAirportName(const std::string& code) = 0;
};

// What drawing the map reads beside its own state, and where it reaches.
struct MapContext {
  MapSettings& Map;  // a GridType outside 0..2 is mended on the way
  const ColorSettings& Color;
  const MapControls& Controls;
  MapWindowLink& Window;
  MapAircraftLink& Aircraft;
};
