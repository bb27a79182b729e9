// The displays and the monitor on one block each: a display pass (both
// channels' waterfall, the clock face and the meters), the constellation,
// and the forced monitor with every filter on both channels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "audio/audio_monitor.h"
#include "audio/audio_state.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/spectrum_display.h"

namespace {

// Forty symbols a channel; the pictures go nowhere.
struct DisplayLink : BlockPipelineLink {
  int32_t I[2][40] = {};
  int32_t Q[2][40] = {};
  bool Running() const override { return true; }
  void DecodeBlock(int, DecoderKind) override {}
  void RestartFrames() override {}
  bool InFrame(int channel) const override { return channel == 0; }
  BlockSymbols HfdlSymbols(int channel) const override { return {I[channel], Q[channel], 40}; }
  void PaintLamp(Lamp, TColor) override {}
  void ShowPicture(AudioPicture, const Bitmap24&) override {}
  bool MonitorOn() const override { return true; }
  bool StatusPanelOn() const override { return true; }
  void ClockStepped() override {}
  void BlockDone() override {}
  void InputEnded() override {}
};

struct Displays {
  Displays() {
    audio.SpectrumFft = BuildFftTables();
    audio.SpectrumBitmap.Resize(55, 42);
    audio.ClockBitmap.Resize(133, 42);
    wave.WaveDual = 2;
    etc.FFTSel = 2;
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 2000.0);
    for (auto& row : audio.FilterBlock)
      for (int i = 0; i < 512; ++i) row[i] = noise(random);
    for (int ch = 0; ch < 2; ++ch) {
      for (int k = 0; k < 40; ++k) {
        link.I[ch][k] = static_cast<int32_t>(noise(random) * 20);
        link.Q[ch][k] = static_cast<int32_t>(noise(random) * 20);
      }
    }
  }
  AudioState audio;
  WaveSettings wave;
  EtcSettings etc;
  FormSettings form;
  ColorSettings color;
  DisplayLink link;
};

void BM_DisplayPass(benchmark::State& state) {
  auto d = std::make_unique<Displays>();
  std::vector<int16_t> raw(2 * 2048, 1234);
  int second = 0;
  for (auto _ : state) {
    DrawSpectrum(d->audio, d->wave, d->etc, d->link);
    // The face only when the clock text changes: once in ten passes.
    if (++second % 10 == 0) {
      d->audio.ClockCache = second % 20 ? "12:34:56" : "12:34:57";
      DrawClockFace(d->audio, d->color);
    }
    DrawLevelMeters(d->audio, d->wave, d->color, d->link, raw.data(), 2048);
    benchmark::DoNotOptimize(d->audio.SpectrumLevels[10][0]);
  }
}
BENCHMARK(BM_DisplayPass);

void BM_Constellation(benchmark::State& state) {
  auto d = std::make_unique<Displays>();
  for (auto _ : state) DrawConstellation(d->audio, d->etc, d->color, d->link);
}
BENCHMARK(BM_Constellation);

void BM_ForcedMonitorAllFilters(benchmark::State& state) {
  auto d = std::make_unique<Displays>();
  d->wave.DecoderL = d->wave.DecoderR = DecoderKind::Selcal;
  d->form.SelCallNR = d->form.SelCallAN = d->form.SelCall3D = 1;
  StartAudioMonitor(d->audio, true, -1);
  for (auto _ : state) {
    FeedAudioMonitor(d->audio, d->wave, d->form);
    benchmark::DoNotOptimize(d->audio.MonitorPcm[0]);
  }
}
BENCHMARK(BM_ForcedMonitorAllFilters);

}  // namespace

BENCHMARK_MAIN();
