#pragma once
// The link's TCP connections on Qt's sockets, in the GUI thread: a listener
// on every local IPv4 address and client sockets, each known by a number.
// A connection's own close is silent: its signals are cut before it is
// aborted, so that it never looks like the peer's close.
#include <QObject>
#include <map>
#include <set>

#include "exchange/peer_transport.h"

class QTcpServer;
class QTcpSocket;

class QtPeerTransport : public QObject, public PeerTransport {
  Q_OBJECT
 public:
  explicit QtPeerTransport(QObject* parent = nullptr);
  ~QtPeerTransport() override;

  void SetEvents(PeerTransportEvents* events) override { events_ = events; }
  bool Listen(uint16_t port, int backlog) override;
  void StopListening() override;
  ConnectionId Connect(const std::string& host, uint16_t port) override;
  SendResult Write(ConnectionId id, const std::string& bytes) override;
  std::string Read(ConnectionId id, size_t maxBytes) override;
  void Close(ConnectionId id) override;

 private:
  ConnectionId Adopt(QTcpSocket* socket);
  void AcceptPending();

  PeerTransportEvents* events_ = nullptr;
  QTcpServer* server_ = nullptr;
  std::map<ConnectionId, QTcpSocket*> sockets_;
  std::set<ConnectionId> up_;  // connected: a close is the peer's
  ConnectionId nextId_ = 1;
};
