#pragma once
// The audio part of a program at 11025 Hz on its own: its state, the
// settings sections it reads as a missing settings file gives them, the
// FFT tables and both pictures as at start-up, and a recording link.
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/audio_state.h"
#include "audio/block_pipeline.h"
#include "audio/fft_tables.h"
#include "audio/wave_devices.h"
#include "support/recording_links.h"

namespace audio_test {

// Stereo frames, left and right constant.
inline std::vector<int16_t> Frames(int frames, int16_t left, int16_t right) {
  std::vector<int16_t> v(2 * static_cast<size_t>(frames));
  for (size_t i = 0; i < v.size(); i += 2) {
    v[i] = left;
    v[i + 1] = right;
  }
  return v;
}

struct AudioRig {
  AudioRig() {
    wave.WaveDual = 1;
    wave.DecoderL = DecoderKind::Hfdl;
    wave.DecoderR = DecoderKind::Hfdl;
    etc.LocalHourOffset = 9;
    form.SpectrumRefresh = 1;
    // The clock panel's default colours: back, lit and unlit.
    color.ClockBack = 0x000000;
    color.ClockText = 0xFF8000;
    color.LineColor1 = 0x603000;
    audio.SpectrumFft = BuildFftTables();
    audio.SpectrumBitmap.Resize(55, 42);
    audio.SpectrumBitmap.Fill(0);
    audio.ClockBitmap.Resize(133, 42);
    audio.ClockBitmap.Fill(color.ClockBack);
    SetSampleRate(audio, wave);
  }
  AudioRig(const AudioRig&) = delete;
  AudioRig& operator=(const AudioRig&) = delete;

  AudioSettings Settings() const { return {wave, etc, form, color}; }
  void SetRate(int waveRate) {
    wave.WaveRate = waveRate;
    SetSampleRate(audio, wave);
  }

  // One buffer of interleaved frames through the pipeline.
  void Process(const std::vector<int16_t>& interleaved) {
    ProcessAudioBlock(audio, Settings(), link, interleaved.data(), static_cast<int>(interleaved.size() / 2));
  }
  // A buffer of the current size whose channels hold one value each.
  void Block(int16_t left = 0, int16_t right = 0) { Process(Frames(audio.WaveIn.BufferFrames, left, right)); }
  // A bin-centred sine of the given amplitude on a channel's FilterBlock.
  void Tone(int channel, int bin, double amplitude) {
    for (int n = 0; n < 512; ++n) audio.FilterBlock[channel][n] = amplitude * std::sin(2.0 * M_PI * bin * n / 512.0);
  }

  AudioState audio;
  WaveSettings wave;
  EtcSettings etc;
  FormSettings form;
  ColorSettings color;
  testing_support::RecordingAudioLink link;
};

}  // namespace audio_test
