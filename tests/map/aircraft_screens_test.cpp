// Pictures of the aircraft views for a check by eye, in the artefacts
// folder: the display and operator colour dialogs and the information
// window in both languages, and the real program plotting the positions
// it decodes from a recording, clicked with xdotool on the display ./test
// provides. Without an X display the program's pictures are skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <chrono>
#include <cmath>
#include <thread>

#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/reference_data.h"
#include "aircraft/tform17.h"
#include "app/main_window_layout.h"
#include "app/settings.h"
#include "main_window_fixture.h"
#include "map/map_projection.h"
#include "platform/file_io.h"
#include "platform/ini_file.h"

namespace {

const QString kArtefacts = QStringLiteral(SKARVEL_ARTEFACTS_DIR);

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

using AircraftWindowScreens = MainWindowTest;

TEST_F(AircraftWindowScreens, DialogsAndTheInformationWindowInBothLanguages) {
  testing_support::CopyProgramFolder(dir_.path());
  QDir().mkpath(kArtefacts);
  for (const char* language : {"en", "ja"}) {
    TForm1& w = std::string(language) == "en" ? StartEnglish() : StartJapanese();
    Form1State& f = w.State();
    testing_support::WriteGradientJpeg(PhotoPath(f.aircraft.Files, "JA8089"), 640, 480);
    AddListRow(f.aircraft, w.Reception().Aircraft(), "JL0012", "JA8089", "RJTT", "KSFO", "B767-300", "-", "ACARS");
    for (int number : {4, 19, 17}) w.ShowForm(number, false);
    qobject_cast<TForm17*>(w.Form(17))->SearchFlight("JL0012");
    Settle();
    const std::pair<int, const char*> windows[] = {{4, "display-settings"}, {19, "operator-colours"},
                                                   {17, "aircraft-information"}};
    for (const auto& [number, name] : windows) {
      EXPECT_TRUE(w.Form(number)->grab().save(kArtefacts + "/" + name + "-" + language + ".png"));
    }
    Close();
  }
}

// A position group of the JL scan format: altitude, then N/S, latitude
// in degrees, minutes and tenths, E/W, longitude alike, the time, the
// temperature and the wind.
std::string Group(double lat, double lon, int altitude, int hhmm) {
  char text[64];
  const double a = std::fabs(lat), o = std::fabs(lon);
  std::snprintf(text, sizeof text, "%05d%c%02d%03d%c%03d%03d%04d-45270120", altitude, lat < 0 ? 'S' : 'N',
                static_cast<int>(a), static_cast<int>(std::lround((a - std::floor(a)) * 600)), lon < 0 ? 'W' : 'E',
                static_cast<int>(o), static_cast<int>(std::lround((o - std::floor(o)) * 600)), hhmm);
  return text;
}

struct Flight {
  const char* id;
  const char* registration;
  std::vector<std::pair<double, double>> track;
  int firstAltitude, altitudeStep;
};

const Flight kFlights[] = {
    {"JL0012", "JA8089", {{35.5, 140.0}, {37.0, 145.0}, {39.0, 150.0}, {41.0, 155.0}, {43.0, 160.0}}, 31000, 1000},
    {"JL0034", "JA8090", {{33.0, 135.0}, {31.0, 131.0}, {29.0, 127.0}, {27.0, 123.0}}, 39000, -2000},
    {"JC0056", "JA8091", {{45.0, 170.0}, {46.0, 175.0}, {47.0, 179.0}, {48.0, -177.0}, {49.0, -173.0}}, 35000, 0},
};

// Every report in its own block, the flights taking turns.
void WritePositions(const std::string& path) {
  std::vector<acars_tx::Burst> bursts;
  int number = 1;
  for (size_t k = 0; k < 5; ++k) {
    for (const Flight& f : kFlights) {
      if (k >= f.track.size()) continue;
      const std::string text = "REP," + Group(f.track[k].first, f.track[k].second,
                                              f.firstAltitude + f.altitudeStep * static_cast<int>(k),
                                              1200 + 5 * static_cast<int>(k));
      char msgNo[16];
      std::snprintf(msgNo, sizeof msgNo, "M%02dA", number++);
      bursts.push_back({Down(text, msgNo, true, f.id, f.registration), 0, 0.3});
    }
  }
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  ASSERT_TRUE(acars_tx::WriteWave(path, acars_tx::Transmit(bursts, o)));
}

// The settings of the runs: the left channel on VHF ACARS, the flat map or
// the globe centred on 160 E, the side list and the altitude view, the JC
// group in bright colours (black by default, as the sea is).
std::string Settings(bool globe) {
  return std::string("[Etc]\r\nLanguage=1\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[Map]\r\nMapCentE=160\r\nPlotDraw=1\r\n") +
         (globe ? "GlobeView=1\r\nViewDeg=-40\r\n" : "GlobeView=0\r\n") +
         "[Form]\r\nShowRep=1\r\nShowAlt=1\r\n[Color]\r\nUserText0=JC\r\nUserColor10=0000FF\r\n"
         "UserColor20=0080FF\r\nUserColor30=80FFFF\r\n[Pos]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=990\r\n"
         "MainHeight=702\r\n";
}

// Where the program draws a position on the screen: the map panel of its
// layout, and the map's projection at the widest step.
PixelPoint ScreenPixel(const std::string& settings, double lat, double lon) {
  IniFile ini;
  ini.LoadFromBytes(settings);
  Form1State f;
  LoadSettings(f, ini);
  const MainWindowLayout l = ComputeMainWindowLayout(f, 990, 702);
  MapState m;
  m.MapBitmap.Resize(l.panel4.width, l.panel4.height);
  m.ImageWidth = l.panel4.width;
  m.ImageHeight = l.panel4.height;
  ApplyScaleRule(m, 0);
  f.Map.MapCentN = 0.0;
  UpdateMapGeometry(m, f.Map, f.controls);
  PixelPoint p;
  ProjectLatLon(m, f.Map, m.MapBitmap, lat, lon, p);
  return {p.x + l.panel4.left, p.y + l.panel4.top};
}

// A pixel of one of the colours (0x00BBGGRR) within 8 pixels of p.
bool ColourNear(const QImage& screen, PixelPoint p, std::initializer_list<TColor> colours) {
  for (int y = p.y - 8; y <= p.y + 8; ++y) {
    for (int x = p.x - 8; x <= p.x + 8; ++x) {
      if (!screen.rect().contains(x, y)) continue;
      const QRgb c = screen.pixel(x, y);
      for (TColor t : colours) {
        if (qRed(c) == static_cast<int>(t & 0xFF) && qGreen(c) == static_cast<int>((t >> 8) & 0xFF) &&
            qBlue(c) == static_cast<int>(t >> 16)) {
          return true;
        }
      }
    }
  }
  return false;
}

class ProgramOnDisplay {
 public:
  ProgramOnDisplay(const testing_support::TempDir& dir, const std::string& settings) : dir_(dir) {
    testing_support::WriteFile(dir.File("skarvel.ini"), settings);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("ALSA_CONFIG_PATH", QString::fromStdString(dir.File("null-alsa.conf")));
    program_.setProcessEnvironment(env);
    program_.start(QString::fromStdString(dir.File("skarvel")),
                   {"--audio-file", QString::fromStdString(dir.File("positions.wav"))});
    program_.waitForStarted(10000);
  }
  ~ProgramOnDisplay() {
    program_.kill();
    program_.waitForFinished(5000);
  }
  bool Running() { return program_.state() == QProcess::Running; }
  std::string Errors() { return program_.readAllStandardError().toStdString(); }
  QImage Grab(const QString& name) {
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).copy(0, 0, 990, 702).toImage();
    EXPECT_TRUE(screen.save(kArtefacts + "/" + name + ".png"));
    return screen;
  }
  static void Xdotool(const QStringList& args) {
    QProcess::execute(QStringLiteral("xdotool"), args);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
  }

 private:
  const testing_support::TempDir& dir_;
  QProcess program_;
};

TEST(AircraftScreens, TheProgramPlotsWhatItDecodesAndAnswersTheMouse) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
  QDir().mkpath(kArtefacts);
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteGradientJpeg(dir.File("pics/JA8089.jpg"), 400, 300);
  testing_support::WriteFile(dir.File("null-alsa.conf"), "pcm.!default { type null }\nctl.!default { type hw card 0 }\n");
  WritePositions(dir.File("positions.wav"));
  const std::string flat = Settings(false);
  {
    ProgramOnDisplay program(dir, flat);
    // The recording lasts about ten seconds, in real time.
    std::this_thread::sleep_for(std::chrono::seconds(16));
    ASSERT_TRUE(program.Running()) << program.Errors();
    const QImage screen = program.Grab("map-aircraft-flat");
    const TColor head = 0xFFFF00, highlight = 0xFFFFFF, jcHead = 0x0000FF, jcHighlight = 0x80FFFF;
    for (const Flight& f : kFlights) {
      const bool jc = f.id[1] == 'C';
      const PixelPoint p = ScreenPixel(flat, f.track.back().first, f.track.back().second);
      EXPECT_TRUE(ColourNear(screen, p, {jc ? jcHead : head, jc ? jcHighlight : highlight})) << f.id;
    }
    const PixelPoint jl = ScreenPixel(flat, kFlights[0].track.back().first, kFlights[0].track.back().second);
    ProgramOnDisplay::Xdotool({"mousemove", QString::number(jl.x), QString::number(jl.y), "click", "1"});
    program.Grab("map-aircraft-selected");
    ProgramOnDisplay::Xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"});
    program.Grab("map-aircraft-tag-moved");
  }
  {
    ProgramOnDisplay globe(dir, Settings(true));
    std::this_thread::sleep_for(std::chrono::seconds(16));
    ASSERT_TRUE(globe.Running()) << globe.Errors();
    globe.Grab("map-aircraft-globe");
  }
  // The same folder run as fast as it decodes ends as it should.
  const testing_support::ProcessResult run = testing_support::RunProgram(
      dir.File("skarvel"), {"--audio-file", dir.File("positions.wav"), "--fast"},
      {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("null-alsa.conf")}, 60000);
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_NE(run.standardError.find(" buffers processed\n"), std::string::npos) << run.standardError;
}

}  // namespace
