#include "audio/clock_fallback.h"

#include <QTimer>

#include "audio/audio_state.h"
#include "audio/block_pipeline.h"
#include "audio/clock_panel.h"

void ClockFallbackTick(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                       std::chrono::steady_clock::time_point now) {
  if (!link.Running() || audio.WaveIn.PipelineBusy) return;
  if (now - audio.LastBufferTime < std::chrono::seconds(1)) return;
  const std::string shown = audio.ClockCache;
  RunClockStep(audio, settings, link);
  // The face has wiped the meters: draw them again, silent, and show both.
  if (audio.ClockCache != shown) DrawLevelMeters(audio, settings.Wave, settings.Color, link, nullptr, 0);
}

void StartClockFallback(AudioState& audio, AudioSettings settings, BlockPipelineLink& link, QObject* parent) {
  audio.LastBufferTime = std::chrono::steady_clock::now();
  auto* timer = new QTimer(parent);
  timer->setObjectName("ClockFallback");
  QObject::connect(timer, &QTimer::timeout, parent, [&audio, settings, &link] {
    ClockFallbackTick(audio, settings, link, std::chrono::steady_clock::now());
  });
  timer->start(kClockFallbackMs);
}
