// Windows on a real X server, stacked as a user sees them: a virtual
// display of the test's own with a window manager (openbox) for the
// windows in process, and displays of their own, with openbox or bare, for
// the program. Clicks are the X server's own (xdotool), so the window
// manager sees a user at work. Skipped without Xvfb or openbox.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>

#include "acars/tform28.h"
#include "aircraft/tform17.h"
#include "aircraft/tform5.h"
#include "exchange/colour_dialog.h"
#include "exchange/peer_link_byte_mapping.h"
#include "exchange/text_window.h"
#include "exchange/tform14.h"
#include "platform/date_time.h"
#include "support/fake_audio_devices.h"
#include "support/fake_link.h"
#include "support/golden_picture.h"
#include "support/main_window_fixture.h"
#include "support/virtual_display.h"

namespace {

using testing_support::InsideOf;
using testing_support::NumberAfter;
using testing_support::Output;
using testing_support::PumpUntil;
using testing_support::Viewable;
using testing_support::VirtualDisplay;
using testing_support::WindowInfo;

// A copy of the program without a sound card, in a program folder of its
// own, on a display.
class Copy {
 public:
  Copy(const std::string& display, const std::string& settings) {
    testing_support::CopyProgramFolder(dir_.path());
    testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n" + settings);
    program_.emplace(dir_.File("skarvel"), std::vector<std::string>{},
                     std::vector<std::string>{"DISPLAY=" + display, "QT_QPA_PLATFORM", "ALSA_CONFIG_PATH=/dev/null"});
  }
  ~Copy() {
    program_->Signal(SIGTERM);
    program_->Wait(10000);
  }
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  long long Pid() const { return program_->Pid(); }
  std::string File(const std::string& name) const { return dir_.File(name); }
  void Signal(int signal) const { program_->Signal(signal); }

 private:
  testing_support::TempDir dir_;
  std::optional<testing_support::RunningProgram> program_;
};

bool UnderWindowManager() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// The window manager's stack of the windows it manages, bottom first.
std::vector<WId> Stack() {
  const std::string out = Output("xprop -root _NET_CLIENT_LIST_STACKING");
  std::vector<WId> ids;
  static const std::regex id("0x[0-9a-f]+");
  for (auto it = std::sregex_iterator(out.begin(), out.end(), id); it != std::sregex_iterator(); ++it) {
    ids.push_back(std::stoul(it->str(), nullptr, 16));
  }
  return ids;
}

bool Managed(QWidget& window) {
  const std::vector<WId> stack = Stack();
  return std::find(stack.begin(), stack.end(), window.winId()) != stack.end();
}

// Shows one of the program's windows and waits until the window manager
// has framed it.
void ShowManaged(TForm1& w, int number) {
  w.ShowForm(number, false);
  QWidget& form = *w.Form(number);
  ASSERT_TRUE(PumpUntil([&] { return Managed(form) && form.frameGeometry() != form.geometry(); }, 10000)) << number;
  PumpUntil([] { return false; }, 300);
}

// A user's click on the middle of a control.
void Click(QWidget* control) {
  ASSERT_NE(control, nullptr);
  const QPoint at = control->mapToGlobal(control->rect().center());
  Output("xdotool mousemove --sync " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1");
}

std::string NameOf(const QWidget& w) {
  return w.objectName().isEmpty() ? w.metaObject()->className() : w.objectName().toStdString();
}

bool Viewable(const QWidget& window) { return Viewable(WindowInfo(std::to_string(window.winId()))); }

// Clicks the first control; in every modal dialog that opens, once the
// window manager has mapped it (and, when asked for, once the user has
// asked to minimise it), notes whether it is in sight at the top of the
// stack, then clicks the next control, or closes it when none is left.
class ModalStackCheck {
 public:
  using Control = std::function<QWidget*()>;
  using Seen = std::vector<std::pair<std::string, bool>>;  // each dialog, and whether it was on top

  explicit ModalStackCheck(bool minimiseFirst = false) : minimiseFirst_(minimiseFirst) {}

  Seen Run(const std::vector<Control>& controls) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { Tick(controls); });
    timer.start(50);
    ClickNext(controls);
    const auto done = [&] { return seen_.size() == controls.size() && !QApplication::activeModalWidget(); };
    if (!PumpUntil(done, 20000)) ADD_FAILURE() << "the dialogs did not open and close";
    platform::RejectOpenModals();
    return seen_;
  }

 private:
  void ClickNext(const std::vector<Control>& controls) {
    clicked_.restart();
    Click(controls[next_++]());
  }

  void Tick(const std::vector<Control>& controls) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    // A dialog seen closes once the one its click opened has come and gone.
    if (std::count(checked_.begin(), checked_.end(), modal)) {
      if (!clicked_.isValid() || clicked_.elapsed() > 5000) Close(*modal);
      return;
    }
    // A new one: the window manager maps and stacks it in its own time.
    if (modal != mapping_) {
      mapping_ = modal;
      mappedFor_.restart();
      return;
    }
    if (mappedFor_.elapsed() < 500 || !Managed(*modal)) return;
    // As its title bar's button or the window menu would.
    if (minimiseFirst_ && minimised_ != modal) {
      minimised_ = modal;
      Output("xdotool windowminimize " + std::to_string(modal->winId()));
      mappedFor_.restart();
      return;
    }
    clicked_.invalidate();
    seen_.emplace_back(NameOf(*modal), Stack().back() == modal->winId() && Viewable(*modal));
    checked_.push_back(modal);
    if (next_ < controls.size()) {
      ClickNext(controls);
    } else {
      Close(*modal);
    }
  }

  static void Close(QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) return dialog->reject();
    modal.close();
  }

  const bool minimiseFirst_;
  QWidget* minimised_ = nullptr;
  size_t next_ = 0;
  QElapsedTimer clicked_;  // until the click's dialog shows
  QElapsedTimer mappedFor_;
  QWidget* mapping_ = nullptr;
  std::vector<QWidget*> checked_;
  Seen seen_;
};

using UnderAWindowManager = MainWindowTest;

struct ModalCase {
  std::vector<int> windows;  // shown first
  std::vector<ModalStackCheck::Control> controls;
  ModalStackCheck::Seen expected;
};

void CheckModals(TForm1& w, const std::vector<ModalCase>& cases, bool minimiseFirst) {
  for (const ModalCase& c : cases) {
    for (int number : c.windows) ShowManaged(w, number);
    EXPECT_EQ(ModalStackCheck(minimiseFirst).Run(c.controls), c.expected) << NameOf(*w.Form(c.windows.back()));
    for (int number : c.windows) w.Form(number)->hide();
  }
}

// The link let go: the main window's box that does not wait.
QWidget* LetTheLinkGo(TForm1& w) {
  w.State().controls.SpeedButton1Down = 1;
  w.ControlsChanged();
  return w.SpeedButton(1);
}

// Another copy's windows that stay on top are no windows of this process,
// but cover its dialogs all the same.
TEST_F(UnderAWindowManager, ModalDialogsOpenAboveTheWindowsThatStayOnTop) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  // Apart, so that no window covers another's buttons; the text window
  // stays on top, as by default.
  TForm1& w = Start(
      "[Etc]\r\nLanguage=1\r\n[Pos]\r\nTextTop=10\r\nTextLeft=1000\r\nListTop=500\r\nListLeft=1000\r\n"
      "InfoTop=700\r\nInfoLeft=100\r\n[Form]\r\nMesgSrchTop=500\r\nMesgSrchLeft=100\r\n");
  ASSERT_TRUE(PumpUntil([&] { return Managed(w); }, 10000));
  // Down at the right, apart from this copy's windows.
  Copy other(qEnvironmentVariable("DISPLAY").toStdString(),
             "[Pos]\r\nMainLeft=1000\r\nMainTop=950\r\n[Form]\r\nFreqShow=1\r\nFreqLeft=1000\r\nFreqTop=900\r\n");
  // Its main window, its frequency list and its two boxes.
  const auto otherStarted = [&] {
    const std::vector<WId> stack = Stack();
    return std::count_if(stack.begin(), stack.end(), [&](WId id) {
             const std::string pid = Output("xprop -id " + std::to_string(id) + " _NET_WM_PID");
             return pid.find("= " + std::to_string(other.Pid()) + "\n") != std::string::npos;
           }) == 4;
  };
  ASSERT_TRUE(PumpUntil(otherStarted, 20000));
  PumpUntil([] { return false; }, 1000);
  platform::SetMessageBoxHandler(nullptr);  // the real boxes
  auto* text = static_cast<TForm10*>(w.Form(10));
  auto* search = static_cast<TForm28*>(w.Form(28));
  auto* info = static_cast<TForm17*>(w.Form(17));
  auto* list = static_cast<TForm5*>(w.Form(5));
  auto* colours = static_cast<TForm18*>(w.Form(18));
  info->Edit1()->setText("XX9999");  // heard by nobody
  CheckModals(w,
              {
                  {{10},
                   {[&] { return text->SpeedButton(10); }, [&] { return colours->Panel1(); }},
                   {{"Form18", true}, {"QColorDialog", true}}},
                  {{10}, {[&] { return text->SpeedButton(9); }}, {{"QFontDialog", true}}},
                  {{10}, {[&] { return text->SpeedButton(14); }}, {{"Form30", true}}},
                  {{28}, {[&] { return search->Button(4); }}, {{"QMessageBox", true}}},
                  {{17}, {[&] { return info->Button1(); }}, {{"QMessageBox", true}}},
                  // From a window that does not stay on top, while one does.
                  {{10, 5}, {[&] { return list->SpeedButton(2); }}, {{"Form18", true}}},
                  // While none of this copy's windows stays on top. (No
                  // control is clicked twice in a row: the pointer already
                  // there, xdotool would wait long for it to move.)
                  {{5}, {[&] { return w.SpeedButton(1); }}, {{"Form14", true}}},
                  {{5}, {[&] { return list->SpeedButton(2); }}, {{"Form18", true}}},
                  {{10}, {[&] { return LetTheLinkGo(w); }}, {{"QMessageBox", true}}},
              },
              false);
  Close();
}

// Minimised alone, a dialog the program waits for would leave it refusing
// every click with nothing to answer in sight.
TEST_F(UnderAWindowManager, ModalDialogsStayInSightWhenAskedToMinimise) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Pos]\r\nTextTop=10\r\nTextLeft=1000\r\nInfoTop=700\r\nInfoLeft=100\r\n");
  ASSERT_TRUE(PumpUntil([&] { return Managed(w); }, 10000));
  platform::SetMessageBoxHandler(nullptr);  // the real boxes
  auto* text = static_cast<TForm10*>(w.Form(10));
  auto* info = static_cast<TForm17*>(w.Form(17));
  info->Edit1()->setText("XX9999");  // heard by nobody
  CheckModals(w,
              {
                  {{17}, {[&] { return info->Button1(); }}, {{"QMessageBox", true}}},
                  {{10}, {[&] { return LetTheLinkGo(w); }}, {{"QMessageBox", true}}},
                  {{10}, {[&] { return text->SpeedButton(9); }}, {{"QFontDialog", true}}},
                  {{10}, {[&] { return w.SpeedButton(1); }}, {{"Form14", true}}},
              },
              true);
  Close();
}

// Shown again after a minimise, a dialog stays wholly on the screen where
// it was, here over a main window partly off the left edge, with what the
// user typed in it: its OK acts on that.
TEST_F(UnderAWindowManager, AMinimisedDialogComesBackWhereItWasWithWhatWasTyped) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Net]\r\nServerName=saved.example\r\n[Pos]\r\nMainLeft=-600\r\n"
                    "MainTop=100\r\n");
  ASSERT_TRUE(PumpUntil([&] { return Managed(w); }, 10000));
  auto* dialog = static_cast<TForm14*>(w.Form(14));
  const auto shownFor = [&](int ms) {
    QElapsedTimer since;
    return PumpUntil([&] {
      if (!Viewable(*dialog)) since.invalidate();
      if (!since.isValid()) since.start();
      return since.elapsed() > ms;
    }, 10000);
  };
  QRect first, again;
  std::string connectTo;
  QTimer::singleShot(0, [&] {
    if (!shownFor(500)) return dialog->reject();
    first = InsideOf(WindowInfo(std::to_string(dialog->winId())));
    dialog->Edit1()->setText("typed.example");
    Output("xdotool windowminimize " + std::to_string(dialog->winId()));
    PumpUntil([&] { return !Viewable(*dialog); }, 2000);
    if (shownFor(500)) again = InsideOf(WindowInfo(std::to_string(dialog->winId())));
    connectTo = dialog->Edit1()->text().toStdString();
    dialog->reject();
  });
  w.SpeedButton(1)->click();
  const QRect screen(0, 0, 1600, 1200);
  EXPECT_TRUE(screen.contains(first)) << first.x() << "," << first.y();
  EXPECT_EQ(again, first) << again.x() << "," << again.y();
  EXPECT_EQ(connectTo, "typed.example");
  Close();
}

TEST_F(UnderAWindowManager, TitleBarsStayOnTheScreen) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  TForm1& w = Start(
      "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainTop=-20\r\nMainLeft=30\r\nTextTop=-20\r\nTextLeft=1000\r\n"
      "[Form]\r\nText=1\r\n");
  QWidget& text = *w.Form(10);
  const auto framed = [](QWidget& window) { return Managed(window) && window.frameGeometry() != window.geometry(); };
  ASSERT_TRUE(PumpUntil([&] { return framed(w) && framed(text); }, 10000));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(w.frameGeometry().top(), 0);
  EXPECT_EQ(text.frameGeometry().top(), 0);
  Close();
  const std::string ini = Ini();
  const std::string positions = ini.substr(ini.find("[Pos]"), 60);
  EXPECT_NE(positions.find("MainTop=0\r\n"), std::string::npos) << positions;
  EXPECT_NE(positions.find("TextTop=0\r\n"), std::string::npos) << positions;
}

// A copy closed with many ACARS blocks still to work through shows its
// closing notice (a picture for the eye) and keeps answering the window
// manager meanwhile: asked to close again through the window manager,
// which then pings it, it is not marked as not responding, as a window
// that holds up its user would be, with an offer to kill it.
TEST(ClosingCopy, AnswersTheWindowManagerWhileItWorksThroughItsBlocks) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  Copy copy(qEnvironmentVariable("DISPLAY").toStdString(), "[Txt]\r\nLog=1\r\n");
  const std::string send = copy.File("skarvel-acars-send");
  const auto handOver = [&](const std::string& values) {
    return testing_support::RunProgram(send, {"--wire"}, {}, 60000, values).exitCode == 0;
  };
  ASSERT_TRUE(PumpUntil([&] { return handOver(""); }, 30000));
  // Its main window: at start, the one of its windows that is no box.
  std::string main;
  ASSERT_TRUE(PumpUntil([&] {
    for (WId id : Stack()) {
      const std::string props = Output("xprop -id " + std::to_string(id) + " _NET_WM_PID _NET_WM_STATE");
      if (NumberAfter(props, "_NET_WM_PID\\(CARDINAL\\) =") == copy.Pid() &&
          props.find("_NET_WM_STATE_MODAL") == std::string::npos) {
        main = std::to_string(id);
      }
    }
    return !main.empty();
  }, 10000));
  // Far more than it works through in the time the window manager gives
  // an answer, on any machine.
  std::string values;
  for (int i = 0; i < 100000; ++i) values += PeerLinkEncodeText(testing_support::LinkBlock(".JC", i)) + '\0';
  ASSERT_TRUE(handOver(values));
  copy.Signal(SIGTERM);
  PumpUntil([] { return false; }, 1000);
  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  QGuiApplication::primaryScreen()->grabWindow(0).save(QStringLiteral(SKARVEL_ARTEFACTS_DIR "/closing-notice.png"));
  Output("xdotool windowactivate --sync " + main + " key alt+F4");
  // The window manager waits some 5 s for the answer to its ping.
  std::string name;
  const bool marked = PumpUntil([&] {
    name = Output("xprop -id " + main + " _NET_WM_VISIBLE_NAME");
    return name.find("Not Responding") != std::string::npos;
  }, 8000);
  EXPECT_FALSE(marked) << name;
  // The window was asked while the copy worked.
  EXPECT_NE(copy.Pid(), 0);
  EXPECT_TRUE(Viewable(WindowInfo(main)));
  // The rest of its close is another test's.
  copy.Signal(SIGKILL);
}

// From a close's start to its end no click runs a command, whenever it
// comes: clicks on the logo, which opens a dialog, all through a close with
// ACARS blocks to work through, and one more as that work ends, open no
// window, and the close logs every block and ends. The window resized
// meanwhile has its map drawn anew at the new size, with the closing notice
// on it.
TEST_F(UnderAWindowManager, AClosingCopyRunsNoClickAndKeepsItsNoticeOnAMapDrawnAnew) {
  if (!UnderWindowManager()) GTEST_SKIP() << "needs Xvfb and openbox";
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  ASSERT_TRUE(PumpUntil([&] { return Managed(w) && Viewable(w); }, 10000));
  // The item's command of this program folder.
  const std::string send = dir_.File("skarvel-acars-send");
  ASSERT_EQ(std::system(("cp " SKARVEL_PROGRAM_DIR "/skarvel-acars-send " + send).c_str()), 0);
  constexpr int kBlocks = 10000;
  std::string values;
  for (int i = 0; i < kBlocks; ++i) values += PeerLinkEncodeText(testing_support::LinkBlock(".JC", i)) + '\0';
  testing_support::WriteFile(dir_.File("values"), values);
  testing_support::RunningProgram sender("/bin/sh", {"-c", send + " --wire < " + dir_.File("values")}, {});
  ASSERT_TRUE(PumpUntil([&] { return sender.Pid() == 0; }, 30000));
  ASSERT_EQ(sender.Wait(1000).exitCode, 0);

  // One that opened all the same is noted and put away: hidden, as a close
  // of a window is dropped while the copy works through the blocks.
  ModalCloser opened;
  opened.answer = [](QWidget& modal) { modal.hide(); };
  const QPoint logo = w.Image(3)->mapToGlobal(w.Image(3)->rect().center());
  const int mapWidth = w.State().mapView.MapViewBitmap.Width();
  const std::string window = std::to_string(w.winId());
  std::atomic<bool> closed{false};
  Output("xdotool mousemove --sync " + std::to_string(logo.x()) + " " + std::to_string(logo.y()));
  std::thread user([&] {
    for (int n = 0; !closed; ++n) {
      Output("xdotool click 1");
      if (n == 5) Output("xdotool windowsize " + window + " 1200 900");
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  // Timers wait while the blocks are worked through: this one comes in the
  // close's first turn after them.
  QTimer::singleShot(1, [&] {
    QLabel* image = w.Image(3);
    const QPointF at = image->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent click(type, at, image->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(image, &click);
    }
  });
  w.close();
  closed = true;
  user.join();
  EXPECT_TRUE(w.Closed());
  EXPECT_EQ(opened.Closed(), std::vector<std::string>());
  const Bitmap24& map = w.State().mapView.MapViewBitmap;
  ASSERT_NE(map.Width(), mapWidth) << "the window was not resized while it closed";
  const QRect notice(map.Width() / 2 - 100, map.Height() / 2 - 20, 200, 40);
  testing_support::ExpectGoldenPicture({map.Image().copy(notice)}, "closing-notice-box.png", "app");
  const std::string log =
      testing_support::ReadFile(dir_.File("logs/" + platform::FormatDateCompact(platform::Now()) + "_ACARS_RAW.log"));
  EXPECT_EQ(testing_support::CountOf(log, "[DDE]"), kBlocks);
}

// The windows open at the last close are shown before the main window: on
// a display without a window manager each must still end above it.
TEST(WithoutAWindowManager, WindowsReopenedAtStartShowAboveTheMainWindow) {
  VirtualDisplay display(false);
  if (!display.Up(false)) GTEST_SKIP() << "needs Xvfb";
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"),
                             "[Etc]\r\nLanguage=1\r\n[Pos]\r\nTextTopMost=0\r\n"
                             "[Form]\r\nFreqShow=1\r\nText=1\r\nList=1\r\nSelCall=1\r\n");
  testing_support::RunningProgram program(
      dir.File("skarvel"), {}, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM", "ALSA_CONFIG_PATH=/dev/null"});
  // The top-level windows, the top first; the main window is the one of
  // its default size.
  const std::string main = "990x702";
  const std::string reopened[] = {"\"List of active HFDL frequency\"", "\"Text window\"", "\"Aircraft list\"",
                                  "\"Selcal control window\""};
  std::string windows;
  const auto at = [&](const std::string& name) { return windows.find(name); };
  const auto allShown = [&] {
    windows = Output("xwininfo -display " + display.Name() + " -root -children");
    const auto shown = [&](const std::string& name) { return at(name) != std::string::npos; };
    return std::all_of(std::begin(reopened), std::end(reopened), shown) && shown(main);
  };
  ASSERT_TRUE(PumpUntil(allShown, 20000)) << windows;
  PumpUntil([] { return false; }, 500);
  allShown();
  for (const std::string& name : reopened) EXPECT_LT(at(name), at(main)) << windows;
  program.Signal(SIGTERM);
  program.Wait(10000);
}

struct ShownWindow {
  std::string name;
  bool modal;  // the boxes are the only modal windows of a start
  long long pid;
  QRect bounds;  // its inside
};

// The programs' windows on a display, the top first.
std::vector<ShownWindow> ShownWindowsTopFirst(const VirtualDisplay& display, bool managed) {
  const std::string on = " -display " + display.Name();
  static const std::regex id("0x[0-9a-f]+");
  std::vector<std::string> ids;
  if (managed) {
    const std::string out = Output("xprop" + on + " -root _NET_CLIENT_LIST_STACKING");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), id); it != std::sregex_iterator(); ++it) {
      ids.insert(ids.begin(), it->str());
    }
  } else {
    // Without a window manager the root's children are the windows, in
    // their stacking order; the unmapped ones are no one's to see.
    std::istringstream lines(Output("xwininfo" + on + " -root -children"));
    static const std::regex child("^\\s+(0x[0-9a-f]+) ");
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
      if (!std::regex_search(line, m, child)) continue;
      if (Viewable(WindowInfo(m[1], display.Name()))) ids.push_back(m[1]);
    }
  }
  std::vector<ShownWindow> windows;
  static const std::regex name("WM_NAME[^=]*= \"([^\"]*)\"");
  for (const std::string& window : ids) {
    const std::string props = Output("xprop" + on + " -id " + window + " WM_NAME _NET_WM_STATE _NET_WM_PID");
    std::smatch m;
    windows.push_back({std::regex_search(props, m, name) ? m[1].str() : window,
                       props.find("_NET_WM_STATE_MODAL") != std::string::npos,
                       NumberAfter(props, "_NET_WM_PID\\(CARDINAL\\) ="),
                       InsideOf(WindowInfo(window, display.Name()))});
  }
  return windows;
}

std::string Describe(const std::vector<ShownWindow>& windows) {
  std::string text;
  for (const ShownWindow& w : windows) {
    text += "\n  " + w.name + (w.modal ? " (modal)" : "") + " of " + std::to_string(w.pid) + " at " +
            std::to_string(w.bounds.x()) + "," + std::to_string(w.bounds.y()) + " " + std::to_string(w.bounds.width()) +
            "x" + std::to_string(w.bounds.height());
  }
  return text;
}

// Without a sound card a start opens two boxes. The windows reopened at
// start, some staying on top and the main window in full screen, must not
// cover them, nor the windows of another copy that stay on top: a box
// under them refuses every click until it is found. Over a main window
// partly off the screen, they open wholly on it.
TEST(StartUpBoxes, OpenAboveEveryWindowOfTheStart) {
  struct Case {
    bool windowManager;
    std::string settings;   // after [Etc]
    size_t windows;         // the main window and the ones reopened
    std::string otherCopy;  // the settings of a copy started first, if any
    QSize screen;
  };
  const Case cases[] = {
      {true, "[Form]\r\nFreqShow=1\r\n", 2, "", {1600, 1200}},
      {true, "[Form]\r\nFreqShow=1\r\nText=1\r\nList=1\r\nSelCall=1\r\nICAOShow=1\r\nFull=1\r\n", 6, "", {1600, 1200}},
      {false, "[Form]\r\nFreqShow=1\r\nText=1\r\nList=1\r\nSelCall=1\r\nICAOShow=1\r\n", 6, "", {1600, 1200}},
      {false, "[Pos]\r\nMainLeft=900\r\nMainTop=500\r\n", 1, "", {1400, 1000}},
      {true, "", 1, "[Form]\r\nFreqShow=1\r\n", {1600, 1200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::regex_replace(c.settings + (c.otherCopy.empty() ? "" : " after a copy with " + c.otherCopy),
                                    std::regex("\r\n"), " "));
    VirtualDisplay display(c.windowManager, c.screen);
    if (!display.Up(c.windowManager)) GTEST_SKIP() << "needs Xvfb and openbox";
    std::vector<ShownWindow> windows;
    // The other copy's start is over, its boxes open, before this one's.
    std::optional<Copy> other;
    size_t before = 0;
    if (!c.otherCopy.empty()) {
      other.emplace(display.Name(), c.otherCopy);
      const auto started = [&] {
        windows = ShownWindowsTopFirst(display, c.windowManager);
        return std::count_if(windows.begin(), windows.end(), [](const ShownWindow& w) { return w.modal; }) == 2;
      };
      ASSERT_TRUE(PumpUntil(started, 20000)) << Describe(windows);
      PumpUntil([] { return false; }, 500);
      before = ShownWindowsTopFirst(display, c.windowManager).size();
    }
    Copy program(display.Name(), c.settings);
    const auto allShown = [&] {
      windows = ShownWindowsTopFirst(display, c.windowManager);
      return windows.size() == before + c.windows + 2;
    };
    EXPECT_TRUE(PumpUntil(allShown, 20000)) << Describe(windows);
    PumpUntil([] { return false; }, 500);
    windows = ShownWindowsTopFirst(display, c.windowManager);
    std::vector<bool> boxes;
    for (const ShownWindow& w : windows) boxes.push_back(w.modal && w.pid == program.Pid());
    std::vector<bool> expected(before + c.windows + 2, false);
    expected[0] = expected[1] = true;
    EXPECT_EQ(boxes, expected) << Describe(windows);
    for (const ShownWindow& w : windows) {
      if (w.modal && w.pid == program.Pid()) {
        EXPECT_TRUE(QRect(QPoint(0, 0), c.screen).contains(w.bounds)) << Describe(windows);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const auto display = testing_support::UseOwnDisplay(true);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
