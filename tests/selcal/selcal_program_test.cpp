// The real program on a display, fed a call from the SELCAL transmitter in
// real time: the panel shows its golden picture, with the photograph or
// "NO DATA". Needs an X display (./test gives one); else it is skipped.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <algorithm>
#include <thread>

#include "support/fake_audio_devices.h"
#include "support/golden_picture.h"
#include "support/test_support.h"

namespace {

using testing_support::WriteFile;

// Whether the golden lies somewhere on the screen, but for up to
// glyphEdgePixels pixels on glyph edges. A place is tried only where the
// golden's steady pixels (eight neighbours of their own colour: no edge
// reaches them) are all on the screen, those of the texts and the
// photograph first.
bool OnScreen(const QImage& screen, const QImage& golden, int glyphEdgePixels) {
  const QImage s = screen.convertToFormat(QImage::Format_RGB32), g = golden.convertToFormat(QImage::Format_RGB32);
  std::vector<QPoint> steady;
  for (int y = 1; y + 1 < g.height(); ++y) {
    for (int x = 1; x + 1 < g.width(); ++x) {
      bool same = true;
      for (int dy = -1; dy <= 1 && same; ++dy) {
        for (int dx = -1; dx <= 1 && same; ++dx) same = g.pixel(x + dx, y + dy) == g.pixel(x, y);
      }
      if (same) steady.push_back({x, y});
    }
  }
  std::stable_partition(steady.begin(), steady.end(), [&](QPoint p) { return g.pixel(p) != qRgb(0, 0, 0); });
  for (int y = 0; y + g.height() <= s.height(); ++y) {
    for (int x = 0; x + g.width() <= s.width(); ++x) {
      const QPoint at(x, y);
      if (!std::all_of(steady.begin(), steady.end(), [&](QPoint p) { return s.pixel(at + p) == g.pixel(p); })) continue;
      const int edges = testing_support::GlyphEdgeDifferences(s, g, at);
      if (edges >= 0 && edges <= glyphEdgePixels) return true;
    }
  }
  return false;
}

TEST(SelcalProgram, PanelShowsCall) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  WriteFile(dir.File("skarvel.ini"),
            "[Etc]\r\nLanguage=1\r\nSelCallCode=ABCD\r\n[Wave]\r\nDual=1\r\nDecoderL=2\r\n[Form]\r\nSelCall=1\r\n"
            "SelCallTop=100\r\nSelCallLeft=100\r\nSelCallBel=1\r\nSelCallRdo=1\r\n");
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 400, 266, 0xFF00FF);
  std::vector<int16_t> bell(4410);
  for (size_t n = 0; n < bell.size(); ++n) bell[n] = static_cast<int16_t>(n % 25 < 12 ? 8000 : -8000);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("selcall.wav"), 11025, 1, bell));
  auto tx = testing_support::RunProgram(
      SELCAL_TXGEN, {"--call", "ABCD@3", "--snr", "10", "--amplitude", "3000", "--tail", "4", dir.File("calls.wav")},
      {}, 30000);
  ASSERT_EQ(tx.exitCode, 0) << tx.standardError;

  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("QT_QPA_PLATFORM");
  env.insert("ALSA_CONFIG_PATH", "/dev/null");
  // The photograph's texts are small; "NO DATA" comes with the code in
  // four large glyphs, whose edges may vary (GlyphEdgeDifferences).
  for (auto [golden, glyphEdgePixels] : {std::pair<std::string, int>{"call.png", 0}, {"no_data.png", 4 * 2}}) {
    WriteFile(dir.File("data/selcal.csv"), golden == "call.png" ? "ABCD,JA8089\n" : "EFGH,JA8089\n");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(dir.File("skarvel")), {"--audio-file", QString::fromStdString(dir.File("calls.wav"))});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The call ends at 5.2 s; a loaded machine may start the program late.
    const QImage picture(QString::fromStdString(SKARVEL_SOURCE_DIR "/tests/selcal/golden/" + golden));
    QImage screen;
    bool shown = false;
    for (int wait = 0; wait < 60 && !shown; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(wait == 0 ? 6000 : 500));
      screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
      shown = OnScreen(screen, picture, glyphEdgePixels);
    }
    program.terminate();  // SIGTERM: the settings are written
    if (!program.waitForFinished(10000)) program.kill();
    screen.save(QString::fromStdString(SKARVEL_ARTEFACTS_DIR "/selcal-" + golden));
    EXPECT_TRUE(shown) << golden;
    const std::string ini = testing_support::ReadFile(dir.File("skarvel.ini"));
    EXPECT_TRUE(ini.find("SelCallCode=ABCD") != std::string::npos && ini.find("SelCall=1") != std::string::npos) << ini;
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing and skipping need no display.
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
