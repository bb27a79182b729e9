// skarvel-acars-send [--wire] [TEXT...]: hands ACARS blocks to the copy of
// Skarvel that runs from this program folder, through its ACARS item. Each
// TEXT, or each line of standard input when none is given, is one block
// written as the RAW log shows it; with --wire standard input is wire text
// already, NUL bytes separating the values. Exit status: 0 every block
// handed over, 1 no copy runs, 2 a bad argument, 3 the copy stopped taking
// blocks before the last (it went away, or took nothing for a while).
#include <poll.h>
#include <sys/socket.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "exchange/log_import.h"
#include "platform/acars_item_server.h"
#include "platform/paths.h"

namespace {

constexpr int kWaitMs = 5000;
// A copy that takes nothing for this long has stopped taking blocks: one
// that works takes what it is sent between its other work, and far more
// than one block's worth each time.
constexpr int kStalledMs = 10000;

constexpr int kNoCopy = 1;
constexpr int kCopyStopped = 3;

const char kUsage[] =
    "Usage: skarvel-acars-send [--wire] [TEXT...]\n"
    "Hands ACARS blocks to the Skarvel running from this folder.\n"
    "Each TEXT (or each line of standard input) is a block as the RAW log\n"
    "shows it, for example '+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST<ETX>'.\n"
    "  --wire   standard input is wire text; NUL bytes separate the values\n";

// What goes over the socket: each value converted and ended by a NUL.
std::string Values(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) {
    out += RawLogRecordToWire(text);
    out.push_back('\0');
  }
  return out;
}

struct HandOver {
  size_t sent = 0;      // what went into the socket
  bool cutOff = false;  // by the copy, or the copy went
};

// Writes bytes to the copy's socket. A copy that closes cuts this command
// off and says so at once, however long it still works; one that takes
// nothing for a while is left. Leaving, this command stops its reading
// before it looks for the copy's mark: the system then either has the mark
// for it or refuses it to the copy, so both know which came first.
HandOver Write(int fd, const std::string& bytes) {
  HandOver h;
  QElapsedTimer idle;
  idle.start();
  while (h.sent < bytes.size()) {
    const qint64 wait = kStalledMs - idle.elapsed();
    if (wait <= 0) {
      ::shutdown(fd, SHUT_RD);
      char mark;
      h.cutOff = ::recv(fd, &mark, 1, MSG_DONTWAIT) > 0;
      return h;
    }
    pollfd p{fd, POLLOUT | POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(wait));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    // The copy writes only its mark; an end or an error is a copy gone.
    if (p.revents & (POLLIN | POLLHUP | POLLERR)) break;
    const ssize_t n = ::send(fd, bytes.data() + h.sent, bytes.size() - h.sent, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n > 0) {
      h.sent += static_cast<size_t>(n);
      idle.restart();
    } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      break;
    }
  }
  h.cutOff = h.sent < bytes.size();
  return h;
}

std::vector<std::string> StandardInputLines() {
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  bool wire = false;
  std::vector<std::string> texts;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--wire") {
      wire = true;
    } else if (arg.rfind("--", 0) == 0) {
      std::fprintf(stderr, "skarvel-acars-send: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      texts.push_back(arg);
    }
  }
  if (wire && !texts.empty()) {
    std::fprintf(stderr, "skarvel-acars-send: --wire reads standard input only\n%s", kUsage);
    return 2;
  }
  QCoreApplication app(argc, argv);
  const std::string path = AcarsItemSocketPath(platform::ProgramFolder());
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(path));
  if (!socket.waitForConnected(kWaitMs)) {
    std::fprintf(stderr, "skarvel-acars-send: no Skarvel listens on %s\n", path.c_str());
    return kNoCopy;
  }
  std::string bytes;
  if (wire) {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    // The copy would take a last value without its NUL only once this
    // command has gone: ended here, it is handed over as every other is.
    if (!bytes.empty() && bytes.back() != '\0') bytes.push_back('\0');
  } else {
    bytes = Values(texts.empty() ? StandardInputLines() : texts);
  }
  const HandOver handOver = Write(static_cast<int>(socket.socketDescriptor()), bytes);
  if (handOver.sent < bytes.size()) {
    // The blocks whose end went into the socket. A copy that took none for
    // a while takes all that went in once it goes on, and what went in of
    // a block without its NUL as one more block once this command has gone:
    // so does it count here, where that is the whole block. A copy that
    // closed cut this command off and takes no such rest.
    const size_t sent = handOver.sent;
    auto handed = std::count(bytes.begin(), bytes.begin() + static_cast<long>(sent), '\0');
    if (!handOver.cutOff && sent > 0 && bytes[sent] == '\0' && bytes[sent - 1] != '\0') ++handed;
    const auto blocks = std::count(bytes.begin(), bytes.end(), '\0');
    std::fprintf(stderr, "skarvel-acars-send: the Skarvel on %s stopped taking blocks (%ld of %ld handed over)\n",
                 path.c_str(), static_cast<long>(handed), static_cast<long>(blocks));
    return kCopyStopped;
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
  return 0;
}
