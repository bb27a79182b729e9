// The main window in process, on the offscreen platform: start, show and
// close as the program does, with the program folder in a temporary folder;
// its commands, the language choice and the English texts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/centring.h"
#include "app/click_label.h"
#include "app/dialogs.h"
#include "app/english_texts.h"
#include "app/main_commands.h"
#include "app/tform3.h"
#include "audio/audio_file_options.h"
#include "platform/acars_item_server.h"
#include "support/fake_audio_devices.h"
#include "support/main_window_fixture.h"

namespace {

// The first start's language question is answered with its close box.
class StartupWindow : public MainWindowTest {
 protected:
  bool Saved(const std::string& line) const { return Ini().find(line + "\r\n") != std::string::npos; }
  ModalCloser language_;
};

TEST_F(StartupWindow, AnEmptyProgramFolderStartsShowsAndSavesOnClose) {
  TForm1& w = Start("");
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{"Can not open the recoding device", "Can not open the play device"}));
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(language_.Closed(), std::vector<std::string>{"Form31"});
  EXPECT_EQ(w.State().app.Running, 1);
  EXPECT_EQ(w.State().app.UseEnglish, 1);
  EXPECT_TRUE(w.SpeedButton(1)->isVisible());  // the connect button of a client
  EXPECT_FALSE(w.MenuItem("N13")->isVisible());
  for (int n = 2; n <= 31; ++n) {
    if (n == 27) continue;
    ASSERT_NE(w.Form(n), nullptr) << n;
    EXPECT_FALSE(w.Form(n)->isVisible()) << n;
  }
  // The pictures come from the compiled-in resource: a file left out of it
  // leaves a button or the logo blank.
  for (int n = 1; n <= 28; ++n) {
    const QIcon icon = w.SpeedButton(n)->icon();
    ASSERT_FALSE(icon.isNull()) << n;
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).devicePixelRatio(), 2.0) << n;
  }
  EXPECT_FALSE(w.findChild<QLabel*>("Image3")->pixmap().isNull());
  for (const char* name : {"Image1", "Image2"}) EXPECT_FALSE(w.Form(11)->findChild<QLabel*>(name)->pixmap().isNull());

  Close();
  EXPECT_EQ(w.State().app.Running, 0);
  // The widest scale step centres the flat map on the equator; the globe
  // keeps its own centre.
  EXPECT_EQ(Ini().rfind("[Map]\r\nMapCentN=0\r\n", 0), 0u);
  EXPECT_TRUE(Saved("ViewDeg=-36.5"));
  EXPECT_TRUE(Saved("Language=1"));
  // A second close request does nothing more.
  Close();
  EXPECT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_FALSE(Start("[Net]\r\nServer=1\r\n[Etc]\r\nLanguage=1\r\n").SpeedButton(1)->isVisible());
  Close();
}

// Maximised at the close, the normal bounds are written.
TEST_F(StartupWindow, WindowPlacesAndShowingStatesAreSaved) {
  TForm1& w = Start(
      "[Pos]\r\nPlaneTop=123\r\nPlaneLeft=45\r\nMainTop=20\r\nMainLeft=30\r\nMainWidth=1000\r\nMainHeight=710\r\n"
      "[Form]\r\nSpec=1\r\nICAOWidth=500\r\n[Etc]\r\nLanguage=1\r\n");
  EXPECT_TRUE(w.Form(2)->isVisible());
  w.Form(2)->hide();
  w.setWindowState(Qt::WindowMaximized);
  QCoreApplication::processEvents();
  Close();
  for (const char* line : {"Spec=0", "PlaneTop=123", "PlaneLeft=45", "ICAOWidth=500", "MainMaxmum=1",
                           "MainWidth=1000", "MainHeight=710", "MainTop=20"}) {
    EXPECT_TRUE(Saved(line)) << line;
  }
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
  EXPECT_TRUE(Saved("Language=1"));
}

// The tests' screen is 1600 x 1200.
TEST_F(StartupWindow, HugeSizesStartNormalSizedAndAGoneMonitorsPositionComesBack) {
  TForm1& w = Start(
      "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainWidth=2147483647\r\nMainHeight=2147483647\r\nMainLeft=3000\r\n"
      "MainTop=-2147483648\r\n[Form]\r\nText=1\r\nTextWidth=2147483647\r\nTextHeight=2000\r\nTextLeft=5000\r\n");
  const QRect screen(0, 0, 1600, 1200);
  EXPECT_EQ(w.size(), QSize(990, 702));
  EXPECT_EQ(w.frameGeometry(), w.frameGeometry().intersected(screen));
  EXPECT_EQ(w.frameGeometry().right(), 1599);
  QWidget* text = w.Form(10);
  EXPECT_EQ(text->width(), text->minimumWidth());  // the default 340 is less
  EXPECT_EQ(text->frameGeometry(), text->frameGeometry().intersected(screen));
  const int left = w.pos().x();
  Close();
  EXPECT_TRUE(Saved("MainWidth=990\r\nMainHeight=702\r\nMainLeft=" + std::to_string(left)));
}

TEST(ScreenFit, AWindowKeepsItsPlaceWhileItsTitleBarIsOnAScreen) {
  const QList<QRect> two = {QRect(0, 0, 1600, 900), QRect(1600, 0, 1280, 1024)};
  EXPECT_EQ(FitFrameToScreens(QRect(2000, 100, 600, 400), {}, 30, two), QRect(2000, 100, 600, 400));
  EXPECT_EQ(FitFrameToScreens(QRect(-300, 700, 600, 400), {}, 30, two), QRect(-300, 700, 600, 400));
  EXPECT_EQ(FitFrameToScreens(QRect(1700, 10, 2000, 2000), QSize(1400, 1100), 30, two), QRect(1700, 10, 1400, 1100));
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

// A lock file that cannot be taken is named, with the reason, in the
// status bar's language; no other copy is said to run.
TEST_F(StartupWindow, ALockFileThatCannotBeTakenIsNamedInTheStatusBar) {
  const std::string lock = platform::LockFilePath();
  ASSERT_EQ(::mkdir(lock.c_str(), 0777), 0);
  StartEnglish();
  EXPECT_EQ(window_->statusBar()->currentMessage().toStdString(),
            "The lock file " + lock + " cannot be taken (a folder is in its place), and the settings of this "
            "Skarvel will not be saved");
  ::rmdir(lock.c_str());
  testing_support::WriteFile(lock, "4242\nskarvel\nfar-away-host\n");
  StartJapanese();
  EXPECT_EQ(window_->statusBar()->currentMessage().toStdString(),
            "ロックファイル" + lock + "を取得できません（別のコンピュータ（far-away-host）のものです）。"
            "このSkarvelの設定は保存されません");
  Close();
  EXPECT_EQ(Ini(), "[Etc]\r\nLanguage=2\r\n");
  // A folder that takes no file: the lock beside the ACARS socket is named
  // by its own path.
  ::remove(lock.c_str());
  const std::string own = AcarsItemSocketPath(dir_.path()) + ".lock";
  ASSERT_EQ(::mkdir(own.c_str(), 0777), 0);
  ::chmod(dir_.path().c_str(), 0555);
  {
    testing_support::PermissionsHold hold;
    StartEnglish();
  }
  ::chmod(dir_.path().c_str(), 0700);
  ::rmdir(own.c_str());
  EXPECT_EQ(window_->statusBar()->currentMessage().toStdString(),
            "The lock file " + own + " cannot be taken (a folder is in its place), and the settings of this "
            "Skarvel will not be saved");
  Close();
}

TEST_F(StartupWindow, ASettingsFileThatCannotBeWrittenIsSaidSoOnce) {
  // A folder where the file should be: an error box.
  ASSERT_EQ(::mkdir(dir_.File("skarvel.ini").c_str(), 0777), 0);
  Start("");
  Close();
  ASSERT_EQ(boxes_.Requests().size(), 3u);
  EXPECT_EQ(boxes_.Requests()[2].text, "Can not save the settings file\n" + dir_.File("skarvel.ini"));
  EXPECT_EQ(boxes_.Requests()[2].kind, platform::BoxKind::Error);
  // A read-only file is left as it is, said on standard error: no failure.
  ::rmdir(dir_.File("skarvel.ini").c_str());
  const std::string frozen = "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainTop=20\r\n";
  testing_support::WriteFile(dir_.File("skarvel.ini"), frozen);
  ASSERT_EQ(::chmod(dir_.File("skarvel.ini").c_str(), 0444), 0);
  Start("");
  testing::internal::CaptureStderr();
  Close();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "The settings file " + dir_.File("skarvel.ini") + " is read-only: the settings were not saved\n");
  EXPECT_EQ(Ini(), frozen);
  EXPECT_EQ(boxes_.Requests().size(), 5u);  // the sound devices' again
  EXPECT_EQ(window_->ExitStatus(), 0);
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

void Click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

using Commands = MainWindowTest;

TEST_F(Commands, EveryShowCommandShowsItsWindow) {
  TForm1& w = StartEnglish();
  ModalCloser modals;
  for (const form1::ShowCommand& c : form1::kShowCommands) {
    SkarvelForm* form = w.Form(c.formNumber);
    form->hide();
    const std::string component = c.component;
    if (component.rfind("SpeedButton", 0) == 0) {
      w.SpeedButton(std::stoi(component.substr(11)))->click();
    } else if (component == "Image3") {
      Click(w.Image(3));
    } else {
      w.MenuItem(c.component)->trigger();
    }
    if (c.modal) {
      ASSERT_FALSE(modals.Closed().empty()) << component;
      EXPECT_EQ(modals.Closed().back(), "Form" + std::to_string(c.formNumber)) << component;
    } else {
      EXPECT_TRUE(form->isVisible()) << component;
    }
  }
  EXPECT_EQ(modals.Closed().size(), 2u);  // N4 and the logo
  Close();
}

TEST_F(Commands, APanelsMarkChangesOncePerClickAndThePanelFollows) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  for (int click = 0; click < 2; ++click) {
    const flag before = f.controls.N11Checked;
    w.MenuItem("N11")->trigger();
    EXPECT_EQ(f.controls.N11Checked, 1 - before);
    EXPECT_EQ(w.MenuItem("N11")->isChecked(), f.controls.N11Checked != 0);
    EXPECT_EQ(w.Panel(7)->isVisibleTo(&w), f.controls.N11Checked != 0);
  }
  Close();
}

TEST_F(Commands, TheConnectButtonThatCannotConnectComesBackUp) {
  TForm1& w = StartJapanese();
  ModalCloser modals;  // the connection dialog, closed: no connection asked
  w.SpeedButton(1)->click();
  EXPECT_EQ(modals.Closed(), std::vector<std::string>{"Form14"});
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  // Confirmed, but no port can be had: the connection fails at once.
  w.State().Net.ClientPortNo = "0";
  modals.inspect = [&](QWidget&) { w.State().exchange.ConnectRequested = 1; };
  w.SpeedButton(1)->click();
  EXPECT_FALSE(w.SpeedButton(1)->isChecked());
  EXPECT_EQ(w.State().exchange.Connecting, 0);
  EXPECT_EQ(boxes_.Texts().back(), "接続できません");
  Close();
}

// The excluded carriers are taken over when the dialog closes, in code
// page 932: Exit closes it first.
TEST_F(Commands, ExitSavesTheCarriersTypedIntoAnOpenDialog) {
  TForm1& w = StartEnglish();
  w.MenuItem("N19")->trigger();
  qobject_cast<TForm3*>(w.Form(3))->Edit1()->setText("NH,ＪＡ");
  EXPECT_EQ(w.State().Etc.PassList, "");
  w.MenuItem("N5")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.State().app.Running, 0);
  EXPECT_NE(Ini().find("PassList=NH,\x82\x69\x82\x60\r\n"), std::string::npos);
}

using Language = MainWindowTest;

// A first start asks once, English ticked, and keeps the answer; a stored
// answer is not asked again, and any value but 1 is Japanese.
TEST_F(Language, TheFirstStartAsksOnceAndTheAnswerIsKept) {
  struct Case {
    const char* settings;
    std::vector<int> pictures;  // clicked in turn, then OK or the close box
    bool ok;
    int asked;
    bool english;
    const char* saved;
  };
  const Case cases[] = {
      {"", {}, true, 1, true, "1"},
      {"", {2}, true, 1, false, "2"},
      {"", {2, 1}, true, 1, true, "1"},
      {"", {2}, false, 1, true, "1"},  // the close box leaves English
      {"[Etc]\r\nLanguage=2\r\n", {}, true, 0, false, "2"},
      {"[Etc]\r\nLanguage=7\r\n", {}, true, 0, false, "7"},
  };
  for (const Case& c : cases) {
    ::unlink(dir_.File("skarvel.ini").c_str());
    ModalCloser language;
    language.answer = LanguageAnswer([&](TForm31& d) {
      for (int picture : c.pictures) Click(d.Image(picture));
      c.ok ? d.Button1()->click() : static_cast<void>(d.close());
    });
    TForm1& w = Start(c.settings);
    EXPECT_EQ(language.Count("Form31"), c.asked) << c.saved;
    EXPECT_EQ(w.State().app.UseEnglish, c.english) << c.saved;
    EXPECT_EQ(w.SpeedButton(3)->toolTip(), c.english ? "Aircraft list window" : "受信航空機リスト") << c.saved;
    Close();
    EXPECT_NE(Ini().find("Language=" + std::string(c.saved) + "\r\n"), std::string::npos) << c.saved;
  }
}

// The text an entry's control holds now.
QString HeldText(QObject* target, const EnglishText& entry) {
  switch (entry.property) {
    case TextProperty::Hint:
      if (auto* action = qobject_cast<QAction*>(target)) return action->toolTip();
      return qobject_cast<QWidget*>(target)->toolTip();
    case TextProperty::Column:
      if (auto* tree = qobject_cast<QTreeWidget*>(target)) return tree->headerItem()->text(0);
      return {};
    case TextProperty::DialogTitle:
      return qobject_cast<QWidget*>(target)->windowTitle();
    case TextProperty::DialogFilter:
      if (auto* dialog = qobject_cast<QFileDialog*>(target)) return dialog->nameFilters().value(0);
      return {};
    case TextProperty::Caption:
      if (auto* action = qobject_cast<QAction*>(target)) return action->text();
      if (auto* button = qobject_cast<QAbstractButton*>(target)) return button->text();
      if (auto* label = qobject_cast<QLabel*>(target)) return label->text();
      if (auto* group = qobject_cast<QGroupBox*>(target)) return group->title();
      return qobject_cast<QWidget*>(target)->windowTitle();
  }
  return {};
}

using EnglishTexts = MainWindowTest;

// Every entry names a control, which then shows the entry's text.
TEST_F(EnglishTexts, EveryEntryNamesAControlThatShowsItsText) {
  TForm1& w = StartEnglish();
  size_t count = 0;
  const EnglishText* table = EnglishTextTable(count);
  int checked = 0;
  for (const EnglishText* e = table; e != table + count; ++e) {
    QObject* target = FindEnglishTextTarget(w, *e);
    EXPECT_NE(target, nullptr) << "Form" << e->form << " has no control " << e->name;
    if (!target) continue;
    EXPECT_EQ(HeldText(target, *e).toStdString(), e->text) << "Form" << e->form << " " << e->name;
    ++checked;
  }
  EXPECT_GT(checked, 100);
  Close();
}

}  // namespace
