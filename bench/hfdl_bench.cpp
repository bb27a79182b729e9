// HFDL reception: 60 s of audio at 11025 Hz with bursts of all eight modes,
// fed block by block through the demodulator, decoded, analysed and written
// as text (logging off).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "exchange/received_text.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/recording_links.h"

namespace {

// What the program does with each sync and frame besides the tables of the
// other subsystems: the analysis and its texts.
class AnalysingLink : public HfdlReceiverLink {
 public:
  explicit AnalysingLink(HfdlReception& hfdl) : hfdl_(hfdl) { txt_.MaxBytes = 10000; }
  void LockLamp(int, bool) override {}
  void SyncFound(int channel, int modeIndex, double freqError, bool otherChannelReceiving) override {
    WriteHfdlSyncLines(text_, txt_, channel, otherChannelReceiving, modeIndex, freqError);
  }
  void FrameDecoded(HfdlFrameInput frame) override {
    WriteHfdlTexts(text_, txt_, AnalyzeHfdlFrame(hfdl_, etc_, NoHfdlLookups(), std::move(frame)));
  }

 private:
  HfdlReception& hfdl_;
  EtcSettings etc_;
  TxtSettings txt_;
  ReceivedText text_;
};

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
  auto hfdl = std::make_unique<HfdlReception>();
  for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  AnalysingLink link(*hfdl);
  for (auto _ : state) {
    testing_support::FeedHfdl(*hfdl, link, 0, audio);
    benchmark::DoNotOptimize(hfdl->HfdlDecodedBits.data());
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
