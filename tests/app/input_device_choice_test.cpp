// What OK of the input-device dialog does, with recording operations.
#include <gtest/gtest.h>

#include "app/form1_state.h"
#include "audio/input_device_choice.h"

namespace {

using Calls = std::vector<std::string>;

class RecordingActions : public InputDeviceActions {
 public:
  explicit RecordingActions(Form1State& f) : f_(f) {}
  void ReleaseMonitorButton() override { calls.push_back("release monitor"); }
  void RedrawAircraftLayer() override { calls.push_back("Redraw 0100"); }
  void ShowNotice() override { calls.push_back("notice shown"); }
  void CloseWaveIn() override { calls.push_back("CloseWaveIn"); }
  void CloseWaveOut() override { calls.push_back("CloseWaveOut"); }
  void Wait() override { calls.push_back("wait"); }
  void SetSampleRate() override {
    calls.push_back("SetSampleRate " + std::to_string(f_.Wave.WaveInput) + " " + std::to_string(f_.Wave.WaveRate));
  }
  bool OpenWaveIn() override {
    calls.push_back("OpenWaveIn");
    return waveInOpens;
  }
  void CheckRow(int row) override { calls.push_back("check row " + std::to_string(row)); }
  bool OpenWaveOut() override {
    calls.push_back("OpenWaveOut");
    return false;
  }
  void CloseNotice() override { calls.push_back("notice closed"); }
  void ResetDemodulatorChannel(int channel) override {
    calls.push_back("Reset " + std::to_string(channel) + " L" + std::to_string(f_.Wave.DecoderL) + " R" +
                    std::to_string(f_.Wave.DecoderR));
  }
  void ArrangeStatusIndicators() override { calls.push_back("arrange"); }

  Calls calls;
  bool waveInOpens = true;

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
  Form1State f;
  RecordingActions actions;
};

TEST_F(InputDeviceDialog, DecodersOrModeAloneLeaveTheDevicesAlone) {
  InputDeviceChoice c = Unchanged();
  c.decoderR = 2;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(actions.calls, (Calls{"Reset 1 L1 R0", "arrange"}));
  actions.calls.clear();
  c.mode = 1;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(actions.calls, Calls{"arrange"});
  EXPECT_EQ(f.Wave.WaveDual, 1);
}

TEST_F(InputDeviceDialog, ADeviceOrRateChangeReopensTheDevicesInOrder) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = 3;
  ApplyInputDeviceChoice(f, c, actions);
  const Calls reopen = {"release monitor", "Redraw 0100", "notice shown", "CloseWaveIn", "CloseWaveOut", "wait",
                        "SetSampleRate 3 2", "OpenWaveIn", "check row 3", "OpenWaveOut", "notice closed", "arrange"};
  EXPECT_EQ(actions.calls, reopen);
  EXPECT_EQ(f.Wave.WaveInput, 3);

  // The rate alone, with no row selected: the device stays; a recording
  // device that fails checks no row.
  actions.calls.clear();
  actions.waveInOpens = false;
  c = Unchanged();
  c.selectedRow = -1;
  c.rateIndex = 0;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(actions.calls, (Calls{"release monitor", "Redraw 0100", "notice shown", "CloseWaveIn", "CloseWaveOut",
                                  "wait", "SetSampleRate 3 0", "OpenWaveIn", "OpenWaveOut", "notice closed",
                                  "arrange"}));
  EXPECT_EQ(f.Wave.WaveInput, 3);
  EXPECT_EQ(f.Wave.WaveRate, 0);
}

TEST_F(InputDeviceDialog, NoRowSelectedLeavesTheDeviceUnchanged) {
  InputDeviceChoice c = Unchanged();
  c.selectedRow = -1;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(f.Wave.WaveInput, 1);
  EXPECT_EQ(actions.calls, Calls{"arrange"});
}

TEST_F(InputDeviceDialog, SingleResetsTheSpectrumChannelOnlyWhenTheModeChanges) {
  InputDeviceChoice c = Unchanged();
  c.mode = 1;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(f.Wave.WaveDual, 1);
  EXPECT_EQ(f.Etc.FFTSel, 0);
  f.Etc.FFTSel = 1;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(f.Etc.FFTSel, 1);
}

TEST_F(InputDeviceDialog, EachChangedChannelIsResetWhileItsOldDecoderIsStored) {
  InputDeviceChoice c = Unchanged();
  c.decoderL = 2;  // HFDL to SELCAL
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(actions.calls, (Calls{"Reset 0 L1 R0", "arrange"}));
  EXPECT_EQ(f.Wave.DecoderL, 2);
  EXPECT_EQ(f.Wave.DecoderR, 0);
  actions.calls.clear();
  c.decoderL = 0;
  c.decoderR = 1;
  ApplyInputDeviceChoice(f, c, actions);
  EXPECT_EQ(actions.calls, (Calls{"Reset 0 L2 R0", "Reset 1 L2 R0", "arrange"}));
}

TEST_F(InputDeviceDialog, AServerThatDoesNotDecodeEditsTheKeptMode) {
  f.Net.Server = 1;
  f.Net.ServerDec = 0;
  f.Wave.WaveDual = 0;
  f.app.SavedWaveDual = 1;
  InputDeviceChoice c = Unchanged();
  c.mode = 2;
  ApplyInputDeviceChoice(f, c, actions);
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
