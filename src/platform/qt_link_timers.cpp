#include "platform/qt_link_timers.h"

#include <QMetaObject>
#include <QTimer>
#include <algorithm>

QtLinkTimers::QtLinkTimers(QObject* parent) : QObject(parent) { clock_.start(); }

int QtLinkTimers::Start(int ms, bool repeat, std::function<void()> tick) {
  const int id = nextId_++;
  auto* timer = new QTimer(this);
  timer->setSingleShot(!repeat);
  // Never at 0 ms: a timer of 0 is one that does not run.
  timer->setInterval(std::max(ms, 1));
  connect(timer, &QTimer::timeout, this, [this, id, repeat, tick = std::move(tick)] {
    // A single shot is over before its work runs, which may start another.
    if (!repeat) Stop(id);
    tick();
  });
  timers_[id] = timer;
  timer->start();
  return id;
}

void QtLinkTimers::Stop(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  // It may be inside its own timeout.
  it->second->deleteLater();
  timers_.erase(it);
}

void QtLinkTimers::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}
