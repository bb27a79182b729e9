#pragma once
// What the received-aircraft table and list change, and ask, outside their
// own state: the main window's company selector, menu items and toggles,
// the map's selection and redraws, the information window, the LIST log,
// the ICAO24 registry, the message box and the web browser.
#include <cstdint>
#include <string>

struct AircraftInformation;

// The map's selection and one-shot view flags, which the table keeps on
// the same aircraft when records move.
struct AircraftView {
  uint8_t AircraftSelected = 0;
  int32_t SelectedAircraft = 0;
  int32_t LatestAircraft = -1;
  uint8_t LatestAircraftShown = 0;
  uint8_t KeepViewOnce = 0;
};

class AircraftLink {
 public:
  virtual ~AircraftLink() = default;

  virtual bool UseEnglish() const = 0;
  // False once the main window closes.
  virtual bool Running() const = 0;
  // SpeedButton8 down: the map follows the newest aircraft.
  virtual bool FollowingNewest() const = 0;
  virtual AircraftView View() const = 0;
  virtual void SetView(const AircraftView& view) = 0;

  // ComboBox2 lists "ALL" and one airline code per airline in the table:
  // the code is added when it is not listed yet...
  virtual void AddCompany(const std::string& code) = 0;
  // ...and removed with "ALL" selected when its last record goes.
  virtual void RemoveCompany(const std::string& code) = 0;
  // The first record was stored: N6 (clear all) can run.
  virtual void FirstAircraftStored() = 0;
  // The last record went: SpeedButton8 up, N10 and N6 disabled.
  virtual void TableEmptied() = 0;

  // The aircraft layer, the side list and the altitude view, drawn anew.
  virtual void RedrawAircraftViews() = 0;
  // The aircraft layer alone.
  virtual void RedrawAircraftLayer() = 0;

  // The ICAO24 registry's description of a registration, "NO DATA" when
  // it has none.
  virtual std::string LookupIcao24Description(const std::string& registration) = 0;
  virtual void ShowInformation(const AircraftInformation& information) = 0;
  // One line of the day's LIST log.
  virtual void WriteListLog(const std::string& line) = 0;
  // A Yes/No question (UTF-8); true unless the answer is No.
  virtual bool Confirm(const std::string& question) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
};
