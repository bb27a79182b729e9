#include "radio/manual_tuning.h"

#include "hfdl/hfdl_reception.h"

namespace {

constexpr int kSlots = 20;
constexpr size_t kKeypadDigits = 5;
constexpr int32_t kLowestManualKhz = 1601;
constexpr int32_t kAboveManualKhz = 30000;

int32_t& TargetOf(RadioState& radio, int channel) { return channel == 0 ? radio.TargetFreqL : radio.TargetFreqR; }

}  // namespace

void ShowGrid(RadioState& radio, const HfdlReception& hfdl) {
  radio.GridRowStation.assign(1, 0);
  for (int id : UsedStations(hfdl)) radio.GridRowStation.push_back(id);
  radio.LastGridCell = GridCell{};
}

bool SelectGridCell(RadioState& radio, const HfdlReception& hfdl, int column, int row) {
  const int channel = radio.GridChannel == 1 ? 1 : 0;
  const GridCell cell{channel, column, row};
  if (cell == radio.LastGridCell) return false;
  if (column < 1 || column > kSlots || row < 1 || static_cast<size_t>(row) >= radio.GridRowStation.size()) return false;
  const int id = radio.GridRowStation[static_cast<size_t>(row)];
  TargetOf(radio, channel) = hfdl.GsFrequencies[id][column - 1];
  radio.LastGridCell = cell;
  return true;
}

void OpenKeypad(RadioState& radio, const RadioSettings& settings, int channel) {
  radio.KeypadChannel = channel;
  radio.KeypadLastValue = std::to_string(channel == 0 ? settings.ManualL : settings.ManualR);
  radio.KeypadEntry.clear();
}

std::string KeypadDisplay(const RadioState& radio) {
  return radio.KeypadEntry.empty() ? radio.KeypadLastValue : radio.KeypadEntry;
}

void PressKeypadDigit(RadioState& radio, RadioSettings& settings, FrequencyListLink& link, int digit) {
  if (digit < 0 || digit > 9) return;
  radio.KeypadEntry += static_cast<char>('0' + digit);
  if (radio.KeypadEntry.size() >= kKeypadDigits) PressKeypadEnter(radio, settings, link);
}

void PressKeypadEnter(RadioState& radio, RadioSettings& settings, FrequencyListLink& link) {
  if (radio.KeypadEntry.empty()) return;
  const int32_t value = std::stoi(radio.KeypadEntry);
  if (value >= kLowestManualKhz && value < kAboveManualKhz) {
    const int channel = radio.KeypadChannel == 1 ? 1 : 0;
    TargetOf(radio, channel) = value;
    (channel == 0 ? settings.ManualL : settings.ManualR) = value;
    link.TuneReceiver(channel);
    radio.KeypadLastValue = radio.KeypadEntry;
  }
  radio.KeypadEntry.clear();
}

void PressKeypadClear(RadioState& radio) { radio.KeypadEntry.clear(); }
