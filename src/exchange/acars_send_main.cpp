// skarvel-acars-send [--wire] [TEXT...]: hands ACARS blocks to the copy of
// Skarvel that runs from this program folder, through its ACARS item. Each
// TEXT, or each line of standard input when none is given, is one block
// written as the RAW log shows it; with --wire standard input is wire text
// already, NUL bytes separating the values.
#include <QCoreApplication>
#include <QLocalSocket>
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
    return 1;
  }
  std::string bytes;
  if (wire) {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    bytes = Values(texts.empty() ? StandardInputLines() : texts);
  }
  if (socket.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    std::fprintf(stderr, "skarvel-acars-send: writing to %s failed\n", path.c_str());
    return 1;
  }
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kWaitMs)) {
      std::fprintf(stderr, "skarvel-acars-send: writing to %s failed\n", path.c_str());
      return 1;
    }
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
  return 0;
}
