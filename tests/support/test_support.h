#pragma once
// Helpers shared by the tests: temporary folders, a message-box recorder,
// a fixed clock and a copy of the build's program folder.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/message_box.h"

class QProcess;

namespace testing_support {

// A fresh empty folder, removed with everything in it when this goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Answers every message box and remembers what was asked.
class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(platform::BoxAnswer answer = platform::BoxAnswer::Yes);
  ~MessageBoxRecorder();
  void SetAnswers(std::vector<platform::BoxAnswer> answers);  // in order, then the default
  const std::vector<platform::BoxRequest>& Requests() const { return requests_; }
  std::vector<std::string> Texts() const;

 private:
  platform::BoxAnswer answer_;
  std::vector<platform::BoxAnswer> queue_;
  std::vector<platform::BoxRequest> requests_;
};

// Fixes platform::Now() for the life of this object.
class FixedClock {
 public:
  explicit FixedClock(TDateTime t);
  ~FixedClock();
  void Set(TDateTime t) { now_ = t; }

 private:
  TDateTime now_;
};

// While this lives, the file system's permissions hold for this thread as
// for any user: root, who otherwise reads and writes everything, can then
// meet a folder it may not write or a file it may not read. Nothing for
// another user, for whom they hold already.
class PermissionsHold {
 public:
  PermissionsHold();
  ~PermissionsHold();
  PermissionsHold(const PermissionsHold&) = delete;
  PermissionsHold& operator=(const PermissionsHold&) = delete;

 private:
  bool dropped_ = false;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// A JPEG of one colour (0x00BBGGRR), written through libjpeg; grey makes a
// one-component file.
void WriteJpeg(const std::string& path, int width, int height, uint32_t colour, bool grey = false);
// A picture whose red grows to the right and green downward.
void WriteGradientJpeg(const std::string& path, int width, int height);

// Copies the build's program folder (the executable and the shipped
// folders) into dir, so that a run writes its settings and logs there.
void CopyProgramFolder(const std::string& dir);

struct ProcessResult {
  int exitCode = -1;  // -1: it crashed or never ended
  std::string standardOutput;
  std::string standardError;
  long long msAfterSignal = -1;  // RunUntilSigterm: how long it took to end
};
// Runs a program with the given changes to the environment ("NAME=value"
// sets, a bare "NAME" removes) and waits for it; `input`, when given, is
// its standard input through a pipe.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, int timeoutMs,
                         const std::optional<std::string>& input = std::nullopt);
// A program left running while the test works with it; killed if it still
// runs when this goes.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& args, const std::vector<std::string>& env);
  ~RunningProgram();
  void Signal(int signal) const;
  ProcessResult Wait(int timeoutMs);
  long long Pid() const;
  // What it has written on standard error so far (Wait still returns all of it).
  const std::string& StandardErrorSoFar();

 private:
  std::unique_ptr<QProcess> process_;
  std::string standardError_;
};
std::unique_ptr<RunningProgram> StartProgram(const std::string& program, const std::vector<std::string>& args,
                                             const std::vector<std::string>& env);

// Runs a program folder's skarvel offscreen without a sound card, sends it
// SIGTERM after settleMs (a failure if it has ended by then) and waits for
// it. fullDisk: no file it writes can grow, as on a full disk.
ProcessResult RunUntilSigterm(const std::string& folder, int settleMs, bool fullDisk = false);

}  // namespace testing_support
