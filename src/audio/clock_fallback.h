#pragma once
// Keeps the clock, the daily log names and the ageing of tracks going when
// no audio arrives (no sound card, a failed open, a wave file that ended):
// otherwise only the block pipeline drives them.
#include <chrono>

#include "audio/audio_links.h"

class QObject;
struct AudioState;

constexpr int kClockFallbackMs = 100;

// Runs the pipeline's clock step when the program is running, the pipeline
// is not, and no buffer has reached it for 1 s. While audio flows it does
// nothing.
void ClockFallbackTick(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                       std::chrono::steady_clock::time_point now);

// Ticks every kClockFallbackMs from a timer owned by `parent` (the main
// window, once shown); the 1 s without buffers counts from here.
void StartClockFallback(AudioState& audio, AudioSettings settings, BlockPipelineLink& link, QObject* parent);
