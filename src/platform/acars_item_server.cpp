#include "platform/acars_item_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <vector>

namespace {

// How long a copy that owns the name has to answer.
constexpr int kOwnerAnswerMs = 1000;
// What is taken from a sender at a time, and how long one turn hands
// values on before the rest of the program gets its turn.
constexpr qint64 kReadChunk = 4096;
constexpr qint64 kTurnSliceMs = 20;
// How long a closing copy works through the values it has taken before its
// windows get a turn: often enough to look alive, seldom enough to cost
// little.
constexpr qint64 kClosingSliceMs = 50;
// How much may wait read but not handed on: the event loop keeps taking a
// sender's bytes between the turns, so a hand-over of some hundred thousand
// blocks is taken at once and its sender is done; beyond this the rest
// waits in the socket, and the sender with it, until the copy catches up.
constexpr qint64 kReadBufferBytes = 64 * 1024 * 1024;

// Whether the peer of a connected socket has reported one of events (it
// closed, or shut down its writing).
bool PeerReports(qintptr fd, short events) {
  if (fd < 0) return false;
  pollfd p{static_cast<int>(fd), events, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & events) != 0;
}

}  // namespace

std::string AcarsItemSocketPath(const std::string& programFolder) {
  const QString folder = QString::fromStdString(programFolder);
  QString canonical = QFileInfo(folder).canonicalFilePath();
  if (canonical.isEmpty()) canonical = folder;
  const QString digits =
      QString::fromLatin1(QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
  const QString name = QStringLiteral("skarvel-ACARS-") + digits;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) return QDir(runtime).filePath(name).toStdString();
  return QDir(QDir::tempPath()).filePath(name + QStringLiteral("-%1").arg(::getuid())).toStdString();
}

AcarsItemServer::AcarsItemServer(std::string path, std::function<void(const std::string&)> change, QObject* parent)
    : QObject(parent), path_(std::move(path)), change_(std::move(change)) {}

AcarsItemServer::~AcarsItemServer() {
  for (auto& [socket, sender] : senders_) QObject::disconnect(socket, nullptr, this, nullptr);
  if (server_) server_->close();
}

AcarsItemServer::Start AcarsItemServer::Listen(bool holdsProgramFolder) {
  const QString name = QString::fromStdString(path_);
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kOwnerAnswerMs)) {
      probe.disconnectFromServer();
      return Start::OwnedByAnotherCopy;
    }
  }
  if (holdsProgramFolder) QLocalServer::removeServer(name);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &AcarsItemServer::AcceptPending);
  return server_->listen(name) ? Start::Listening : Start::Failed;
}

void AcarsItemServer::AcceptPending() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    socket->setReadBufferSize(kReadBufferBytes);
    senders_[socket];
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadTurn(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      if (auto it = senders_.find(socket); it != senders_.end()) it->second.disconnected = true;
      ReadTurn(socket);
    });
    // Bytes may have come with the connection.
    senders_[socket].disconnected = socket->state() != QLocalSocket::ConnectedState;
    ReadTurn(socket);
  }
}

void AcarsItemServer::ReadTurn(QLocalSocket* socket) {
  auto it = senders_.find(socket);
  if (it == senders_.end()) return;
  Sender& sender = it->second;
  // A change may run a nested event loop: the turn under way goes on after
  // it, so the values keep their order. Once the copy closes, Finish has
  // handed on the rest.
  if (sender.busy || finished_) return;
  sender.busy = true;
  const auto take = [&sender](const std::string& value) { sender.values.push_back(value); };
  QElapsedTimer turn;
  turn.start();
  while (!finished_ && turn.elapsed() < kTurnSliceMs) {
    if (sender.values.empty()) {
      const QByteArray bytes = socket->read(kReadChunk);
      if (bytes.isEmpty()) break;
      sender.framing.Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), take);
      continue;
    }
    const std::string value = std::move(sender.values.front());
    sender.values.pop_front();
    change_(value);
  }
  sender.busy = false;
  if (finished_) return;
  if (!sender.values.empty() || socket->bytesAvailable() > 0) {
    if (!sender.turnQueued) {
      sender.turnQueued = true;
      QTimer::singleShot(0, this, [this, socket] {
        if (auto queued = senders_.find(socket); queued != senders_.end()) queued->second.turnQueued = false;
        ReadTurn(socket);
      });
    }
    return;
  }
  if (!sender.disconnected) return;
  // What a sender leaves when it goes is one more value.
  std::string last;
  sender.framing.Finish([&last](const std::string& value) { last = value; });
  Forget(socket);
  if (!last.empty()) change_(last);
}

void AcarsItemServer::Forget(QLocalSocket* socket) {
  senders_.erase(socket);
  QObject::disconnect(socket, nullptr, this, nullptr);
  socket->deleteLater();
}

void AcarsItemServer::Finish(const std::function<void()>& between) {
  if (finished_ || !server_) return;
  finished_ = true;
  // A connection the system made but the copy never accepted would take a
  // sender's blocks and lose them: the listener refuses new senders from
  // now on, and those already waiting are taken before it closes.
  const qintptr listener = server_->socketDescriptor();
  if (listener >= 0) {
    ::shutdown(static_cast<int>(listener), SHUT_RD);
    for (;;) {
      const int fd = ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR) continue;
        break;
      }
      auto* socket = new QLocalSocket(this);
      if (!socket->setSocketDescriptor(fd)) {
        ::close(fd);
        delete socket;
        continue;
      }
      senders_[socket];
    }
  }
  server_->close();
  // Every sender is cut off first, and told so at once, so that none waits
  // on the others' blocks; what the system holds already can still be read
  // to its end. Qt is no longer heard: the end it would find now is this
  // copy's own.
  std::vector<QLocalSocket*> sockets;
  for (auto& [socket, sender] : senders_) {
    sockets.push_back(socket);
    QObject::disconnect(socket, nullptr, this, nullptr);
    // Qt lets the descriptor go once it has read the sender's end.
    const qintptr fd = socket->socketDescriptor();
    if (fd < 0 || PeerReports(fd, POLLRDHUP | POLLHUP)) sender.disconnected = true;
    if (fd < 0) continue;
    // A sender still there gets the cut mark, which wakes it even while it
    // waits to write. The system refuses the mark to one that stopped
    // reading: it had left before the cut, and so decides its count.
    if (!sender.disconnected && ::send(static_cast<int>(fd), &kAcarsItemCutMark, 1, MSG_DONTWAIT | MSG_NOSIGNAL) < 0 &&
        (errno == EPIPE || errno == ECONNRESET)) {
      sender.disconnected = true;
    }
    ::shutdown(static_cast<int>(fd), SHUT_RDWR);
  }
  // No entry goes while Finish runs: a change's nested event loop may still
  // hold a turn's sender.
  for (QLocalSocket* socket : sockets) HandOnRest(socket, senders_.at(socket), between);
}

void AcarsItemServer::HandOnRest(QLocalSocket* socket, Sender& sender, const std::function<void()>& between) {
  const auto take = [&sender](const std::string& value) { sender.values.push_back(value); };
  QElapsedTimer slice;
  slice.start();
  const auto handOn = [&] {
    while (!sender.values.empty()) {
      const std::string value = std::move(sender.values.front());
      sender.values.pop_front();
      change_(value);
      if (between && slice.elapsed() >= kClosingSliceMs) {
        between();
        slice.restart();
      }
    }
  };
  char buffer[kReadChunk];
  for (;;) {
    handOn();
    // What Qt has read comes before what the system still holds; the
    // descriptor is asked for each time, as Qt closes it at the end it finds.
    const QByteArray bytes = socket->read(kReadChunk);
    if (!bytes.isEmpty()) {
      sender.framing.Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), take);
      continue;
    }
    const qintptr fd = socket->socketDescriptor();
    if (fd < 0) break;
    const ssize_t n = ::read(static_cast<int>(fd), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    sender.framing.Feed(std::string_view(buffer, static_cast<size_t>(n)), take);
  }
  // A sender that had gone before the cut left a last value. One still
  // there was cut off: what it wrote of a value without its end is no value
  // of its own, and it counts as handed over only the values it ended.
  // Whether it has gone by now tells nothing: told of the cut, it goes.
  if (!sender.disconnected) return;
  sender.framing.Finish(take);
  handOn();
}
