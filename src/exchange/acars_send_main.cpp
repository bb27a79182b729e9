// skarvel-acars-send [--wire] [TEXT...]: hands ACARS blocks to the copy of
// Skarvel that runs from this program folder, through its ACARS item. Each
// TEXT, or each line of standard input when none is given, is one block
// written as the RAW log shows it; with --wire standard input is wire text
// already, NUL bytes separating the values. Exit status: 0 every block
// handed over, 1 no copy runs, 2 a bad argument, 3 the copy stopped taking
// blocks before the last (it went away, or took nothing for a while).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <algorithm>
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
  const qint64 total = static_cast<qint64>(bytes.size());
  qint64 left = socket.write(bytes.data(), total) == total ? socket.bytesToWrite() : total;
  QElapsedTimer idle;
  idle.start();
  while (left > 0 && socket.state() == QLocalSocket::ConnectedState && idle.elapsed() < kStalledMs) {
    socket.waitForBytesWritten(static_cast<int>(kStalledMs - idle.elapsed()));
    // A closed socket forgets what it had to write.
    if (socket.state() != QLocalSocket::ConnectedState) break;
    const qint64 now = socket.bytesToWrite();
    if (now < left) idle.restart();
    left = now;
  }
  if (left > 0 || socket.state() != QLocalSocket::ConnectedState) {
    // The blocks whose end went into the socket. A copy that took none for
    // a while takes all that went in once it goes on, and what went in of
    // a block without its NUL as one more block once this command has gone:
    // so does it count here, where that is the whole block. A copy that
    // closed cut this command off and takes no such rest.
    const qint64 sent = total - left;
    auto handed = std::count(bytes.begin(), bytes.begin() + sent, '\0');
    const bool cutOff = socket.state() != QLocalSocket::ConnectedState;
    if (!cutOff && sent > 0 && sent < total && bytes[sent] == '\0' && bytes[sent - 1] != '\0') ++handed;
    const auto blocks = std::count(bytes.begin(), bytes.end(), '\0');
    std::fprintf(stderr, "skarvel-acars-send: the Skarvel on %s stopped taking blocks (%ld of %ld handed over)\n",
                 path.c_str(), static_cast<long>(handed), static_cast<long>(blocks));
    return kCopyStopped;
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
  return 0;
}
