#include "audio/block_pipeline.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "audio/anti_alias_filter.h"
#include "audio/audio_monitor.h"
#include "audio/audio_state.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/spectrum_display.h"

namespace {

constexpr int kBlockSamples = 512;
constexpr int kMaxBufferFrames = 2048;
// A lamp stays lit this many blocks (about 0.3 s) after the last result.
constexpr int kLampHoldBlocks = 6;
constexpr TColor kAqua = 0x00FFFF00;
constexpr TColor kBlack = 0x00000000;

// A number no decoder has (a hand-edited file) decodes nothing.
void Decode(BlockPipelineLink& link, DecoderKind decoder, int channel) {
  if (decoder != DecoderKind::VhfAcars && decoder != DecoderKind::Hfdl && decoder != DecoderKind::Selcal) return;
  link.DecodeBlock(channel, decoder);
}

// Both channels, always: the monitor and the displays read the one that
// is not decoded too.
void SplitAndResample(AudioState& audio, const int16_t* interleaved, int frames) {
  frames = std::clamp(frames, 0, kMaxBufferFrames);
  const int factor = audio.SampleRate == 44100 ? 4 : audio.SampleRate == 22050 ? 2 : 1;
  for (int ch = 0; ch < 2; ++ch) {
    double* row = audio.AudioBlock[ch];
    for (int i = 0; i < frames; ++i) row[i] = interleaved[2 * i + ch];
    if (factor > 1) FilterAndDecimate(row, frames, factor, AntiAliasTapsFor(audio.SampleRate), audio.ResampleDelay[ch]);
    // Taken before any decoder runs: decoders overwrite their row.
    std::copy(row, row + kBlockSamples, audio.FilterBlock[ch]);
  }
}

// The decoders light the lock lamps and set their counters to 0; here
// they are counted up and put out. The pipeline alone runs the data lamp.
void TimeOutLamps(AudioState& audio, const WaveSettings& wave, BlockPipelineLink& link) {
  std::array<int32_t, 3>& hold = audio.RxLampHold;
  if (hold[2] < kLampHoldBlocks) {
    link.PaintLamp(Lamp::Data, kAqua);
    ++hold[2];
  } else {
    link.PaintLamp(Lamp::Data, kBlack);
  }
  // HFDL and SELCAL channels' lamps belong to their decoders.
  const std::pair<DecoderKind, Lamp> lockLamps[2] = {{wave.DecoderL, Lamp::Left}, {wave.DecoderR, Lamp::Right}};
  for (int ch = 0; ch < 2; ++ch) {
    if (lockLamps[ch].first != DecoderKind::VhfAcars) continue;
    if (hold[static_cast<size_t>(ch)] < kLampHoldBlocks) {
      ++hold[static_cast<size_t>(ch)];
    } else {
      link.PaintLamp(lockLamps[ch].second, kBlack);
    }
  }
}

}  // namespace

void ProcessAudioBlock(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                       const int16_t* interleaved, int frames) {
  if (!link.Running()) return;
  ++audio.ProcessedBuffers;
  audio.LastBufferTime = std::chrono::steady_clock::now();

  SplitAndResample(audio, interleaved, frames);
  // WaveDual 0 is a server that does not decode its own audio.
  if (settings.Wave.WaveDual != 0) {
    Decode(link, settings.Wave.DecoderL, 0);
    if (settings.Wave.WaveDual == 2) Decode(link, settings.Wave.DecoderR, 1);
  }

  if (link.MonitorOn()) FeedAudioMonitor(audio, settings.Wave, settings.Form);
  // The display pass on every second block.
  if (audio.PipelineCounter == 0) {
    if (link.StatusPanelOn() && settings.Form.SpectrumRefresh != 0) DrawSpectrum(audio, settings.Wave, settings.Etc, link);
    RunClockStep(audio, settings, link);
    DrawLevelMeters(audio, settings.Wave, settings.Color, link, interleaved, frames);
    audio.PipelineCounter = 1;
  } else {
    audio.PipelineCounter = 0;
  }
  if (settings.Etc.DispType != 0 && link.StatusPanelOn()) DrawConstellation(audio, settings.Etc, settings.Color, link);

  TimeOutLamps(audio, settings.Wave, link);
  ++audio.BlockCounter;
  link.BlockDone();
}

std::string ClockText(const EtcSettings& etc, TDateTime now) {
  int year, month, day, hour, minute, second;
  platform::DecodeDateTime(now, year, month, day, hour, minute, second);
  // In whole seconds, so that any offset gives a time of day.
  int64_t seconds = hour * 3600 + minute * 60 + second;
  if (etc.DispTime) seconds -= static_cast<int64_t>(etc.LocalHourOffset) * 3600;
  seconds %= 86400;
  if (seconds < 0) seconds += 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

void RunClockStep(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link) {
  const TDateTime now = platform::Now();
  std::string text = ClockText(settings.Etc, now);
  if (text == audio.ClockCache) return;
  audio.ClockCache = std::move(text);
  audio.BlockTime = now;
  link.ClockStepped();
  DrawClockFace(audio, settings.Color);
}
