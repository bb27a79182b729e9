// The main window's commands, and the audio part as the main window wires
// it to the decoders and the map, on the state alone.
#include "app/main_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "aircraft/aircraft_table.h"
#include "app/aircraft_wiring.h"
#include "app/audio_wiring.h"
#include "app/form1_state.h"
#include "app/reception_wiring.h"
#include "app/startup.h"
#include "audio/block_pipeline.h"
#include "audio/wave_devices.h"
#include "hfdl/hfdl_channel_state.h"
#include "platform/ini_file.h"
#include "platform/message_box.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using platform::BoxAnswer;
using testing_support::MessageBoxRecorder;
using testing_support::ReadFile;

// Only the top level's logs, lists and texts go, and only on a Yes; a log
// written before is started afresh by the next entry.
TEST(LogCleanUp, YesEmptiesEachFolderOfItsLogsOnly) {
  testing_support::TempDir dir;
  const auto logs = [&](const std::string& name) { return dir.File("logs/" + name); };
  const auto exists = [&](const std::string& name) { return ::access(logs(name).c_str(), F_OK) == 0; };
  Form1State f;
  f.app.AppDir = dir.path();
  f.text.SetDailyLogs(logs(""), "20240331");
  for (const char* folder : {"", "EachLogs", "SrchMesgLogs", "folder.log"}) ::mkdir(logs(folder).c_str(), 0777);
  for (const char* name : {"a.log", "b.csv", "c.txt", "d.wav", "EachLogs/keep.txt", "SrchMesgLogs/hit.log"}) {
    testing_support::WriteFile(logs(name), "x");
  }
  const std::string each = logs("EachLogs/JL0012_PRC.log");
  f.text.WriteLog(kAcarsRaw, "before\r\n");
  f.text.WriteFile(each, "before\r\n");
  // The EachLogs question first, then the Logs folder's.
  const auto clean = [&](std::vector<BoxAnswer> answers) {
    MessageBoxRecorder boxes;
    boxes.SetAnswers(answers);
    form1::EachLogs1Click(f);
    form1::N20Click(f);
    return boxes.Texts();
  };
  EXPECT_EQ(clean({BoxAnswer::No, BoxAnswer::No}),
            (std::vector<std::string>{"Delete logs in EachLogs folder,OK?", "Delete logs in Logs folder,OK?"}));
  EXPECT_TRUE(exists("EachLogs/JL0012_PRC.log"));
  clean({BoxAnswer::Yes, BoxAnswer::No});
  EXPECT_FALSE(exists("EachLogs/JL0012_PRC.log"));
  for (const char* kept : {"a.log", "20240331_ACARS_RAW.log"}) EXPECT_TRUE(exists(kept)) << kept;
  clean({BoxAnswer::No, BoxAnswer::Yes});
  for (const char* gone : {"a.log", "b.csv", "c.txt", "20240331_ACARS_RAW.log"}) EXPECT_FALSE(exists(gone)) << gone;
  for (const char* kept : {"d.wav", "folder.log", "EachLogs/keep.txt", "SrchMesgLogs/hit.log"}) {
    EXPECT_TRUE(exists(kept)) << kept;
  }
  f.text.WriteLog(kAcarsRaw, "after\r\n");
  EXPECT_EQ(ReadFile(logs("20240331_ACARS_RAW.log")), "after\r\n");
  f.text.WriteFile(each, "after\r\n");
  EXPECT_EQ(ReadFile(each), "after\r\n");
}

TEST(CommandsOnTheState, DeletingTheSelectedPlotsTakesOnlyTheAircraftEachQuestionNamed) {
  Form1State f;
  f.app.UseEnglish = 1;
  f.controls.N24Checked = 0;
  f.aircraft.Aircraft.Allocate(4, 5);
  const char* flights[] = {"AA0001", "BB0002", "CC0003"};
  for (int i = 0; i < 3; ++i) {
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(i)];
    std::strcpy(r.FlightId, flights[i]);
    std::strcpy(r.Registration, flights[i]);
    r.LastPoint = 0;
    r.Visible = i < 2;
  }
  f.aircraft.AircraftCount = 3;
  f.mapView.AircraftSelected = 1;
  testing_support::RecordingEffects effects;
  AircraftWiring link(f, effects);
  std::vector<std::string> asked;
  // While the first question is open, its aircraft ages out and the others
  // move down a slot.
  platform::SetMessageBoxHandler([&](const platform::BoxRequest& r) {
    asked.push_back(r.text);
    if (asked.size() == 1) DeleteAircraft(f.aircraft, link, 0);
    return BoxAnswer::Yes;
  });
  form1::N10Click(f, effects);
  platform::SetMessageBoxHandler(nullptr);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Delete AA0001,OK?");
  ASSERT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_EQ(RecordText(f.aircraft.Aircraft.Records[0].FlightId), "BB0002");
  EXPECT_EQ(RecordText(f.aircraft.Aircraft.Records[1].FlightId), "CC0003");
}

// The question of the delete-selected-plot command waits for an answer
// while reception goes on: a Yes deletes the aircraft it named.
TEST(CommandsOnTheState, DeletingThePlotTakesTheAircraftAskedAboutThoughANewOneTookItsPlace) {
  testing_support::FixedClock clock(platform::EncodeDateTime(2026, 12, 6, 14, 0, 0));
  Form1State f;
  testing_support::RecordingEffects effects;
  testing_support::RecordingAircraftLink link;
  f.aircraft.Aircraft.Allocate(2, 5);
  AircraftPosition p;
  auto store = [&](const char* flight, const char* reg, double lat) {
    p.Lat = lat;
    p.Lon = 139.0;
    UpdateAircraftRecord(f.aircraft, f.Etc, link, flight, reg, "XXXX", p, "1234", "Shannon");
  };
  store("JL0012", "JA8089", 35.0);
  store("NH0005", "JA8090", 36.0);
  f.mapView.AircraftSelected = 1;
  std::vector<std::string> questions;
  platform::SetMessageBoxHandler([&](const platform::BoxRequest& r) {
    questions.push_back(r.text);
    // The full table gives the first record's place to a new aircraft.
    if (questions.size() == 1) store("UA0837", "N12345", 37.0);
    return questions.size() == 1 ? BoxAnswer::Yes : BoxAnswer::No;
  });
  form1::N10Click(f, effects);
  platform::SetMessageBoxHandler(nullptr);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "UA0837"), 1);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "NH0005"), 2);
}

// ---- The audio part as the main window wires it ----

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
  testing_support::RecordingEffects effects_;
  ReceptionWiring reception_{form_, effects_};
  AudioWiring audio_{form_, effects_, reception_};
  testing_support::RecordingSink sink_;
  std::vector<MapLayers> draws_;
};

// A restart leaves each HFDL frame but keeps the oscillator and the
// tracking; the symbols shown are bounded by their list.
TEST_F(AudioWiringTest, RestartingFramesKeepsTheTrackingAndSymbolCountsAreBounded) {
  HfdlChannelState& s = form_.hfdl.Channels[1];
  s.Locked = 1;
  s.NcoPhase = 1.25;
  s.FineOffset = -3.5;
  audio_.RestartFrames();
  EXPECT_FALSE(audio_.InFrame(1));
  EXPECT_EQ(s.NcoPhase, 1.25);
  EXPECT_EQ(s.FineOffset, -3.5);
  for (int count : {100000, -5}) {
    form_.hfdl.HfdlBlockSymbols[1].Count = count;
    EXPECT_EQ(audio_.HfdlSymbols(1).Count, count > 0 ? HfdlBlockSymbolList::kCapacity : 0);
  }
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
  // A block that brings nothing draws nothing; the monitor button's
  // requests are drawn once, after the block.
  audio.reports = 0;
  Block(audio);
  EXPECT_EQ(draws_.size(), 1u);
  audio.RequestAircraftLayerRedraw();
  audio.RequestAircraftLayerRedraw();
  EXPECT_EQ(draws_.size(), 1u);
  Block(audio);
  EXPECT_EQ(draws_.back(), MapLayers({MapLayer::Aircraft}));
  EXPECT_EQ(draws_.size(), 2u);
}

}  // namespace
