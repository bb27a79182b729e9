// The audio subsystem's links as the main window wires them to the rest
// of the program: the decoders' frames and symbols, and the map drawn once
// a block, whatever the block's decoding asked for.
#include <gtest/gtest.h>

#include <vector>

#include "app/audio_wiring.h"
#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "app/startup.h"
#include "audio/block_pipeline.h"
#include "audio/wave_devices.h"
#include "hfdl/hfdl_channel_state.h"
#include "platform/ini_file.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingEffects;
using testing_support::RecordingSink;

// The program's state as it starts without a settings file, the road with
// its own sinks and a recording one after them, and a map that counts its
// drawings.
class AudioWiringTest : public ::testing::Test {
 protected:
  AudioWiringTest() {
    ConstructForm1State(form_, dir_.path(), IniFile());
    SetSampleRate(form_.audio, form_.Wave);
    reception_.Road().AddSink(sink_);
    reception_.DrawMap = [this](MapLayers layers) { draws_.push_back(layers); };
  }

  // One buffer of silence through the block pipeline.
  void Block(BlockPipelineLink& link) {
    const std::vector<int16_t> silence(2 * static_cast<size_t>(form_.audio.WaveIn.BufferFrames), 0);
    ProcessAudioBlock(form_.audio, AudioSettingsOf(form_), link, silence.data(), form_.audio.WaveIn.BufferFrames);
  }

  testing_support::TempDir dir_;
  Form1State form_;
  RecordingEffects effects_;
  ReceptionWiring reception_{form_, effects_};
  AudioWiring audio_{form_, effects_, reception_};
  RecordingSink sink_;
  std::vector<MapLayers> draws_;
};

TEST_F(AudioWiringTest, RestartingFramesLeavesEachHfdlFrameButNotItsTracking) {
  for (HfdlChannelState& s : form_.hfdl.Channels) {
    s.Locked = 1;
    s.SymbolCount = 77;
    s.NcoPhase = 1.25;
    s.FineOffset = -3.5;
  }
  audio_.RestartFrames();
  for (const HfdlChannelState& s : form_.hfdl.Channels) {
    EXPECT_EQ(s.Locked, 0);
    EXPECT_EQ(s.SymbolCount, 0);
    // The oscillator and the frequency tracking carry on.
    EXPECT_EQ(s.NcoPhase, 1.25);
    EXPECT_EQ(s.FineOffset, -3.5);
  }
}

TEST_F(AudioWiringTest, AChannelIsInAFrameWhileHfdlIsLockedOrAnAcarsBlockIsOpen) {
  EXPECT_FALSE(audio_.InFrame(0));
  form_.hfdl.Channels[0].Locked = 1;
  EXPECT_TRUE(audio_.InFrame(0));
  EXPECT_FALSE(audio_.InFrame(1));
  form_.acars.AcarsRx.Framer[1].InBlock = 1;
  EXPECT_TRUE(audio_.InFrame(1));
}

TEST_F(AudioWiringTest, SymbolCountsAreBoundedByTheList) {
  form_.hfdl.HfdlBlockSymbols[1].Count = 100000;
  EXPECT_EQ(audio_.HfdlSymbols(1).Count, HfdlBlockSymbolList::kCapacity);
  form_.hfdl.HfdlBlockSymbols[1].Count = -5;
  EXPECT_EQ(audio_.HfdlSymbols(1).Count, 0);
}

// The left channel's decoding brings a burst of position reports, as a
// busy HFDL frame or a linked copy's relay does, then the real decoder runs
// on the block.
class ReportingAudio : public AudioWiring {
 public:
  using AudioWiring::AudioWiring;
  void DecodeBlock(int channel, DecoderKind decoder) override {
    decoding = true;
    for (int i = 0; channel == 0 && i < reports; ++i) {
      PositionReport report;
      report.FlightId = "JL" + std::to_string(100 + i);
      report.Registration = "NO DATA";
      report.Position.Lat = 35.0 + i * 0.01;
      report.Position.Lon = 140.0;
      Reception().Road().Deliver(report);
    }
    AudioWiring::DecodeBlock(channel, decoder);
    decoding = false;
  }
  int reports = 0;
  bool decoding = false;
};

TEST_F(AudioWiringTest, ReportsDuringABlockGiveOneMapDrawAfterIt) {
  ReportingAudio audio(form_, effects_, reception_);
  bool drawnWhileDecoding = false;
  reception_.DrawMap = [&](MapLayers layers) {
    draws_.push_back(layers);
    drawnWhileDecoding |= audio.decoding;
  };
  audio.reports = 100;
  Block(audio);
  EXPECT_EQ(sink_.positions.size(), 100u);
  EXPECT_FALSE(drawnWhileDecoding);
  EXPECT_EQ(draws_, (std::vector<MapLayers>{{MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude}}));
  // A block that brings nothing draws nothing.
  audio.reports = 0;
  Block(audio);
  EXPECT_EQ(draws_.size(), 1u);
}

TEST_F(AudioWiringTest, TheMonitorButtonsAircraftLayerIsDrawnAfterTheBlock) {
  audio_.RequestAircraftLayerRedraw();
  audio_.RequestAircraftLayerRedraw();
  EXPECT_TRUE(draws_.empty());
  Block(audio_);
  EXPECT_EQ(draws_, (std::vector<MapLayers>{{MapLayer::Aircraft}}));
}

}  // namespace
