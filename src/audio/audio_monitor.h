#pragma once
// The audio monitor: the receivers played back on the sound card, once
// per block. Plain: left on the left, right on the right. Forced (the
// SELCAL panel): only the SELCAL channel, on both ears, optionally through
// the noise filters and widened to pseudo-stereo.
#include <cstdint>

#include "audio/audio_links.h"

struct AudioState;

constexpr int kMonitorFrames = 512;
constexpr int kMonitorDelay = 30;

// A monitor value as a playback sample: truncated toward zero, limited to
// +-32760, 0 for NaN.
int16_t MonitorSample(double value);

// For the monitor button going down: takes the mode and the channel (-1:
// by the decoder modes), clears the delay lines and the buffer and queues
// four silent blocks ahead of the first audio.
void StartAudioMonitor(AudioState& audio, bool forced, int channel);
void WriteSilentMonitorBlock(AudioState& audio);
// Converts the 512 stereo frames of samples (the monitor buffer) into
// MonitorPcm and hands them to the playback device without waiting: what
// does not fit is dropped. With playback closed it writes nowhere.
// WaveOut.Current moves on either way.
void WriteMonitorBlock(AudioState& audio, const double* samples);
// The monitor step of the block pipeline.
void FeedAudioMonitor(AudioState& audio, const WaveSettings& wave, const FormSettings& form);
// The monitor button; buttonDown is its new state.
void SpeedButton17Click(AudioState& audio, const FormSettings& form, bool buttonDown, MonitorButtonLink& link);
