#pragma once
// The map's links to the main window and to the aircraft records, over the
// main window's state, and the map's drawing with them.
#include "map/map_layers.h"
#include "map/map_links.h"

class FormEffects;
struct Form1State;

class MapWiring : public MapWindowLink, public MapAircraftLink {
 public:
  MapWiring(Form1State& form, FormEffects& effects) : form_(form), effects_(effects) {}

  // What drawing the map reads, from the state, with these links.
  MapContext Context();
  void Redraw(MapLayers layers);

  // MapWindowLink
  void ShowMapPicture(const Bitmap24& picture) override;
  void ResetBlockCounter() override;
  void SetFullScreen(bool on) override;
  std::string AskSaveMapPath() override;

  // MapAircraftLink
  std::string LookupAirportName(const std::string& code) override;

 private:
  Form1State& form_;
  FormEffects& effects_;
};
