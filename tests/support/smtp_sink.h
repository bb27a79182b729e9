#pragma once
// The real SMTP server of the tests: python3-aiosmtpd on a free loopback
// port (./test installs it), run by a small script that keeps each
// message as received.
#include <QProcess>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace testing_support {

struct ReceivedMail {
  std::string helo, from, to;
  std::string content;  // as handed on: headers, empty line, body, dots unstuffed
};

class SmtpSink {
 public:
  SmtpSink();
  ~SmtpSink();
  // Empty when the server runs, else what went wrong.
  const std::string& Error() const { return error_; }
  int Port() const { return port_; }
  // The messages received so far, waiting up to timeoutMs for count of them.
  std::vector<ReceivedMail> Mails(size_t count, int timeoutMs);

 private:
  TempDir dir_;
  QProcess process_;
  int port_ = 0;
  std::string error_;
};

}  // namespace testing_support
