#pragma once
// An SMTP server of the tests' own on loopback, in the test's thread: it
// answers by a script and keeps every byte it received. Only a client that
// leaves the event loop running lets it answer.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

namespace testing_support {

class ScriptedSmtpServer : public QObject {
 public:
  // Replies by the command's first word, "GREETING" and "END" (the data's
  // "." line), CR LF added. Empty: no reply; "CLOSE": the server hangs up;
  // a '|' splits a reply into two writes 20 ms apart. Unlisted: "250 ok".
  std::map<std::string, std::string> replies{{"GREETING", "220 test ready"}, {"DATA", "354 go"}, {"QUIT", "221 bye"}};
  int greetingDelayMs = 0;
  int connections = 0;
  std::string received;

  ScriptedSmtpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        ++connections;
        connect(s, &QTcpSocket::readyRead, this, [this, s] { Read(s); });
        // From a timer of this thread: a client that blocked never sees it.
        QTimer::singleShot(greetingDelayMs, s, [this, s] { Answer(s, "GREETING"); });
      }
    });
  }
  quint16 Port() const { return server_.serverPort(); }

 private:
  void Answer(QTcpSocket* s, const std::string& key) {
    const std::string reply = replies.count(key) ? replies[key] : "250 ok";
    if (reply == "CLOSE") return s->disconnectFromHost();
    const size_t split = reply.find('|');
    if (reply.empty()) return;
    if (split == std::string::npos) return void(s->write((reply + "\r\n").c_str()));
    s->write(reply.substr(0, split).c_str());
    const std::string rest = reply.substr(split + 1) + "\r\n";
    QTimer::singleShot(20, s, [s, rest] { s->write(rest.c_str()); });
  }
  // Commands get their replies; lines of the data none, but its end.
  void Read(QTcpSocket* s) {
    const QByteArray bytes = s->readAll();
    received.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    std::string& in = input_[s];
    in.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    for (size_t lf; (lf = in.find("\r\n")) != std::string::npos; in.erase(0, lf + 2)) {
      const std::string line = in.substr(0, lf), verb = line.substr(0, line.find(' '));
      if (line == ".") Answer(s, "END");
      if (verb == "HELO" || verb == "MAIL" || verb == "RCPT" || verb == "DATA" || verb == "QUIT") Answer(s, verb);
    }
  }

  QTcpServer server_;
  std::map<QTcpSocket*, std::string> input_;
};

// Runs the event loop until done() or the time is up; false then.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// A loopback port that nothing listens on.
inline quint16 UnusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

}  // namespace testing_support
