#pragma once
// What the audio subsystem needs of the program around it, and the
// settings sections it reads (never writes). The main window implements the
// links; tests put recording ones in their place.
#include <cstdint>

#include "app/settings_sections.h"
#include "platform/color.h"

class Bitmap24;

// The reception lamps of the tool bar; they index AudioState::RxLampHold.
enum class Lamp { Left = 0, Right = 1, Data = 2 };

// The two pictures audio draws: the waterfall or the constellation, and
// the clock panel.
enum class AudioPicture { Spectrum, Clock };

// One channel's HFDL symbols of the current block, as the demodulator
// keeps them.
struct BlockSymbols {
  const int32_t* I = nullptr;
  const int32_t* Q = nullptr;
  int32_t Count = 0;
};

struct AudioSettings {
  const WaveSettings& Wave;
  const EtcSettings& Etc;
  const FormSettings& Form;
  const ColorSettings& Color;
};

// What the block pipeline, the capture and the displays reach outside audio.
class BlockPipelineLink {
 public:
  virtual ~BlockPipelineLink() = default;
  // False from the start of closing on: nothing more is processed.
  virtual bool Running() const = 0;
  // Runs the decoder on the channel's AudioBlock row, which it may overwrite.
  virtual void DecodeBlock(int channel, DecoderKind decoder) = 0;
  // The capture stopped: frames in progress are abandoned.
  virtual void RestartFrames() = 0;
  // A decoder is inside a frame or block on the channel: the waterfall
  // marks it.
  virtual bool InFrame(int channel) const = 0;
  virtual BlockSymbols HfdlSymbols(int channel) const = 0;
  virtual void PaintLamp(Lamp lamp, TColor colour) = 0;
  virtual void ShowPicture(AudioPicture picture, const Bitmap24& bitmap) = 0;
  // The monitor button is down.
  virtual bool MonitorOn() const = 0;
  // The status panel with the pictures is shown.
  virtual bool StatusPanelOn() const = 0;
  // The clock text changed (once a second): the daily log names and the
  // ages of tracks move on.
  virtual void ClockStepped() = 0;
  // After every block processed.
  virtual void BlockDone() = 0;
  // The last buffer of a wave file read fast has been processed.
  virtual void InputEnded() = 0;
};

// What the monitor button reaches outside audio.
class MonitorButtonLink {
 public:
  virtual ~MonitorButtonLink() = default;
  // The timed monitor of the SELCAL panel ends with the button.
  virtual void StopTimedMonitor() = 0;
  // Asks for the aircraft layer of the map to be drawn again.
  virtual void RequestAircraftLayerRedraw() = 0;
};
