// What OK of the input-device dialog does, with recording device actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/form1_state.h"
#include "audio/input_device_choice.h"
#include "audio/tform8.h"  // EditedChannelMode

namespace {

class RecordingActions : public InputDeviceActions {
 public:
  explicit RecordingActions(Form1State& f) : f_(f) {}
  void ReleaseMonitorButton() override { monitorReleased = true; }
  void RedrawAircraftLayer() override {}
  void ShowNotice() override { noticeShown = true; }
  void CloseWaveIn() override { recordingOpen = false; }
  void CloseWaveOut() override { playbackOpen = false; }
  void Wait() override {}
  void SetSampleRate() override { rateSet = f_.Wave.WaveRate; }
  bool OpenWaveIn() override {
    if (ReopenedProperly()) reopened.insert("recording");
    return waveInOpens;
  }
  void CheckRow(int row) override { checkedRow = row; }
  bool OpenWaveOut() override {
    if (ReopenedProperly()) reopened.insert("playback");
    return false;
  }
  void CloseNotice() override { noticeShown = false; }
  void ResetDemodulatorChannel(int channel) override { resetChannels.insert(channel); }
  void ArrangeStatusIndicators() override { ++arranged; }

  // Both devices closed, the rate set from the new choice, the notice up:
  // a device opened while the old one is open fails.
  bool ReopenedProperly() const {
    return !recordingOpen && !playbackOpen && rateSet == f_.Wave.WaveRate && noticeShown;
  }
  bool DevicesTouched() const { return !recordingOpen || !playbackOpen || rateSet >= 0; }

  bool waveInOpens = true;
  bool recordingOpen = true, playbackOpen = true, noticeShown = false, monitorReleased = false;
  int rateSet = -1, checkedRow = -1, arranged = 0;
  std::set<std::string> reopened;
  std::set<int> resetChannels;

 private:
  Form1State& f_;
};

class InputDeviceChoiceTest : public ::testing::Test {
 protected:
  InputDeviceChoiceTest() : actions(f) {
    f.Wave.WaveInput = 1;
    f.Wave.WaveRate = 2;
    f.Wave.WaveDual = 2;
    f.Wave.DecoderL = DecoderKind::Hfdl;
    f.Wave.DecoderR = DecoderKind::VhfAcars;
    f.Etc.FFTSel = 2;
  }
  InputDeviceChoice Unchanged() const {
    return {f.Wave.WaveInput, f.Wave.WaveRate, f.Wave.WaveDual, f.Wave.DecoderL, f.Wave.DecoderR};
  }
  void Apply(const InputDeviceChoice& c, RecordingActions& a) {
    ApplyInputDeviceChoice(f.Wave, EditedChannelMode(f), f.Etc, c, a);
  }

  Form1State f;
  RecordingActions actions;
};

TEST_F(InputDeviceChoiceTest, ADecoderChangeResetsItsChannelAndLeavesTheDevicesAlone) {
  InputDeviceChoice c = Unchanged();
  c.decoderR = DecoderKind::Selcal;
  Apply(c, actions);
  EXPECT_EQ(actions.resetChannels, std::set<int>{1});
  EXPECT_EQ(f.Wave.DecoderR, DecoderKind::Selcal);
  EXPECT_EQ(f.Wave.DecoderL, DecoderKind::Hfdl);
  EXPECT_FALSE(actions.DevicesTouched());
  EXPECT_EQ(actions.arranged, 1);

  RecordingActions both(f);
  c.decoderL = DecoderKind::VhfAcars;
  c.decoderR = DecoderKind::Hfdl;
  Apply(c, both);
  EXPECT_EQ(both.resetChannels, (std::set<int>{0, 1}));
}

TEST_F(InputDeviceChoiceTest, TheModeAloneLeavesTheDevicesAloneAndSingleResetsTheSpectrumChannel) {
  InputDeviceChoice c = Unchanged();
  c.mode = 1;
  Apply(c, actions);
  EXPECT_EQ(f.Wave.WaveDual, 1);
  EXPECT_EQ(f.Etc.FFTSel, 0);
  // The right channel, no longer decoded, leaves any frame it was in.
  EXPECT_EQ(actions.resetChannels, std::set<int>{1});
  EXPECT_FALSE(actions.DevicesTouched());
  EXPECT_EQ(actions.arranged, 1);
  // Unchanged, the spectrum keeps its channel.
  f.Etc.FFTSel = 1;
  Apply(c, actions);
  EXPECT_EQ(f.Etc.FFTSel, 1);
}

TEST_F(InputDeviceChoiceTest, ADeviceOrRateChangeReopensBothDevicesBehindTheNotice) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = 3;
  Apply(c, actions);
  EXPECT_EQ(actions.reopened, (std::set<std::string>{"recording", "playback"}));
  EXPECT_TRUE(actions.monitorReleased);
  EXPECT_FALSE(actions.noticeShown);
  EXPECT_EQ(actions.checkedRow, 3);
  EXPECT_EQ(f.Wave.WaveInput, 3);

  // The rate alone, with no row selected: the device stays; a recording
  // device that fails checks no row.
  RecordingActions again(f);
  again.waveInOpens = false;
  c = Unchanged();
  c.selectedRow = -1;
  c.rateIndex = 0;
  Apply(c, again);
  EXPECT_EQ(again.reopened, (std::set<std::string>{"recording", "playback"}));
  EXPECT_EQ(again.checkedRow, -1);
  EXPECT_EQ(f.Wave.WaveInput, 3);
  EXPECT_EQ(f.Wave.WaveRate, 0);
}

TEST_F(InputDeviceChoiceTest, NoRowSelectedLeavesTheDeviceUnchanged) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = -1;
  Apply(c, actions);
  EXPECT_EQ(f.Wave.WaveInput, 1);
  EXPECT_FALSE(actions.DevicesTouched());
}

TEST(MixerCommand, TheVolumeControlOrAlsamixerInATerminal) {
  auto onPath = [](std::vector<std::string> found) {
    return [found](const std::string& p) { return std::find(found.begin(), found.end(), p) != found.end(); };
  };
  MixerCommand m = ChooseMixerCommand(true, onPath({}));
  EXPECT_EQ(m.program, "pavucontrol");
  EXPECT_EQ(m.arguments, std::vector<std::string>{"--tab=4"});
  m = ChooseMixerCommand(false, onPath({"x-terminal-emulator", "alsamixer"}));
  EXPECT_EQ(m.program, "x-terminal-emulator");
  EXPECT_EQ(m.arguments, (std::vector<std::string>{"-e", "alsamixer", "-V", "capture"}));
  EXPECT_TRUE(ChooseMixerCommand(false, onPath({"alsamixer"})).program.empty());
  EXPECT_TRUE(ChooseMixerCommand(false, onPath({"x-terminal-emulator"})).program.empty());
}

}  // namespace
