// The block pipeline on prepared buffers, decoders idle and displays empty:
// how many seconds of audio one second of CPU gets through.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "audio/audio_services.h"
#include "audio/block_pipeline.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "selcal/selcal_services.h"

namespace {

struct IdleAcars : AcarsServices {
  void DemodulateAcarsBlock(Form1State&, int) override {}
};
struct IdleHfdl : HfdlServices {
  void DemodulateHfdlBlock(Form1State&, int) override {}
};
struct IdleSelcal : SelcalServices {
  void DecodeSelcalBlock(Form1State&, int) override {}
};
struct IdleExchange : ExchangeServices {
  void UpdateDailyLogNames(Form1State&, bool) override {}
};
struct IdleAircraft : AircraftServices {
  void UpdateTrackAges(Form1State&) override {}
};
struct EmptyDisplays : AudioServices {
  void FeedAudioMonitor(Form1State&) override {}
  void DrawSpectrum(Form1State&) override {}
  void DrawClockFace(Form1State&) override {}
  void DrawLevelMeters(Form1State&, const int16_t*, int) override {}
  void DrawConstellation(Form1State&) override {}
};

// range(0): WaveRate (0 11025, 1 22050, 2 44100 Hz); range(1): WaveDual.
void BM_ProcessAudioBlock(benchmark::State& state) {
  IdleAcars acars;
  IdleHfdl hfdl;
  IdleSelcal selcal;
  IdleExchange exchange;
  IdleAircraft aircraft;
  EmptyDisplays displays;
  Form1State form;
  form.svc.acars = &acars;
  form.svc.hfdl = &hfdl;
  form.svc.selcal = &selcal;
  form.svc.exchange = &exchange;
  form.svc.aircraft = &aircraft;
  form.svc.audio = &displays;
  form.Wave.WaveRate = static_cast<int32_t>(state.range(0));
  form.Wave.WaveDual = static_cast<int32_t>(state.range(1));
  form.Wave.DecoderL = 1;
  form.Wave.DecoderR = 0;
  form.svc.audio->SetSampleRate(form);
  form.app.Running = 1;

  const int frames = form.audio.WaveIn.BufferFrames;
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0.0, 2000.0);
  std::vector<std::vector<int16_t>> buffers(16, std::vector<int16_t>(2 * static_cast<size_t>(frames)));
  for (auto& buffer : buffers) {
    for (int16_t& s : buffer) s = static_cast<int16_t>(std::lround(noise(random)));
  }
  size_t next = 0;
  for (auto _ : state) {
    ProcessAudioBlock(form, buffers[next].data(), frames);
    next = (next + 1) % buffers.size();
    benchmark::DoNotOptimize(form.audio.AudioBlock[0][511]);
  }
  // Every buffer spans 2048/44100 s at every rate.
  state.counters["audio_seconds_per_cpu_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 2048.0 / 44100.0, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ProcessAudioBlock)
    ->ArgNames({"WaveRate", "WaveDual"})
    ->ArgsProduct({{0, 1, 2}, {1, 2}});

}  // namespace

BENCHMARK_MAIN();
