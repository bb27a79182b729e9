// The main window in process, on the offscreen platform: start, show and
// close as the program does, with the program folder in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QWheelEvent>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/skarvel_form.h"
#include "app/tform1.h"
#include "language_dialog_answer.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace {

using testing_support::MessageBoxRecorder;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class StartupWindow : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetProgramFolderForTests(dir_.path()); }
  void TearDown() override { platform::SetProgramFolderForTests(""); }

  std::unique_ptr<TForm1> Start() { return StartMainWindow(); }
  void Close(TForm1& w) {
    w.close();
    QCoreApplication::processEvents();
  }
  std::string Ini() const { return ReadFile(dir_.File("skarvel.ini")); }

  TempDir dir_;
  MessageBoxRecorder boxes_;
  LanguageDialogAnswer language_;
};

TEST_F(StartupWindow, EmptyProgramFolderStartsShowsAndSavesOnClose) {
  auto w = Start();
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Can not open the recoding device");
  EXPECT_EQ(boxes_.Requests()[1].text, "Can not open the play device");
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(w->windowTitle(), "Skarvel");
  EXPECT_EQ(w->State().app.Running, 1);
  EXPECT_EQ(w->State().mapView.RedrawBusy, 0);
  EXPECT_EQ(w->width(), 990);
  EXPECT_EQ(w->height(), 702);
  EXPECT_EQ(w->State().app.UseEnglish, 1);
  EXPECT_EQ(w->State().Etc.Language, 1);
  EXPECT_EQ(w->ComboBox1()->count(), 27);
  EXPECT_EQ(w->ComboBox2()->count(), 1);
  EXPECT_EQ(w->ComboBox2()->itemText(0), "ALL");
  EXPECT_TRUE(w->SpeedButton(1)->isVisible());  // TcpIp 1, Server 0
  EXPECT_FALSE(w->MenuItem("N10")->isEnabled());
  EXPECT_FALSE(w->MenuItem("N13")->isVisible());
  EXPECT_EQ(w->PopupMenu1()->actions().size(), 46);
  for (int n = 2; n <= 31; ++n) {
    if (n == 27) continue;
    ASSERT_NE(w->Form(n), nullptr) << n;
    EXPECT_FALSE(w->Form(n)->isVisible()) << n;
  }

  Close(*w);
  EXPECT_EQ(w->State().app.Running, 0);
  // The closing notice on the map picture: its white frame.
  const Bitmap24& map = w->State().mapView.MapViewBitmap;
  EXPECT_EQ(map.Pixel(map.Width() / 2 - 100, map.Height() / 2), 0xFFFFFFu);
  EXPECT_EQ(map.Pixel(map.Width() / 2 - 80, map.Height() / 2 + 15), 0u);
  std::string ini = Ini();
  EXPECT_EQ(ini.rfind("[Map]\r\nMapCentN=36.5\r\n", 0), 0u);
  EXPECT_NE(ini.find("MapBackColor=200000\r\n"), std::string::npos);
  EXPECT_NE(ini.find("MainMaxmum=0\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Language=1\r\n"), std::string::npos);
  EXPECT_NE(ini.find("MainWidth=990\r\n"), std::string::npos);
  // A second close request does nothing more.
  EXPECT_EQ(boxes_.Requests().size(), 2u);
}

TEST_F(StartupWindow, AFolderWhereTheSettingsFileShouldBeIsReportedOnce) {
  ASSERT_EQ(::mkdir(dir_.File("skarvel.ini").c_str(), 0777), 0);
  auto w = Start();
  Close(*w);
  ASSERT_EQ(boxes_.Requests().size(), 3u);
  EXPECT_EQ(boxes_.Requests()[2].text, "Can not save the settings file\n" + dir_.File("skarvel.ini"));
  EXPECT_EQ(boxes_.Requests()[2].kind, platform::BoxKind::Error);
}

TEST_F(StartupWindow, UnknownLinesAndShiftJisComeBackByteForByte) {
  const std::string mine = "[Mine]\r\nKey=\x83\x5C\x95\x5C\r\n";
  WriteFile(dir_.File("skarvel.ini"),
            "[Map]\r\nFoo=\x83\x5C\x95\x5C\r\nMaxMapPlot=0\r\n[Etc]\r\nLanguage=2\r\nLocal=30\r\n" + mine);
  auto w = Start();
  EXPECT_EQ(w->State().app.UseEnglish, 0);
  Close(*w);
  std::string ini = Ini();
  EXPECT_NE(ini.find("Foo=\x83\x5C\x95\x5C\r\n"), std::string::npos);
  EXPECT_NE(ini.find(mine), std::string::npos);
  EXPECT_NE(ini.find("MaxMapPlot=200\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Local=9\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Language=2\r\n"), std::string::npos);
}

TEST_F(StartupWindow, WindowPlacesAndShowingStatesAreSaved) {
  WriteFile(dir_.File("skarvel.ini"),
            "[Pos]\r\nPlaneTop=123\r\nPlaneLeft=45\r\nMainTop=20\r\nMainLeft=30\r\nMainWidth=1000\r\nMainHeight=710\r\n"
            "[Form]\r\nSpec=1\r\nICAOWidth=500\r\n[Etc]\r\nLanguage=1\r\n");
  auto w = Start();
  EXPECT_TRUE(w->Form(2)->isVisible());
  w->Form(2)->hide();
  Close(*w);
  IniFile ini;
  ini.Load(dir_.File("skarvel.ini"));
  EXPECT_EQ(ini.ReadInt("Form", "Spec", -1), 0);
  EXPECT_EQ(ini.ReadInt("Pos", "PlaneTop", -1), 123);
  EXPECT_EQ(ini.ReadInt("Pos", "PlaneLeft", -1), 45);
  EXPECT_EQ(ini.ReadInt("Form", "ICAOWidth", -1), 500);
  EXPECT_EQ(ini.ReadInt("Pos", "MainWidth", -1), 1000);
  EXPECT_EQ(ini.ReadInt("Pos", "MainHeight", -1), 710);
}

TEST_F(StartupWindow, MaximisedAtCloseWritesTheNormalBounds) {
  WriteFile(dir_.File("skarvel.ini"),
            "[Pos]\r\nMainTop=20\r\nMainLeft=30\r\nMainWidth=1000\r\nMainHeight=710\r\n[Etc]\r\nLanguage=1\r\n");
  auto w = Start();
  w->setWindowState(Qt::WindowMaximized);
  QCoreApplication::processEvents();
  Close(*w);
  IniFile ini;
  ini.Load(dir_.File("skarvel.ini"));
  EXPECT_EQ(ini.ReadInt("Pos", "MainMaxmum", -1), 1);
  EXPECT_EQ(ini.ReadInt("Pos", "MainWidth", -1), 1000);
  EXPECT_EQ(ini.ReadInt("Pos", "MainTop", -1), 20);
}

TEST_F(StartupWindow, TheConnectButtonShowsOnlyForAClient) {
  WriteFile(dir_.File("skarvel.ini"), "[Net]\r\nServer=1\r\n[Etc]\r\nLanguage=1\r\n");
  auto w = Start();
  EXPECT_FALSE(w->SpeedButton(1)->isVisible());
  Close(*w);
}

// The pictures come from the compiled-in resource: a file left out of it, or
// the resource left out of the link, leaves a button or the logo blank.
TEST_F(StartupWindow, ToolBarAndAboutBoxPicturesLoad) {
  auto w = Start();
  for (int n = 1; n <= 28; ++n) {
    const QIcon icon = w->SpeedButton(n)->icon();
    ASSERT_FALSE(icon.isNull()) << n;
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).devicePixelRatio(), 2.0) << n;
  }
  const QLabel* logo = w->findChild<QLabel*>("Image3");
  ASSERT_NE(logo, nullptr);
  EXPECT_FALSE(logo->pixmap().isNull());
  for (const char* name : {"Image1", "Image2"}) {
    const QLabel* picture = w->Form(11)->findChild<QLabel*>(name);
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_FALSE(picture->pixmap().isNull()) << name;
  }
  Close(*w);
}

TEST_F(StartupWindow, ACloseRequestBeforeTheFirstShowClosesRightAfterIt) {
  auto w = std::make_unique<TForm1>();
  CreateDialogs(*w);
  w->RequestCloseFromSystem();
  EXPECT_FALSE(w->Closing());
  w->FormShow();
  w->show();
  w->ShowDone();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->State().app.Running, 0);
  // The first start's question is not asked of a program that is closing.
  EXPECT_EQ(language_.Shown(), 0);
  EXPECT_NE(Ini().find("Language=1\r\n"), std::string::npos);
}

TEST_F(StartupWindow, WheelZoomsOneStepPerEvent) {
  auto w = Start();
  int zoomIn = 0, zoomOut = 0;
  QObject::connect(w->SpeedButton(19), &QToolButton::clicked, [&] { ++zoomIn; });
  QObject::connect(w->SpeedButton(20), &QToolButton::clicked, [&] { ++zoomOut; });
  for (int delta : {0, -120, 360}) {
    QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(0, delta), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.get(), &e);
  }
  EXPECT_EQ(zoomIn, 2);
  EXPECT_EQ(zoomOut, 1);
  Close(*w);
}

}  // namespace
