// The displays and the monitor on one block each: a display pass (both
// channels' waterfall, the clock face and the meters), the constellation,
// and the forced monitor with every filter on both channels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "app/form1_state.h"
#include "audio/audio_monitor.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/spectrum_display.h"

namespace {

void Prepare(Form1State& form) {
  form.audio.SpectrumFft = BuildFftTables();
  form.audio.SpectrumBitmap.Resize(55, 42);
  form.audio.ClockBitmap.Resize(133, 42);
  form.Wave.WaveDual = 2;
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0.0, 2000.0);
  for (auto& row : form.audio.FilterBlock)
    for (int i = 0; i < 512; ++i) row[i] = noise(random);
  for (auto& symbols : form.hfdl.HfdlBlockSymbols) {
    symbols.Count = 40;
    for (int k = 0; k < 40; ++k) {
      symbols.I[k] = static_cast<int32_t>(noise(random) * 20);
      symbols.Q[k] = static_cast<int32_t>(noise(random) * 20);
    }
  }
}

void BM_DisplayPass(benchmark::State& state) {
  Form1State form;
  Prepare(form);
  form.Etc.FFTSel = 2;
  std::vector<int16_t> raw(2 * 2048, 1234);
  int second = 0;
  for (auto _ : state) {
    DrawSpectrum(form);
    // The face only when the clock text changes: once in ten passes.
    if (++second % 10 == 0) {
      form.audio.ClockCache = second % 20 ? "12:34:56" : "12:34:57";
      DrawClockFace(form);
    }
    DrawLevelMeters(form, raw.data(), 2048);
    benchmark::DoNotOptimize(form.audio.SpectrumLevels[10][0]);
  }
}
BENCHMARK(BM_DisplayPass);

void BM_Constellation(benchmark::State& state) {
  Form1State form;
  Prepare(form);
  form.Etc.FFTSel = 2;
  for (auto _ : state) DrawConstellation(form);
}
BENCHMARK(BM_Constellation);

void BM_ForcedMonitorAllFilters(benchmark::State& state) {
  Form1State form;
  Prepare(form);
  form.Wave.DecoderL = form.Wave.DecoderR = 2;
  form.Form.SelCallNR = form.Form.SelCallAN = form.Form.SelCall3D = 1;
  form.controls.SpeedButton17Down = 1;
  StartAudioMonitor(form, true, -1);
  for (auto _ : state) {
    FeedAudioMonitor(form);
    benchmark::DoNotOptimize(form.audio.MonitorPcm[0]);
  }
}
BENCHMARK(BM_ForcedMonitorAllFilters);

}  // namespace

BENCHMARK_MAIN();
