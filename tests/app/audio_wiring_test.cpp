// The audio subsystem's links as the main window wires them to the decoders.
#include "app/audio_wiring.h"

#include <gtest/gtest.h>

#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "hfdl/hfdl_channel_state.h"
#include "support/recording_links.h"

namespace {

class AudioWiringTest : public ::testing::Test {
 protected:
  Form1State form;
  testing_support::RecordingEffects effects;
  ReceptionWiring reception{form, effects};
  AudioWiring wiring{form, effects, reception};
};

// After a device change the HFDL frames start over, but each channel keeps
// its tracking so that reception resumes at once.
TEST_F(AudioWiringTest, RestartingFramesLeavesEachHfdlFrameButNotItsTracking) {
  for (HfdlChannelState& s : form.hfdl.Channels) {
    s.Locked = 1;
    s.SymbolCount = 77;
    s.SyncFound = 1;
    s.NcoPhase = 1.25;
    s.FineOffset = -3.5;
    s.AgcState[1] = 0.5;
  }
  wiring.RestartFrames();
  for (const HfdlChannelState& s : form.hfdl.Channels) {
    EXPECT_EQ(s.Locked, 0);
    EXPECT_EQ(s.SymbolCount, 0);
    EXPECT_EQ(s.SyncFound, 0);
    EXPECT_EQ(s.NcoPhase, 1.25);
    EXPECT_EQ(s.FineOffset, -3.5);
    EXPECT_EQ(s.AgcState[1], 0.5);
  }
}

TEST_F(AudioWiringTest, AChannelIsInAFrameWhileHfdlIsLockedOrAnAcarsBlockIsOpen) {
  EXPECT_FALSE(wiring.InFrame(0));
  form.hfdl.Channels[0].Locked = 1;
  EXPECT_TRUE(wiring.InFrame(0));
  EXPECT_FALSE(wiring.InFrame(1));
  form.acars.AcarsRx.Framer[1].InBlock = 1;
  EXPECT_TRUE(wiring.InFrame(1));
}

TEST_F(AudioWiringTest, SymbolCountsAreBoundedByTheList) {
  form.hfdl.HfdlBlockSymbols[1].Count = 100000;
  EXPECT_EQ(wiring.HfdlSymbols(1).Count, HfdlBlockSymbolList::kCapacity);
  form.hfdl.HfdlBlockSymbols[1].Count = -5;
  EXPECT_EQ(wiring.HfdlSymbols(1).Count, 0);
}

}  // namespace
