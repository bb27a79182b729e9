#pragma once
// The road of decoded messages as the program wires it, around a state of
// its own: a temporary program folder with the HFDL fixtures (freqs.csv,
// ICAO24.csv), a fixed clock, every log on, the test reference data for the
// HFDL analysis, the aircraft table allocated (its reference files, missing
// unless a test writes them, in the folder's data/ and pics/), and a
// recording sink after the program's own sinks.
#include <memory>
#include <string>
#include <vector>

#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace testing_support {

// The date and time every rig runs at: 2026/12/06 14:03:07.
TDateTime RigNow();

class ReceptionRig {
 public:
  ReceptionRig();
  ~ReceptionRig();

  Form1State& form() { return *form_; }
  ReceptionWiring& wiring() { return *wiring_; }
  Reception& road() { return wiring_->Road(); }
  RecordingSink& sink() { return sink_; }
  RecordingEffects& effects() { return effects_; }
  const std::string& folder() const { return dir_.path(); }
  // A log of the rig's day ("ACARS_RAW", "HFDL_ANA", ...).
  std::string Log(const std::string& kind) const;

  // The frame's octets as a frame of mode 0..7 (zeros after them) received
  // on channel 0 or 1.
  void AnalyzeOwn(const std::vector<uint8_t>& octets, int mode, int channel);
  // The octets as a frame relayed by a linked copy.
  void AnalyzeNetwork(const std::vector<uint8_t>& octets);
  // An ACARS block of 7-bit characters from "+" through the terminator and
  // the two after it, as own reception on the left channel.
  void ReceiveAcars(const std::string& characters, bool etx, AcarsBearer bearer = AcarsBearer::Vhf,
                    const std::string& tag = "Lch");
  // Empties the text buffers and what the sink recorded.
  void ClearText();

 private:
  TempDir dir_;
  FixedClock clock_;
  RecordingEffects effects_;
  FixedLookups lookups_;
  RecordingSink sink_;
  std::unique_ptr<Form1State> form_;
  std::unique_ptr<ReceptionWiring> wiring_;
};

// A golden file of tests/hfdl/golden, as stored (CR LF line ends).
std::string Golden(const std::string& name);
// What a log file holds of a text written with CR LF: LF line ends.
std::string WithoutCr(const std::string& text);
// The number of octets and the mode code of mode 0..7 frames.
int ModeOctets(int mode);
int ModeCode(int mode);
// An ACARS block from characters "+" through the terminator and after.
AcarsBlock BlockOf(const std::string& characters, bool etx, AcarsBearer bearer, const std::string& tag);

}  // namespace testing_support
