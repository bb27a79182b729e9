#include "app/link_wiring.h"

#include <QFileInfo>
#include <QPointer>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/reception_wiring.h"
#include "platform/acars_item_server.h"
#include "platform/message_box.h"
#include "platform/program_folder_lock.h"
#include "platform/qt_link_timers.h"
#include "platform/qt_peer_transport.h"

namespace {

constexpr int kHfdlAnalysis = 4;

FolderHold AnotherCopyHoldsTheFolder() {
  std::fprintf(stderr, "Another Skarvel runs in this folder: the settings of this one will not be saved\n");
  return {false,
          "The ACARS item belongs to another Skarvel of this folder, and the settings of this one will not be saved",
          "ACARSアイテムは同じフォルダの別のSkarvelが使用中です。このSkarvelの設定は保存されません"};
}

// Why a lock file cannot be taken, in English and in Japanese.
std::pair<std::string, std::string> LockProblemText(platform::ProgramFolderLock::Problem problem,
                                                    const std::string& otherHost) {
  using Problem = platform::ProgramFolderLock::Problem;
  switch (problem) {
    case Problem::IsAFolder: return {"a folder is in its place", "同じ名前のフォルダがあります"};
    case Problem::IsALink: return {"a link is in its place", "同じ名前のリンクがあります"};
    case Problem::NotAFile: return {"it is not a file", "ファイルではありません"};
    case Problem::NoPermission: return {"no permission to open it", "開く権限がありません"};
    case Problem::CannotLock: return {"the system cannot lock it", "システムがロックできません"};
    case Problem::AnotherHost:
      return {"it names another computer, " + otherHost, "別のコンピュータ（" + otherHost + "）のものです"};
    case Problem::None: break;
  }
  return {"", ""};
}

// No other copy is known to run: saying that one does would send the user
// looking for it, and never to the file.
FolderHold LockFileNotTaken(const std::string& lockFile, const std::pair<std::string, std::string>& why) {
  std::fprintf(stderr, "The lock file %s cannot be taken (%s): the settings of this one will not be saved\n",
               lockFile.c_str(), why.first.c_str());
  return {false,
          "The lock file " + lockFile + " cannot be taken (" + why.first +
              "), and the settings of this Skarvel will not be saved",
          "ロックファイル" + lockFile + "を取得できません（" + why.second + "）。このSkarvelの設定は保存されません"};
}

}  // namespace

// The timers, whose posted work waits while it is held: the work of a turn
// of the link, the import or the map, which a closing copy must not start
// while it works through the ACARS item's blocks.
class HeldPosts : public LinkTimers {
 public:
  explicit HeldPosts(LinkTimers& timers) : timers_(timers) {}

  int64_t NowMs() const override { return timers_.NowMs(); }
  int Start(int ms, bool repeat, std::function<void()> tick) override {
    return timers_.Start(ms, repeat, std::move(tick));
  }
  void Stop(int id) override { timers_.Stop(id); }
  void Post(std::function<void()> work) override {
    if (holding_) return held_.push_back(std::move(work));
    timers_.Post(std::move(work));
  }

  void Hold() { holding_ = true; }
  void Release() {
    holding_ = false;
    for (std::function<void()>& work : held_) timers_.Post(std::move(work));
    held_.clear();
  }

 private:
  LinkTimers& timers_;
  bool holding_ = false;
  std::vector<std::function<void()>> held_;
};

LinkWiring::LinkWiring(Form1State& form, FormEffects& effects, ReceptionWiring& reception, PeerTransport* transport,
                       LinkTimers* timers)
    : form_(form), effects_(effects), reception_(reception) {
  if (!transport) ownTransport_ = std::make_unique<QtPeerTransport>();
  if (!timers) ownTimers_ = std::make_unique<QtLinkTimers>();
  transport_ = transport ? transport : ownTransport_.get();
  timers_ = timers ? timers : ownTimers_.get();
  posts_ = std::make_unique<HeldPosts>(*timers_);
  link_ = std::make_unique<PeerLink>(form.exchange, form.Net, form.Txt, form.app.UseEnglish, *this, *transport_,
                                     *posts_);
  import_ = std::make_unique<LogImport>(form.exchange, *this, *posts_);
  reception_.SetPeerLink(link_.get());
}

LinkWiring::~LinkWiring() {
  // The item closes while the folder is still held: a copy that takes the
  // folder next finds it gone.
  delete item_;
  item_ = nullptr;
  reception_.SetPeerLink(nullptr);
  // The link goes before what it calls.
  import_.reset();
  link_.reset();
}

FolderHold LinkWiring::HoldProgramFolder(const std::string& programFolder, const std::string& lockFile) {
  using Lock = platform::ProgramFolderLock;
  const std::string socket = AcarsItemSocketPath(programFolder);
  folderLock_ = std::make_unique<Lock>(lockFile, socket + ".lock");
  const Lock::Hold hold = folderLock_->Take();
  if (!folderLock_->FolderProblem().empty()) {
    std::fprintf(stderr, "Can not make the lock file %s (%s)", lockFile.c_str(), folderLock_->FolderProblem().c_str());
    if (hold == Lock::Hold::Unknown) {
      std::fprintf(stderr, ", nor %s: the copy that gets the ACARS item holds the folder\n",
                   folderLock_->Path().c_str());
    } else if (hold == Lock::Hold::NotTaken) {
      // The next line names the other place and why it was not taken.
      std::fprintf(stderr, "\n");
    } else {
      std::fprintf(stderr, ": the lock is kept in %s, which keeps out only this user's other copies\n",
                   folderLock_->Path().c_str());
    }
  }
  const auto itemTaken = [&socket] {
    std::fprintf(stderr, "Another Skarvel of this folder has the ACARS item %s: this one runs without it\n",
                 socket.c_str());
  };
  if (hold == Lock::Hold::HeldByAnotherCopy) {
    itemTaken();
    return AnotherCopyHoldsTheFolder();
  }
  if (hold == Lock::Hold::NotTaken) {
    return LockFileNotTaken(folderLock_->Path(),
                            LockProblemText(folderLock_->LockProblem(), folderLock_->OtherHost()));
  }
  const bool held = hold == Lock::Hold::Held;
  item_ = new AcarsItemServer(socket,
                              [this](const std::string& value) {
                                link_->ACARSChange(value);
                                RedrawAfterTurn();
                              },
                              this);
  const AcarsItemServer::Start start = item_->Listen(held);
  if (start == AcarsItemServer::Start::Listening) return {true, "", ""};
  delete item_;
  item_ = nullptr;
  if (start == AcarsItemServer::Start::OwnedByAnotherCopy) {
    // The folder is held all the same: the item is a copy's that could make
    // no lock file.
    itemTaken();
    return held ? FolderHold{true, "", ""} : AnotherCopyHoldsTheFolder();
  }
  std::fprintf(stderr, "Can not open the ACARS item %s\n", socket.c_str());
  if (held) return {true, "", ""};
  // Without a lock file the item would have said which copy holds the
  // folder; nothing does.
  return LockFileNotTaken(lockFile, {"it cannot be made, nor " + folderLock_->Path(),
                                     "作成できず、" + folderLock_->Path() + "も作成できません"});
}

void LinkWiring::FinishAcarsItem(const std::function<void()>& between) {
  if (!item_) return;
  posts_->Hold();
  item_->Finish(between);
  posts_->Release();
}

void LinkWiring::EndForClose() {
  import_->End();
  link_->StopTimers();
}

// ---- PeerLinkHost ----

void LinkWiring::EnterAcarsBlock(const AcarsBlock& block) {
  reception_.Road().AcarsBlockReceived(block);
  RedrawAfterTurn();
}

void LinkWiring::EnterHfdlFrame(const std::string& hex) {
  reception_.Road().RelayedHfdlFrame(hex, "NET");
  RedrawAfterTurn();
}

void LinkWiring::EmptyHfdlAnalysis() {
  form_.text.Clear(kHfdlAnalysis);
  form_.text.Touch(kHfdlAnalysis);
}

void LinkWiring::LightNetworkLamp() { form_.audio.RxLampHold[2] = 0; }

void LinkWiring::SetConnectButton(bool down) { form_.controls.SpeedButton1Down = down ? 1 : 0; }

void LinkWiring::SetCaption(const std::string& caption) { form_.controls.Caption = caption; }

void LinkWiring::SetKeepAlive(bool running) { form_.controls.Timer3Enabled = running ? 1 : 0; }

void LinkWiring::MainWindowChanged() {
  effects_.ControlsChanged();
  effects_.ArrangeStatusIndicators();
}

void LinkWiring::ChatChanged(bool show) {
  effects_.ShowChatLog(form_.exchange.ChatLog);
  if (show) effects_.ShowForm(12, false);
}

void LinkWiring::CountersChanged() { effects_.FormValuesChanged(13); }

void LinkWiring::CountdownChanged(bool open) {
  if (!open) return effects_.HideForm(15);
  effects_.FormValuesChanged(15);
  // Shown without waiting: the link's events go on behind it.
  if (!effects_.FormShowing(15)) effects_.ShowForm(15, false);
}

void LinkWiring::Beep() { platform::Beep(); }

void LinkWiring::ShowBox(LinkBoxKind kind, const std::string& utf8, std::function<void()> closed) {
  platform::ShowMessageBoxNonBlocking(
      kind == LinkBoxKind::Warning ? platform::BoxKind::Warning : platform::BoxKind::Information, utf8, "Skarvel",
      std::move(closed));
}

// ---- LogImportLink ----

std::string LinkWiring::AskImportPath(LogKind kind) {
  const bool dat = kind == LogKind::Dat;
  const char* title = form_.app.UseEnglish ? (dat ? "Inport DAT Log File" : "Inport RAW Log File")
                                           : (dat ? "DAT LOGファイルのインポート" : "RAW LOGファイルのインポート");
  return effects_.AskImportPath(title);
}

void LinkWiring::ImportRunning(bool running, LogKind) {
  const flag on = running ? 0 : 1;
  form_.controls.N16Enabled = form_.controls.DATLOG1Enabled = form_.controls.MapImagesEnabled = on;
  effects_.ControlsChanged();
  if (!running) return effects_.HideForm(16);
  effects_.FormValuesChanged(16);
  effects_.ShowForm(16, false);
}

void LinkWiring::SetImportPath(const std::string& path) {
  // The logs' own names are canonical: so is the name they are compared with.
  const QString canonical = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
  form_.text.SetImportPath(path.empty() || canonical.isEmpty() ? path : canonical.toStdString());
}

void LinkWiring::ImportRecord(const std::string& wire) {
  link_->ProcessReceivedData(wire, "RAW");
  RedrawAfterTurn();
}

void LinkWiring::RedrawAfterTurn() {
  if (redrawPosted_) return;
  redrawPosted_ = true;
  posts_->Post([self = QPointer<LinkWiring>(this)] {
    if (!self) return;
    self->redrawPosted_ = false;
    self->reception_.RunRequestedRedraws();
  });
}
