#pragma once
// A form for the analysis tests: a fixed clock, the freqs.csv and
// ICAO24.csv fixtures in a temporary program folder, logs on, and
// recording fakes for every service the analysis calls out to.
#include <memory>
#include <string>
#include <vector>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/exchange_services.h"
#include "map/map_services.h"
#include "radio/radio_services.h"
#include "support/test_support.h"

namespace hfdl_test {

// The ACARS block the parser was given.
struct ParsedBlock {
  std::vector<uint8_t> bits;  // the whole buffer
  size_t bitsSize = 0;
  int bitCount = 0;
  AcarsEndFlag endFlag = AcarsEndFlag::Etb;
  AcarsSource source = AcarsSource::Vhf;
};

class ServiceRecorder : public AcarsServices,
                        public AircraftServices,
                        public MapServices,
                        public ExchangeServices,
                        public RadioServices,
                        public FormEffects {
 public:
  void ParseAcarsBlock(Form1State& form, const uint8_t* bits, size_t bitsSize, int bitCount, AcarsEndFlag endFlag,
                       AcarsSource source) override;
  void TrimTextBuffer(Form1State& form, int kind) override;
  int FindLatestAircraft(Form1State& form) override;
  void SetAcarsDownlink(Form1State& form, bool downlink) override;

  int UpdateAircraftRecord(Form1State& form, const std::string& flightId, const std::string& registration,
                           const std::string& reportId, const AircraftPosition& position, const std::string& time,
                           const std::string& accessStation) override;
  std::string LookupAirline3(Form1State& form, const std::string& flightId) override;
  bool LookupAircraftType(Form1State& form, const std::string& registration, std::string& type) override;
  int FindRowByFlight(Form1State& form, const std::string& flightId) override;
  void RegisterContact(Form1State& form, const std::string& flightId, const std::string& registration,
                       const std::string& accessStation) override;
  void MarkPositionReceived(Form1State& form, const std::string& flightId, const std::string& registration) override;
  std::string RowRegistration(Form1State& form, int row) override;

  void Redraw(Form1State& form, uint8_t background, uint8_t aircraft, uint8_t sideList, uint8_t altitude) override;
  void RefreshTextWindow(Form1State& form) override;
  void RefreshFrequencies(Form1State& form) override;
  void ShowForm(int formNumber, bool modal) override;

  std::vector<std::string> calls;  // in order, e.g. "contact JL0123 JA8089 Molokai"
  std::vector<ParsedBlock> parsed;
  std::vector<AircraftPosition> positions;
  // The analysis text when the aircraft type was looked up (a log-on row
  // being added).
  std::vector<std::string> analysisAtTypeLookup;
  Form1State* form = nullptr;
  int latestAircraft = 3;
  int badBitCounts = 0;  // parser calls whose bit count lies outside the buffer
  int listRow = 0;       // what FindRowByFlight answers
};

// The date and time every analysis test runs at.
TDateTime TestNow();

class AnalysisRig {
 public:
  AnalysisRig();
  ~AnalysisRig();
  Form1State& form() { return *form_; }
  ServiceRecorder& services() { return services_; }
  const std::string& folder() const { return dir_.path(); }

  // The frame's octets in the bits of a frame of mode 0..7 (zeros after
  // them), analysed with the source tag on channel 0 or 1.
  void AnalyzeOwn(const std::vector<uint8_t>& octets, int mode, int channel);
  void AnalyzeNetwork(const std::vector<uint8_t>& octets);
  // Empties the text buffers and forgets what the fakes recorded.
  void ClearText();

 private:
  testing_support::TempDir dir_;
  testing_support::FixedClock clock_;
  ServiceRecorder services_;
  std::unique_ptr<Form1State> form_;
};

// A golden file of tests/hfdl/golden, as stored (CR LF line ends).
std::string Golden(const std::string& name);
// What a log file holds of a text written with CR LF: LF line ends.
std::string WithoutCr(const std::string& text);
// The DAT line of the frame's first octets (low nibble first), as the
// buffer holds it.
std::string DatLine(const std::string& tag, const std::vector<uint8_t>& octets, size_t count);
// The texts of several frames, each beginning with the header.
std::vector<std::string> SplitFrames(const std::string& text, const std::string& header);
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// The number of octets of mode 0..7 frames.
int ModeOctets(int mode);
int ModeCode(int mode);

}  // namespace hfdl_test
