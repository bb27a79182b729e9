// The constellation's history: the HFDL symbols of the last three blocks,
// bounded whatever the demodulator hands over.
#include <gtest/gtest.h>

#include <climits>

#include "audio/constellation.h"
#include "audio_rig.h"

namespace {

using audio_test::AudioRig;

void Draw(AudioRig& r) { DrawConstellation(r.audio, r.etc, r.color, r.link); }

TEST(Constellation, ThreeGenerationsAreKeptAndTheFourthIsGone) {
  AudioRig r;
  const int is[4] = {-200000, -120000, 120000, 200000};
  for (int i : is) {
    r.link.SetSymbols(0, {{i, 7}});
    Draw(r);
  }
  const SymbolHistory& h = r.audio.ConstellationHistory;
  // At the demodulator's scale of 30, oldest first.
  EXPECT_EQ(h.Generation[0][0].I[0], -120000.0 * 30.0);
  EXPECT_EQ(h.Generation[1][0].I[0], 120000.0 * 30.0);
  EXPECT_EQ(h.Generation[2][0].I[0], 200000.0 * 30.0);
  EXPECT_EQ(h.Generation[2][0].Q[0], 7.0 * 30.0);
  // Generations move on every block: a channel not in HFDL mode keeps its
  // last symbols, which count as a new generation.
  Draw(r);
  EXPECT_EQ(h.Generation[1][0].I[0], 200000.0 * 30.0);
  EXPECT_EQ(h.Generation[2][0].I[0], 200000.0 * 30.0);
  EXPECT_EQ(h.Generation[2][1].Count, 0);
  EXPECT_EQ(r.link.shown, std::vector<AudioPicture>(5, AudioPicture::Spectrum));
}

TEST(Constellation, CountsAreBoundedAndFarPointsDrawNothing) {
  AudioRig r;
  r.etc.FFTSel = 1;
  r.wave.WaveDual = 2;
  r.link.SetSymbols(1, {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {0, 1200000}, {-900000, 0}, {0, 0}});
  Draw(r);
  EXPECT_EQ(r.audio.ConstellationHistory.Generation[2][1].Count, 5);
  r.link.symbolCount[1] = 100000;
  Draw(r);
  EXPECT_EQ(r.audio.ConstellationHistory.Generation[2][1].Count, 512);
  r.link.symbolCount[1] = -5;
  Draw(r);
  EXPECT_EQ(r.audio.ConstellationHistory.Generation[2][1].Count, 0);
}

}  // namespace
