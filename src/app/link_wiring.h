#pragma once
// The link between copies wired into the program: the link itself on Qt's
// sockets and timers (or a test's), the log import, and the ACARS item. It
// is the link's host: frames it finds enter the road of decoded messages,
// and what it changes reaches the main window and the link's windows
// through the state they show.
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "exchange/log_import.h"
#include "exchange/peer_link.h"

class AcarsItemServer;
class FormEffects;
class HeldPosts;
namespace platform {
class ProgramFolderLock;
}
class ReceptionWiring;
struct Form1State;

// Whether this copy holds its program folder, and what the user is told
// when it does not (UTF-8).
struct FolderHold {
  bool held = false;
  std::string english;
  std::string japanese;
};

class LinkWiring : public QObject, public PeerLinkHost, public LogImportLink {
  Q_OBJECT
 public:
  // transport, timers: the program's own unless a test gives others.
  LinkWiring(Form1State& form, FormEffects& effects, ReceptionWiring& reception, PeerTransport* transport = nullptr,
             LinkTimers* timers = nullptr);
  ~LinkWiring() override;

  PeerLink& Link() { return *link_; }
  LogImport& Import() { return *import_; }

  // Takes the program folder for this copy, through its lock file, and then
  // the folder's ACARS item. Not held when another copy holds the folder, or
  // when the lock file cannot be taken: this one runs without the item, and
  // says why on standard error. The folder stays held until this goes.
  FolderHold HoldProgramFolder(const std::string& programFolder, const std::string& lockFile);

  // Closing, first: the ACARS item takes no more blocks, and every block it
  // has taken is logged and passed on while the link still runs. `between`
  // runs between slices of that work; meanwhile the link, the import and
  // the map take no turn of their own.
  void FinishAcarsItem(const std::function<void()>& between = nullptr);

  // Closing, before the settings are saved: no import, countdown or timer
  // of the link stays.
  void EndForClose();

  // PeerLinkHost
  void EnterAcarsBlock(const AcarsBlock& block) override;
  void EnterHfdlFrame(const std::string& hex) override;
  void EmptyHfdlAnalysis() override;
  void LightNetworkLamp() override;
  void SetConnectButton(bool down) override;
  void SetCaption(const std::string& caption) override;
  void SetKeepAlive(bool running) override;
  void MainWindowChanged() override;
  void ChatChanged(bool show) override;
  void CountersChanged() override;
  void CountdownChanged(bool open) override;
  void Beep() override;
  void ShowBox(LinkBoxKind kind, const std::string& utf8, std::function<void()> closed) override;

  // LogImportLink
  std::string AskImportPath(LogKind kind) override;
  void ImportRunning(bool running, LogKind kind) override;
  void SetImportPath(const std::string& path) override;
  void ImportRecord(const std::string& wire) override;

 private:
  // The map layers the frames asked for are drawn once, after the turn.
  void RedrawAfterTurn();

  Form1State& form_;
  FormEffects& effects_;
  ReceptionWiring& reception_;
  std::unique_ptr<PeerTransport> ownTransport_;
  std::unique_ptr<LinkTimers> ownTimers_;
  PeerTransport* transport_;
  LinkTimers* timers_;
  // The timers as the link, the import and the map redraws use them.
  std::unique_ptr<HeldPosts> posts_;
  std::unique_ptr<PeerLink> link_;
  std::unique_ptr<LogImport> import_;
  std::unique_ptr<platform::ProgramFolderLock> folderLock_;
  AcarsItemServer* item_ = nullptr;
  bool redrawPosted_ = false;
};
