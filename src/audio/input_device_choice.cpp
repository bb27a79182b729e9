#include "audio/input_device_choice.h"

const char kVolumeControlProgram[] = "pavucontrol";

void ApplyInputDeviceChoice(WaveSettings& wave, int32_t& mode, EtcSettings& etc, const InputDeviceChoice& c,
                            InputDeviceActions& a) {
  // The selected row counts; the check boxes only mirror it.
  const bool deviceChanged = c.selectedRow >= 0 && c.selectedRow != wave.WaveInput;
  const bool rateChanged = c.rateIndex != wave.WaveRate;
  if (deviceChanged || rateChanged) {
    a.ReleaseMonitorButton();
    a.RedrawAircraftLayer();
    a.ShowNotice();
    a.CloseWaveIn();
    a.CloseWaveOut();
    a.Wait();
    if (c.selectedRow >= 0) wave.WaveInput = c.selectedRow;
    wave.WaveRate = c.rateIndex;
    a.SetSampleRate();
    if (a.OpenWaveIn()) a.CheckRow(wave.WaveInput);
    // A playback failure leaves the monitor off; the program goes on.
    a.OpenWaveOut();
    a.CloseNotice();
  }
  if (mode != c.mode) {
    // The right channel is no longer decoded: a frame it was in would stay
    // open and hold the left channel's analysis text.
    if (mode == 2) a.ResetDemodulatorChannel(1);
    mode = c.mode;
    if (c.mode == 1) etc.FFTSel = 0;
  }
  // Each changed channel starts afresh while its old decoder is stored.
  if (wave.DecoderL != c.decoderL) a.ResetDemodulatorChannel(0);
  if (wave.DecoderR != c.decoderR) a.ResetDemodulatorChannel(1);
  wave.DecoderL = c.decoderL;
  wave.DecoderR = c.decoderR;
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
