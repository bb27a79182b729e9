#include "support/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>

namespace testing_support {

Pty::Pty() {
  char name[64] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  path = name;
}

Pty::~Pty() { Close(); }

void Pty::Close() {
  if (master >= 0) close(master);
  if (slave >= 0) close(slave);
  master = slave = -1;
}

std::vector<PtyChunk> ReadMaster(const Pty& pty, size_t count, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  std::vector<PtyChunk> chunks;
  size_t got = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got < count && Clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    pollfd p{pty.master, POLLIN, 0};
    if (poll(&p, 1, 2) <= 0 || !(p.revents & POLLIN)) continue;
    char buffer[256];
    const ssize_t n = read(pty.master, buffer, sizeof buffer);
    if (n <= 0) continue;
    chunks.push_back({std::string(buffer, static_cast<size_t>(n)), Clock::now()});
    got += static_cast<size_t>(n);
  }
  return chunks;
}

std::string Joined(const std::vector<PtyChunk>& chunks) {
  std::string all;
  for (const PtyChunk& c : chunks) all += c.bytes;
  return all;
}

std::string HexBytes(const std::string& bytes) {
  std::string text;
  char cell[4];
  for (unsigned char b : bytes) {
    std::snprintf(cell, sizeof cell, "%02X ", b);
    text += cell;
  }
  return text;
}

}  // namespace testing_support
