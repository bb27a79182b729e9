#pragma once
// What OK of the input-device dialog does with the user's choices, apart
// from its widgets: the devices re-opened when the device or the rate
// changed, then the channel mode and the decoders.
#include <functional>
#include <string>
#include <vector>

#include "app/settings_sections.h"

struct InputDeviceChoice {
  int selectedRow = -1;  // the device list's selected row; -1 none
  int rateIndex = 0;     // the sample-rate list's item
  int mode = 1;          // 1 single, 2 dual
  DecoderKind decoderL = DecoderKind::Hfdl;
  DecoderKind decoderR = DecoderKind::Hfdl;
};

// What OK needs of the devices, the map, the main window and the notice.
class InputDeviceActions {
 public:
  virtual ~InputDeviceActions() = default;
  // Releases the monitor button without running its handler.
  virtual void ReleaseMonitorButton() = 0;
  virtual void RedrawAircraftLayer() = 0;
  // Shows the notice and lets it paint.
  virtual void ShowNotice() = 0;
  virtual void CloseWaveIn() = 0;
  virtual void CloseWaveOut() = 0;
  // The devices need a moment between closing and opening again.
  virtual void Wait() = 0;
  virtual void SetSampleRate() = 0;
  virtual bool OpenWaveIn() = 0;
  virtual void CheckRow(int row) = 0;
  virtual bool OpenWaveOut() = 0;
  virtual void CloseNotice() = 0;
  virtual void ResetDemodulatorChannel(int channel) = 0;
  virtual void ArrangeStatusIndicators() = 0;
};

// Applies OK to the settings it edits: the device, the rate and the
// decoders of `wave`, the channel mode `mode` (WaveDual, or what a server
// that does not decode keeps aside for the settings file) and FFTSel.
void ApplyInputDeviceChoice(WaveSettings& wave, int32_t& mode, EtcSettings& etc, const InputDeviceChoice& choice,
                            InputDeviceActions& actions);

// The program that sets the recording levels, with its arguments; an empty
// program when there is none.
struct MixerCommand {
  std::string program;
  std::vector<std::string> arguments;
};
// mixerAvailable: the desktop's volume control was found at start.
MixerCommand ChooseMixerCommand(bool mixerAvailable, const std::function<bool(const std::string&)>& onPath);
extern const char kVolumeControlProgram[];
