#pragma once
// Operations of HFDL decoding that other subsystems call.
#include <cstddef>
#include <cstdint>
#include <string>

struct Form1State;

class HfdlServices {
 public:
  virtual ~HfdlServices() = default;

  // Demodulates the 512 samples of the channel's AudioBlock row.
  virtual void DemodulateHfdlBlock(Form1State& form, int channel);
  // A channel's decoder mode changed: its demodulator starts afresh.
  virtual void ResetDemodulatorChannel(Form1State& form, int channel);
  // The ground-station table from freqs.csv.
  virtual void LoadHfdlSystemTable(Form1State& form);
  // Counts one frame in the reception statistics (mode code 0..13, 20, 30).
  virtual void CountFrame(Form1State& form, int modeCode, bool failed);
  // Clears every row of the registration window.
  virtual void ClearRegistrationRows(Form1State& form);
  // A frame from a linked copy, as hex text.
  virtual void AnalyzeNetworkHfdlFrame(Form1State& form, const std::string& hex);
  // Called for each text log when the received-text window switches
  // logging on; it does nothing.
  virtual void OnLogFileEnabled(Form1State& form, const std::string& path);
  // Analyses one decoded frame: bitCount bytes of one bit each, the mode
  // code (0..3 and 10..13 own reception, 20 network) and the channel
  // (0, 1, or 2 for the network).
  virtual void AnalyzeHfdlFrame(Form1State& form, const uint8_t* bits, size_t bitCount, int modeCode, int channel);
  // The description (aircraft type text) ICAO24.csv gives a registration,
  // "NO DATA" when it lists none.
  virtual std::string LookupIcao24Description(Form1State& form, const std::string& registration);
};

HfdlServices& DefaultHfdlServices();
