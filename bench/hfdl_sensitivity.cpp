// How many frames of each HFDL mode pass every check sequence at the
// sensitivity targets (SNR in 3 kHz), from the test transmitter's audio fed
// through the demodulator block by block. Fixed seeds; prints a table and
// exits 1 when a target is missed.
//
// With arguments it measures one point instead:
//   hfdl_sensitivity MODE SNR [FRAMES [SEED]]
// MODE 0..7 in the transmitter's order (300, 600, 1200, 1800 bit/s at 1.8 s,
// then at 4.2 s); FRAMES defaults to 100.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "hfdl/hfdl_reception.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/recording_links.h"

namespace {

constexpr int kFrames = 50;
constexpr int kRequired = 45;

// Target SNR by rate: 300, 600, 1200, 1800 bit/s.
constexpr double kTargetSnr[4] = {1.0, 1.0, 4.0, 9.0};
// 8PSK also shows how far below its target it still decodes, on more frames
// because the share is what matters there.
constexpr double kDeepSnr8psk = 6.0;
constexpr int kDeepFrames = 100;

int GoodFrames(int mode, double snr, int frames, uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<hfdl_tx::Burst> bursts;
  for (int n = 0; n < frames; ++n) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), false});
  hfdl_tx::SignalOptions options;
  options.noise = true;
  options.snrDb = snr;
  options.seed = seed + 1000;
  std::vector<double> audio = hfdl_tx::Render(bursts, options);

  auto hfdl = std::make_unique<HfdlReception>();
  for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  testing_support::RecordingHfdlLink link;
  testing_support::FeedHfdl(*hfdl, link, 0, audio);
  int good = 0;
  for (const auto& f : link.frames) good += testing_support::HfdlChecksPass(f.Octets, mode == 0);
  return good;
}

void PrintRow(int mode, double snr, int good, int frames, const char* target) {
  std::printf("%-22s %8.1f %6d/%-3d %6.0f %% %8s\n", hfdl_tx::ModeName(mode), snr, good, frames,
              100.0 * good / frames, target);
}

int Table() {
  bool allMet = true;
  std::printf("%-22s %8s %10s %8s %8s\n", "mode", "SNR dB", "good", "share", "target");
  for (int mode = 0; mode < hfdl_tx::kModeCount; ++mode) {
    const uint64_t seed = 100 + static_cast<uint64_t>(mode);
    const double target = kTargetSnr[mode % 4];
    if (mode % 4 == 3) PrintRow(mode, kDeepSnr8psk, GoodFrames(mode, kDeepSnr8psk, kDeepFrames, seed), kDeepFrames, "-");
    for (double snr : {target - 1.0, target}) {
      int good = GoodFrames(mode, snr, kFrames, seed);
      bool atTarget = snr == target;
      bool met = !atTarget || good >= kRequired;
      allMet = allMet && met;
      PrintRow(mode, snr, good, kFrames, atTarget ? (met ? "met" : "MISSED") : "-");
    }
  }
  std::printf(allMet ? "All sensitivity targets met.\n" : "A sensitivity target was missed.\n");
  return allMet ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return Table();
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: %s [MODE SNR [FRAMES [SEED]]]\n", argv[0]);
    return 2;
  }
  const int mode = std::atoi(argv[1]);
  const double snr = std::atof(argv[2]);
  const int frames = argc > 3 ? std::atoi(argv[3]) : 100;
  const uint64_t seed = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 100 + static_cast<uint64_t>(mode);
  if (mode < 0 || mode >= hfdl_tx::kModeCount || frames < 1) {
    std::fprintf(stderr, "MODE is 0..%d and FRAMES at least 1\n", hfdl_tx::kModeCount - 1);
    return 2;
  }
  PrintRow(mode, snr, GoodFrames(mode, snr, frames, seed), frames, "-");
  return 0;
}
