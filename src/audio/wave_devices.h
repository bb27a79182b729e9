#pragma once
// The recording device that feeds the block pipeline and the playback
// device of the audio monitor, and the factory that chooses what stands
// behind them: the sound card, a wave file, or a test's fake.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_links.h"
#include "audio/capture_delivery.h"
#include "platform/alsa_audio.h"
#include "platform/audio_devices.h"

class QObject;
struct AudioState;

struct WaveFormat {
  int32_t FormatTag = 1;  // PCM
  int32_t Channels = 2;
  int32_t SamplesPerSec = 11025;
  int32_t AvgBytesPerSec = 44100;
  int32_t BlockAlign = 4;
  int32_t BitsPerSample = 16;
  int32_t ExtraSize = 0;
};

struct WaveInDevice {
  std::unique_ptr<platform::AudioCaptureSource> Handle;  // null while closed
  WaveFormat Format;
  int32_t BufferFrames = 512;
  int32_t BufferBytes = 2048;
  int32_t Current = 0;  // counts buffers modulo 32; nothing depends on it

  // Where full buffers are posted: the audio subsystem's receiver.
  QObject* Receiver = nullptr;
  // Every open starts a new generation; deliveries of another are stale.
  uint64_t Generation = 0;
  std::shared_ptr<CaptureQueue> Queue;

  // The pipeline is running; deliveries that arrive meanwhile wait here.
  bool PipelineBusy = false;
  std::deque<WaveInBuffer> Waiting;
};

struct WaveOutDevice {
  std::unique_ptr<platform::AudioPlaybackSink> Handle;  // null while closed
  WaveFormat Format;
  int32_t BufferBytes = 2048;
  int32_t Current = 0;  // 0..7, advanced by the monitor
};

class AudioDeviceFactory {
 public:
  virtual ~AudioDeviceFactory() = default;
  // The recording device chosen by WaveInput.
  virtual std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings& wave) = 0;
  virtual std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() = 0;
  // The capture rate that the source imposes (a wave file's), or 0 when
  // WaveRate decides.
  virtual int FixedSampleRate() const { return 0; }
  // The main window has shown, its start-up questions answered: a source
  // that waits for that (a wave file) may start.
  virtual void ReadyForInput() {}
};

// The sound card: WaveInput 0 is the PCM "default", i is entry i - 1 of
// EnumerateCaptureDevices; playback is "default".
AudioDeviceFactory& SystemAudioDevices();
// The PCM that WaveInput names; empty (an open that fails) past the end.
std::string CapturePcmName(int waveInput, const std::vector<platform::CaptureDevice>& devices);

// Capture format and buffer size from WaveRate (or the wave file's rate).
void SetSampleRate(AudioState& audio, const WaveSettings& wave);
// Opens the recording device; false (after its message, in English or
// not) when it cannot, and then nothing of it stays open.
bool OpenWaveIn(AudioState& audio, const WaveSettings& wave, bool english);
// Closes it if open, discards what it still delivers, starts the frames
// afresh and puts out both lock lamps.
void CloseWaveIn(AudioState& audio, BlockPipelineLink& link);
// Opens the playback device of the audio monitor; false (after its
// message) when it cannot, and the monitor then stays silent.
bool OpenWaveOut(AudioState& audio, bool english);
void CloseWaveOut(AudioState& audio);
