#include "audio/clock_fallback.h"

#include <QTimer>

#include "app/form1_state.h"
#include "audio/audio_services.h"
#include "audio/block_pipeline.h"

void ClockFallbackTick(Form1State& form, std::chrono::steady_clock::time_point now) {
  if (!form.app.Running || form.audio.WaveIn.PipelineBusy) return;
  if (now - form.audio.LastBufferTime < std::chrono::seconds(1)) return;
  const std::string shown = form.audio.ClockCache;
  RunClockStep(form);
  // The face has wiped the meters: draw them again, silent, and show both.
  if (form.audio.ClockCache != shown) form.svc.audio->DrawLevelMeters(form, nullptr, 0);
}

void StartClockFallback(Form1State& form, QObject* parent) {
  form.audio.LastBufferTime = std::chrono::steady_clock::now();
  auto* timer = new QTimer(parent);
  timer->setObjectName("ClockFallback");
  QObject::connect(timer, &QTimer::timeout, parent,
                   [&form] { ClockFallbackTick(form, std::chrono::steady_clock::now()); });
  timer->start(kClockFallbackMs);
}
