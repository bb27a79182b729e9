// Pictures of the map for a check by eye, written into the build tree's
// artefacts folder: the main window at several views and its aircraft
// dialogs, in process; and the real program on the display ./test
// provides, plotting the positions it decodes from a recording, clicked
// with xdotool (skipped without an X display).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <chrono>
#include <cmath>
#include <thread>

#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/reference_data.h"
#include "aircraft/tform17.h"
#include "app/form1_state.h"
#include "app/main_window_layout.h"
#include "app/settings.h"
#include "support/main_window_fixture.h"
#include "map/map_navigation.h"
#include "map/map_projection.h"
#include "platform/ini_file.h"

namespace {

const QString kArtefacts = QStringLiteral(SKARVEL_ARTEFACTS_DIR);

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

const std::string kPlace = "[Pos]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=990\r\nMainHeight=702\r\n";

// The program of this folder with these settings and arguments, on ALSA's
// null devices (no box covers the map); after a while, each picture of
// the screen taken after its xdotool command.
void PictureTheProgram(const testing_support::TempDir& dir, const std::string& settings,
                       const std::vector<std::string>& args, int seconds,
                       const std::vector<std::pair<QString, QStringList>>& pictures) {
  testing_support::WriteFile(dir.File("skarvel.ini"), settings);
  testing_support::WriteFile(dir.File("null-alsa.conf"),
                             "pcm.!default { type null }\nctl.!default { type hw card 0 }\n");
  const auto program = testing_support::StartProgram(
      dir.File("skarvel"), args, {"QT_QPA_PLATFORM", "ALSA_CONFIG_PATH=" + dir.File("null-alsa.conf")});
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  for (const auto& [name, xdotool] : pictures) {
    ASSERT_GT(program->Pid(), 0) << "the program ended before " << name.toStdString();
    if (!xdotool.isEmpty()) QProcess::execute(QStringLiteral("xdotool"), xdotool);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).copy(0, 0, 990, 702).toImage();
    EXPECT_TRUE(screen.save(kArtefacts + "/" + name + ".png"));
  }
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

// Each view, then in debug mode where a second name is given.
TEST_F(MapWindowScreens, TheGlobeTheFlatMapJapanFijiZoomedAndInDebugMode) {
  const std::tuple<std::string, QString, QString> views[] = {
      {"", "map-globe", ""},
      {"MapCentE=-150\r\nViewDeg=-20\r\n", "map-globe-mid-pacific", ""},
      {"GlobeView=0\r\n", "map-flat", ""},
      {"GlobeView=0\r\nMapScale=8\r\nMapCentN=36\r\nMapCentE=138\r\nDispAPT=1\r\nGridValue=1\r\n", "map-japan", ""},
      {"MapScale=16\r\nMapCentE=139.75\r\nViewDeg=-35.66\r\n", "map-globe-x30-tokyo", ""},
      {"GlobeView=0\r\nMapScale=17\r\nMapCentN=-17\r\nMapCentE=180\r\n", "map-flat-x40-fiji", "map-debug-fiji"},
      {"MapNo=1\r\n", "", "map-debug-globe"},
  };
  for (const auto& [map, name, debug] : views) {
    TForm1& w = Start("[Etc]\r\nLanguage=1\r\n" + kPlace + "[Map]\r\n" + map);
    if (!name.isEmpty()) Save(w, name);
    if (!debug.isEmpty()) {
      w.MenuItem("N37")->trigger();
      Save(w, debug);
    }
    Close();
  }
}

// Land and sea where they are after the globe is turned: two presses of
// "Move the map to left" from the default centre, in a desktop's window
// (each press turns the globe by about 14 degrees).
TEST_F(MapWindowScreens, TheGlobeMovedLeftTwice) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainWidth=1280\r\nMainHeight=800\r\n");
  for (int press = 0; press < 2; ++press) {
    w.ClickSpeedButton(12);
    Settle();
  }
  Save(w, "map-globe-moved-left-twice");
  Close();
}

TEST_F(MapWindowScreens, DialogsAndTheInformationWindowInBothLanguages) {
  for (const char* language : {"en", "ja"}) {
    TForm1& w = std::string(language) == "en" ? StartEnglish() : StartJapanese();
    Form1State& f = w.State();
    testing_support::WriteGradientJpeg(PhotoPath(f.aircraft.Files, "JA8089"), 640, 480);
    AddListRow(f.aircraft, w.Reception().Aircraft(), "JL0012", "JA8089", "RJTT", "KSFO", "B767-300", "-", "ACARS");
    // A position heard: the information window's position is a link.
    MarkPositionReceived(f.aircraft, w.Reception().Aircraft(), "JL0012", "JA8089");
    for (int number : {4, 19, 17}) w.ShowForm(number, false);
    qobject_cast<TForm17*>(w.Form(17))->SearchFlight("JL0012");
    Settle();
    for (auto [number, name] : {std::pair{4, "display-settings"}, {19, "operator-colours"}, {17, "aircraft-information"}}) {
      EXPECT_TRUE(w.Form(number)->grab().save(kArtefacts + "/" + name + "-" + language + ".png"));
    }
    Close();
  }
}

// Two JL flights climbing and descending and a JC flight across 180, by
// whole and half degrees north. Each report, in the JL scan format, in a
// block of its own, the flights taking turns.
struct Flight {
  const char *id, *registration;
  std::vector<std::pair<double, double>> track;
  int firstAltitude, altitudeStep;
};
const Flight kFlights[] = {
    {"JL0012", "JA8089", {{35.5, 140.0}, {37.0, 145.0}, {39.0, 150.0}, {41.0, 155.0}, {43.0, 160.0}}, 31000, 1000},
    {"JL0034", "JA8090", {{33.0, 135.0}, {31.0, 131.0}, {29.0, 127.0}, {27.0, 123.0}}, 39000, -2000},
    {"JC0056", "JA8091", {{45.0, 170.0}, {46.0, 175.0}, {47.0, 179.0}, {48.0, -177.0}, {49.0, -173.0}}, 35000, 0},
};

void WritePositions(const std::string& path) {
  std::vector<acars_tx::Burst> bursts;
  for (int k = 0; k < 5; ++k) {
    for (const Flight& f : kFlights) {
      if (k >= static_cast<int>(f.track.size())) continue;
      const auto [lat, lon] = f.track[static_cast<size_t>(k)];
      char text[64];
      std::snprintf(text, sizeof text, "REP,%05dN%02d%d00%c%03d000%04d-45270120", f.firstAltitude + f.altitudeStep * k,
                    static_cast<int>(lat), lat > static_cast<int>(lat) ? 3 : 0, lon < 0 ? 'W' : 'E',
                    static_cast<int>(std::fabs(lon)), 1200 + 5 * k);
      bursts.push_back(
          {Down(text, "M" + std::to_string(10 + bursts.size()) + "A", true, f.id, f.registration), 0, 0.3});
    }
  }
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  ASSERT_TRUE(acars_tx::WriteWave(path, acars_tx::Transmit(bursts, o)));
}

// The left channel on VHF ACARS, the map centred on 160 E, the side list
// and the altitude view, the JC group in bright colours (black by
// default, as the sea is).
std::string Settings(bool globe) {
  return "[Etc]\r\nLanguage=1\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[Map]\r\nMapCentE=160\r\nPlotDraw=1\r\n" +
         std::string(globe ? "GlobeView=1\r\nViewDeg=-40\r\n" : "GlobeView=0\r\n") +
         "[Form]\r\nShowRep=1\r\nShowAlt=1\r\n[Color]\r\nUserText0=JC\r\nUserColor10=0000FF\r\n"
         "UserColor20=0080FF\r\nUserColor30=80FFFF\r\n" +
         kPlace;
}

// Where the program draws a position on the screen, to click it: its
// layout's map panel, and the map's projection at the widest step.
PixelPoint ScreenPixel(const std::string& settings, std::pair<double, double> position) {
  IniFile ini;
  ini.LoadFromBytes(settings);
  Form1State f;
  LoadSettings(f, ini);
  const MainWindowLayout l = ComputeMainWindowLayout(f, 990, 702);
  MapState& m = f.mapView;
  ResizeMapBitmaps(m, f.Map, f.controls, {1, 1}, {l.panel4.width, l.panel4.height}, {1, 1});
  UpdateMapGeometry(m, f.Map, f.controls);
  PixelPoint p;
  ProjectLatLon(m, f.Map, m.MapBitmap, position.first, position.second, p);
  return {p.x + l.panel4.left, p.y + l.panel4.top};
}

// The recording lasts about ten seconds, played in real time.
TEST(AircraftScreens, TheProgramPlotsWhatItDecodesAndAnswersTheMouse) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X display";
  QDir().mkpath(kArtefacts);
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteGradientJpeg(dir.File("pics/JA8089.jpg"), 400, 300);
  WritePositions(dir.File("positions.wav"));
  const std::vector<std::string> play = {"--audio-file", dir.File("positions.wav")};
  const PixelPoint jl = ScreenPixel(Settings(false), kFlights[0].track.back());
  PictureTheProgram(dir, Settings(false), play, 16,
                    {{"map-aircraft-flat", {}},
                     {"map-aircraft-selected", {"mousemove", QString::number(jl.x), QString::number(jl.y), "click", "1"}},
                     {"map-aircraft-tag-moved", {"keydown", "ctrl", "click", "1", "keyup", "ctrl"}}});
  PictureTheProgram(dir, Settings(true), play, 16, {{"map-aircraft-globe", {}}});
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
