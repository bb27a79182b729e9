// The main window in process, on the offscreen platform: start, show and
// close as the program does, with the program folder in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include "app/dialogs.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"

namespace {

// The first start's language question is answered with its close box.
class StartupWindow : public MainWindowTest {
 protected:
  LanguageDialogAnswer language_;
};

TEST_F(StartupWindow, AnEmptyProgramFolderStartsShowsAndSavesOnClose) {
  TForm1& w = Start("");
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Can not open the recoding device");
  EXPECT_EQ(boxes_.Requests()[1].text, "Can not open the play device");
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(language_.Shown(), 1);
  EXPECT_EQ(w.windowTitle(), "Skarvel");
  EXPECT_EQ(w.State().app.Running, 1);
  EXPECT_EQ(w.State().app.UseEnglish, 1);
  EXPECT_EQ(w.ComboBox2()->itemText(0), "ALL");
  EXPECT_TRUE(w.SpeedButton(1)->isVisible());  // TcpIp 1, Server 0
  EXPECT_FALSE(w.MenuItem("N13")->isVisible());
  for (int n = 2; n <= 31; ++n) {
    if (n == 27) continue;
    ASSERT_NE(w.Form(n), nullptr) << n;
    EXPECT_FALSE(w.Form(n)->isVisible()) << n;
  }

  Close();
  EXPECT_EQ(w.State().app.Running, 0);
  std::string ini = Ini();
  // The widest scale step centres the flat map on the equator; the globe
  // keeps its own centre.
  EXPECT_EQ(ini.rfind("[Map]\r\nMapCentN=0\r\n", 0), 0u);
  EXPECT_NE(ini.find("ViewDeg=-36.5\r\n"), std::string::npos);
  EXPECT_NE(ini.find("Language=1\r\n"), std::string::npos);
  // A second close request does nothing more.
  Close();
  EXPECT_EQ(boxes_.Requests().size(), 2u);
}

TEST_F(StartupWindow, AFolderWhereTheSettingsFileShouldBeIsReportedOnce) {
  ASSERT_EQ(::mkdir(dir_.File("skarvel.ini").c_str(), 0777), 0);
  Start("");
  Close();
  ASSERT_EQ(boxes_.Requests().size(), 3u);
  EXPECT_EQ(boxes_.Requests()[2].text, "Can not save the settings file\n" + dir_.File("skarvel.ini"));
  EXPECT_EQ(boxes_.Requests()[2].kind, platform::BoxKind::Error);
}

TEST_F(StartupWindow, WindowPlacesAndShowingStatesAreSaved) {
  TForm1& w = Start(
      "[Pos]\r\nPlaneTop=123\r\nPlaneLeft=45\r\nMainTop=20\r\nMainLeft=30\r\nMainWidth=1000\r\nMainHeight=710\r\n"
      "[Form]\r\nSpec=1\r\nICAOWidth=500\r\n[Etc]\r\nLanguage=1\r\n");
  EXPECT_TRUE(w.Form(2)->isVisible());
  w.Form(2)->hide();
  Close();
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
  TForm1& w =
      Start("[Pos]\r\nMainTop=20\r\nMainLeft=30\r\nMainWidth=1000\r\nMainHeight=710\r\n[Etc]\r\nLanguage=1\r\n");
  w.setWindowState(Qt::WindowMaximized);
  QCoreApplication::processEvents();
  Close();
  IniFile ini;
  ini.Load(dir_.File("skarvel.ini"));
  EXPECT_EQ(ini.ReadInt("Pos", "MainMaxmum", -1), 1);
  EXPECT_EQ(ini.ReadInt("Pos", "MainWidth", -1), 1000);
  EXPECT_EQ(ini.ReadInt("Pos", "MainTop", -1), 20);
}

TEST_F(StartupWindow, TheConnectButtonShowsOnlyForAClient) {
  TForm1& w = Start("[Net]\r\nServer=1\r\n[Etc]\r\nLanguage=1\r\n");
  EXPECT_FALSE(w.SpeedButton(1)->isVisible());
  Close();
}

// The pictures come from the compiled-in resource: a file left out of it, or
// the resource left out of the link, leaves a button or the logo blank.
TEST_F(StartupWindow, ToolBarAndAboutBoxPicturesLoad) {
  TForm1& w = Start("");
  for (int n = 1; n <= 28; ++n) {
    const QIcon icon = w.SpeedButton(n)->icon();
    ASSERT_FALSE(icon.isNull()) << n;
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).devicePixelRatio(), 2.0) << n;
  }
  const QLabel* logo = w.findChild<QLabel*>("Image3");
  ASSERT_NE(logo, nullptr);
  EXPECT_FALSE(logo->pixmap().isNull());
  for (const char* name : {"Image1", "Image2"}) {
    const QLabel* picture = w.Form(11)->findChild<QLabel*>(name);
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_FALSE(picture->pixmap().isNull()) << name;
  }
  Close();
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

}  // namespace
