#include "support/test_support.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace testing_support {

TempDir::TempDir() {
  char tmpl[] = "/tmp/skarvel-test-XXXXXX";
  char* p = ::mkdtemp(tmpl);
  if (!p) throw std::runtime_error("mkdtemp failed");
  path_ = p;
}

TempDir::~TempDir() { QDir(QString::fromStdString(path_)).removeRecursively(); }

namespace {

// Root's overrides of the permissions, in this thread's effective set: off,
// or back on as far as the process was given them.
bool SetPermissionOverrides(bool on) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  const uint32_t overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
  if ((data[0].effective & overrides) == 0 && !on) return false;
  data[0].effective = on ? data[0].effective | (data[0].permitted & overrides) : data[0].effective & ~overrides;
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

PermissionsHold::PermissionsHold() : dropped_(SetPermissionOverrides(false)) {}

PermissionsHold::~PermissionsHold() {
  if (dropped_) SetPermissionOverrides(true);
}

MessageBoxRecorder::MessageBoxRecorder(platform::BoxAnswer answer) : answer_(answer) {
  platform::SetMessageBoxHandler([this](const platform::BoxRequest& r) {
    requests_.push_back(r);
    if (!queue_.empty()) {
      platform::BoxAnswer a = queue_.front();
      queue_.erase(queue_.begin());
      return a;
    }
    if (r.buttons == platform::BoxButtons::Ok) return platform::BoxAnswer::Ok;
    return answer_;
  });
}

MessageBoxRecorder::~MessageBoxRecorder() { platform::SetMessageBoxHandler(nullptr); }

void MessageBoxRecorder::SetAnswers(std::vector<platform::BoxAnswer> answers) { queue_ = std::move(answers); }

std::vector<std::string> MessageBoxRecorder::Texts() const {
  std::vector<std::string> t;
  for (const auto& r : requests_) t.push_back(r.text);
  return t;
}

FixedClock::FixedClock(TDateTime t) : now_(t) {
  platform::SetClockForTests([this] { return now_; });
}

FixedClock::~FixedClock() { platform::SetClockForTests(nullptr); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

void WriteJpeg(const std::string& path, int width, int height, uint32_t colour, bool grey) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  const uint8_t rgb[3] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour >> 16)};
  std::vector<uint8_t> row(static_cast<size_t>(width) * (grey ? 1 : 3));
  for (size_t i = 0; i < row.size(); ++i) row[i] = grey ? rgb[1] : rgb[i % 3];
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

void WriteGradientJpeg(const std::string& path, int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 96));
  }
  picture.save(QString::fromStdString(path), "JPG", 95);
}

void CopyProgramFolder(const std::string& dir) {
  std::string cmd = "cp -a '" SKARVEL_PROGRAM_DIR "/.' '" + dir + "/' && rm -rf '" + dir + "/logs' '" + dir + "/skarvel.ini'";
  if (std::system(cmd.c_str()) != 0) throw std::runtime_error("copying the program folder failed");
}

namespace {

void SetEnvironment(QProcess& p, const std::vector<std::string>& env) {
  QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
  for (const std::string& kv : env) {
    auto eq = kv.find('=');
    if (eq == std::string::npos) {
      e.remove(QString::fromStdString(kv));
    } else {
      e.insert(QString::fromStdString(kv.substr(0, eq)), QString::fromStdString(kv.substr(eq + 1)));
    }
  }
  p.setProcessEnvironment(e);
}

// Waits for the end, killing the program after timeoutMs.
ProcessResult Finish(QProcess& p, int timeoutMs) {
  ProcessResult r;
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished(5000);
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.standardOutput = p.readAllStandardOutput().toStdString();
  r.standardError = p.readAllStandardError().toStdString();
  return r;
}

}  // namespace

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, int timeoutMs,
                         const std::optional<std::string>& input) {
  QProcess p;
  SetEnvironment(p, env);
  QStringList a;
  for (const std::string& s : args) a << QString::fromStdString(s);
  p.start(QString::fromStdString(program), a);
  if (!p.waitForStarted(10000)) return ProcessResult();
  if (input) {
    p.write(input->data(), static_cast<qint64>(input->size()));
    // Closed once written: the program reads to the end of the pipe.
    p.closeWriteChannel();
  }
  return Finish(p, timeoutMs);
}

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& env)
    : process_(std::make_unique<QProcess>()) {
  SetEnvironment(*process_, env);
  QStringList a;
  for (const std::string& s : args) a << QString::fromStdString(s);
  process_->start(QString::fromStdString(program), a);
  EXPECT_TRUE(process_->waitForStarted(10000)) << program;
}

RunningProgram::~RunningProgram() {
  if (process_->state() == QProcess::NotRunning) return;
  process_->kill();
  process_->waitForFinished(5000);
}

void RunningProgram::Signal(int signal) const {
  // A program that has ended has no id: 0 would signal the whole group.
  if (process_->processId() > 0) ::kill(static_cast<pid_t>(process_->processId()), signal);
}
ProcessResult RunningProgram::Wait(int timeoutMs) {
  ProcessResult r = Finish(*process_, timeoutMs);
  r.standardError = standardError_ + r.standardError;
  return r;
}
long long RunningProgram::Pid() const { return process_->processId(); }
const std::string& RunningProgram::StandardErrorSoFar() {
  standardError_ += process_->readAllStandardError().toStdString();
  return standardError_;
}

std::unique_ptr<RunningProgram> StartProgram(const std::string& program, const std::vector<std::string>& args,
                                             const std::vector<std::string>& env) {
  return std::make_unique<RunningProgram>(program, args, env);
}

ProcessResult RunUntilSigterm(const std::string& folder, int settleMs, bool fullDisk) {
  WriteFile(folder + "/empty-alsa.conf", "");
  QProcess p;
  SetEnvironment(p, {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + folder + "/empty-alsa.conf"});
  if (fullDisk) {
    p.setChildProcessModifier([] {
      ::signal(SIGXFSZ, SIG_IGN);
      const struct rlimit none = {0, 0};
      ::setrlimit(RLIMIT_FSIZE, &none);
    });
  }
  p.start(QString::fromStdString(folder + "/skarvel"), {});
  EXPECT_TRUE(p.waitForStarted(10000));
  EXPECT_FALSE(p.waitForFinished(settleMs)) << "skarvel ended before the signal";
  QElapsedTimer clock;
  clock.start();
  ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
  ProcessResult r = Finish(p, 60000);
  r.msAfterSignal = clock.elapsed();
  return r;
}

}  // namespace testing_support
