// The real program on a display, fed a steady tone from a wave file: a
// picture of the screen, for a check by eye, shows the tone as one bright
// column of the waterfall, the left meter lit and the clock running. Needs
// an X display (./test runs it under xvfb-run); without one it is skipped.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <cmath>
#include <thread>

#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

TEST(DisplayScreenshot, AToneFromAWaveFileIsPicturedWhileItPlays) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"),
                             "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainTop=40\r\nMainLeft=40\r\nMainWidth=990\r\n"
                             "MainHeight=702\r\n");
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  std::vector<int16_t> tone(44100 * 10);
  for (size_t n = 0; n < tone.size(); ++n) tone[n] = static_cast<int16_t>(16384.0 * std::sin(2.0 * M_PI * 1000.0 * n / 44100.0));
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("tone.wav"), 44100, 1, tone));

  // Still running when pictured, it ends at the signal as a user's close
  // ends it.
  auto program = testing_support::StartProgram(dir.File("skarvel"), {"--audio-file", dir.File("tone.wav")},
                                               {"QT_QPA_PLATFORM", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")});
  std::this_thread::sleep_for(std::chrono::seconds(6));
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  program->Signal(SIGTERM);
  const std::string err = program->Wait(30000).standardError;
  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  EXPECT_TRUE(screen.save(QStringLiteral(SKARVEL_ARTEFACTS_DIR "/tone-run.png")));
  // The box is shown without stopping anything.
  EXPECT_NE(err.find("Can not open the play device"), std::string::npos) << err;
  EXPECT_NE(err.find("buffers processed"), std::string::npos) << err;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing and skipping need no display.
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
