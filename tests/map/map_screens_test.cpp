// Pictures of the map for a check by eye, written into the build tree's
// artefacts folder: the real program on the display ./test provides, and
// the main window in process. Without an X display the program's pictures
// are skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <chrono>
#include <thread>

#include "app/form1_state.h"
#include "main_window_fixture.h"

namespace {

const QString kArtefacts = QStringLiteral(SKARVEL_ARTEFACTS_DIR);

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The program in a fresh program folder with these [Map] settings, on
// ALSA's null devices (no box covers the map), grabbed after a while.
void PictureTheProgram(const std::string& mapSettings, const QString& name) {
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"),
                             "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=990\r\n"
                             "MainHeight=702\r\n[Map]\r\n" +
                                 mapSettings);
  testing_support::WriteFile(dir.File("null-alsa.conf"),
                             "pcm.!default { type null }\nctl.!default { type hw card 0 }\n");
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("QT_QPA_PLATFORM");
  env.insert("ALSA_CONFIG_PATH", QString::fromStdString(dir.File("null-alsa.conf")));
  program.setProcessEnvironment(env);
  program.start(QString::fromStdString(dir.File("skarvel")), {});
  ASSERT_TRUE(program.waitForStarted(10000));
  std::this_thread::sleep_for(std::chrono::seconds(4));
  const bool running = program.state() == QProcess::Running;
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(0, 0, 990, 702);
  program.kill();
  program.waitForFinished(5000);
  ASSERT_TRUE(running) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(screen.save(kArtefacts + "/" + name + ".png"));
}

TEST(MapScreens, TheProgramShowsTheGlobeTheFlatMapAndJapan) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
  QDir().mkpath(kArtefacts);
  PictureTheProgram("", "map-globe");
  PictureTheProgram("GlobeView=0\r\n", "map-flat");
  PictureTheProgram("GlobeView=0\r\nMapScale=8\r\nMapCentN=36\r\nMapCentE=138\r\nDispAPT=1\r\nGridValue=1\r\n",
                    "map-japan");
}

class MapWindowScreens : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    testing_support::CopyProgramFolder(dir_.path());
    QDir().mkpath(kArtefacts);
  }
  void Save(TForm1& w, const QString& name) {
    Settle();
    EXPECT_TRUE(w.grab().save(kArtefacts + "/" + name + ".png"));
  }
};

TEST_F(MapWindowScreens, ZoomedGlobeFijiAndDebugMode) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Map]\r\nMapScale=16\r\nMapCentE=139.75\r\nViewDeg=-35.66\r\n");
  Save(w, "map-globe-x30-tokyo");
  Close();
  TForm1& fiji =
      Start("[Etc]\r\nLanguage=1\r\n[Map]\r\nGlobeView=0\r\nMapScale=17\r\nMapCentN=-17\r\nMapCentE=180\r\n");
  Save(fiji, "map-flat-x40-fiji");
  fiji.MenuItem("N37")->trigger();
  Save(fiji, "map-debug-fiji");
  Close();
  TForm1& debug = Start("[Etc]\r\nLanguage=1\r\n[Map]\r\nMapNo=1\r\n");
  debug.MenuItem("N37")->trigger();
  Save(debug, "map-debug-globe");
  Close();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
