#include "audio/clock_fallback.h"

#include <QTimer>

#include "app/form1_state.h"
#include "audio/block_pipeline.h"

void ClockFallbackTick(Form1State& form, std::chrono::steady_clock::time_point now) {
  if (!form.Running || form.WaveIn.PipelineBusy) return;
  if (now - form.LastBufferTime < std::chrono::seconds(1)) return;
  RunClockStep(form);
}

void StartClockFallback(Form1State& form, QObject* parent) {
  form.LastBufferTime = std::chrono::steady_clock::now();
  auto* timer = new QTimer(parent);
  timer->setObjectName("ClockFallback");
  QObject::connect(timer, &QTimer::timeout, parent,
                   [&form] { ClockFallbackTick(form, std::chrono::steady_clock::now()); });
  timer->start(kClockFallbackMs);
}
