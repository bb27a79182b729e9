// The audio subsystem's links as the main window wires them to the rest
// of the program.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/audio_wiring.h"
#include "command_fakes.h"
#include "hfdl/hfdl_channel_state.h"
#include "platform/bitmap24.h"

namespace {

TEST(AudioWiring, RestartingFramesLeavesEachHfdlFrameButNotItsTracking) {
  Form1State form;
  AudioWiring wiring(form);
  for (HfdlChannelState& s : form.hfdl.Channels) {
    s.Locked = 1;
    s.SymbolCount = 77;
    s.SyncFound = 1;
    s.EqDelay[1][5] = 3.0;
    s.NcoPhase = 1.25;
    s.FineOffset = -3.5;
    s.AgcState[1] = 0.5;
  }
  wiring.RestartFrames();
  for (const HfdlChannelState& s : form.hfdl.Channels) {
    EXPECT_EQ(s.Locked, 0);
    EXPECT_EQ(s.SymbolCount, 0);
    EXPECT_EQ(s.SyncFound, 0);
    EXPECT_EQ(s.EqDelay[1][5], 0.0);
    // Oscillators, the frequency tracking and the level carry on.
    EXPECT_EQ(s.NcoPhase, 1.25);
    EXPECT_EQ(s.FineOffset, -3.5);
    EXPECT_EQ(s.AgcState[1], 0.5);
  }
}

TEST(AudioWiring, AChannelIsInAFrameWhileHfdlIsLockedOrAnAcarsBlockIsOpen) {
  Form1State form;
  AudioWiring wiring(form);
  EXPECT_FALSE(wiring.InFrame(0));
  form.hfdl.Channels[0].Locked = 1;
  EXPECT_TRUE(wiring.InFrame(0));
  EXPECT_FALSE(wiring.InFrame(1));
  form.acars.AcarsRx.Framer[1].InBlock = 1;
  EXPECT_TRUE(wiring.InFrame(1));
}

TEST(AudioWiring, SymbolCountsAreBoundedByTheList) {
  Form1State form;
  AudioWiring wiring(form);
  form.hfdl.HfdlBlockSymbols[1].Count = 100000;
  EXPECT_EQ(wiring.HfdlSymbols(1).Count, HfdlBlockSymbolList::kCapacity);
  form.hfdl.HfdlBlockSymbols[1].Count = -5;
  EXPECT_EQ(wiring.HfdlSymbols(1).Count, 0);
  EXPECT_EQ(wiring.HfdlSymbols(0).I, form.hfdl.HfdlBlockSymbols[0].I);
}

TEST(AudioWiring, PicturesGoToTheirImagesAndRedrawsToTheMap) {
  RecordedState s;
  AudioWiring wiring(s.form);
  Bitmap24 spectrum(55, 42), clock(133, 42);
  wiring.ShowPicture(AudioPicture::Spectrum, spectrum);
  wiring.ShowPicture(AudioPicture::Clock, clock);
  wiring.RequestAircraftLayerRedraw();
  std::sort(s.log.begin(), s.log.end());
  EXPECT_EQ(s.log, (CallLog{"Picture 1 Image5 55", "Picture 1 Image6 133", "Redraw 0100"}));
}

}  // namespace
