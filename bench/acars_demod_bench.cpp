// The VHF ACARS demodulator and framer on one channel: 60 s of transmitter
// audio at 20 dB, fed block by block. The counter is seconds of audio
// demodulated per CPU second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "acars_bench_link.h"
#include "acars_tx/acars_test_transmitter.h"

namespace {

constexpr double kSeconds = 60.0;

std::vector<double> SixtySecondsOfTraffic(size_t& blocksSent) {
  std::mt19937 rng(2024);
  // Up to the longest block: 220 characters after STX.
  std::uniform_int_distribution<int> length(0, 210);
  std::uniform_int_distribution<int> letter('A', 'Z');
  std::vector<acars_tx::Burst> bursts;
  double total = 0;
  acars_tx::Options o;
  o.snrDb = 20;
  while (total < kSeconds - 1.5) {
    acars_tx::Burst b;
    for (int n = length(rng); n > 0; --n) b.message.text += static_cast<char>(letter(rng));
    b.gapBefore = 0.2;
    total += b.gapBefore + acars_tx::OnAirBits(b.message, o.preKeyBits).size() / 2400.0;
    bursts.push_back(b);
  }
  blocksSent = bursts.size();
  std::vector<double> samples = acars_tx::Transmit(bursts, o).channel(0);
  samples.resize(static_cast<size_t>(kSeconds * 11025) / 512 * 512, 0.0);
  return samples;
}

void BM_DemodulateAcarsBlock(benchmark::State& state) {
  size_t sent = 0;
  const std::vector<double> audio = SixtySecondsOfTraffic(sent);
  const size_t blocks = audio.size() / 512;
  double block[512];
  size_t decoded = 0;
  for (auto _ : state) {
    AcarsReceiver rx;
    CollectingLink link;
    for (size_t b = 0; b < blocks; ++b) {
      std::memcpy(block, audio.data() + 512 * b, sizeof block);
      rx.DemodulateAcarsBlock(link, 0, block);
    }
    decoded = link.blocks.size();
    benchmark::DoNotOptimize(decoded);
  }
  state.counters["audio_s_per_cpu_s"] =
      benchmark::Counter(static_cast<double>(blocks) * 512 / 11025.0 * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["blocks_sent"] = static_cast<double>(sent);
  state.counters["blocks_decoded"] = static_cast<double>(decoded);
}
BENCHMARK(BM_DemodulateAcarsBlock)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
