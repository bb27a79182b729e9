#pragma once
// The aircraft subsystem's link, over the main window's state and effects:
// the company selector, menu items and toggles it changes, the map's
// selection and redraw requests, the information window, the LIST log, the
// ICAO24 registry, the message box and the browser.
#include "aircraft/aircraft_link.h"

class FormEffects;
struct Form1State;

class AircraftWiring : public AircraftLink {
 public:
  AircraftWiring(Form1State& form, FormEffects& effects) : form_(form), effects_(effects) {}

  bool UseEnglish() const override;
  bool Running() const override;
  bool FollowingNewest() const override;
  AircraftView View() const override;
  void SetView(const AircraftView& view) override;
  void AddCompany(const std::string& code) override;
  void RemoveCompany(const std::string& code) override;
  void FirstAircraftStored() override;
  void TableEmptied() override;
  void RedrawAircraftViews() override;
  void RedrawAircraftLayer() override;
  std::string LookupIcao24Description(const std::string& registration) override;
  void ShowInformation(const AircraftInformation& information) override;
  void WriteListLog(const std::string& line) override;
  bool Confirm(const std::string& question) override;
  void OpenUrl(const std::string& url) override;

 private:
  Form1State& form_;
  FormEffects& effects_;
};
