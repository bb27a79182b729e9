#pragma once
// The HFDL frequency list: one row per used ground station with the time of
// its last squitter and its active frequencies, and the choice of each
// receiver's target from its followed station's row.
#include <vector>

#include "app/settings_sections.h"
#include "radio/radio_state.h"

struct HfdlReception;

// The target choice of the Target combos (SelFreqL/SelFreqR).
enum SelFreqMode { kFrequency1 = 0, kFrequency2 = 1, kFrequency3 = 2, kMostLow = 3, kMostHigh = 4, kManual = 5 };

// What the list asks of the tuning.
class FrequencyListLink {
 public:
  virtual ~FrequencyListLink() = default;
  // Tunes the channel's receiver to its target now.
  virtual void TuneReceiver(int channel) = 0;
  // Tunes the right receiver 200 ms later (Timer1); a timer already
  // running runs on.
  virtual void EnableTimer1() = 0;
};

// The ids 1..18 whose name is not "Unused", in id order; a station's place
// here is its row index (ListNoL, ListNoR).
std::vector<int> UsedStations(const HfdlReception& hfdl);
// Frequency k (0..2) a station announced as active; false when that slot
// is empty or outside 1..20.
bool ActiveFrequency(const HfdlReception& hfdl, int stationId, int k, int32_t& kHz);

// Rebuilds the rows, all cells empty, when the used stations differ from
// them; true when it did.
bool SyncFrequencyRows(RadioState& radio, const HfdlReception& hfdl);
// After a squitter's active frequencies were stored (and when the window is
// shown): the rows take the table's texts, and an engaged receiver whose
// station's row, or the other receiver's row above it, changed is tuned to
// the target its mode chooses.
void RefreshFrequencies(RadioState& radio, const RadioSettings& settings, const HfdlReception& hfdl,
                        FrequencyListLink& link);
// "Set frequency immediacy": the same choice over every used station
// without looking for changes; Manual tunes ManualL/ManualR.
void ForceSetting(RadioState& radio, const RadioSettings& settings, const HfdlReception& hfdl, FrequencyListLink& link);
