#pragma once
// Pseudo-terminals for the serial-port tests: the program writes to the
// slave side, the test reads the master side.
#include <chrono>
#include <string>
#include <vector>

namespace testing_support {

// One pseudo-terminal. The test keeps its own descriptor on the slave for
// its whole life: a master whose slave has no open descriptor reports a
// hang-up whenever the program closes its side.
struct Pty {
  Pty();
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;
  void Close();

  int master = -1;
  int slave = -1;
  std::string path;  // the slave's, "/dev/pts/N"
};

struct PtyChunk {
  std::string bytes;
  std::chrono::steady_clock::time_point at;
};

// Reads the master, running the event loop meanwhile, until count bytes came
// or timeoutMs passed.
std::vector<PtyChunk> ReadMaster(const Pty& pty, size_t count, int timeoutMs);
std::string Joined(const std::vector<PtyChunk>& chunks);
// "FE FE 94 " for a look at binary frames.
std::string HexBytes(const std::string& bytes);

}  // namespace testing_support
