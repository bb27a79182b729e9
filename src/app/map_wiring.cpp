#include "app/map_wiring.h"

#include "aircraft/aircraft_table.h"
#include "aircraft/reference_data.h"
#include "app/aircraft_wiring.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "map/map_redraw.h"
#include "selcal/selcal_panel.h"

namespace {

// The received-text window and the tool-bar buttons the quick buttons use.
constexpr int kTextWindow = 10;
constexpr int kTracksButton = 16;
constexpr int kMonitorButton = 17;

}  // namespace

MapContext MapWiring::Context() { return {form_.Map, form_.Color, form_.controls, *this, *this}; }

MapMouseContext MapWiring::MouseContext() { return {form_.mapView, form_.Map, form_.controls, *this, *this}; }

void MapWiring::Redraw(MapLayers layers) { ::Redraw(form_.mapView, Context(), layers); }

void MapWiring::ShowMapPicture(const Bitmap24& picture) { effects_.ShowMapPicture(picture); }

void MapWiring::ShowSideListPicture(const Bitmap24& picture) { effects_.ShowSideListPicture(picture); }

void MapWiring::ShowAltitudePicture(const Bitmap24& picture) { effects_.ShowAltitudePicture(picture); }

void MapWiring::ResetBlockCounter() { form_.audio.BlockCounter = 0; }

void MapWiring::SetFullScreen(bool on) { effects_.SetFullScreen(on); }

std::string MapWiring::AskSaveMapPath() { return effects_.AskSaveMapPath(); }

bool MapWiring::TextWindowShown() { return effects_.FormShowing(kTextWindow); }

void MapWiring::ToggleTextWindow() {
  if (effects_.FormShowing(kTextWindow)) {
    effects_.CloseForm(kTextWindow);
  } else {
    effects_.ShowForm(kTextWindow, false);
  }
}

bool MapWiring::ToolBarShown() { return form_.Form.ShowToolBar != 0; }

void MapWiring::ToggleToolBar() {
  form_.Form.ShowToolBar = form_.Form.ShowToolBar ? 0 : 1;
  effects_.FormResize();
}

bool MapWiring::FullScreenShown() { return form_.Form.FullScreen != 0; }

void MapWiring::ToggleFullScreen() {
  form_.Form.FullScreen = form_.Form.FullScreen ? 0 : 1;
  effects_.SetFullScreen(form_.Form.FullScreen != 0);
}

void MapWiring::ClickTracksButton() { effects_.ClickSpeedButton(kTracksButton); }

void MapWiring::ClickMonitorButton() { effects_.ClickSpeedButton(kMonitorButton); }

void MapWiring::SetSelcalMonitorButton(bool down) {
  if (selcal_) selcal_->SetMoniDown(down);
}

void MapWiring::CloseMainWindow() { effects_.CloseMainWindow(); }

std::string MapWiring::LookupAirportName(const std::string& code) {
  return ::LookupAirportName(form_.aircraft.Files, code);
}

const std::vector<AircraftRecord>& MapWiring::Records() { return form_.aircraft.Aircraft.Records; }

int MapWiring::AircraftCount() { return form_.aircraft.AircraftCount; }

AircraftRecord* MapWiring::Record(int slot) {
  std::vector<AircraftRecord>& records = form_.aircraft.Aircraft.Records;
  return slot >= 0 && slot < static_cast<int>(records.size()) ? &records[static_cast<size_t>(slot)] : nullptr;
}

void MapWiring::SetVisible(int slot, flag visible) {
  if (AircraftRecord* r = Record(slot)) r->Visible = visible;
}

void MapWiring::SetTagPos(int slot, int tagPos) {
  if (AircraftRecord* r = Record(slot)) r->TagPos = tagPos;
}

void MapWiring::UpdateTrackAges() {
  AircraftWiring link(form_, effects_);
  ::UpdateTrackAges(form_.aircraft, form_.Map, link, form_.audio.BlockTime);
}

std::string MapWiring::LookupAirline2(const std::string& flightId) {
  return ::LookupAirline2(form_.aircraft.Files, flightId);
}

std::string MapWiring::PhotoPath(const std::string& registration) {
  return ::PhotoPath(form_.aircraft.Files, registration);
}

std::string MapWiring::NoImagePath() { return ::NoImagePath(form_.aircraft.Files); }

void MapWiring::ShowFlightInformation(const std::string& flightId) { effects_.SearchInformationFlight(flightId); }
