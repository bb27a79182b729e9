#include "support/scripted_smtp_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace testing_support {

ScriptedSmtpServer::ScriptedSmtpServer() {
  server_.listen(QHostAddress::LocalHost, 0);
  connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
}

void ScriptedSmtpServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    ++connections;
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // From a timer of this thread: a client that blocked would never see it.
    QTimer::singleShot(greetingDelayMs, socket, [this, socket] { Answer(socket, "GREETING"); });
  }
}

void ScriptedSmtpServer::Answer(QTcpSocket* socket, const std::string& key) {
  const auto it = replies.find(key);
  const std::string reply = it == replies.end() ? "250 ok" : it->second;
  if (reply.empty()) return;
  if (reply == "CLOSE") return socket->disconnectFromHost();
  const size_t split = reply.find('|');
  if (split == std::string::npos) {
    socket->write((reply + "\r\n").c_str());
    return;
  }
  socket->write(reply.substr(0, split).c_str());
  const std::string rest = reply.substr(split + 1) + "\r\n";
  QTimer::singleShot(20, socket, [socket, rest] { socket->write(rest.c_str()); });
}

void ScriptedSmtpServer::Read(QTcpSocket* socket) {
  const QByteArray bytes = socket->readAll();
  received.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  std::string& in = input_[socket];
  in.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  while (true) {
    if (inData_[socket]) {
      const size_t end = in.find("\r\n.\r\n");
      if (end == std::string::npos) return;
      in.erase(0, end + 5);
      inData_[socket] = false;
      Answer(socket, "END");
      continue;
    }
    const size_t lf = in.find("\r\n");
    if (lf == std::string::npos) return;
    const std::string line = in.substr(0, lf);
    in.erase(0, lf + 2);
    const std::string verb = line.substr(0, line.find_first_of(" :"));
    // After DATA's reply the message follows; its end is "." alone.
    if (verb == "DATA" && replies["DATA"].rfind("354", 0) == 0) {
      inData_[socket] = true;
      in.insert(0, "\r\n");
    }
    Answer(socket, verb);
  }
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

quint16 UnusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

}  // namespace testing_support
