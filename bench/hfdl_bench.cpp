// HFDL reception: 60 s of audio at 11025 Hz with bursts of all eight modes,
// fed block by block through the demodulator, decoded and handed to the
// analysis stand-in.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "hfdl/registration.h"
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

// An ICAO24.csv of about 30 MB, addresses in no order, every fourth
// description with two-byte characters: read and indexed as at a change.
std::string Icao24Text() {
  std::mt19937_64 rng(11);
  std::string text;
  char line[160];
  while (text.size() < 30u << 20) {
    const unsigned address = static_cast<unsigned>(rng() & 0xFFFFFF);
    const bool kanji = rng() % 4 == 0;
    std::snprintf(line, sizeof line, "%06X,B77,JAL,JA%04u,%s %u\r\n", address, static_cast<unsigned>(rng() % 10000),
                  kanji ? "\x93\xfa\x96\x7b\x8d\x71\x8b\xf3 BOEING 777-300ER" : "BOEING 777-300ER FREIGHTER",
                  static_cast<unsigned>(rng() % 1000));
    text += line;
  }
  return text;
}

void BM_Icao24Parse(benchmark::State& state) {
  const std::string text = Icao24Text();
  Icao24File file;
  for (auto _ : state) file.Parse(text);
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}
BENCHMARK(BM_Icao24Parse)->Name("Icao24Parse")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
