#pragma once
// What the map reaches outside itself: the main window and the aircraft
// records. src/app implements both.
#include <string>
#include <vector>

#include "aircraft/received_aircraft_table.h"
#include "app/settings_sections.h"
#include "map/map_controls.h"

class Bitmap24;

class MapWindowLink {
 public:
  virtual ~MapWindowLink() = default;
  // The map image Image2 shows the picture.
  virtual void ShowMapPicture(const Bitmap24& picture) = 0;
  // The side list Image1 and the altitude view Image4 show theirs.
  virtual void ShowSideListPicture(const Bitmap24& picture) = 0;
  virtual void ShowAltitudePicture(const Bitmap24& picture) = 0;
  // The aircraft layer was drawn: the audio blocks are counted afresh.
  virtual void ResetBlockCounter() = 0;
  // Borderless and maximised, or back; pending window messages run on the
  // way.
  virtual void SetFullScreen(bool on) = 0;
  // The save-picture dialog: the chosen path, empty when cancelled.
  virtual std::string AskSaveMapPath() = 0;

  // What the quick buttons on the map show and do.
  virtual bool TextWindowShown() = 0;
  // The received-text window closes when shown, else shows.
  virtual void ToggleTextWindow() = 0;
  virtual bool ToolBarShown() = 0;
  // ShowToolBar toggled; the main window lays itself out again.
  virtual void ToggleToolBar() = 0;
  virtual bool FullScreenShown() = 0;
  // FullScreen toggled and applied.
  virtual void ToggleFullScreen() = 0;
  // SpeedButton16 (tracks) and SpeedButton17 (audio monitor) change their
  // down state and their commands run, as a click on them does.
  virtual void ClickTracksButton() = 0;
  virtual void ClickMonitorButton() = 0;
  // The SELCAL panel's monitor button follows SpeedButton17.
  virtual void SetSelcalMonitorButton(bool down) = 0;
  virtual void CloseMainWindow() = 0;
};

class MapAircraftLink {
 public:
  virtual ~MapAircraftLink() = default;
  // The airport's name for its code; the code itself when unknown.
  virtual std::string LookupAirportName(const std::string& code) = 0;

  // The received-aircraft table: MaxMapPlot records, the first
  // AircraftCount in use.
  virtual const std::vector<AircraftRecord>& Records() = 0;
  virtual int AircraftCount() = 0;
  // The two fields of a record that the map keeps.
  virtual void SetVisible(int slot, flag visible) = 0;
  virtual void SetTagPos(int slot, int tagPos) = 0;
  // The fading classes of every point, worked out afresh.
  virtual void UpdateTrackAges() = 0;
  // The airline's name for the two-letter code that begins the flight id.
  virtual std::string LookupAirline2(const std::string& flightId) = 0;
  // pics/<registration>.jpg, kept inside pics/ whatever the registration,
  // and the fallback pics/noimage.jpg.
  virtual std::string PhotoPath(const std::string& registration) = 0;
  virtual std::string NoImagePath() = 0;
  // The aircraft information window searches the flight, as if it were
  // typed into its search field.
  virtual void ShowFlightInformation(const std::string& flightId) = 0;
};

// What drawing the map reads beside its own state, and where it reaches.
struct MapContext {
  MapSettings& Map;  // a GridType outside 0..2 is mended on the way
  const ColorSettings& Color;
  const MapControls& Controls;
  MapWindowLink& Window;
  MapAircraftLink& Aircraft;
};
