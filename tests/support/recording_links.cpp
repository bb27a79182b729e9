#include "support/recording_links.h"

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

}  // namespace testing_support
