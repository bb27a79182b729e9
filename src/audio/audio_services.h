#pragma once
// Operations of audio capture and playback.

struct Form1State;

class AudioServices {
 public:
  virtual ~AudioServices() = default;

  // Capture format and buffer size from WaveRate.
  virtual void SetSampleRate(Form1State& form);
  // Opens the recording device; false (after its message) when it cannot.
  virtual bool OpenWaveIn(Form1State& form);
  virtual void CloseWaveIn(Form1State& form);
  // Opens the playback device of the audio monitor; false (after its
  // message) when it cannot, and the monitor then stays silent.
  virtual bool OpenWaveOut(Form1State& form);
  virtual void CloseWaveOut(Form1State& form);
  // A recording buffer is full (message 0x401).
  virtual void OnWaveInData(Form1State& form);
  // A playback buffer is done (message 0x402): nothing to do.
  virtual void OnWaveOutDone(Form1State& form);

  // The audio monitor.
  virtual void StartAudioMonitor(Form1State& form, bool forced, int channel);
  virtual void WriteSilentMonitorBlock(Form1State& form);
  // The monitor button of the main window; its down state has changed.
  virtual void SpeedButton17Click(Form1State& form);
};

AudioServices& DefaultAudioServices();
