// The map in the real main window (offscreen): what the map image shows
// with the program folder's map files, the wheel, the map-file menu, the
// saved picture; the mouse on the side list, the map and the altitude
// view; the display settings and operator colour dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "aircraft/tform17.h"
#include "app/map_wiring.h"
#include "app/settings.h"
#include "app/up_down.h"
#include "support/main_window_fixture.h"
#include "map/aircraft_drawing.h"
#include "map/canvas_map_sink.h"
#include "map/map_background.h"
#include "map/map_forms.h"
#include "map/map_picture_file.h"
#include "map/map_projection.h"
#include "platform/ini_file.h"
#include "support/recording_links.h"

namespace {

class MapWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    testing_support::CopyProgramFolder(dir_.path());
  }

  // The background drawn afresh for the window's view and settings, and
  // the map image showing it under the aircraft layer.
  static void ExpectShowsFreshBackground(TForm1& w, const char* when) {
    Form1State& f = w.State();
    const MapState& live = f.mapView;
    MapState fresh;
    fresh.MapBitmap.Resize(live.MapBitmap.Width(), live.MapBitmap.Height());
    fresh.MapScaleX = live.MapScaleX;
    fresh.MapScaleY = live.MapScaleY;
    fresh.MapFileName = live.MapFileName;
    fresh.AirwayPath = live.AirwayPath;
    fresh.NavPointsPath = live.NavPointsPath;
    UpdateMapGeometry(fresh, f.Map, f.controls);
    {
      Canvas canvas(fresh.MapBitmap);
      CanvasMapSink sink(canvas, fresh, f.Map);
      DrawMapBackground(fresh, w.Reception().Map().Context(), sink);
    }
    EXPECT_TRUE(live.MapBitmap.Image() == fresh.MapBitmap.Image()) << when;
    const QImage shown = live.MapViewBitmap.Image();
    EXPECT_TRUE(w.Image(2)->pixmap().toImage().convertToFormat(shown.format()) == shown) << when;
  }
};

using MapRedrawWindow = MapWindow;
using MapMenuWindow = MapWindow;
using SaveMapImageWindow = MapWindow;

TEST_F(MapRedrawWindow, TheFirstShowAndEveryRedrawShowTheBackgroundAsDrawn) {
  TForm1& w = StartEnglish();
  EXPECT_EQ(w.State().mapView.MapFileName, dir_.File("lines/world.map"));
  ExpectShowsFreshBackground(w, "first show");
  w.SpeedButton(19)->click();
  EXPECT_EQ(w.ComboBox1()->currentIndex(), 1);
  ExpectShowsFreshBackground(w, "zoomed in");
  w.SpeedButton(5)->click();
  EXPECT_TRUE(w.SpeedButton(5)->isChecked());
  EXPECT_FALSE(w.SpeedButton(2)->isChecked());
  ExpectShowsFreshBackground(w, "flat");
  // The list's own choice of the widest step centres on the equator.
  w.State().Map.MapCentN = 20;
  w.ComboBox1()->setCurrentIndex(0);
  EXPECT_EQ(w.State().Map.MapCentN, 0);
  ExpectShowsFreshBackground(w, "widest step");
  Close();
}

TEST_F(MapRedrawWindow, OnlyTheWheelsTurnZooms) {
  TForm1& w = StartEnglish();
  auto wheel = [&w](QPoint angle, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
    QWheelEvent event(QPointF(100, 100), QPointF(100, 100), QPoint(), angle, Qt::NoButton, Qt::NoModifier, phase,
                      false);
    QCoreApplication::sendEvent(&w, &event);
    return w.ComboBox1()->currentIndex();
  };
  EXPECT_EQ(wheel({0, -120}), 1);
  EXPECT_EQ(wheel({0, 0}), 2);
  EXPECT_EQ(wheel({0, 360}), 1);
  // A sideways tilt, and a touch pad's scroll beginning and ending.
  EXPECT_EQ(wheel({120, 0}), 1);
  EXPECT_EQ(wheel({-120, 0}), 1);
  EXPECT_EQ(wheel({0, 0}, Qt::ScrollBegin), 1);
  EXPECT_EQ(wheel({0, 0}, Qt::ScrollEnd), 1);
  Close();
}

TEST_F(MapMenuWindow, TheMapFileMenuChecksTheChosenFileAndShowsNamesAsTheyAre) {
  testing_support::WriteFile(dir_.File("lines/a&b.map"), "TERM\n");
  TForm1& w = StartEnglish();
  auto checked = [&] {
    std::vector<bool> marks;
    for (QAction* item : w.N34()->actions()) marks.push_back(item->isChecked());
    return marks;
  };
  ASSERT_EQ(w.N34()->actions().size(), 3);
  EXPECT_EQ(w.N34()->actions()[0]->text(), "a&&b.map");
  EXPECT_EQ(checked(), (std::vector<bool>{true, false, false}));
  w.N34()->actions()[2]->trigger();
  EXPECT_EQ(w.State().Map.MapNo, 2);
  EXPECT_EQ(w.State().mapView.MapFileName, dir_.File("lines/world_coarse.map"));
  EXPECT_EQ(checked(), (std::vector<bool>{false, false, true}));
  ExpectShowsFreshBackground(w, "coarse map");
  w.MenuItem("N36")->trigger();
  EXPECT_EQ(w.State().Map.MapNo, 0);
  EXPECT_EQ(checked(), (std::vector<bool>{true, false, false}));
  w.MenuItem("N37")->trigger();
  EXPECT_TRUE(w.MenuItem("N37")->isChecked());
  Close();
}

TEST_F(MapRedrawWindow, FullScreenAsTheSettingsLeftItAndBack) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Form]\r\nFull=1\r\n");
  EXPECT_TRUE(w.isFullScreen());
  w.SetFullScreen(false);
  EXPECT_FALSE(w.isFullScreen());
  EXPECT_FALSE(w.isMaximized());
  Close();
}

TEST_F(SaveMapImageWindow, TheDialogAsksForTheFileAndAFileThatCannotBeWrittenIsReported) {
  TForm1& w = StartEnglish();
  QFileDialog* dialog = w.SavePictureDialog1();
  EXPECT_EQ(dialog->windowTitle(), "Save to bitmap file");
  EXPECT_EQ(dialog->nameFilters(), QStringList{"bitmap (*.bmp)"});
  // "map" typed and accepted while the dialog shows.
  QTimer typist;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() != dialog) return;
    dialog->setDirectory(QString::fromStdString(dir_.path()));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("map");
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
  });
  typist.start(5);
  w.MenuItem("N1")->trigger();
  const QImage saved(QString::fromStdString(dir_.File("map.bmp")), "BMP");
  EXPECT_TRUE(saved.convertToFormat(QImage::Format_BGR888) == w.State().mapView.MapViewBitmap.Image());
  testing_support::RecordingMapLinks unwritable;
  unwritable.savePath = dir_.File("gone/map");
  N1Click(w.State().mapView, unwritable);
  EXPECT_EQ(w.statusBar()->currentMessage().toStdString(), "Can not write " + dir_.File("gone/map.bmp"));
  // The status bar that appeared covers no part of the map.
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.centralWidget()->rect().contains(w.Panel(4)->geometry()));
  Close();
}

class MapMouse : public MainWindowTest {
 protected:
  TForm1& Open() { return Start("[Etc]\r\nLanguage=1\r\n[Form]\r\nShowRep=1\r\nShowAlt=1\r\n[Map]\r\nGlobeView=0\r\n"); }
  // An aircraft of the table whose points lie at these map pixels.
  static AircraftRecord& Place(TForm1& w, const std::string& flight, std::vector<std::pair<int, int>> pixels) {
    Form1State& f = w.State();
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(f.aircraft.AircraftCount++)];
    std::snprintf(r.FlightId, sizeof r.FlightId, "%s", flight.c_str());
    r.LastPoint = static_cast<int>(pixels.size()) - 1;
    for (size_t i = 0; i < pixels.size(); ++i) {
      r.Points[i].Lat = f.mapView.MapTopLat - (pixels[i].second + 0.5) / f.mapView.MapScaleY;
      r.Points[i].Lon = f.mapView.MapLeftLon + (pixels[i].first + 0.5) / f.mapView.MapScaleX;
      r.Points[i].Altitude = 35000;
    }
    return r;
  }
  // A press and a release of the left button.
  static void Click(QWidget* w, QPoint press, QPoint release, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, press}, {QEvent::MouseButtonRelease, release}}) {
      const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
      QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, keys);
      QApplication::sendEvent(w, &e);
    }
  }
  static void Click(QWidget* w, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) { Click(w, at, at, keys); }
  static bool Selected(TForm1& w, int a) {
    return w.State().mapView.AircraftSelected && w.State().mapView.SelectedAircraft == a;
  }
};

TEST_F(MapMouse, ReachClicksTagsAndDrags) {
  TForm1& w = Open();
  const AircraftRecord& r = Place(w, "JL0012", {{200, 200}, {300, 300}});
  Click(w.Image(2), {300, 300}, {309, 309});  // moved 9: a click, 9 from the aircraft
  EXPECT_TRUE(Selected(w, 0));
  Click(w.Image(2), {310, 300});
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  // While a log is imported the map takes no mouse input.
  w.State().controls.MapImagesEnabled = 0;
  w.ControlsChanged();
  Click(w.Image(2), {300, 300});
  Click(w.Image(4), {304, 64});
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  w.State().controls.MapImagesEnabled = 1;
  w.ControlsChanged();
  Click(w.Image(2), {299, 299}, {309, 309});  // moved 10: still a click
  EXPECT_TRUE(Selected(w, 0));
  // The altitude view: 35000 ft at y 60, within 4 pixels.
  Click(w.Image(4), {305, 60});
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  Click(w.Image(4), {304, 64});
  EXPECT_TRUE(Selected(w, 0));
  std::vector<int> tags;
  for (int k = 0; k < 5; ++k) {
    Click(w.Image(2), {300, 300}, Qt::ControlModifier);
    tags.push_back(r.TagPos);
  }
  EXPECT_EQ(tags, (std::vector<int>{1, 2, 3, 4, 0}));
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  Click(w.Image(2), {200, 200}, Qt::ShiftModifier);  // a track point
  EXPECT_TRUE(Selected(w, 0));
  EXPECT_EQ(w.State().mapView.MapViewOptions & 1, 1);
  Click(w.Image(2), {300, 300});  // again, plain: the large box
  EXPECT_EQ(w.State().mapView.MapViewOptions, 0);
  w.State().Map.MapCentE = 170;
  Click(w.Image(2), {298, 300}, {309, 300});  // 11: a drag
  EXPECT_NE(w.State().Map.MapCentE, 170);
  Click(w.Image(2), {800, 300}, {100, 100});  // east across 180, and up
  EXPECT_LE(std::fabs(w.State().Map.MapCentE), 180.0);
  EXPECT_EQ(w.State().Map.MapCentN, 0.0);  // the widest step stays on the equator
  w.SpeedButton(2)->click();
  Click(w.Image(2), {300, 600}, {300, 0});
  EXPECT_EQ(w.State().Map.ViewDeg, 90.0);
  Close();
}

TEST_F(MapMouse, SideListRowsAndPagesAndTheSelectionsSteps) {
  TForm1& w = Open();
  Form1State& f = w.State();
  const int n = (w.Image(1)->height() - 32) / 15;
  for (int a = 0; a < n + 2; ++a) Place(w, "JL" + std::to_string(1000 + a), {{10 * a, 100}});
  auto row = [](int k) { return QPoint(100, 20 + 15 * k + 7); };
  Click(w.Image(1), {10, 10});  // no page before the first
  Click(w.Image(1), row(2));
  EXPECT_TRUE(Selected(w, 2));
  Click(w.Image(1), {190, 10});
  EXPECT_EQ(f.mapView.ListPage, 2);
  Click(w.Image(1), row(1));
  EXPECT_TRUE(Selected(w, n + 1));
  Click(w.Image(1), row(2));  // below the last row
  EXPECT_TRUE(Selected(w, n + 1));
  Click(w.Image(1), {10, 10});
  EXPECT_EQ(f.mapView.ListPage, 1);
  // The selection's step: N10, and the flight in the information window,
  // which says the list lacks it; its end resets the controls.
  EXPECT_TRUE(w.MenuItem("N10")->isEnabled());
  EXPECT_EQ(qobject_cast<TForm17*>(w.Form(17))->Edit1()->text().toStdString(), "JL" + std::to_string(1001 + n));
  EXPECT_EQ(boxes_.Texts().back(), "No information");
  f.controls.ComboBox2Items = {"ALL", "JL"};
  f.controls.ComboBox2Index = 1;
  w.SpeedButton(8)->setChecked(true);
  f.mapView.LatestAircraft = 0;
  Click(w.Image(2), {600, 300});
  EXPECT_EQ(w.ComboBox2()->currentText(), "ALL");
  EXPECT_FALSE(w.SpeedButton(8)->isChecked());
  EXPECT_FALSE(w.MenuItem("N10")->isEnabled());
  EXPECT_EQ(f.mapView.LatestAircraft, -1);
  Close();
}

TEST_F(MapMouse, EachQuickButtonAtBothItsBounds) {
  TForm1& w = Open();
  auto functions = [&w] {
    return std::vector<bool>{w.SpeedButton(16)->isChecked(), w.SpeedButton(17)->isChecked(),
                             w.SpeedButton(2)->isChecked(),  w.Form(10)->isVisible(),
                             w.Panel(9)->isVisible(),        w.isFullScreen()};
  };
  // Tracks, monitor, view, text window, tool bar, full screen: three
  // presses, at both bounds, leave each the other way round.
  const std::pair<int, int> buttons[6] = {{605, 505}, {495, 420}, {410, 355}, {345, 270}, {260, 185}, {175, 95}};
  for (int k = 0; k < 6; ++k) {
    std::vector<bool> expected = functions();
    expected[static_cast<size_t>(k)] = !expected[static_cast<size_t>(k)];
    for (auto [x, y] : {std::pair{buttons[k].first, 30}, {buttons[k].second, 10}, {buttons[k].first, 10}}) {
      // The map's size changes with the tool bar and full screen.
      Click(w.Image(2), {w.Image(2)->width() - x, w.Image(2)->height() - y});
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(functions(), expected) << "button " << k;
  }
  EXPECT_EQ(w.Form(26)->findChild<QToolButton*>("SpeedButton2")->isChecked(), w.SpeedButton(17)->isChecked());
  Click(w.Image(2), {w.Image(2)->width() - 10, w.Image(2)->height() - 20});
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.Closed());
}

const MapLayers kNone{}, B_A{MapLayer::Background, MapLayer::Aircraft}, A{MapLayer::Aircraft};
const MapLayers L{MapLayer::SideList}, P{MapLayer::Altitude}, AP{MapLayer::Aircraft, MapLayer::Altitude};
const MapLayers ALP{MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};

// Each colour panel and option reaches its setting and asks for its
// layers at once, and the settings file keeps them.
class DisplayDialogs : public MainWindowTest {
 protected:
  TForm1& Open(const std::string& map = "") {
    TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Map]\r\n" + map);
    w.Reception().DrawMap = [this](MapLayers layers) { drawn |= layers; };
    display = qobject_cast<TForm4*>(w.Form(4));
    operators = qobject_cast<TForm19*>(w.Form(19));
    return w;
  }
  MapLayers Drawn() { return std::exchange(drawn, MapLayers()); }

  MapLayers drawn;
  TForm4* display = nullptr;
  TForm19* operators = nullptr;
};

struct PanelKey {
  int panel;
  std::string key;
  MapLayers layers;
};

TEST_F(DisplayDialogs, EveryColourPanelReachesItsKeyAndItsLayers) {
  TForm1& w = Open();
  const PanelKey display4[] = {{3, "PlotOnColor", ALP},      {4, "PlotOffColor", ALP},   {5, "PlotMarkUpColor", ALP},
                               {6, "PlotBackColor", ALP},    {11, "BackColor", L},       {1, "MapBackColor", B_A},
                               {2, "MapCoastColor", B_A},    {32, "Boundaries", B_A},    {30, "Grid", B_A},
                               {31, "GridNum", B_A},         {8, "MapPointNone", B_A},   {19, "MapPointVORDME", B_A},
                               {12, "MapPointVORTAC", B_A},  {13, "MapPointNDB", B_A},   {14, "MapPointNAV", B_A},
                               {15, "MapPointAirPort", B_A}, {20, "MapPointHome", B_A},  {21, "MapPointBeacon", B_A},
                               {22, "MapPointAnt", B_A},     {23, "MapPointMount", B_A}, {16, "MapAirwayVOR", B_A},
                               {17, "MapAirwayNDB", B_A},    {18, "MapAirwayNAV", B_A},  {24, "SelBack", A},
                               {25, "SelText", A},           {26, "AltBack", P},         {27, "AltScale", P},
                               {28, "ClockBack", kNone},     {29, "ClockText", kNone},   {33, "LineColor1", kNone}};
  std::vector<PanelKey> operators19;
  for (int i = 0; i < 10; ++i) {
    for (int j = 1; j <= 4; ++j)
      operators19.push_back({8 * i + j, "UserColor" + std::to_string(j) + std::to_string(i), ALP});
  }
  auto key = [&w](const std::string& name) {
    IniFile ini;
    SaveSettings(w.State(), ini);
    return ini.ReadString("Color", name, "");
  };
  // Cancel changes nothing; a colour reaches the key and its layers.
  auto check = [&](QPushButton* panel, std::function<std::optional<QColor>(const QColor&)>& seam, const PanelKey& p) {
    const std::string before = key(p.key);
    seam = [](const QColor&) { return std::nullopt; };
    panel->click();
    EXPECT_EQ(key(p.key) + (Drawn().Empty() ? "" : " drawn"), before) << p.key << " on Cancel";
    w.State().audio.ClockCache = "12:00:00";
    seam = [&p](const QColor&) { return QColor(p.panel, 2, 3); };
    panel->click();
    EXPECT_EQ(key(p.key), QStringLiteral("0302%1").arg(p.panel, 2, 16, QLatin1Char('0')).toUpper().toStdString());
    EXPECT_TRUE(Drawn() == p.layers) << p.key;
    EXPECT_EQ(w.State().audio.ClockCache.empty(), p.layers.Empty()) << p.key;
  };
  for (const PanelKey& p : display4) check(display->Panel(p.panel), display->ChooseColour, p);
  for (const PanelKey& p : operators19) check(operators->Panel(p.panel), operators->ChooseColour, p);
  Close();
}

TEST_F(DisplayDialogs, OptionsAndOperatorCodesTakeEffectAtOnceAndAreKept) {
  TForm1& w = Open("SymbolSize=5\r\nPlotType=7\r\nGridType=5\r\n");
  Form1State& f = w.State();
  // An unknown grid type shows dotted, as the map draws it.
  for (int n : {14, 8}) EXPECT_TRUE(display->RadioButton(n)->isChecked()) << n;
  for (int n : {1, 2, 3, 6, 7}) EXPECT_FALSE(display->RadioButton(n)->isChecked()) << n;
  for (auto [button, layers] : {std::pair{3, ALP}, {8, B_A}, {13, AP}, {5, AP}, {9, B_A}, {11, AP}, {17, AP}}) {
    display->RadioButton(button)->click();
    EXPECT_TRUE(Drawn() == layers) << button;
  }
  const MapSettings& m = f.Map;
  EXPECT_EQ(std::vector<int>({m.PlotType, m.GridType, m.SymbolSize, m.LineType, m.GridValue, m.TrackMark, m.MapSymbol}),
            std::vector<int>({2, 2, 0, 1, 1, 1, 0}));
  display->ComboBox1()->setCurrentIndex(3);
  EXPECT_EQ(f.Map.SelectDegree, 3);
  EXPECT_TRUE(Drawn() == B_A);
  display->UpDown1()->UpButton()->click();
  EXPECT_EQ(display->Label(37)->text().toStdString() + " " + std::to_string(f.Map.TimeAdjustMin), "6 6");
  // Unticked: the step is off and the age classes stay as they were.
  f.aircraft.AircraftCount = 1;
  AircraftRecord& r = f.aircraft.Aircraft.Records[0];
  r.Points[0].AgeClass = 7;
  display->CheckBox1()->click();
  EXPECT_EQ(f.Map.TimeAdjust, 0);
  EXPECT_FALSE(display->UpDown1()->isEnabled());
  EXPECT_EQ(r.Points[0].AgeClass, 7);
  EXPECT_TRUE(Drawn() == ALP);
  // An operator code: its group at once, "--" off, one character kept.
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  operators->Edit(1)->setText("JL");
  EXPECT_EQ(OperatorGroup(f.Color, r), 0);
  EXPECT_TRUE(Drawn() == ALP);
  operators->Edit(1)->setText("--");
  EXPECT_EQ(OperatorGroup(f.Color, r), -1);
  operators->Edit(2)->setText("J");
  Close();
  for (const char* key : {"PlotType=2\r\n", "SymbolSize=0\r\n", "UserText1=J\r\n"}) {
    EXPECT_NE(Ini().find(key), std::string::npos) << key;
  }
}

}  // namespace
