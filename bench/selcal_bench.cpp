// The SELCAL tone decoder on one channel: 80 s of random calls at 20 dB,
// fed block by block. The counter is seconds of audio decoded per CPU
// second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "audio/fft_tables.h"
#include "selcal/selcal_decoder.h"
#include "selcal/selcal_state.h"
#include "selcal_tx/selcal_tx.h"

namespace {

class Counting : public SelcalReceiverLink {
 public:
  void CallDecoded(const SelcalCall&) override { ++calls; }
  int calls = 0;
};

void BM_DecodeSelcalBlock(benchmark::State& state) {
  std::mt19937_64 rng(2024);
  selcal_tx::Options o;
  o.snrDb = 20.0;
  o.randomPhases = true;
  const std::vector<double> audio = selcal_tx::Transmit(selcal_tx::RandomCalls(10, 1.0, 8.0, true, rng), o).samples;
  const size_t blocks = audio.size() / 512;
  auto selcal = std::make_unique<SelcalState>();
  selcal->SelcalFft = BuildFftTables();
  double block[512];
  int calls = 0;
  for (auto _ : state) {
    InitSelcalWeights(*selcal);
    Counting link;
    for (size_t b = 0; b < blocks; ++b) {
      std::memcpy(block, audio.data() + 512 * b, sizeof block);
      DecodeSelcalBlock(*selcal, 0, block, link);
    }
    calls = link.calls;
    benchmark::DoNotOptimize(calls);
  }
  state.counters["audio_s_per_cpu_s"] =
      benchmark::Counter(static_cast<double>(blocks) * 512 / 11025.0 * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["calls_decoded"] = calls;
}
BENCHMARK(BM_DecodeSelcalBlock)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
