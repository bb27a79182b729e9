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
#include <cmath>

#include "aircraft/tform17.h"
#include "main_window_fixture.h"
#include "map/map_projection.h"

namespace {

class MapMouse : public MainWindowTest {
 protected:
  TForm1& Open(const std::string& map = "GlobeView=0\r\n") {
    return Start("[Etc]\r\nLanguage=1\r\n[Form]\r\nShowRep=1\r\nShowAlt=1\r\n[Map]\r\n" + map);
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
  for (int a = 0; a < n + 2; ++a) Place(w, ("JL" + std::to_string(1000 + a)).c_str(), {{10 * a, 100}});
  Click(w.Image(1), {10, 10});  // no page before the first
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

}  // namespace
