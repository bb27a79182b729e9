#include "platform/close_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace platform {
namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int sig) {
  unsigned char b = static_cast<unsigned char>(sig);
  ssize_t r = ::write(g_pipe[1], &b, 1);
  (void)r;
}

}  // namespace

CloseSignalWatcher::CloseSignalWatcher(std::function<void(int)> onClose, QObject* parent)
    : QObject(parent), onClose_(std::move(onClose)) {
  if (g_pipe[0] < 0) {
    if (::pipe(g_pipe) != 0) return;
    for (int fd : g_pipe) {
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
      ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

CloseSignalWatcher::~CloseSignalWatcher() {
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

void CloseSignalWatcher::OnReadable() {
  unsigned char b;
  while (::read(g_pipe[0], &b, 1) == 1) {
    if (onClose_) onClose_(b);
  }
}

}  // namespace platform
