#include <gtest/gtest.h>

#include "hfdl_harness.h"
#include "hfdl_tx.h"

namespace {

TEST(HfdlWave, Scratch) {
  hfdl_test::Recorder rec;
  auto form = hfdl_test::MakeForm(rec);
  std::mt19937_64 rng(5);
  std::vector<hfdl_tx::Burst> bursts;
  for (int m = 0; m < 8; ++m) bursts.push_back({m, hfdl_tx::BuildFrameForMode(m, rng), false});
  hfdl_tx::SignalOptions o;
  o.offsetHz = 7.3;
  auto audio = hfdl_tx::Render(bursts, o);
  hfdl_test::FeedChannel(*form, 0, audio);
  ASSERT_EQ(rec.frames.size(), 8u);
  for (int m = 0; m < 8; ++m) {
    const auto& f = rec.frames[m];
    auto info = hfdl_tx::InformationBitsOf(bursts[m].payload, m);
    int errors = 0;
    for (size_t n = 0; n < info.size(); ++n) errors += f.bits[n] != info[n];
    int flush = 0;
    for (size_t n = info.size(); n < 2 * info.size(); ++n) flush += f.bits[n];
    printf("mode %d code %d errors %d flush %d fe %f %s\n", m, f.modeCode, errors, flush, f.freqError, f.errorRatio.c_str());
  }
}

}  // namespace
