#include "radio/frequency_list.h"

#include "hfdl/hfdl_reception.h"
#include "platform/date_time.h"

namespace {

constexpr int kFirstStation = 1;
constexpr int kLastStation = 18;
constexpr int kSlots = 20;
// Most Low starts above every HFDL frequency; a target still here found
// nothing.
constexpr int32_t kNothingLower = 30000;

// One receiver's settings and the target a walk is choosing for it. The
// choice stays local until the receiver is tuned, so that a refresh does
// not clobber a target Timer1 is still waiting to send.
struct Choice {
  bool engaged;
  int32_t row;
  int32_t mode;
  int32_t target;

  Choice(flag engage, int32_t listNo, int32_t selFreq)
      : engaged(engage != 0), row(listNo), mode(selFreq), target(selFreq == kMostLow ? kNothingLower : 0) {}

  bool Follows(int r) const { return engaged && r == row; }

  // Slot k's frequency f: strict comparisons, so of equal frequencies the
  // first slot wins.
  void Consider(int k, int32_t f) {
    if (mode >= kFrequency1 && mode <= kFrequency3) {
      if (k == mode) target = f;
    } else if (mode == kMostLow) {
      if (f < target) target = f;
    } else if (mode == kMostHigh) {
      if (f > target) target = f;
    }
  }

  void ConsiderRow(const HfdlReception& hfdl, int stationId) {
    for (int k = 0; k < 3; ++k) {
      int32_t f = 0;
      if (ActiveFrequency(hfdl, stationId, k, f)) Consider(k, f);
    }
  }

  // What a refresh tunes: a found frequency of a mode the list follows.
  bool Found() const { return target != 0 && target != kNothingLower && mode < kManual; }
  // What the force setting tunes: Manual, or a fixed slot even when empty
  // (target 0 opens and closes the port); not Most Low that found nothing,
  // nor a mode out of range.
  bool Forced() const {
    return mode == kManual || (mode >= kFrequency1 && mode <= kMostHigh && target != kNothingLower);
  }
};

}  // namespace

std::vector<int> UsedStations(const HfdlReception& hfdl) {
  std::vector<int> ids;
  for (int id = kFirstStation; id <= kLastStation; ++id) {
    if (hfdl.GsNames[static_cast<size_t>(id)] != "Unused") ids.push_back(id);
  }
  return ids;
}

bool ActiveFrequency(const HfdlReception& hfdl, int stationId, int k, int32_t& kHz) {
  // Squitters store 1..20 only; the bound keeps any other writer from
  // indexing past the frequency table.
  const int32_t slot = hfdl.GsActiveFreqs[stationId][k];
  if (slot < 1 || slot > kSlots) return false;
  kHz = hfdl.GsFrequencies[stationId][slot - 1];
  return true;
}

bool SyncFrequencyRows(RadioState& radio, const HfdlReception& hfdl) {
  const std::vector<int> ids = UsedStations(hfdl);
  bool same = ids.size() == radio.FrequencyRows.size();
  for (size_t r = 0; same && r < ids.size(); ++r) {
    same = radio.FrequencyRows[r].stationId == ids[r] &&
           radio.FrequencyRows[r].name == hfdl.GsNames[static_cast<size_t>(ids[r])];
  }
  if (same) return false;
  radio.FrequencyRows.clear();
  for (int id : ids) {
    FrequencyRow row;
    row.stationId = id;
    row.name = hfdl.GsNames[static_cast<size_t>(id)];
    radio.FrequencyRows.push_back(row);
  }
  return true;
}

void RefreshFrequencies(RadioState& radio, const RadioSettings& settings, const HfdlReception& hfdl,
                        FrequencyListLink& link) {
  SyncFrequencyRows(radio, hfdl);
  Choice left(settings.EngageL, settings.ListNoL, settings.SelFreqL);
  Choice right(settings.EngageR, settings.ListNoR, settings.SelFreqR);
  // Set by a text change in a followed row, and kept for the rows after it.
  bool changed = false;
  for (size_t index = 0; index < radio.FrequencyRows.size(); ++index) {
    const int r = static_cast<int>(index);
    FrequencyRow& row = radio.FrequencyRows[index];
    const int id = row.stationId;
    int32_t f = 0;
    row.checkedTime = ActiveFrequency(hfdl, id, 0, f)
                          ? platform::FormatTime(hfdl.GsCheckedTime[static_cast<size_t>(id)])
                          : "--:--:--";
    const bool followed = r == settings.ListNoL || r == settings.ListNoR;
    for (int k = 0; k < 3; ++k) {
      if (!ActiveFrequency(hfdl, id, k, f)) {
        row.frequencies[k] = "-";  // a slot becoming empty is no change
        continue;
      }
      const std::string text = std::to_string(f) + "kHz";
      if (followed && text != row.frequencies[k]) changed = true;
      row.frequencies[k] = text;
    }
    if (!changed) continue;
    if (left.Follows(r)) left.ConsiderRow(hfdl, id);
    if (right.Follows(r)) right.ConsiderRow(hfdl, id);
    if (left.Follows(r) && left.Found()) {
      radio.TargetFreqL = left.target;
      link.TuneReceiver(0);
    }
    if (right.Follows(r) && right.Found()) {
      radio.TargetFreqR = right.target;
      link.EnableTimer1();
    }
  }
  if (radio.RowsChanged) radio.RowsChanged();
}

void ForceSetting(RadioState& radio, const RadioSettings& settings, const HfdlReception& hfdl,
                  FrequencyListLink& link) {
  Choice left(settings.EngageL, settings.ListNoL, settings.SelFreqL);
  Choice right(settings.EngageR, settings.ListNoR, settings.SelFreqR);
  const std::vector<int> ids = UsedStations(hfdl);
  for (size_t index = 0; index < ids.size(); ++index) {
    const int r = static_cast<int>(index);
    if (left.Follows(r)) {
      left.ConsiderRow(hfdl, ids[index]);
      if (left.mode == kManual) left.target = settings.ManualL;
      if (left.Forced()) {
        radio.TargetFreqL = left.target;
        link.TuneReceiver(0);
      }
    }
    if (right.Follows(r)) {
      right.ConsiderRow(hfdl, ids[index]);
      if (right.mode == kManual) right.target = settings.ManualR;
      if (right.Forced()) {
        radio.TargetFreqR = right.target;
        link.EnableTimer1();
      }
    }
  }
}
