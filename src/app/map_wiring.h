#pragma once
// The map's links to the main window and to the aircraft records, over the
// main window's state, and the map's drawing and mouse with them.
#include "map/map_layers.h"
#include "map/map_links.h"
#include "map/map_mouse.h"

class FormEffects;
class SelcalPanel;
struct Form1State;

class MapWiring : public MapWindowLink, public MapAircraftLink {
 public:
  MapWiring(Form1State& form, FormEffects& effects) : form_(form), effects_(effects) {}
  // The SELCAL panel whose monitor button follows the quick button.
  void SetSelcalPanel(SelcalPanel& panel) { selcal_ = &panel; }

  // What drawing the map reads, from the state, with these links.
  MapContext Context();
  // What the mouse handlers change.
  MapMouseContext MouseContext();
  void Redraw(MapLayers layers);

  // MapWindowLink
  void ShowMapPicture(const Bitmap24& picture) override;
  void ShowSideListPicture(const Bitmap24& picture) override;
  void ShowAltitudePicture(const Bitmap24& picture) override;
  void ResetBlockCounter() override;
  void SetFullScreen(bool on) override;
  std::string AskSaveMapPath() override;
  bool TextWindowShown() override;
  void ToggleTextWindow() override;
  bool ToolBarShown() override;
  void ToggleToolBar() override;
  bool FullScreenShown() override;
  void ToggleFullScreen() override;
  void ClickTracksButton() override;
  void ClickMonitorButton() override;
  void SetSelcalMonitorButton(bool down) override;
  void CloseMainWindow() override;

  // MapAircraftLink
  std::string LookupAirportName(const std::string& code) override;
  const std::vector<AircraftRecord>& Records() override;
  int AircraftCount() override;
  void SetVisible(int slot, flag visible) override;
  void SetTagPos(int slot, int tagPos) override;
  void UpdateTrackAges() override;
  std::string LookupAirline2(const std::string& flightId) override;
  std::string PhotoPath(const std::string& registration) override;
  std::string NoImagePath() override;
  void ShowFlightInformation(const std::string& flightId) override;

 private:
  AircraftRecord* Record(int slot);

  Form1State& form_;
  FormEffects& effects_;
  SelcalPanel* selcal_ = nullptr;
};
