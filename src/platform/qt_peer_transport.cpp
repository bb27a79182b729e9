#include "platform/qt_peer_transport.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

namespace {

// A peer that sends faster than it is read is slowed by TCP itself, and a
// peer that does not read gets no more queued than this.
constexpr qint64 kMaxQueuedBytes = 1 << 20;

}  // namespace

QtPeerTransport::QtPeerTransport(QObject* parent) : QObject(parent) {}

QtPeerTransport::~QtPeerTransport() {
  for (auto& [id, socket] : sockets_) {
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    delete socket;
  }
  sockets_.clear();
  delete server_;
}

bool QtPeerTransport::Listen(uint16_t port, int backlog) {
  StopListening();
  server_ = new QTcpServer(this);
  server_->setListenBacklogSize(backlog);
  connect(server_, &QTcpServer::newConnection, this, &QtPeerTransport::AcceptPending);
  connect(server_, &QTcpServer::acceptError, this, [this] {
    if (events_) events_->OnAcceptError();
  });
  if (server_->listen(QHostAddress::AnyIPv4, port)) return true;
  StopListening();
  return false;
}

void QtPeerTransport::StopListening() {
  if (!server_) return;
  QObject::disconnect(server_, nullptr, this, nullptr);
  server_->close();
  server_->deleteLater();
  server_ = nullptr;
}

void QtPeerTransport::AcceptPending() {
  while (server_ && server_->hasPendingConnections()) {
    QTcpSocket* socket = server_->nextPendingConnection();
    if (!socket) break;
    const ConnectionId id = Adopt(socket);
    up_.insert(id);
    const quint32 address = socket->peerAddress().toIPv4Address();
    if (events_) events_->OnAccepted(id, qToBigEndian(address), qToBigEndian(socket->peerPort()));
  }
}

ConnectionId QtPeerTransport::Adopt(QTcpSocket* socket) {
  const ConnectionId id = nextId_++;
  socket->setParent(this);
  socket->setReadBufferSize(kMaxQueuedBytes);
  sockets_[id] = socket;
  connect(socket, &QTcpSocket::readyRead, this, [this, id] {
    if (events_) events_->OnReadable(id);
  });
  // A socket may report these inside the call that caused them (a connect
  // on loopback, a write to a broken link): they reach the link from the
  // event loop, as events of their own, unless the socket is gone by then.
  connect(
      socket, &QTcpSocket::connected, this,
      [this, id] {
        if (!sockets_.count(id)) return;
        up_.insert(id);
        if (events_) events_->OnConnected(id);
      },
      Qt::QueuedConnection);
  connect(
      socket, &QTcpSocket::errorOccurred, this,
      [this, id] {
        if (sockets_.count(id) && !up_.count(id) && events_) events_->OnConnectFailed(id);
      },
      Qt::QueuedConnection);
  connect(
      socket, &QTcpSocket::disconnected, this,
      [this, id] {
        if (sockets_.count(id) && up_.count(id) && events_) events_->OnClosed(id);
      },
      Qt::QueuedConnection);
  return id;
}

ConnectionId QtPeerTransport::Connect(const std::string& host, uint16_t port) {
  auto* socket = new QTcpSocket(this);
  const ConnectionId id = Adopt(socket);
  socket->connectToHost(QString::fromStdString(host), port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
  return id;
}

SendResult QtPeerTransport::Write(ConnectionId id, const std::string& bytes) {
  auto it = sockets_.find(id);
  if (it == sockets_.end() || it->second->state() != QAbstractSocket::ConnectedState) return SendResult::Error;
  QTcpSocket* socket = it->second;
  if (socket->bytesToWrite() > kMaxQueuedBytes) return SendResult::Blocked;
  const qint64 written = socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (written < 0) return SendResult::Error;
  // Into the system's buffer now, as a send would: left to the event loop,
  // the queue of a reading peer grows while a flood is read.
  socket->flush();
  return SendResult::Ok;
}

std::string QtPeerTransport::Read(ConnectionId id, size_t maxBytes) {
  auto it = sockets_.find(id);
  if (it == sockets_.end()) return {};
  const QByteArray bytes = it->second->read(static_cast<qint64>(maxBytes));
  return bytes.toStdString();
}

void QtPeerTransport::Close(ConnectionId id) {
  auto it = sockets_.find(id);
  if (it == sockets_.end()) return;
  QTcpSocket* socket = it->second;
  sockets_.erase(it);
  up_.erase(id);
  // Cut first: Qt reports an own abort as a disconnect too. The socket may
  // be inside one of its own signals: it goes later.
  QObject::disconnect(socket, nullptr, this, nullptr);
  socket->abort();
  socket->deleteLater();
}
