#include "support/recording_links.h"

#include <algorithm>

namespace testing_support {

void RecordingEffects::PaintLamp(Lamp lamp, TColor colour) {
  static const char* const kNames[3] = {"left", "right", "data"};
  lamps.push_back(std::string(kNames[static_cast<int>(lamp)]) + ":" + std::to_string(colour));
}

void RecordingEffects::ShowForm(int formNumber, bool) { shownForms.push_back(formNumber); }

void RecordingEffects::ShowAircraftInformation(const AircraftInformation& info) { information.push_back(info); }

void RecordingEffects::ShowChatLog(const std::string& cp932Log) { chatLogs.push_back(cp932Log); }

void RecordingSink::Clear() {
  frames.clear();
  blocks.clear();
  positions.clear();
  messages.clear();
}

std::string FixedLookups::LookupAirline3(const std::string& flightId) const {
  return flightId.compare(0, 3, "JAL") == 0 ? "JL" : "--";
}

bool FixedLookups::LookupAircraftType(const std::string& registration, std::string& type) const {
  if (registration != "JA8089") return false;
  type = "B777-200";
  return true;
}

void RecordingAcarsLink::PaintLamp(int channel, TColor colour) {
  lamps.push_back(std::to_string(channel) + ":" + std::to_string(colour));
}

void RecordingHfdlLink::SyncFound(int channel, int modeIndex, double freqError, bool otherChannelReceiving) {
  syncs.push_back({channel, modeIndex, freqError, otherChannelReceiving});
}

void RecordingAudioLink::SetSymbols(int channel, const std::vector<std::pair<int32_t, int32_t>>& iq) {
  symbolCount[channel] = static_cast<int32_t>(std::min<size_t>(iq.size(), 512));
  for (int32_t k = 0; k < symbolCount[channel]; ++k) {
    symbolI[channel][k] = iq[static_cast<size_t>(k)].first;
    symbolQ[channel][k] = iq[static_cast<size_t>(k)].second;
  }
}

void RecordingAudioLink::DecodeBlock(int channel, DecoderKind decoder) {
  decoded.emplace_back(channel, decoder);
  if (onDecode) onDecode(channel, decoder);
}

BlockSymbols RecordingAudioLink::HfdlSymbols(int channel) const {
  return {symbolI[channel], symbolQ[channel], symbolCount[channel]};
}

std::vector<TColor> RecordingAudioLink::PaintsOf(Lamp lamp) const {
  std::vector<TColor> paints;
  for (const auto& [l, c] : lamps) {
    if (l == lamp) paints.push_back(c);
  }
  return paints;
}

int RecordingAudioLink::Shown(AudioPicture picture) const {
  return static_cast<int>(std::count(shown.begin(), shown.end(), picture));
}

void RecordingAudioLink::Clear() {
  decoded.clear();
  lamps.clear();
  shown.clear();
  clockSteps = blocksDone = inputsEnded = frameRestarts = timedMonitorStops = redrawRequests = 0;
}

}  // namespace testing_support
