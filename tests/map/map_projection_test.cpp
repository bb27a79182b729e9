// The projection's known answers: a 786 x 470 map centred on 139 E, the
// globe on 36.5 N, computed from the formulas by hand.
#include "map/map_projection.h"

#include <gtest/gtest.h>

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
    UpdateMapGeometry(map, settings, controls);
  }

  void View(bool globe, int step, double centN) {
    controls.SpeedButton2Down = globe ? 1 : 0;
    controls.ComboBox1Index = step;
    settings.MapCentN = centN;
    ApplyScaleRule(map, step);
    UpdateMapGeometry(map, settings, controls);
  }

  Px At(double lat, double lon) {
    PixelPoint p;
    visible = ProjectLatLon(map, settings, map.MapBitmap, lat, lon, p);
    return {p.x, p.y};
  }
  static Px Of(PixelPoint p) { return {p.x, p.y}; }

  MapState map;
  MapSettings settings;
  MapControls controls;
  bool visible = false;
};

TEST_F(MapProjection, AResizeAtTheWidestStepShowsTheWholeWorldCentredOnTheEquator) {
  EXPECT_NEAR(map.MapScaleX, 2.1833333, 1e-6);  // 786 / 360, not 786 / 360 in integers
  EXPECT_NEAR(map.MapScaleY, 2.6111111, 1e-6);
  EXPECT_EQ(settings.MapCentN, 0.0);
  EXPECT_DOUBLE_EQ(map.MapLeftLon, -41.0);
  EXPECT_DOUBLE_EQ(map.MapTopLat, 90.0);
  EXPECT_DOUBLE_EQ(map.GlobeRadius, 211.5);
  EXPECT_EQ(Px(map.GlobeLeft, map.GlobeTop), Px(181, 23));
  EXPECT_EQ(Px(map.AltitudeBitmap.Width(), map.AltitudeBitmap.Height()), Px(786, 202));
}

TEST_F(MapProjection, FlatView) {
  EXPECT_EQ(At(35.6581, 139.7512), Px(394, 141));   // Tokyo
  EXPECT_EQ(At(51.4775, -0.4614), Px(88, 100));     // London
  EXPECT_EQ(At(33.9425, -118.4081), Px(616, 146));  // Los Angeles
  EXPECT_EQ(At(-90, 0), Px(89, 470));
  // One pixel a degree: 500 pixels beyond an edge is visible, 501 not;
  // exactly 360 degrees from the left edge stays 360.
  map.MapScaleX = map.MapScaleY = 1.0;
  map.MapLeftLon = -180.0;
  for (auto [lat, shows] :
       std::initializer_list<std::pair<int, bool>>{{590, true}, {591, false}, {-880, true}, {-881, false}}) {
    At(lat, 0);
    EXPECT_EQ(visible, shows) << lat;
  }
  EXPECT_EQ(At(0, 180).first, 360);
}

TEST_F(MapProjection, GlobeAndPolygonPoints) {
  View(true, 0, 0.0);
  EXPECT_EQ(At(36.5, 139), Px(392, 234));           // the centre
  EXPECT_EQ(At(21.3187, -157.9225), Px(568, 225));  // Honolulu
  EXPECT_EQ(At(51.4775, -0.4614), Px(306, 41));     // London, just this side of the limb
  EXPECT_TRUE(visible);
  At(-34.6, -58.4);  // Buenos Aires
  EXPECT_FALSE(visible);
  PixelPoint p;
  EXPECT_EQ(ProjectMapPoint(map, settings, -34.6, -58.4, false, p), MapPointSide::Hidden);
  EXPECT_EQ(Of(p), Px(603, 225));  // on the rim

  // Flat: the true pixel, and the second copy a world further east.
  View(false, 0, 0.0);
  const std::pair<double, double> places[] = {{33.9425, -118.4081}, {35.6581, 139.7512}};
  const int xs[2][2] = {{-169, 616}, {394, 1180}};
  for (int i = 0; i < 2; ++i) {
    for (int copy = 0; copy < 2; ++copy) {
      EXPECT_EQ(ProjectMapPoint(map, settings, places[i].first, places[i].second, copy, p), MapPointSide::Visible);
      EXPECT_EQ(p.x, xs[i][copy]);
    }
  }
  // A left edge west of -180 moves a world east until the next update.
  map.MapLeftLon = -200.0;
  ProjectMapPoint(map, settings, 0, 0, false, p);
  EXPECT_DOUBLE_EQ(map.MapLeftLon, 160.0);
}

TEST_F(MapProjection, StepEightAroundJapanAndTheScaleAndLatitudeRules) {
  View(false, 8, 36.5);
  EXPECT_NEAR(map.MapScaleX, 8.7333333, 1e-6);
  EXPECT_NEAR(map.MapScaleY, 10.4444444, 1e-6);
  EXPECT_DOUBLE_EQ(map.MapLeftLon, 94.0);
  EXPECT_DOUBLE_EQ(map.MapTopLat, 59.0);
  EXPECT_EQ(At(35.6581, 139.7512), Px(399, 243));
  View(true, 8, 36.5);
  EXPECT_EQ(At(35.6581, 139.7512), Px(401, 246));
  for (auto [from, to] : std::initializer_list<std::pair<double, double>>{{80.0, 67.5}, {-89.0, -67.5}}) {
    settings.MapCentN = from;
    ApplyLatitudeRule(map, settings);
    EXPECT_DOUBLE_EQ(settings.MapCentN, to);
  }
  ApplyScaleRule(map, 1);
  EXPECT_NEAR(map.MapScaleX, 2.62, 1e-9);
  EXPECT_NEAR(map.MapScaleY, 3.1333333, 1e-6);
  ApplyScaleRule(map, 26);
  EXPECT_NEAR(map.MapScaleX, 1091.6667, 1e-4);
  EXPECT_NEAR(map.MapScaleY, 1305.5556, 1e-4);
}

TEST_F(MapProjection, ScreenHeadings) {
  auto heading = [&](int h, double lat) {
    const Px p = At(lat, 139.7512);
    return ScreenHeading(map, settings, h, lat, 139.7512, p.first, p.second);
  };
  // The flat view's are coarse: its second point is only 0.2 x 10 degrees away.
  const int flatIn[] = {0, 45, 90, 135, 180, 270, 315}, flatOut[] = {0, 53, 90, 135, 180, 270, 306};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(heading(flatIn[i], 35.6581), flatOut[i]) << flatIn[i];
  EXPECT_EQ(heading(180, -281.4), 0);  // the second point is out of range
  View(true, 0, 0.0);
  const int globeIn[] = {0, 45, 90, 180, 270}, globeOut[] = {0, 41, 85, 180, 273};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(heading(globeIn[i], 35.6581), globeOut[i]) << globeIn[i];
}

TEST_F(MapProjection, SegmentsAcrossTheDateLineAndInTheAltitudeView) {
  const double equator[2] = {0, 0};
  double lon[2] = {170, -170};
  PixelPoint from, to;
  ASSERT_TRUE(MapSegmentPixels(map, settings, equator, lon, from, to));
  EXPECT_EQ(Of(from), Px(460, 235));
  EXPECT_EQ(Of(to), Px(504, 235));
  EXPECT_EQ(lon[1], 190);
  double apart[2] = {90.5, -90.4};  // 180.9 apart truncates to 180: no step
  DateLineStep(apart);
  EXPECT_EQ(apart[1], -90.4);

  for (auto [altitude, y] : std::initializer_list<Px>{{0, 200}, {35000, 60}, {50000, 0}, {-1000, 204}}) {
    double lons[2] = {139, 140};
    const int altitudes[2] = {altitude, 0};
    EXPECT_TRUE(ProfileSegmentPixels(map, settings, equator, lons, altitudes, from, to));
    EXPECT_EQ(from.y, y) << altitude;
  }
  double lons[2] = {139, 140};
  const int tooHigh[2] = {30000, 80000};
  EXPECT_FALSE(ProfileSegmentPixels(map, settings, equator, lons, tooHigh, from, to));
  // On the globe an end behind it draws nothing, on the map or in the
  // altitude view.
  View(true, 0, 0.0);
  const double lats[2] = {35.6, -34.6};
  double toBuenosAires[2] = {139.7, -58.4};
  const int low[2] = {10000, 10000};
  EXPECT_FALSE(MapSegmentPixels(map, settings, lats, toBuenosAires, from, to));
  EXPECT_FALSE(ProfileSegmentPixels(map, settings, lats, toBuenosAires, low, from, to));
}

TEST_F(MapProjection, ValuesThatAreNoNumbersOrHugeAreNotVisible) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (bool globe : {false, true}) {
    View(globe, 0, 0.0);
    for (double bad : {nan, inf, -inf}) {
      At(bad, 0);
      EXPECT_FALSE(visible) << globe;
      At(0, bad);
      EXPECT_FALSE(visible) << globe;
      PixelPoint p;
      EXPECT_EQ(ProjectMapPoint(map, settings, bad, 0, false, p), MapPointSide::Unusable);
      const double lats[2] = {bad, 0};
      double lons[2] = {0, 1};
      EXPECT_FALSE(MapSegmentPixels(map, settings, lats, lons, p, p));
    }
  }
  View(false, 0, 0.0);
  At(1e300, 0);
  EXPECT_FALSE(visible);
  At(0, -1e300);
  EXPECT_FALSE(visible);
}

}  // namespace
