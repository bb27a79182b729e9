// HFDL reception: 60 s of audio at 11025 Hz with bursts of all eight modes,
// fed block by block through the demodulator, decoded and handed to the
// analysis stand-in.
#include <benchmark/benchmark.h>

#include "hfdl_harness.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

constexpr double kSeconds = 60.0;
constexpr int kSampleRate = 11025;

std::vector<double> SixtySeconds() {
  std::mt19937_64 rng(7);
  std::vector<hfdl_tx::Burst> bursts;
  for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3}) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), false});
  hfdl_tx::SignalOptions options;
  options.noise = true;
  options.snrDb = 20.0;
  options.offsetHz = 7.3;
  std::vector<double> audio = hfdl_tx::Render(bursts, options);
  audio.resize(static_cast<size_t>(kSeconds * kSampleRate), 0.0);
  return audio;
}

void BM_HfdlDemodDecode(benchmark::State& state) {
  const std::vector<double> audio = SixtySeconds();
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  // The analysis stand-in of the real services, as the program runs it.
  HfdlServices analysis;
  form->svc.hfdl = &analysis;
  for (auto _ : state) {
    hfdl_test::FeedChannel(*form, 0, audio);
    benchmark::DoNotOptimize(form->hfdl.HfdlDecodedBits.data());
  }
  state.counters["audio_seconds_per_cpu_second"] =
      benchmark::Counter(kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HfdlDemodDecode)->Name("HfdlDemodDecode")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
