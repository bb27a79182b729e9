#pragma once
// SIGTERM, SIGINT and SIGHUP become a close request in the GUI thread, so
// that a Ctrl-C or a log-out saves the settings like the close box does.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace platform {

class CloseSignalWatcher : public QObject {
  Q_OBJECT
 public:
  // onClose runs in the GUI thread once per signal received.
  explicit CloseSignalWatcher(std::function<void(int signal)> onClose, QObject* parent = nullptr);
  ~CloseSignalWatcher() override;

 private:
  void OnReadable();

  std::function<void(int)> onClose_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
