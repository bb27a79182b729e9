// The program's modal dialogs on an X server without a window manager,
// where nobody frames, places or moves a window: each must open wholly on
// the screen by itself, or the program refuses every click with nothing
// in sight to answer. Skipped without Xvfb.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "support/fake_audio_devices.h"
#include "support/main_window_fixture.h"
#include "support/virtual_display.h"

namespace {

using testing_support::InsideOf;
using testing_support::PumpUntil;
using testing_support::Viewable;

const QSize kScreen(1400, 1000);

std::string InfoOf(const QWidget& window) { return testing_support::WindowInfo(std::to_string(window.winId())); }

// Opens a dialog as the user would, notes where it shows, and closes it.
QRect ShownDialog(const std::function<void()>& open) {
  QRect shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!shown.isNull() || !modal || !Viewable(InfoOf(*modal))) return;
    shown = InsideOf(InfoOf(*modal));
    modal->hide();
  });
  poll.start(50);
  QTimer::singleShot(0, open);
  EXPECT_TRUE(PumpUntil([&] { return !shown.isNull() && !QApplication::activeModalWidget(); }, 10000));
  return shown;
}

using WithoutAWindowManager = MainWindowTest;

// Over a main window partly off the bottom, the right and the left edge.
TEST_F(WithoutAWindowManager, ModalDialogsOpenWhollyOnTheScreenOverTheMainWindow) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs Xvfb";
  const QRect screen(QPoint(0, 0), kScreen);
  for (const char* place : {"MainLeft=400\r\nMainTop=800", "MainLeft=1000\r\nMainTop=100", "MainLeft=-600\r\nMainTop=100"}) {
    SCOPED_TRACE(place);
    TForm1& w = Start(std::string("[Etc]\r\nLanguage=1\r\n[Pos]\r\n") + place + "\r\n");
    ASSERT_TRUE(PumpUntil([&] { return Viewable(InfoOf(w)); }, 10000));
    const QRect main = InsideOf(InfoOf(w));
    const std::pair<const char*, std::function<void()>> dialogs[] = {
        {"IP connection", [&] { w.SpeedButton(1)->click(); }},
        {"Version information", [&] { w.ShowForm(11, true); }},
        // As the link shows it, after a lost link.
        {"Reconnect", [&] { w.ShowForm(15, false); }},
    };
    for (const auto& [name, open] : dialogs) {
      const QRect shown = ShownDialog(open);
      EXPECT_TRUE(screen.contains(shown)) << name << " at " << shown.x() << "," << shown.y() << " " << shown.width()
                                          << "x" << shown.height();
      EXPECT_TRUE(shown.intersects(main)) << name;
    }
    Close();
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const auto display = testing_support::UseOwnDisplay(false, kScreen);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
