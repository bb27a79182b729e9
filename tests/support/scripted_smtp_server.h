#pragma once
// An SMTP server of the tests' own, on loopback in the test's thread: it
// answers each command by a script and keeps every byte it received. Only
// an event loop that the client leaves running lets it answer.
#include <QTcpServer>
#include <functional>
#include <map>
#include <string>

namespace testing_support {

class ScriptedSmtpServer : public QObject {
 public:
  ScriptedSmtpServer();
  quint16 Port() const { return server_.serverPort(); }

  // Replies by the command's first word ("HELO", "MAIL", "RCPT", "DATA",
  // "QUIT"), "GREETING" and "END" (of the data); each ends with CR LF
  // unless it is empty (no reply) or "CLOSE" (the server hangs up). A '|'
  // splits a reply into two writes 20 ms apart. Unlisted: "250 ok".
  std::map<std::string, std::string> replies{{"GREETING", "220 test ready"}, {"DATA", "354 go"}, {"QUIT", "221 bye"}};
  int greetingDelayMs = 0;

  int connections = 0;
  std::string received;  // every byte of every connection, in order

 private:
  void Accept();
  void Answer(QTcpSocket* socket, const std::string& key);
  void Read(QTcpSocket* socket);

  QTcpServer server_;
  std::map<QTcpSocket*, std::string> input_;
  std::map<QTcpSocket*, bool> inData_;
};

// Runs the event loop until done() or the time is up; false then.
bool RunUntil(const std::function<bool()>& done, int timeoutMs);
// A loopback port that nothing listens on.
quint16 UnusedPort();

}  // namespace testing_support
