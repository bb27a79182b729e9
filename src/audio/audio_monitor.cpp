#include "audio/audio_monitor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/audio_state.h"
#include "audio/noise_filters.h"

namespace {

constexpr double kSampleLimit = 32760.0;
// The pseudo-stereo gain: eleven sixes, deliberately not 2/3.
constexpr double kStereoGain = 0.66666666666;
constexpr int kLeadBlocks = 4;

// The channels the forced monitor plays.
struct ChannelSet {
  bool left = false;
  bool right = false;
};

ChannelSet SelcalChannels(const AudioState& audio, const WaveSettings& wave) {
  if (audio.MonitorChannel == 0) return {true, false};
  if (audio.MonitorChannel == 1) return {false, true};
  return {wave.DecoderL == DecoderKind::Selcal, wave.DecoderR == DecoderKind::Selcal};
}

void RunFilters(AudioState& audio, const FormSettings& form, const ChannelSet& s) {
  auto each = [&audio, &s](void (*filter)(AudioState&, int)) {
    if (s.left) filter(audio, 0);
    if (s.right) filter(audio, 1);
  };
  if (form.SelCallNR) each(LmsFilter33);
  if (form.SelCallAN) each(LmsFilter16);
  if (form.SelCallNR || form.SelCallAN) each(FirFilter51);
}

// Element 29 is the sample fed 30 samples ago; read it before pushing.
double PushDelay(double (&line)[kMonitorDelay], double x) {
  const double oldest = line[kMonitorDelay - 1];
  std::copy_backward(line, line + kMonitorDelay - 1, line + kMonitorDelay);
  line[0] = x;
  return oldest;
}

void FillOneChannel(AudioState& audio, const FormSettings& form, int c) {
  const bool wide = form.SelCall3D != 0;
  for (int i = 0; i < kMonitorFrames; ++i) {
    const double x = audio.FilterBlock[c][i];
    const double p = PushDelay(audio.MonitorDelayLine[c], x);
    audio.MonitorSamples[2 * i] = wide ? (x - 0.5 * p) * kStereoGain : x;
    audio.MonitorSamples[2 * i + 1] = wide ? (x + 0.5 * p) * kStereoGain : x;
  }
}

// Each side takes the other channel's delayed sample.
void FillBothChannels(AudioState& audio, const FormSettings& form) {
  const bool wide = form.SelCall3D != 0;
  for (int i = 0; i < kMonitorFrames; ++i) {
    const double x0 = audio.FilterBlock[0][i];
    const double x1 = audio.FilterBlock[1][i];
    const double p0 = PushDelay(audio.MonitorDelayLine[0], x0);
    const double p1 = PushDelay(audio.MonitorDelayLine[1], x1);
    audio.MonitorSamples[2 * i] = wide ? (x0 - 0.5 * p1) * kStereoGain : x0;
    audio.MonitorSamples[2 * i + 1] = wide ? (x1 + 0.5 * p0) * kStereoGain : x1;
  }
}

void ClearMonitorSamples(AudioState& audio) { std::fill(std::begin(audio.MonitorSamples), std::end(audio.MonitorSamples), 0.0); }

}  // namespace

int16_t MonitorSample(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int16_t>(std::clamp(value, -kSampleLimit, kSampleLimit));
}

void StartAudioMonitor(AudioState& audio, bool forced, int channel) {
  audio.MonitorForced = forced ? 1 : 0;
  audio.MonitorChannel = channel;
  for (auto& line : audio.MonitorDelayLine) std::fill(std::begin(line), std::end(line), 0.0);
  ClearMonitorSamples(audio);
  // The playback's lead over the capture.
  for (int i = 0; i < kLeadBlocks; ++i) WriteMonitorBlock(audio, audio.MonitorSamples);
}

void WriteSilentMonitorBlock(AudioState& audio) {
  ClearMonitorSamples(audio);
  WriteMonitorBlock(audio, audio.MonitorSamples);
}

void WriteMonitorBlock(AudioState& audio, const double* samples) {
  for (int i = 0; i < 2 * kMonitorFrames; ++i) audio.MonitorPcm[i] = MonitorSample(samples[i]);
  WaveOutDevice& out = audio.WaveOut;
  if (out.Handle) {
    // Capture and playback run on clocks of their own: a full device
    // loses the frames it has no room for rather than holding up the GUI.
    const int taken = std::clamp(out.Handle->Write(audio.MonitorPcm, kMonitorFrames), 0, kMonitorFrames);
    const int dropped = kMonitorFrames - taken;
    if (dropped > 0 && !audio.MonitorDropping) {
      std::fprintf(stderr, "monitor: playback full, %lld frames dropped so far\n",
                   static_cast<long long>(audio.MonitorDroppedFrames + dropped));
    }
    audio.MonitorDroppedFrames += dropped;
    audio.MonitorDropping = dropped > 0 ? 1 : 0;
  }
  out.Current = out.Current >= 7 || out.Current < 0 ? 0 : out.Current + 1;
}

void FeedAudioMonitor(AudioState& audio, const WaveSettings& wave, const FormSettings& form) {
  if (audio.MonitorForced == 0) {
    for (int i = 0; i < kMonitorFrames; ++i) {
      audio.MonitorSamples[2 * i] = audio.FilterBlock[0][i];
      audio.MonitorSamples[2 * i + 1] = audio.FilterBlock[1][i];
    }
  } else {
    const ChannelSet s = SelcalChannels(audio, wave);
    RunFilters(audio, form, s);
    if (s.left && s.right) {
      FillBothChannels(audio, form);
    } else if (s.left || s.right) {
      FillOneChannel(audio, form, s.left ? 0 : 1);
    } else {
      // No SELCAL channel: silence, not the last block over and over.
      ClearMonitorSamples(audio);
    }
  }
  WriteMonitorBlock(audio, audio.MonitorSamples);
}

void SpeedButton17Click(AudioState& audio, const FormSettings& form, bool buttonDown, MonitorButtonLink& link) {
  if (buttonDown) {
    StartAudioMonitor(audio, false, -1);
  } else {
    WriteSilentMonitorBlock(audio);
    if (form.TimeMoni) link.StopTimedMonitor();
  }
  link.RequestAircraftLayerRedraw();
}
