// The projection's known answers, computed from the formulas by hand: a
// 786 x 470 map centred on 139 E, flat or the globe seen from 36.5 N.
#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "map/map_navigation.h"

namespace {

using Px = std::pair<int, int>;

class MapProjection : public ::testing::Test {
 protected:
  MapProjection() {
    settings.MapCentN = 36.5;
    settings.MapCentE = 139.0;
    settings.ViewDeg = -36.5;
    controls.SpeedButton2Down = 0;
    ResizeMapBitmaps(map, settings, controls, {204, 621}, {786, 470}, {786, 202});
  }
  // The widest step on the equator, step 8 on 36.5 N.
  void View(bool globe, int step) {
    controls.SpeedButton2Down = globe ? 1 : 0;
    controls.ComboBox1Index = step;
    settings.MapCentN = step ? 36.5 : 0.0;
    ApplyScaleRule(map, step);
    UpdateMapGeometry(map, settings, controls);
  }
  Px At(double lat, double lon) {
    PixelPoint p;
    visible = ProjectLatLon(map, settings, map.MapBitmap, lat, lon, p);
    return {p.x, p.y};
  }

  MapState map;
  MapSettings settings;
  MapControls controls;
  bool visible = false;
};

TEST_F(MapProjection, PlacesFlatAndOnTheGlobeAtTwoSteps) {
  EXPECT_EQ(settings.MapCentN, 0.0);  // a resize at the widest step centres on the equator
  const double tokyo[2] = {35.6581, 139.7512}, london[2] = {51.4775, -0.4614};
  const struct {
    bool globe;
    int step;
    double lat, lon;
    Px at;  // {-1, -1}: not visible
  } rows[] = {
      {false, 0, tokyo[0], tokyo[1], {394, 141}},
      {false, 0, london[0], london[1], {88, 100}},
      {false, 0, 33.9425, -118.4081, {616, 146}},  // Los Angeles, a world east
      {false, 0, -90, 0, {89, 470}},
      {false, 0, 1e300, 0, {-1, -1}},
      {false, 0, 0, -1e300, {-1, -1}},
      {true, 0, 36.5, 139, {392, 234}},            // the centre
      {true, 0, 21.3187, -157.9225, {568, 225}},   // Honolulu
      {true, 0, london[0], london[1], {306, 41}},  // just this side of the limb
      {true, 0, -34.6, -58.4, {-1, -1}},           // Buenos Aires, behind
      {false, 8, tokyo[0], tokyo[1], {399, 243}},
      {true, 8, tokyo[0], tokyo[1], {401, 246}},
  };
  for (const auto& r : rows) {
    View(r.globe, r.step);
    const Px at = At(r.lat, r.lon);
    EXPECT_EQ(visible ? at : Px(-1, -1), r.at) << r.lat << "," << r.lon << (r.globe ? " globe" : " flat") << r.step;
  }
  // One pixel a degree: 500 pixels beyond an edge is visible, 501 not;
  // exactly 360 degrees from the left edge stays 360.
  View(false, 0);
  map.MapScaleX = map.MapScaleY = 1.0;
  map.MapLeftLon = -180.0;
  for (auto [lat, shows] : {std::pair{590, true}, {591, false}, {-880, true}, {-881, false}}) {
    At(lat, 0);
    EXPECT_EQ(visible, shows) << lat;
  }
  EXPECT_EQ(At(0, 180).first, 360);
  // A left edge west of -180 moves a world east until the next update.
  PixelPoint p;
  map.MapLeftLon = -200.0;
  ProjectMapPoint(map, settings, 0, 0, false, p);
  EXPECT_DOUBLE_EQ(map.MapLeftLon, 160.0);
  View(false, 8);
  for (auto [from, to] : {std::pair{80.0, 67.5}, {-89.0, -67.5}}) {
    settings.MapCentN = from;
    ApplyLatitudeRule(map, settings);
    EXPECT_DOUBLE_EQ(settings.MapCentN, to) << "latitude rule";
  }
}

// The flat map's headings are in the aircraft goldens, the map files'
// points in the world's.
TEST_F(MapProjection, HeadingsOnTheGlobe) {
  View(true, 0);
  const Px p = At(35.6581, 139.7512);
  for (auto [heading, onScreen] : {Px{0, 0}, {45, 41}, {90, 85}, {180, 180}, {270, 273}}) {
    EXPECT_EQ(ScreenHeading(map, settings, heading, 35.6581, 139.7512, p.first, p.second), onScreen) << heading;
  }
  View(false, 0);
  const Px far = At(-281.4, 139.7512);
  EXPECT_EQ(ScreenHeading(map, settings, 180, -281.4, 139.7512, far.first, far.second), 0);  // second point out of range
}

// The altitude view's heights are in the aircraft goldens.
TEST_F(MapProjection, SegmentsAcrossTheDateLineAndBehindTheGlobe) {
  View(false, 0);
  const double equator[2] = {0, 0};
  double lon[2] = {170, -170};
  PixelPoint from, to;
  ASSERT_TRUE(MapSegmentPixels(map, settings, equator, lon, from, to));
  EXPECT_EQ((std::vector<int>{from.x, from.y, to.x, to.y, int(lon[1])}), (std::vector<int>{460, 235, 504, 235, 190}));
  double apart[2] = {90.5, -90.4};  // 180.9 apart truncates to 180: no step
  DateLineStep(apart);
  EXPECT_EQ(apart[1], -90.4);
  // On the globe an end behind it draws nothing, on the map or in the
  // altitude view.
  View(true, 0);
  const double lats[2] = {35.6, -34.6};
  double toBuenosAires[2] = {139.7, -58.4};
  const int low[2] = {10000, 10000};
  EXPECT_FALSE(MapSegmentPixels(map, settings, lats, toBuenosAires, from, to));
  EXPECT_FALSE(ProfileSegmentPixels(map, settings, lats, toBuenosAires, low, from, to));
}

TEST_F(MapProjection, ValuesThatAreNoNumbersAreNotVisible) {
  for (bool globe : {false, true}) {
    View(globe, 0);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL}) {
      for (auto [lat, lon] : {std::pair{bad, 0.0}, {0.0, bad}}) {
        At(lat, lon);
        EXPECT_FALSE(visible) << globe << " " << lat << "," << lon;
      }
      PixelPoint p;
      EXPECT_EQ(ProjectMapPoint(map, settings, bad, 0, false, p), MapPointSide::Unusable);
      const double lats[2] = {bad, 0};
      double lons[2] = {0, 1};
      EXPECT_FALSE(MapSegmentPixels(map, settings, lats, lons, p, p));
    }
  }
}

}  // namespace
