#include "platform/acars_item_server.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

// How long a copy that owns the name has to answer.
constexpr int kOwnerAnswerMs = 1000;

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
  for (auto& [socket, framing] : senders_) QObject::disconnect(socket, nullptr, this, nullptr);
  if (server_) server_->close();
}

AcarsItemServer::Start AcarsItemServer::Listen() {
  const QString name = QString::fromStdString(path_);
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kOwnerAnswerMs)) {
      probe.disconnectFromServer();
      return Start::OwnedByAnotherCopy;
    }
  }
  QLocalServer::removeServer(name);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &AcarsItemServer::AcceptPending);
  return server_->listen(name) ? Start::Listening : Start::Failed;
}

void AcarsItemServer::AcceptPending() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    senders_[socket];
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket, false); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Read(socket, true); });
    // Bytes may have come with the connection.
    Read(socket, socket->state() != QLocalSocket::ConnectedState);
  }
}

void AcarsItemServer::Read(QLocalSocket* socket, bool finished) {
  auto it = senders_.find(socket);
  if (it == senders_.end()) return;
  const QByteArray bytes = socket->readAll();
  std::vector<std::string> values;
  auto take = [&values](const std::string& value) { values.push_back(value); };
  it->second.Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), take);
  if (finished) {
    it->second.Finish(take);
    senders_.erase(it);
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->deleteLater();
  }
  // A change may run a nested event loop: the socket's state is settled
  // before any runs.
  for (const std::string& value : values) change_(value);
}
