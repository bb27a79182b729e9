#include "app/aircraft_wiring.h"

#include <algorithm>

#include "app/form1_state.h"
#include "app/form_effects.h"
#include "hfdl/registration.h"
#include "map/map_redraw.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"

bool AircraftWiring::UseEnglish() const { return form_.app.UseEnglish != 0; }

bool AircraftWiring::Running() const { return form_.app.Running != 0; }

bool AircraftWiring::FollowingNewest() const { return form_.controls.SpeedButton8Down != 0; }

AircraftView AircraftWiring::View() const {
  const MapState& m = form_.mapView;
  return {m.AircraftSelected, m.SelectedAircraft, m.LatestAircraft, m.LatestAircraftShown, m.KeepViewOnce};
}

void AircraftWiring::SetView(const AircraftView& v) {
  MapState& m = form_.mapView;
  m.AircraftSelected = v.AircraftSelected;
  m.SelectedAircraft = v.SelectedAircraft;
  m.LatestAircraft = v.LatestAircraft;
  m.LatestAircraftShown = v.LatestAircraftShown;
  m.KeepViewOnce = v.KeepViewOnce;
}

void AircraftWiring::AddCompany(const std::string& code) {
  std::vector<std::string>& items = form_.controls.ComboBox2Items;
  if (std::find(items.begin(), items.end(), code) != items.end()) return;
  items.push_back(code);
  effects_.ControlsChanged();
}

void AircraftWiring::RemoveCompany(const std::string& code) {
  std::vector<std::string>& items = form_.controls.ComboBox2Items;
  // "ALL" stays.
  const auto it = std::find(items.begin() + std::min<size_t>(1, items.size()), items.end(), code);
  if (it != items.end()) items.erase(it);
  form_.controls.ComboBox2Index = 0;
  effects_.ControlsChanged();
}

void AircraftWiring::FirstAircraftStored() {
  // SpeedButton8 is never disabled; N6 is, once the table empties.
  form_.controls.N6Enabled = 1;
  effects_.ControlsChanged();
}

void AircraftWiring::TableEmptied() {
  form_.controls.SpeedButton8Down = 0;
  form_.controls.N10Enabled = 0;
  form_.controls.N6Enabled = 0;
  effects_.ControlsChanged();
}

void AircraftWiring::RedrawAircraftViews() {
  RequestRedraw(form_.mapView, {MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude});
}

void AircraftWiring::RedrawAircraftLayer() { RequestRedraw(form_.mapView, {MapLayer::Aircraft}); }

std::string AircraftWiring::LookupIcao24Description(const std::string& registration) {
  return ::LookupIcao24Description(form_.hfdl, registration);
}

void AircraftWiring::ShowInformation(const AircraftInformation& information) {
  effects_.ShowAircraftInformation(information);
}

void AircraftWiring::WriteListLog(const std::string& line) { form_.text.WriteFile(form_.text.ListLogPath(), line); }

bool AircraftWiring::Confirm(const std::string& question) {
  return platform::ShowMessageBox(platform::BoxKind::Confirmation, platform::BoxButtons::YesNo, question) !=
         platform::BoxAnswer::No;
}

void AircraftWiring::OpenUrl(const std::string& url) { platform::ShellOpenUrl(url); }
