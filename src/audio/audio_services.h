#pragma once
// Operations of audio capture and playback.
#include <cstdint>

#include "audio/capture_delivery.h"

struct Form1State;

class AudioServices {
 public:
  virtual ~AudioServices() = default;

  // Capture format and buffer size from WaveRate (or the wave file's rate).
  virtual void SetSampleRate(Form1State& form);
  // Opens the recording device; false (after its message) when it cannot,
  // and then nothing of it stays open.
  virtual bool OpenWaveIn(Form1State& form);
  // Closes it if open, discards what it still delivers, starts both
  // channels' HFDL frames afresh and puts out both lock lamps.
  virtual void CloseWaveIn(Form1State& form);
  // Opens the playback device of the audio monitor; false (after its
  // message) when it cannot, and the monitor then stays silent.
  virtual bool OpenWaveOut(Form1State& form);
  virtual void CloseWaveOut(Form1State& form);
  // A recording buffer is full (message 0x401).
  virtual void OnWaveInData(Form1State& form, WaveInBuffer buffer);
  // A playback buffer is done (message 0x402): nothing to do.
  virtual void OnWaveOutDone(Form1State& form);

  // The audio monitor.
  virtual void StartAudioMonitor(Form1State& form, bool forced, int channel);
  virtual void WriteSilentMonitorBlock(Form1State& form);
  // The monitor button of the main window; its down state has changed.
  virtual void SpeedButton17Click(Form1State& form);

  // Steps of the block pipeline that feed the monitor and draw.
  // The monitor feed, on every block while the monitor button is down.
  virtual void FeedAudioMonitor(Form1State& form);
  // The spectrum and waterfall, in the display pass.
  virtual void DrawSpectrum(Form1State& form);
  // The clock face, when ClockCache has changed.
  virtual void DrawClockFace(Form1State& form);
  // The input level meters and decoder captions, in the display pass, from
  // the raw buffer of the block.
  virtual void DrawLevelMeters(Form1State& form, const int16_t* interleaved, int frames);
  // The constellation, on every block of the second display style.
  virtual void DrawConstellation(Form1State& form);
};

AudioServices& DefaultAudioServices();
