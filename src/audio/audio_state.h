#pragma once
// The audio side of the program: the devices, the current block of each
// channel, the displays fed from it and the audio monitor.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/noise_filters.h"
#include "audio/wave_devices.h"
#include "platform/bitmap24.h"
#include "platform/date_time.h"

struct AudioState {
  // Capture format.
  int32_t SampleRate = 44100;
  int32_t SampleBits = 16;
  int32_t SampleChannels = 2;

  // The current block of each channel at 11025 Hz. Decoders read elements
  // 0..511 of their row and may overwrite them; FilterBlock holds a copy
  // taken before any decoder ran.
  double AudioBlock[2][2048] = {};
  double FilterBlock[2][2048] = {};

  WaveInDevice WaveIn;
  WaveOutDevice WaveOut;
  // What stands behind the devices: the sound card unless a wave file or a
  // test puts another in its place.
  AudioDeviceFactory* AudioDevices = &SystemAudioDevices();
  // Per channel the last 51 inputs of the anti-alias filter, newest first.
  double ResampleDelay[2][51] = {};

  // Reception lamps: hold counters of left lock, right lock, data lamp.
  std::array<int32_t, 3> RxLampHold = {6, 6, 0};
  int32_t PipelineCounter = 0;
  // Blocks processed; the aircraft-layer redraw sets it to 0.
  int32_t BlockCounter = 0;
  // The local time at the last change of ClockCache.
  TDateTime BlockTime = 0;
  // Buffers that got past the pipeline's Running check, and when the last did.
  int64_t ProcessedBuffers = 0;
  std::chrono::steady_clock::time_point LastBufferTime{};

  // Spectrum, waterfall and clock panel.
  FftTables SpectrumFft;
  // Waterfall levels, cell (frequency) by column (time), column 0 newest.
  int32_t SpectrumLevels[55][42] = {};
  SymbolHistory ConstellationHistory;
  LevelMeter InputLevelMeter[2];
  std::string ClockCache;  // the clock text last drawn
  Bitmap24 SpectrumBitmap, ClockBitmap;

  // The audio monitor: 512 stereo frames, left and right interleaved, and
  // as 16-bit samples.
  double MonitorSamples[1024] = {};
  int16_t MonitorPcm[1024] = {};
  flag MonitorForced = 0;
  int32_t MonitorChannel = -1;  // 0, 1, or -1: by the decoder modes
  double MonitorDelayLine[2][30] = {};  // newest first
  LmsFilterState<16> LmsFilter16State[2];
  LmsFilterState<33> LmsFilter33State[2];
  FirFilterState FirFilter51State[2];
  // Frames the playback device had no room for, and whether the last
  // block lost some.
  int64_t MonitorDroppedFrames = 0;
  flag MonitorDropping = 0;
};
