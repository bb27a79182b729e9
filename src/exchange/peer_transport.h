#pragma once
// What the link between copies stands on: TCP connections and the event
// loop's clock and timers. The program's are Qt's (src/platform); tests
// put fakes in their place.
#include <cstdint>
#include <functional>
#include <string>

// A connection of the transport; 0 is none.
using ConnectionId = int32_t;

enum class SendResult { Ok, Blocked, Error };

// What the transport reports, each as its own event of the event loop.
class PeerTransportEvents {
 public:
  virtual ~PeerTransportEvents() = default;
  // A client connected to the listener.
  virtual void OnAccepted(ConnectionId id, uint32_t peerAddress, uint16_t peerPort) = 0;
  virtual void OnAcceptError() = 0;
  // The outcome of Connect: connected, or failed before it connected.
  virtual void OnConnected(ConnectionId id) = 0;
  virtual void OnConnectFailed(ConnectionId id) = 0;
  // Bytes wait to be read. It does not come again for bytes left unread.
  virtual void OnReadable(ConnectionId id) = 0;
  // The peer closed a connection that was up. What it sent before can
  // still be read.
  virtual void OnClosed(ConnectionId id) = 0;
};

class PeerTransport {
 public:
  virtual ~PeerTransport() = default;
  virtual void SetEvents(PeerTransportEvents* events) = 0;
  // Listens on every local IPv4 address; false when the port cannot be had.
  virtual bool Listen(uint16_t port, int backlog) = 0;
  virtual void StopListening() = 0;
  // Starts connecting over IPv4 (host name or dotted address); the outcome
  // comes as an event.
  virtual ConnectionId Connect(const std::string& host, uint16_t port) = 0;
  // Queues bytes on a connection that is up. Blocked: too much is queued
  // already, and these bytes are not.
  virtual SendResult Write(ConnectionId id, const std::string& bytes) = 0;
  // Up to maxBytes of what has arrived; empty when nothing waits.
  virtual std::string Read(ConnectionId id, size_t maxBytes) = 0;
  // Ends the connection at once; no event of it follows.
  virtual void Close(ConnectionId id) = 0;
};

// The clock and timers of the event loop the link runs in.
class LinkTimers {
 public:
  virtual ~LinkTimers() = default;
  // A monotonic clock in milliseconds.
  virtual int64_t NowMs() const = 0;
  // Calls tick after ms, again every ms when repeat; the id stops it (0 is
  // never given).
  virtual int Start(int ms, bool repeat, std::function<void()> tick) = 0;
  virtual void Stop(int id) = 0;
  // Calls work on a later turn of the event loop.
  virtual void Post(std::function<void()> work) = 0;
};
