#pragma once
// The link's clock and timers on Qt's event loop.
#include <QElapsedTimer>
#include <QObject>
#include <map>

#include "exchange/peer_transport.h"

class QTimer;

class QtLinkTimers : public QObject, public LinkTimers {
  Q_OBJECT
 public:
  explicit QtLinkTimers(QObject* parent = nullptr);

  int64_t NowMs() const override { return clock_.elapsed(); }
  int Start(int ms, bool repeat, std::function<void()> tick) override;
  void Stop(int id) override;
  void Post(std::function<void()> work) override;

 private:
  QElapsedTimer clock_;
  std::map<int, QTimer*> timers_;
  int nextId_ = 1;
};
