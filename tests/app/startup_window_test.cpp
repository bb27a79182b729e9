// The main window in process, on the offscreen platform: start, show and
// close as the program does, with the program folder in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>

#include "app/centring.h"
#include "app/dialogs.h"
#include "audio/audio_file_options.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"
#include "support/fake_audio_devices.h"

namespace {

// The first start's language question is answered with its close box.
class StartupWindow : public MainWindowTest {
 protected:
  ModalCloser language_;
};

TEST_F(StartupWindow, AnEmptyProgramFolderStartsShowsAndSavesOnClose) {
  TForm1& w = Start("");
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Can not open the recoding device");
  EXPECT_EQ(boxes_.Requests()[1].text, "Can not open the play device");
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(language_.Closed(), std::vector<std::string>{"Form31"});
  EXPECT_EQ(w.windowTitle(), "Skarvel");
  EXPECT_EQ(w.State().app.Running, 1);
  EXPECT_EQ(w.State().app.UseEnglish, 1);
  EXPECT_TRUE(w.SpeedButton(1)->isVisible());  // the connect button of a client
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
  EXPECT_FALSE(Start("[Net]\r\nServer=1\r\n[Etc]\r\nLanguage=1\r\n").SpeedButton(1)->isVisible());
  Close();
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
  EXPECT_TRUE(language_.Closed().empty());
  EXPECT_NE(Ini().find("Language=1\r\n"), std::string::npos);
}

// The tests' screen is 1600 x 1200.
TEST_F(StartupWindow, HugeSizesStartNormalSizedAndAGoneMonitorsPositionComesBack) {
  TForm1& w = Start(
      "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainWidth=2147483647\r\nMainHeight=2147483647\r\nMainLeft=3000\r\n"
      "MainTop=-2147483648\r\n[Form]\r\nText=1\r\nTextWidth=2147483647\r\nTextHeight=2000\r\nTextLeft=5000\r\n");
  EXPECT_EQ(w.size(), QSize(990, 702));
  EXPECT_EQ(w.frameGeometry(), w.frameGeometry().intersected(QRect(0, 0, 1600, 1200)));
  EXPECT_EQ(w.frameGeometry().right(), 1599);
  QWidget* text = w.Form(10);
  EXPECT_EQ(text->width(), text->minimumWidth());  // the default 340 is less
  EXPECT_EQ(text->frameGeometry(), text->frameGeometry().intersected(QRect(0, 0, 1600, 1200)));
  const int left = w.pos().x();
  Close();
  EXPECT_NE(Ini().find("MainWidth=990\r\nMainHeight=702\r\nMainLeft=" + std::to_string(left) + "\r\n"),
            std::string::npos);
}

TEST(ScreenFit, AWindowKeepsItsPlaceWhileItsTitleBarIsOnAScreen) {
  const QList<QRect> two = {QRect(0, 0, 1600, 900), QRect(1600, 0, 1280, 1024)};
  EXPECT_EQ(FitFrameToScreens(QRect(2000, 100, 600, 400), {}, 30, two), QRect(2000, 100, 600, 400));
  EXPECT_EQ(FitFrameToScreens(QRect(-300, 700, 600, 400), {}, 30, two), QRect(-300, 700, 600, 400));
  EXPECT_EQ(FitFrameToScreens(QRect(1700, 10, 2000, 2000), QSize(1400, 1100), 30, two), QRect(1700, 10, 1400, 1100));
}

// The program as main runs it once the application object is made, on a
// wave file of two seconds with --fast (44 buffers), until it ends by
// itself: its exit status, and its standard error in err_.
class FastRun : public MainWindowTest {
 protected:
  int Run() {
    const std::string wave = dir_.File("two_seconds.wav");
    EXPECT_TRUE(testing_support::WriteWave16(wave, 44100, 2, std::vector<int16_t>(2 * 2 * 44100, 0)));
    AudioFileOptions options;
    std::string error;
    EXPECT_TRUE(ParseAudioFileOptions({"", "--audio-file", QString::fromStdString(wave), "--fast"}, options, error));
    QTimer::singleShot(60000, [] {
      ADD_FAILURE() << "the run did not end by itself";
      QApplication::closeAllWindows();
    });
    testing::internal::CaptureStderr();
    const int status = RunMainWindow(options);
    err_ = testing::internal::GetCapturedStderr();
    return status;
  }
  std::string err_;
};

TEST_F(FastRun, TheFirstStartAsksTheLanguageThenDecodesTheWholeFileAndSavesTheAnswer) {
  // An answer that takes longer than the file would behind it.
  QElapsedTimer asked;
  ModalCloser japanese;
  japanese.answer = LanguageAnswer([&](TForm31& d) {
    if (!asked.isValid()) asked.start();
    if (asked.elapsed() < 1500) return;
    d.RadioButton(2)->setChecked(true);
    d.Button1()->click();
  });
  EXPECT_EQ(Run(), 0) << err_;
  EXPECT_NE(err_.find("audio-file: 44 buffers processed\n"), std::string::npos) << err_;
  EXPECT_NE(Ini().find("Language=2\r\n"), std::string::npos);
}

TEST_F(FastRun, AnEndThatCannotSaveSaysSoOnStandardErrorAndEndsWithoutABox) {
  ASSERT_EQ(::mkdir(dir_.File("skarvel.ini").c_str(), 0777), 0);
  ModalCloser english;
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(err_.find("Can not save the settings file " + dir_.File("skarvel.ini") + "\n"), std::string::npos);
  for (const platform::BoxRequest& box : boxes_.Requests()) EXPECT_FALSE(box.blocking) << box.text;
}

// A second copy of a folder says, in its language, that it will not save
// the settings.
TEST_F(StartupWindow, ASecondCopyOfTheFolderSaysItWillNotSaveAndDoesNot) {
  StartJapanese();
  const std::string settings = Ini();
  std::unique_ptr<TForm1> second = StartMainWindow();
  EXPECT_EQ(second->statusBar()->currentMessage().toStdString(),
            "ACARSアイテムは同じフォルダの別のSkarvelが使用中です。このSkarvelの設定は保存されません");
  second->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(Ini(), settings);
}

TEST_F(StartupWindow, AReadOnlySettingsFileIsLeftAsItIsAndSaidSoOnce) {
  const std::string frozen = "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainTop=20\r\n";
  testing_support::WriteFile(dir_.File("skarvel.ini"), frozen);
  ASSERT_EQ(::chmod(dir_.File("skarvel.ini").c_str(), 0444), 0);
  Start("");
  testing::internal::CaptureStderr();
  Close();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "The settings file " + dir_.File("skarvel.ini") + " is read-only: the settings were not saved\n");
  EXPECT_EQ(Ini(), frozen);
  EXPECT_EQ(boxes_.Requests().size(), 2u);  // the sound devices'
  EXPECT_EQ(window_->ExitStatus(), 0);
}

}  // namespace
