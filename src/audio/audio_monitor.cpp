#include "audio/audio_monitor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/form1_state.h"
#include "audio/noise_filters.h"
#include "map/map_services.h"
#include "selcal/selcal_services.h"

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

ChannelSet SelcalChannels(const Form1State& form) {
  if (form.audio.MonitorChannel == 0) return {true, false};
  if (form.audio.MonitorChannel == 1) return {false, true};
  return {form.Wave.DecoderL == 2, form.Wave.DecoderR == 2};
}

void RunFilters(Form1State& form, const ChannelSet& s) {
  auto each = [&form, &s](void (*filter)(Form1State&, int)) {
    if (s.left) filter(form, 0);
    if (s.right) filter(form, 1);
  };
  if (form.Form.SelCallNR) each(LmsFilter33);
  if (form.Form.SelCallAN) each(LmsFilter16);
  if (form.Form.SelCallNR || form.Form.SelCallAN) each(FirFilter51);
}

// Element 29 is the sample fed 30 samples ago; read it before pushing.
double PushDelay(double (&line)[kMonitorDelay], double x) {
  const double oldest = line[kMonitorDelay - 1];
  std::copy_backward(line, line + kMonitorDelay - 1, line + kMonitorDelay);
  line[0] = x;
  return oldest;
}

void FillOneChannel(Form1State& form, int c) {
  const bool wide = form.Form.SelCall3D != 0;
  for (int i = 0; i < kMonitorFrames; ++i) {
    const double x = form.audio.FilterBlock[c][i];
    const double p = PushDelay(form.audio.MonitorDelayLine[c], x);
    form.audio.MonitorSamples[2 * i] = wide ? (x - 0.5 * p) * kStereoGain : x;
    form.audio.MonitorSamples[2 * i + 1] = wide ? (x + 0.5 * p) * kStereoGain : x;
  }
}

// Each side takes the other channel's delayed sample.
void FillBothChannels(Form1State& form) {
  const bool wide = form.Form.SelCall3D != 0;
  for (int i = 0; i < kMonitorFrames; ++i) {
    const double x0 = form.audio.FilterBlock[0][i];
    const double x1 = form.audio.FilterBlock[1][i];
    const double p0 = PushDelay(form.audio.MonitorDelayLine[0], x0);
    const double p1 = PushDelay(form.audio.MonitorDelayLine[1], x1);
    form.audio.MonitorSamples[2 * i] = wide ? (x0 - 0.5 * p1) * kStereoGain : x0;
    form.audio.MonitorSamples[2 * i + 1] = wide ? (x1 + 0.5 * p0) * kStereoGain : x1;
  }
}

void ClearMonitorSamples(Form1State& form) { std::fill(std::begin(form.audio.MonitorSamples), std::end(form.audio.MonitorSamples), 0.0); }

}  // namespace

int16_t MonitorSample(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int16_t>(std::clamp(value, -kSampleLimit, kSampleLimit));
}

void StartAudioMonitor(Form1State& form, bool forced, int channel) {
  if (!form.controls.SpeedButton17Down) return;
  form.audio.MonitorForced = forced ? 1 : 0;
  form.audio.MonitorChannel = channel;
  for (auto& line : form.audio.MonitorDelayLine) std::fill(std::begin(line), std::end(line), 0.0);
  ClearMonitorSamples(form);
  // The playback's lead over the capture.
  for (int i = 0; i < kLeadBlocks; ++i) WriteMonitorBlock(form, form.audio.MonitorSamples);
}

void WriteSilentMonitorBlock(Form1State& form) {
  ClearMonitorSamples(form);
  WriteMonitorBlock(form, form.audio.MonitorSamples);
}

void WriteMonitorBlock(Form1State& form, const double* samples) {
  for (int i = 0; i < 2 * kMonitorFrames; ++i) form.audio.MonitorPcm[i] = MonitorSample(samples[i]);
  WaveOutDevice& out = form.audio.WaveOut;
  if (out.Handle) {
    // Capture and playback run on clocks of their own: a full device
    // loses the frames it has no room for rather than holding up the GUI.
    const int taken = std::clamp(out.Handle->Write(form.audio.MonitorPcm, kMonitorFrames), 0, kMonitorFrames);
    const int dropped = kMonitorFrames - taken;
    if (dropped > 0 && !form.audio.MonitorDropping) {
      std::fprintf(stderr, "monitor: playback full, %lld frames dropped so far\n",
                   static_cast<long long>(form.audio.MonitorDroppedFrames + dropped));
    }
    form.audio.MonitorDroppedFrames += dropped;
    form.audio.MonitorDropping = dropped > 0 ? 1 : 0;
  }
  out.Current = out.Current >= 7 || out.Current < 0 ? 0 : out.Current + 1;
}

void FeedAudioMonitor(Form1State& form) {
  if (form.audio.MonitorForced == 0) {
    for (int i = 0; i < kMonitorFrames; ++i) {
      form.audio.MonitorSamples[2 * i] = form.audio.FilterBlock[0][i];
      form.audio.MonitorSamples[2 * i + 1] = form.audio.FilterBlock[1][i];
    }
  } else {
    const ChannelSet s = SelcalChannels(form);
    RunFilters(form, s);
    if (s.left && s.right) {
      FillBothChannels(form);
    } else if (s.left || s.right) {
      FillOneChannel(form, s.left ? 0 : 1);
    } else {
      // No SELCAL channel: silence, not the last block over and over.
      ClearMonitorSamples(form);
    }
  }
  WriteMonitorBlock(form, form.audio.MonitorSamples);
}

void SpeedButton17Click(Form1State& form) {
  StartAudioMonitor(form, false, -1);
  if (!form.controls.SpeedButton17Down) {
    WriteSilentMonitorBlock(form);
    if (form.Form.TimeMoni) form.svc.selcal->DisableTimer1(form);
  }
  form.svc.map->Redraw(form, 0, 1, 0, 0);
}
