#pragma once
// The tests' real SMTP server: python3-aiosmtpd on a free loopback port,
// run by smtp_sink.py, which keeps each message as received.
#include <QProcess>
#include <QThread>

#include "platform/file_io.h"
#include "support/scripted_smtp_server.h"
#include "support/test_support.h"

namespace testing_support {

class SmtpSink {
 public:
  SmtpSink() {
    // The system's interpreter first: the module comes as a Debian package.
    for (const char* python : {"/usr/bin/python3", "python3"}) {
      if (QProcess::execute(python, {"-c", "import aiosmtpd"}) != 0) continue;
      port_ = UnusedPort();
      process_.start(python, {SKARVEL_SOURCE_DIR "/tests/support/smtp_sink.py", QString::fromStdString(dir_.path()),
                              QString::number(port_)});
      if (!Await("ready", 15000)) error = "the SMTP sink did not start";
      return;
    }
    error = "python3-aiosmtpd is missing: ./test installs it (apt-get install python3-aiosmtpd)";
  }
  ~SmtpSink() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  int Port() const { return port_; }
  // Message n (from 1), waiting for it: the envelope (HELO name, sender,
  // recipients, a line each) and the content as received.
  bool Mail(int n, std::string& envelope, std::string& content) {
    if (!Await(std::to_string(n) + ".env", 5000)) return false;
    envelope = ReadFile(dir_.File(std::to_string(n) + ".env"));
    content = ReadFile(dir_.File(std::to_string(n) + ".eml"));
    return true;
  }
  std::string error;  // empty while the server runs

 private:
  bool Await(const std::string& name, int timeoutMs) {
    for (int waited = 0; !platform::FileExists(dir_.File(name)); waited += 20) {
      if (waited > timeoutMs) return false;
      QThread::msleep(20);
    }
    return true;
  }

  TempDir dir_;
  QProcess process_;
  int port_ = 0;
};

// The header lines of a mail as composed, up to the empty line.
inline std::string MailHeaders(const std::string& subject) {
  return "MIME-Version: 1.0\r\nContent-Transfer-Encoding: 7bit\r\nContent-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
         "X-Mailer: Skarvel\r\nSubject: " + subject + "\r\nTo: to@example.org\r\nFrom: from@example.org\r\n\r\n";
}

}  // namespace testing_support
