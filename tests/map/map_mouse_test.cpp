// The mouse on the side list, the map and the altitude view of the real
// main window (offscreen): reach, clicks and drags, tags, the selection
// and its end, the list's pages and the quick buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

#include "aircraft/tform17.h"
#include "main_window_fixture.h"
#include "map/map_projection.h"

namespace {

class MapMouse : public MainWindowTest {
 protected:
  TForm1& Open(const std::string& map = "GlobeView=0\r\n") {
    TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Form]\r\nShowRep=1\r\nShowAlt=1\r\n[Map]\r\n" + map);
    w.State().aircraft.List.Rows.clear();
    return w;
  }
  // An aircraft of the table whose points lie at these map pixels.
  static AircraftRecord& Place(TForm1& w, const char* flight, std::vector<std::pair<int, int>> pixels) {
    Form1State& f = w.State();
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(f.aircraft.AircraftCount++)];
    std::snprintf(r.FlightId, sizeof r.FlightId, "%s", flight);
    r.LastPoint = static_cast<int>(pixels.size()) - 1;
    for (size_t i = 0; i < pixels.size(); ++i) {
      r.Points[i].Lat = f.mapView.MapTopLat - (pixels[i].second + 0.5) / f.mapView.MapScaleY;
      r.Points[i].Lon = f.mapView.MapLeftLon + (pixels[i].first + 0.5) / f.mapView.MapScaleX;
      r.Points[i].Altitude = 35000;
    }
    return r;
  }
  static void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers keys) {
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, keys);
    QApplication::sendEvent(w, &e);
  }
  static void Click(QWidget* w, QPoint press, QPoint release, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Send(w, QEvent::MouseButtonPress, press, keys);
    Send(w, QEvent::MouseButtonRelease, release, keys);
  }
  static void Click(QWidget* w, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) { Click(w, at, at, keys); }
  static bool Selected(TForm1& w, int a) {
    return w.State().mapView.AircraftSelected && w.State().mapView.SelectedAircraft == a;
  }
};

TEST_F(MapMouse, ReachOfAClickAndOfADrag) {
  TForm1& w = Open();
  Place(w, "JL0012", {{300, 300}});
  Click(w.Image(2), {300, 300}, {309, 309});  // moved 9: a click, 9 from the aircraft
  EXPECT_TRUE(Selected(w, 0));
  Click(w.Image(2), {310, 300});
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  Click(w.Image(2), {299, 299}, {309, 309});  // moved 10: still a click
  EXPECT_TRUE(Selected(w, 0));
  // The altitude view: 35000 ft at y 60, within 4 pixels.
  Click(w.Image(4), {305, 60});
  EXPECT_FALSE(w.State().mapView.AircraftSelected);
  Click(w.Image(4), {304, 64});
  EXPECT_TRUE(Selected(w, 0));
  const double centE = w.State().Map.MapCentE;
  Click(w.Image(2), {298, 300}, {309, 300});  // 11: a drag
  EXPECT_NE(w.State().Map.MapCentE, centE);
  Close();
}

TEST_F(MapMouse, CtrlMovesTheTagShiftKeepsItsBoxesAndASecondClickClearsThem) {
  TForm1& w = Open();
  const AircraftRecord& r = Place(w, "JL0012", {{200, 200}, {300, 300}});
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
  EXPECT_EQ(w.State().mapView.ClickedTrackPoint, 0);
  Click(w.Image(2), {300, 300});
  EXPECT_EQ(w.State().mapView.MapViewOptions, 0);
  Close();
}

TEST_F(MapMouse, DragsKeepTheCentreInRange) {
  TForm1& w = Open("GlobeView=0\r\nMapCentE=170\r\n");
  Click(w.Image(2), {800, 300}, {100, 100});  // east, and up
  EXPECT_GE(w.State().Map.MapCentE, -180.0);
  EXPECT_LE(w.State().Map.MapCentE, 180.0);
  EXPECT_EQ(w.State().Map.MapCentN, 0.0);  // the widest step stays on the equator
  Close();
  TForm1& globe = Open("GlobeView=1\r\n");
  Click(globe.Image(2), {300, 600}, {300, 0});
  EXPECT_EQ(globe.State().Map.ViewDeg, 90.0);
  Close();
}

TEST_F(MapMouse, SideListRowsAndPages) {
  TForm1& w = Open();
  Form1State& f = w.State();
  const int n = (w.Image(1)->height() - 32) / 15;
  for (int a = 0; a < n + 2; ++a) Place(w, ("JL" + std::to_string(1000 + a)).c_str(), {{10 * a, 100}});
  Click(w.Image(1), {10, 10});
  EXPECT_EQ(f.mapView.ListPage, 1);
  Click(w.Image(1), {100, 20 + 15 * 2 + 7});
  EXPECT_TRUE(Selected(w, 2));
  Click(w.Image(1), {190, 10});
  EXPECT_EQ(f.mapView.ListPage, 2);
  Click(w.Image(1), {100, 20 + 15 * 1 + 7});
  EXPECT_TRUE(Selected(w, n + 1));
  Click(w.Image(1), {100, 20 + 15 * 2 + 7});  // below the last row
  EXPECT_TRUE(Selected(w, n + 1));
  Click(w.Image(1), {10, 10});
  EXPECT_EQ(f.mapView.ListPage, 1);
  Close();
}

TEST_F(MapMouse, SelectionShowsTheFlightAndItsEndResetsTheControls) {
  TForm1& w = Open();
  Place(w, "JL0012", {{300, 300}});
  w.State().controls.ComboBox2Items = {"ALL", "JL"};
  w.State().controls.ComboBox2Index = 1;
  w.SpeedButton(8)->setChecked(true);
  Click(w.Image(2), {300, 300});
  EXPECT_TRUE(w.MenuItem("N10")->isEnabled());
  EXPECT_FALSE(w.SpeedButton(8)->isChecked());
  auto* info = qobject_cast<TForm17*>(w.Form(17));
  EXPECT_EQ(info->Edit1()->text(), "JL0012");
  EXPECT_EQ(boxes_.Texts().back(), "No information");  // the list lacks it
  w.State().mapView.LatestAircraft = 0;
  Click(w.Image(2), {600, 100});
  EXPECT_EQ(w.ComboBox2()->currentText(), "ALL");
  EXPECT_FALSE(w.MenuItem("N10")->isEnabled());
  EXPECT_EQ(w.State().mapView.LatestAircraft, -1);
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
    QCoreApplication::processEvents();
    EXPECT_EQ(functions(), expected) << "button " << k;
  }
  EXPECT_EQ(qobject_cast<QWidget*>(w.Form(26))->findChild<QToolButton*>("SpeedButton2")->isChecked(),
            w.SpeedButton(17)->isChecked());
  Click(w.Image(2), {w.Image(2)->width() - 10, w.Image(2)->height() - 20});
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.Closed());
}

}  // namespace
