#include "support/recording_links.h"

#include <algorithm>

#include "hfdl/crc.h"
#include "hfdl/hfdl_reception.h"

namespace testing_support {

void RecordingEffects::PaintLamp(Lamp lamp, TColor colour) {
  static const char* const kNames[3] = {"left", "right", "data"};
  lamps.push_back(std::string(kNames[static_cast<int>(lamp)]) + ":" + std::to_string(colour));
}

void RecordingEffects::ShowForm(int formNumber, bool) { shownForms.push_back(formNumber); }

void RecordingEffects::ShowAircraftInformation(const AircraftInformation& info) { information.push_back(info); }

void RecordingEffects::ShowChatLog(const std::string& cp932Log) { chatLogs.push_back(cp932Log); }

std::vector<RecordingMapSink::SegmentCall> RecordingMapSink::SegmentsIn(TColor colour) const {
  std::vector<SegmentCall> found;
  for (const SegmentCall& s : segments) {
    if (s.pen.colour == colour) found.push_back(s);
  }
  return found;
}

std::vector<std::string> RecordingMapSink::TextsOnly() const {
  std::vector<std::string> found;
  for (const TextCall& t : texts) found.push_back(t.text);
  return found;
}

void RecordingMapLinks::ShowMapPicture(const Bitmap24&) {
  ++shown;
  if (onShow) onShow();
}

void RecordingSink::Clear() {
  frames.clear();
  blocks.clear();
  positions.clear();
  messages.clear();
}

void RecordingAircraftLink::AddCompany(const std::string& code) {
  if (std::find(companies.begin(), companies.end(), code) == companies.end()) companies.push_back(code);
}

void RecordingAircraftLink::RemoveCompany(const std::string& code) {
  const auto it = std::find(companies.begin() + 1, companies.end(), code);
  if (it != companies.end()) companies.erase(it);
  companyIndex = 0;
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

int FeedHfdl(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, const std::vector<double>& samples) {
  int most = 0;
  double block[512];
  for (size_t n = 0; n < samples.size(); n += 512) {
    const size_t take = std::min<size_t>(512, samples.size() - n);
    std::fill(std::copy(samples.begin() + static_cast<long>(n), samples.begin() + static_cast<long>(n + take), block),
              block + 512, 0.0);
    DemodulateHfdlBlock(hfdl, link, channel, block);
    most = std::max(most, hfdl.HfdlBlockSymbols[channel].Count);
  }
  return most;
}

bool HfdlChecksPass(const std::vector<uint8_t>& octets, bool squitter) {
  const size_t bits = 8 * octets.size();
  if (squitter) return CheckCrc16(octets.data(), bits, 0, 64);
  const int lpdus = octets.empty() ? 0 : (octets[0] >> 2) & 15;
  if (lpdus == 0 || !CheckCrc16(octets.data(), bits, 0, 6 + lpdus)) return false;
  long position = 8 + lpdus;
  for (int k = 0; k < lpdus; ++k) {
    const int size = octets[static_cast<size_t>(6 + k)];
    if (!CheckCrc16(octets.data(), bits, position, size - 1)) return false;
    position += size + 1;
  }
  return true;
}

void RecordingTuner::TuneReceiver(int channel) {
  calls.push_back((channel == 0 ? "L " : "R ") +
                  std::to_string(channel == 0 ? radio_.TargetFreqL : radio_.TargetFreqR));
}

void RecordingTuner::EnableTimer1() { calls.push_back("Timer1 R " + std::to_string(radio_.TargetFreqR)); }

void FakeTuningLink::Run(int untilMs) {
  while (controller_) {
    if (untaken_ > 0 && takesBytes && portOpen) {
      const int64_t count = untaken_;
      untaken_ = 0;
      controller_->BytesWritten(count);
      continue;
    }
    auto next = due_.begin();
    for (auto it = due_.begin(); it != due_.end(); ++it) {
      if (it->second < next->second) next = it;
    }
    if (next == due_.end() || next->second > untilMs) {
      if (untilMs != 1 << 30) nowMs = untilMs;
      return;
    }
    nowMs = next->second;
    const RadioTimer timer = next->first;
    due_.erase(next);
    controller_->TimerFired(timer);
  }
}

Bytes FakeTuningLink::Written() const {
  Bytes all;
  for (const Write& w : writes) all.insert(all.end(), w.bytes.begin(), w.bytes.end());
  return all;
}

bool FakeTuningLink::OpenPort(const std::string& name, int stopBits, std::string& reason) {
  events.push_back("open " + name + " " + std::to_string(stopBits));
  if (!openFailure.empty()) {
    reason = openFailure;
    return false;
  }
  portOpen = true;
  return true;
}

void FakeTuningLink::WritePort(const Bytes& bytes) {
  writes.push_back({nowMs, bytes});
  untaken_ += static_cast<int64_t>(bytes.size());
}

void FakeTuningLink::ClosePort() {
  events.push_back("close");
  portOpen = false;
  untaken_ = 0;
}

void RecordingMailLink::MailChanged() {
  const std::string last = statusTexts.empty() ? std::string() : statusTexts.back();
  if (queue_.StatusText != last) statusTexts.push_back(queue_.StatusText);
  inFlight.push_back(queue_.InFlight());
}

}  // namespace testing_support
