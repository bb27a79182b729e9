#include "support/smtp_sink.h"

#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/file_io.h"

namespace testing_support {

namespace {

// The system's interpreter first: the module comes as a Debian package.
std::string PythonWithAiosmtpd() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    if (QProcess::execute(python, {"-c", "import aiosmtpd"}) == 0) return python;
  }
  return {};
}

// A loopback port free right now, without an event loop.
int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  const bool ok = ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) == 0;
  ::close(s);
  return ok ? ntohs(a.sin_port) : 0;
}

bool WaitForFile(const std::string& path, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (platform::FileExists(path)) return true;
    QThread::msleep(20);
  }
  return false;
}

}  // namespace

SmtpSink::SmtpSink() {
  const std::string python = PythonWithAiosmtpd();
  if (python.empty()) {
    error_ = "python3-aiosmtpd is missing: ./test installs it (apt-get install python3-aiosmtpd)";
    return;
  }
  port_ = FreePort();
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QString::fromStdString(python),
                 {QStringLiteral(SKARVEL_SOURCE_DIR "/tests/support/smtp_sink.py"), QString::fromStdString(dir_.path()),
                  QString::number(port_)});
  if (!WaitForFile(dir_.File("ready"), 15000)) error_ = "the SMTP sink did not start";
}

SmtpSink::~SmtpSink() {
  process_.kill();
  process_.waitForFinished(5000);
}

std::vector<ReceivedMail> SmtpSink::Mails(size_t count, int timeoutMs) {
  WaitForFile(dir_.File(std::to_string(count) + ".done"), timeoutMs);
  std::vector<ReceivedMail> mails;
  for (size_t n = 1; platform::FileExists(dir_.File(std::to_string(n) + ".done")); ++n) {
    const std::string base = std::to_string(n);
    mails.push_back({ReadFile(dir_.File(base + ".helo")), ReadFile(dir_.File(base + ".from")),
                     ReadFile(dir_.File(base + ".to")), ReadFile(dir_.File(base + ".eml"))});
  }
  return mails;
}

}  // namespace testing_support
