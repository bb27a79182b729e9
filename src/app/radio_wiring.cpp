#include "app/radio_wiring.h"

#include <cstdio>

#include "app/form1_state.h"
#include "app/form_effects.h"
#include "radio/frequency_list.h"

RadioWiring::RadioWiring(Form1State& form, FormEffects& effects)
    : form_(form), effects_(effects), controller_(form.radio, form.Radio, *this) {
  for (size_t n = 0; n < timers_.size(); ++n) {
    const auto which = static_cast<RadioTimer>(n);
    timers_[n] = std::make_unique<QTimer>();
    timers_[n]->setSingleShot(true);
    // A coarse timer may fire 5 % early; the pauses between commands may not.
    if (which == RadioTimer::Pause) timers_[n]->setTimerType(Qt::PreciseTimer);
    QObject::connect(timers_[n].get(), &QTimer::timeout, [this, which] { controller_.TimerFired(which); });
  }
  port_.BytesWritten = [this](int64_t count) { controller_.BytesWritten(count); };
}

RadioWiring::~RadioWiring() {
  for (auto& timer : timers_) timer->stop();
  port_.BytesWritten = nullptr;
}

void RadioWiring::SquitterAnalysed() { RefreshFrequencies(form_.radio, form_.Radio, form_.hfdl, controller_); }

bool RadioWiring::OpenPort(const std::string& name, int stopBits, std::string& reason) {
  return port_.Open(name, stopBits, reason);
}

void RadioWiring::StartTimer(RadioTimer timer, int ms) { timers_[static_cast<size_t>(timer)]->start(ms); }

void RadioWiring::StopTimer(RadioTimer timer) { timers_[static_cast<size_t>(timer)]->stop(); }

bool RadioWiring::TimerActive(RadioTimer timer) const { return timers_[static_cast<size_t>(timer)]->isActive(); }

void RadioWiring::ReportFailure(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  effects_.ShowStatusText(line);
}
