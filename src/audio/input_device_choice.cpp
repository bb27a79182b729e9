#include "audio/input_device_choice.h"

#include "app/form1_state.h"

const char kVolumeControlProgram[] = "pavucontrol";

int& EditedChannelMode(Form1State& f) { return f.Net.Server && !f.Net.ServerDec ? f.app.SavedWaveDual : f.Wave.WaveDual; }

void ApplyInputDeviceChoice(Form1State& f, const InputDeviceChoice& c, InputDeviceActions& a) {
  // The selected row counts; the check boxes only mirror it.
  const bool deviceChanged = c.selectedRow >= 0 && c.selectedRow != f.Wave.WaveInput;
  const bool rateChanged = c.rateIndex != f.Wave.WaveRate;
  if (deviceChanged || rateChanged) {
    a.ReleaseMonitorButton();
    a.RedrawAircraftLayer();
    a.ShowNotice();
    a.CloseWaveIn();
    a.CloseWaveOut();
    a.Wait();
    if (c.selectedRow >= 0) f.Wave.WaveInput = c.selectedRow;
    f.Wave.WaveRate = c.rateIndex;
    a.SetSampleRate();
    if (a.OpenWaveIn()) a.CheckRow(f.Wave.WaveInput);
    // A playback failure leaves the monitor off; the program goes on.
    a.OpenWaveOut();
    a.CloseNotice();
  }
  int& mode = EditedChannelMode(f);
  if (mode != c.mode) {
    mode = c.mode;
    if (c.mode == 1) f.Etc.FFTSel = 0;
  }
  // Each changed channel starts afresh while its old decoder is stored.
  if (f.Wave.DecoderL != c.decoderL) a.ResetDemodulatorChannel(0);
  if (f.Wave.DecoderR != c.decoderR) a.ResetDemodulatorChannel(1);
  f.Wave.DecoderL = c.decoderL;
  f.Wave.DecoderR = c.decoderR;
  a.ArrangeStatusIndicators();
}

MixerCommand ChooseMixerCommand(bool mixerAvailable, const std::function<bool(const std::string&)>& onPath) {
  // The volume control opens on its input-devices tab.
  if (mixerAvailable) return {kVolumeControlProgram, {"--tab=4"}};
  if (onPath("x-terminal-emulator") && onPath("alsamixer")) {
    return {"x-terminal-emulator", {"-e", "alsamixer", "-V", "capture"}};
  }
  return {};
}
