// What OK of the input-device dialog does, with recording operations.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/form1_state.h"
#include "audio/input_device_choice.h"
#include "audio/tform8.h"

namespace {

using Calls = std::vector<std::string>;

class RecordingActions : public InputDeviceActions {
 public:
  explicit RecordingActions(Form1State& f) : f_(f) {}
  void ReleaseMonitorButton() override { calls.push_back("release monitor"); }
  void RedrawAircraftLayer() override { calls.push_back("Redraw 0100"); }
  void ShowNotice() override { noticeShown = true; }
  void CloseWaveIn() override { recordingOpen = false; }
  void CloseWaveOut() override { playbackOpen = false; }
  void Wait() override {}
  void SetSampleRate() override {
    rateSet = f_.Wave.WaveRate;
    calls.push_back("SetSampleRate " + std::to_string(f_.Wave.WaveInput) + " " + std::to_string(f_.Wave.WaveRate));
  }
  bool OpenWaveIn() override {
    if (ReopenedProperly()) reopens.push_back("recording");
    return waveInOpens;
  }
  void CheckRow(int row) override { calls.push_back("check row " + std::to_string(row)); }
  bool OpenWaveOut() override {
    if (ReopenedProperly()) reopens.push_back("playback");
    return false;
  }
  void CloseNotice() override { noticeShown = false; }
  void ResetDemodulatorChannel(int channel) override {
    calls.push_back("Reset " + std::to_string(channel) + " L" + std::to_string(f_.Wave.DecoderL) + " R" +
                    std::to_string(f_.Wave.DecoderR));
  }
  void ArrangeStatusIndicators() override { calls.push_back("arrange"); }

  bool Called(const Calls& wanted) const {
    return std::all_of(wanted.begin(), wanted.end(),
                       [this](const std::string& w) { return std::find(calls.begin(), calls.end(), w) != calls.end(); });
  }
  // Both devices closed, the rate set from the new choice, the notice up.
  bool ReopenedProperly() const { return !recordingOpen && !playbackOpen && rateSet == f_.Wave.WaveRate && noticeShown; }

  Calls calls;
  Calls reopens;
  bool waveInOpens = true;
  bool recordingOpen = true;
  bool playbackOpen = true;
  bool noticeShown = false;
  int rateSet = -1;

 private:
  Form1State& f_;
};

class InputDeviceDialog : public ::testing::Test {
 protected:
  InputDeviceDialog() : actions(f) {
    f.Wave.WaveInput = 1;
    f.Wave.WaveRate = 2;
    f.Wave.WaveDual = 2;
    f.Wave.DecoderL = 1;
    f.Wave.DecoderR = 0;
    f.Etc.FFTSel = 2;
  }
  InputDeviceChoice Unchanged() const {
    InputDeviceChoice c;
    c.selectedRow = f.Wave.WaveInput;
    c.rateIndex = f.Wave.WaveRate;
    c.mode = f.Wave.WaveDual;
    c.decoderL = f.Wave.DecoderL;
    c.decoderR = f.Wave.DecoderR;
    return c;
  }
  void Apply(const InputDeviceChoice& c) { ApplyInputDeviceChoice(f.Wave, EditedChannelMode(f), f.Etc, c, actions); }

  Form1State f;
  RecordingActions actions;
};

TEST_F(InputDeviceDialog, DecodersOrModeAloneLeaveTheDevicesAlone) {
  InputDeviceChoice c = Unchanged();
  c.decoderR = 2;
  Apply(c);
  EXPECT_EQ(actions.calls, (Calls{"Reset 1 L1 R0", "arrange"}));
  actions.calls.clear();
  c.mode = 1;
  Apply(c);
  EXPECT_EQ(actions.calls, Calls{"arrange"});
  EXPECT_EQ(f.Wave.WaveDual, 1);
}

TEST_F(InputDeviceDialog, ADeviceOrRateChangeReopensTheDevicesBehindTheNotice) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = 3;
  Apply(c);
  EXPECT_TRUE(actions.Called({"release monitor", "Redraw 0100", "SetSampleRate 3 2", "check row 3", "arrange"}));
  // Opened after both were closed, at the new rate, with the notice up.
  EXPECT_EQ(actions.reopens, (Calls{"recording", "playback"}));
  EXPECT_FALSE(actions.noticeShown);
  EXPECT_EQ(f.Wave.WaveInput, 3);

  // The rate alone, with no row selected: the device stays; a recording
  // device that fails checks no row.
  RecordingActions again(f);
  again.waveInOpens = false;
  c = Unchanged();
  c.selectedRow = -1;
  c.rateIndex = 0;
  ApplyInputDeviceChoice(f.Wave, EditedChannelMode(f), f.Etc, c, again);
  EXPECT_TRUE(again.Called({"SetSampleRate 3 0"}));
  EXPECT_FALSE(again.Called({"check row 3"}));
  EXPECT_EQ(again.reopens, (Calls{"recording", "playback"}));
  EXPECT_EQ(f.Wave.WaveInput, 3);
  EXPECT_EQ(f.Wave.WaveRate, 0);
}

TEST_F(InputDeviceDialog, NoRowSelectedLeavesTheDeviceUnchanged) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = -1;
  Apply(c);
  EXPECT_EQ(f.Wave.WaveInput, 1);
  EXPECT_EQ(actions.calls, Calls{"arrange"});
}

TEST_F(InputDeviceDialog, SingleResetsTheSpectrumChannelOnlyWhenTheModeChanges) {
  InputDeviceChoice c = Unchanged();
  c.mode = 1;
  Apply(c);
  EXPECT_EQ(f.Wave.WaveDual, 1);
  EXPECT_EQ(f.Etc.FFTSel, 0);
  f.Etc.FFTSel = 1;
  Apply(c);
  EXPECT_EQ(f.Etc.FFTSel, 1);
}

TEST_F(InputDeviceDialog, EachChangedChannelIsResetWhileItsOldDecoderIsStored) {
  InputDeviceChoice c = Unchanged();
  c.decoderL = 2;  // HFDL to SELCAL
  Apply(c);
  EXPECT_EQ(actions.calls, (Calls{"Reset 0 L1 R0", "arrange"}));
  EXPECT_EQ(f.Wave.DecoderL, 2);
  EXPECT_EQ(f.Wave.DecoderR, 0);
  actions.calls.clear();
  c.decoderL = 0;
  c.decoderR = 1;
  Apply(c);
  EXPECT_EQ(actions.calls, (Calls{"Reset 0 L2 R0", "Reset 1 L2 R0", "arrange"}));
}

TEST_F(InputDeviceDialog, AServerThatDoesNotDecodeEditsTheKeptMode) {
  f.Net.Server = 1;
  f.Net.ServerDec = 0;
  f.Wave.WaveDual = 0;
  f.app.SavedWaveDual = 1;
  InputDeviceChoice c = Unchanged();
  c.mode = 2;
  Apply(c);
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 2);
  EXPECT_EQ(f.Etc.FFTSel, 2);
  EXPECT_EQ(&EditedChannelMode(f), &f.app.SavedWaveDual);
  f.Net.ServerDec = 1;
  EXPECT_EQ(&EditedChannelMode(f), &f.Wave.WaveDual);
}

TEST_F(InputDeviceDialog, TheMixerIsTheVolumeControlOrAlsamixerInATerminal) {
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
