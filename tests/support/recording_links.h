#pragma once
// Recording stand-ins for the links a subsystem reaches the program
// through. Each answers from its public fields and keeps what it is asked
// to do, kind by kind.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "audio/audio_links.h"

namespace testing_support {

// The audio subsystem's links: the block pipeline's and the monitor
// button's.
class RecordingAudioLink : public BlockPipelineLink, public MonitorButtonLink {
 public:
  // Answers.
  bool running = true;
  bool monitorOn = false;
  bool statusPanelOn = true;
  bool inFrame[2] = {false, false};
  // Runs inside every decode.
  std::function<void(int channel, DecoderKind decoder)> onDecode;

  // The current HFDL block's symbols of a channel, as (I, Q) pairs; the
  // count handed out may be set apart from them (it is bounded by 512).
  void SetSymbols(int channel, const std::vector<std::pair<int32_t, int32_t>>& iq);
  int32_t symbolCount[2] = {0, 0};
  int32_t symbolI[2][512] = {};
  int32_t symbolQ[2][512] = {};

  // Records.
  std::vector<std::pair<int, DecoderKind>> decoded;
  std::vector<std::pair<Lamp, TColor>> lamps;
  std::vector<AudioPicture> shown;
  int clockSteps = 0;
  int blocksDone = 0;
  int inputsEnded = 0;
  int frameRestarts = 0;
  int timedMonitorStops = 0;
  int redrawRequests = 0;

  // The paints of one lamp, in order.
  std::vector<TColor> PaintsOf(Lamp lamp) const;
  int Shown(AudioPicture picture) const;
  void Clear();

  bool Running() const override { return running; }
  void DecodeBlock(int channel, DecoderKind decoder) override;
  void RestartFrames() override { ++frameRestarts; }
  bool InFrame(int channel) const override { return inFrame[channel]; }
  BlockSymbols HfdlSymbols(int channel) const override;
  void PaintLamp(Lamp lamp, TColor colour) override { lamps.emplace_back(lamp, colour); }
  void ShowPicture(AudioPicture picture, const Bitmap24&) override { shown.push_back(picture); }
  bool MonitorOn() const override { return monitorOn; }
  bool StatusPanelOn() const override { return statusPanelOn; }
  void ClockStepped() override { ++clockSteps; }
  void BlockDone() override { ++blocksDone; }
  void InputEnded() override { ++inputsEnded; }
  void StopTimedMonitor() override { ++timedMonitorStops; }
  void RequestAircraftLayerRedraw() override { ++redrawRequests; }
};

}  // namespace testing_support
