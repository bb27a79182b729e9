#pragma once
// The ACARS item: other programs of the same user hand ACARS blocks to a
// running copy through a local socket of the user's own, named after the
// program folder, so that two program folders give two items. Each value
// ends with a NUL byte and becomes one change of the item, in the GUI
// thread. A sender is read in short turns of the event loop, so that a
// large hand-over holds up neither the rest of the program nor the sender.
#include <QObject>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "exchange/acars_item_framing.h"

class QLocalServer;
class QLocalSocket;

// Where the item of a program folder listens: $XDG_RUNTIME_DIR/skarvel-ACARS-
// and 12 hex digits of the SHA-1 of the canonical folder, or the same with
// the user id added in the temporary folder.
std::string AcarsItemSocketPath(const std::string& programFolder);

class AcarsItemServer : public QObject {
  Q_OBJECT
 public:
  enum class Start { Listening, OwnedByAnotherCopy, Failed };

  AcarsItemServer(std::string path, std::function<void(const std::string& value)> change, QObject* parent = nullptr);
  ~AcarsItemServer() override;

  // Takes the name unless another copy answers on it. A socket file that no
  // copy answers on is removed first only by the copy that holds the program
  // folder: to any other it may be the file of a copy starting this moment.
  Start Listen(bool holdsProgramFolder = true);

  // The copy closes: no sender is taken from now on, and one still writing
  // is refused the rest and told so at once (kAcarsItemCutMark); every value
  // already taken, or already in the system for this copy, is handed on
  // before this returns. Nothing is handed on after it. That may take a
  // while: `between` runs between slices of it, so that the windows keep
  // answering, and must hand this server nothing.
  void Finish(const std::function<void()>& between = nullptr);

 private:
  struct Sender {
    AcarsItemFraming framing;
    std::deque<std::string> values;  // read, not yet handed on
    bool busy = false;               // in a turn (a change may run a nested event loop)
    bool turnQueued = false;
    bool disconnected = false;
  };

  void AcceptPending();
  // Finish's part for one sender, whose reading is shut down: its values to
  // the end of what it wrote.
  void HandOnRest(QLocalSocket* socket, Sender& sender, const std::function<void()>& between);
  // Hands on values for one slice of the event loop's time; the rest on a
  // later turn.
  void ReadTurn(QLocalSocket* socket);
  void Forget(QLocalSocket* socket);

  std::string path_;
  std::function<void(const std::string&)> change_;
  QLocalServer* server_ = nullptr;
  std::map<QLocalSocket*, Sender> senders_;
  bool finished_ = false;
};
