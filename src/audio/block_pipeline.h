#pragma once
// The block pipeline: once per recording buffer, in the GUI thread, split
// the two channels, bring each to 512 samples at 11025 Hz, hand each to its
// decoder, feed the monitor and the displays, keep the clock and time out
// the reception lamps.
#include <cstdint>
#include <string>

#include "audio/audio_links.h"
#include "platform/date_time.h"

struct AudioState;

// One buffer of `frames` interleaved stereo frames at audio.SampleRate
// (2048 at 44100 Hz, 1024 at 22050, 512 at 11025).
void ProcessAudioBlock(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                       const int16_t* interleaved, int frames);

// The clock text for local time `now`: "hh:mm:ss", with DispTime set moved
// back by LocalHourOffset hours (any offset, wrapping within the day).
std::string ClockText(const EtcSettings& etc, TDateTime now);

// The clock step of the display pass: a new clock text drives the daily
// log names, BlockTime, the ageing of tracks and the clock face.
void RunClockStep(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link);
