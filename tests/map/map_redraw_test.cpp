// The map's commands and its redraw on the state alone: the layers each
// asks for, the view it leaves, the menu of map files and the saved
// picture.
#include "map/map_redraw.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <stdexcept>

#include "app/form1_state.h"
#include "app/main_commands.h"
#include "app/settings.h"
#include "map/map_files.h"
#include "map/map_navigation.h"
#include "map/map_picture_file.h"
#include "map/map_projection.h"
#include "platform/ini_file.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RecordingMapLinks;
using testing_support::WriteFile;

const MapLayers A{MapLayer::Aircraft}, BA{MapLayer::Background, MapLayer::Aircraft};
const MapLayers BAP{MapLayer::Background, MapLayer::Aircraft, MapLayer::Altitude};

class MapRedraw : public ::testing::Test {
 protected:
  MapRedraw() {
    f.Map.MapCentE = 139.0;
    f.Map.ViewDeg = -36.5;
    ResizeMapBitmaps(map(), f.Map, f.controls, {204, 621}, {786, 470}, {786, 202});
    TakeRedrawRequests(map());
  }
  MapState& map() { return f.mapView; }
  void Redraw(MapLayers layers) { ::Redraw(map(), {f.Map, f.Color, f.controls, links, links}, layers); }
  // The layers a command asked for.
  MapLayers Marked() { return TakeRedrawRequests(map()); }

  Form1State f;
  RecordingMapLinks links;
};

TEST_F(MapRedraw, ARequestWhileDrawingIsDroppedAndAThrowingDrawerLeavesTheMapDrawable) {
  int nested = -1;
  links.onShow = [&] {
    Redraw(A);
    nested = links.shown;
  };
  Redraw(BA);
  EXPECT_EQ(links.shown, 1);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(links.blockCounterResets, 1);

  links.onShow = [] { throw std::runtime_error("drawer failed"); };
  EXPECT_THROW(Redraw(A), std::runtime_error);
  EXPECT_EQ(map().RedrawBusy, 0);
  links.onShow = nullptr;
  Redraw(A);
  EXPECT_EQ(links.shown, 3);
}

TEST_F(MapRedraw, ZoomAtTheEndsAndTheListsWidestStep) {
  f.controls.ComboBox1Index = 26;
  ApplyScaleRule(map(), 26);
  const double scale = map().MapScaleX;
  SpeedButton19Click(map(), f.Map, f.controls);
  EXPECT_EQ(f.controls.ComboBox1Index, 26);
  EXPECT_EQ(map().MapScaleX, scale);
  f.controls.ComboBox1Index = 0;
  SpeedButton20Click(map(), f.Map, f.controls);
  EXPECT_EQ(f.controls.ComboBox1Index, 0);
  EXPECT_TRUE(Marked().Empty());

  // A map shorter than its image (as between a panel's resize and its
  // bitmaps'): the zoom-out button keeps the centre, the list's step 0
  // moves it to the equator.
  map().MapBitmap.Resize(786, 200);
  f.controls.ComboBox1Index = 1;
  f.Map.MapCentN = 10;
  SpeedButton20Click(map(), f.Map, f.controls);
  EXPECT_EQ(f.controls.ComboBox1Index, 0);
  EXPECT_EQ(f.Map.MapCentN, 10);
  EXPECT_NEAR(map().MapScaleX, 786 / 360.0, 1e-12);
  ComboBox1Change(map(), f.Map, f.controls);
  EXPECT_EQ(f.Map.MapCentN, 0);
}

TEST_F(MapRedraw, FlatAndGlobeSwapTheirCentres) {
  // The globe button pressed while the flat map shows.
  auto toGlobe = [&](double centN) {
    f.controls.SpeedButton5Down = 1;
    f.controls.SpeedButton2Down = 1;
    f.Map.MapCentN = centN;
    f.Map.ViewDeg = -20;
    SpeedButton2Click(map(), f.Map, f.controls);
    EXPECT_EQ(f.controls.SpeedButton5Down, 0);
    return f.Map.ViewDeg;
  };
  EXPECT_EQ(toGlobe(0.1), -20);
  EXPECT_EQ(toGlobe(36.5), -36.5);
  EXPECT_EQ(toGlobe(120), -90);

  f.controls.ComboBox1Index = 8;
  ApplyScaleRule(map(), 8);
  for (auto [viewDeg, centN] : {std::pair{-50.0, 50.0}, std::pair{-80.0, 67.5}}) {
    f.controls.SpeedButton2Down = f.controls.SpeedButton5Down = 1;
    f.Map.ViewDeg = viewDeg;
    SpeedButton5Click(map(), f.Map, f.controls);
    EXPECT_EQ(f.Map.MapCentN, centN);
    EXPECT_EQ(f.controls.SpeedButton2Down, 0);
  }
  // The view already shown: its button comes back down, nothing is drawn.
  TakeRedrawRequests(map());
  f.controls.SpeedButton5Down = 0;
  SpeedButton5Click(map(), f.Map, f.controls);
  EXPECT_EQ(f.controls.SpeedButton5Down, 1);
  EXPECT_TRUE(Marked().Empty());
}

TEST_F(MapRedraw, APanelWithoutAreaDrawsNothingAndSavesFiniteValues) {
  Form1State empty;
  ResizeMapBitmaps(empty.mapView, empty.Map, empty.controls, {0, 0}, {0, 0}, {0, 0});
  ::Redraw(empty.mapView, {empty.Map, empty.Color, empty.controls, links, links}, MapLayers::All());
  EXPECT_EQ(links.shown, 0);
  SpeedButton19Click(empty.mapView, empty.Map, empty.controls);
  for (auto direction : {form1::PanDirection::West, form1::PanDirection::North}) form1::PanMap(empty, direction);
  SpeedButton5Click(empty.mapView, empty.Map, empty.controls);
  IniFile ini;
  SaveSettings(empty, ini);
  const std::string text = ini.ToBytes();
  EXPECT_EQ(text.find("inf"), std::string::npos) << text;
  EXPECT_EQ(text.find("nan"), std::string::npos) << text;
}

TEST_F(MapRedraw, EachCommandAsksForItsLayers) {
  testing_support::TempDir dir;
  ::mkdir(dir.File("lines").c_str(), 0777);
  WriteFile(dir.File("lines/a.map"), "");
  struct Case {
    const char* handler;
    std::function<void()> run;
    MapLayers layers;
  };
  MainControls& c = f.controls;
  auto activate = [&] { FormActivateMap(map(), c, f.exchange.TextWindowClosed); };
  const std::vector<Case> cases = {
      {"SpeedButton19Click", [&] { SpeedButton19Click(map(), f.Map, c); }, BAP},
      {"SpeedButton20Click", [&] { SpeedButton20Click(map(), f.Map, c); }, BAP},
      {"ComboBox1Change", [&] { ComboBox1Change(map(), f.Map, c); }, BAP},
      {"SpeedButton21Click..28Click", [&] { OverlayButtonClick(map()); }, BA},
      {"SpeedButton5Click", [&] { SpeedButton5Click(map(), f.Map, c); }, BAP},
      {"SpeedButton2Click", [&] { SpeedButton2Click(map(), f.Map, c); }, BAP},
      {"FormResize", [&] { ResizeMapBitmaps(map(), f.Map, c, {1, 1}, {786, 470}, {1, 1}); }, MapLayers::All()},
      {"Panel4Resize", [&] { Panel4Resize(map(), f.Map, c); }, {}},
      {"N38Click", [&] { N38Click(map(), c); }, A},
      {"FormActivate", activate, A},
      {"FormActivate without quick buttons", [&] { c.N38Checked = 0; activate(); }, {}},
      {"Image5MouseUp", [&] { form1::Image5MouseUp(f, true); }, {}},
      {"AppMenuClick", [&] { AppMenuClick({"a.map"}, f.Map, map(), dir.path(), 0); }, BA},
      {"N36Click", [&] { N36Click(c.MapFileMenu, f.Map, map(), dir.path()); }, BAP},
      {"N37Click", [&] { N37Click(map()); }, BA},
  };
  // Each from the middle of the scale list, both views' buttons down (one
  // of them just pressed), back from the text window with quick buttons.
  for (const Case& test : cases) {
    c.ComboBox1Index = 3;
    c.SpeedButton2Down = c.SpeedButton5Down = c.N38Checked = f.exchange.TextWindowClosed = 1;
    test.run();
    EXPECT_EQ(Marked(), test.layers) << test.handler;
  }
  EXPECT_EQ(map().MapDebug, 1);
}

TEST_F(MapRedraw, TheSpectrumClickSwitchesStyleAndStepsTheChannels) {
  form1::Image5MouseUp(f, false);
  EXPECT_EQ(f.Etc.DispType, 1);
  form1::Image5MouseUp(f, true);  // one channel: nothing to step
  EXPECT_EQ(f.Etc.FFTSel, 0);
  f.Wave.WaveDual = 2;
  for (int expected : {1, 2, 0}) {
    form1::Image5MouseUp(f, true);
    EXPECT_EQ(f.Etc.FFTSel, expected);
  }
}

TEST(MapMenu, ChoosingRelistingAndAnEmptyFolder) {
  testing_support::TempDir dir;
  ::mkdir(dir.File("lines").c_str(), 0777);
  for (const char* name : {"lines/b.map", "lines/a.dat", "lines/c.out"}) WriteFile(dir.File(name), "");
  Form1State f;
  std::vector<std::string>& menu = f.controls.MapFileMenu;
  BuildMapFileMenu(menu, f.Map, f.mapView, dir.path());
  ASSERT_EQ(menu, (std::vector<std::string>{"a.dat", "c.out", "b.map"}));
  AppMenuClick(menu, f.Map, f.mapView, dir.path(), 2);
  EXPECT_EQ(f.Map.MapNo, 2);
  EXPECT_EQ(f.mapView.MapFileName, dir.File("lines/b.map"));

  WriteFile(dir.File("lines/0.map"), "");
  N36Click(menu, f.Map, f.mapView, dir.path());
  EXPECT_EQ(menu, (std::vector<std::string>{"a.dat", "c.out", "0.map", "b.map"}));
  EXPECT_EQ(f.Map.MapNo, 0);
  EXPECT_EQ(f.mapView.MapFileName, dir.File("lines/a.dat"));

  testing_support::TempDir empty;
  f.Map.MapNo = 3;
  N36Click(menu, f.Map, f.mapView, empty.path());
  EXPECT_TRUE(menu.empty());
  EXPECT_EQ(f.Map.MapNo, 3);
  EXPECT_EQ(f.mapView.MapFileName, dir.File("lines/a.dat"));
}

// "map" typed in the dialog, and a picture that cannot be written, are
// the window's; here any other name holds a 24-bit bitmap too.
TEST(SaveMapImage, ANameWithAnotherExtensionHoldsABitmapAndACancelIsHarmless) {
  testing_support::TempDir dir;
  MapState map;
  map.MapViewBitmap.Resize(5, 3);
  map.MapViewBitmap.Fill(0x123456);
  PutPixel24(1, 2, map.MapViewBitmap, 0xABCDEF);
  RecordingMapLinks links;
  links.savePath = dir.File("map.png");
  N1Click(map, links);
  const std::string bytes = ReadFile(dir.File("map.png"));
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.substr(28, 2), std::string("\x18\0", 2));
  EXPECT_EQ(QImage(QString::fromStdString(dir.File("map.png")), "BMP").convertToFormat(QImage::Format_BGR888),
            map.MapViewBitmap.Image());
  links.savePath = "";
  N1Click(map, links);  // cancelled
}

}  // namespace
