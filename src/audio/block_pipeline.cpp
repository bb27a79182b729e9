#include "audio/block_pipeline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "audio/anti_alias_filter.h"
#include "audio/audio_services.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "selcal/selcal_services.h"

namespace {

constexpr int kBlockSamples = 512;
constexpr int kMaxBufferFrames = 2048;
// A lamp stays lit this many blocks (about 0.3 s) after the last result.
constexpr int kLampHoldBlocks = 6;
constexpr TColor kAqua = 0x00FFFF00;
constexpr TColor kBlack = 0x00000000;

void Decode(Form1State& form, int decoder, int channel) {
  switch (decoder) {
    case 0: form.svc.acars->DemodulateAcarsBlock(form, channel); break;
    case 1: form.svc.hfdl->DemodulateHfdlBlock(form, channel); break;
    case 2: form.svc.selcal->DecodeSelcalBlock(form, channel); break;
    default: break;
  }
}

// Both channels, always: the monitor and the displays read the one that
// is not decoded too.
void SplitAndResample(Form1State& form, const int16_t* interleaved, int frames) {
  frames = std::clamp(frames, 0, kMaxBufferFrames);
  const int factor = form.audio.SampleRate == 44100 ? 4 : form.audio.SampleRate == 22050 ? 2 : 1;
  for (int ch = 0; ch < 2; ++ch) {
    double* row = form.audio.AudioBlock[ch];
    for (int i = 0; i < frames; ++i) row[i] = interleaved[2 * i + ch];
    if (factor > 1) FilterAndDecimate(row, frames, factor, AntiAliasTapsFor(form.audio.SampleRate), form.audio.ResampleDelay[ch]);
    // Taken before any decoder runs: decoders overwrite their row.
    std::copy(row, row + kBlockSamples, form.audio.FilterBlock[ch]);
  }
}

// The decoders light the lock lamps and set their counters to 0; here
// they are counted up and put out. The pipeline alone runs the data lamp.
void TimeOutLamps(Form1State& form) {
  std::array<int32_t, 3>& hold = form.audio.RxLampHold;
  FormEffects& effects = *form.svc.effects;
  if (hold[2] < kLampHoldBlocks) {
    effects.PaintLamp(Lamp::Data, kAqua);
    ++hold[2];
  } else {
    effects.PaintLamp(Lamp::Data, kBlack);
  }
  // HFDL and SELCAL channels' lamps belong to their decoders.
  const std::pair<int32_t, Lamp> lockLamps[2] = {{form.Wave.DecoderL, Lamp::Left}, {form.Wave.DecoderR, Lamp::Right}};
  for (int ch = 0; ch < 2; ++ch) {
    if (lockLamps[ch].first != 0) continue;
    if (hold[static_cast<size_t>(ch)] < kLampHoldBlocks) {
      ++hold[static_cast<size_t>(ch)];
    } else {
      effects.PaintLamp(lockLamps[ch].second, kBlack);
    }
  }
}

}  // namespace

void ProcessAudioBlock(Form1State& form, const int16_t* interleaved, int frames) {
  if (!form.app.Running) return;
  ++form.audio.ProcessedBuffers;
  form.audio.LastBufferTime = std::chrono::steady_clock::now();

  SplitAndResample(form, interleaved, frames);
  // WaveDual 0 is a server that does not decode its own audio.
  if (form.Wave.WaveDual != 0) {
    Decode(form, form.Wave.DecoderL, 0);
    if (form.Wave.WaveDual == 2) Decode(form, form.Wave.DecoderR, 1);
  }

  AudioServices& audio = *form.svc.audio;
  if (form.controls.SpeedButton17Down) audio.FeedAudioMonitor(form);
  // The display pass on every second block.
  if (form.audio.PipelineCounter == 0) {
    if (form.controls.N27Checked && form.Form.SpectrumRefresh != 0) audio.DrawSpectrum(form);
    RunClockStep(form);
    audio.DrawLevelMeters(form, interleaved, frames);
    form.audio.PipelineCounter = 1;
  } else {
    form.audio.PipelineCounter = 0;
  }
  if (form.Etc.DispType != 0 && form.controls.N27Checked) audio.DrawConstellation(form);

  TimeOutLamps(form);
  ++form.audio.BlockCounter;
}

std::string ClockText(const Form1State& form, TDateTime now) {
  int year, month, day, hour, minute, second;
  platform::DecodeDateTime(now, year, month, day, hour, minute, second);
  // In whole seconds, so that any offset gives a time of day.
  int64_t seconds = hour * 3600 + minute * 60 + second;
  if (form.Etc.DispTime) seconds -= static_cast<int64_t>(form.Etc.LocalHourOffset) * 3600;
  seconds %= 86400;
  if (seconds < 0) seconds += 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

void RunClockStep(Form1State& form) {
  const TDateTime now = platform::Now();
  std::string text = ClockText(form, now);
  if (text == form.audio.ClockCache) return;
  form.audio.ClockCache = std::move(text);
  form.svc.exchange->UpdateDailyLogNames(form, false);
  form.audio.BlockTime = now;
  if (form.Map.TimeAdjust) form.svc.aircraft->UpdateTrackAges(form);
  form.svc.audio->DrawClockFace(form);
}
