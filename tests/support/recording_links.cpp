#include "support/recording_links.h"

#include <algorithm>

namespace testing_support {

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
