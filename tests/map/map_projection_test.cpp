// The projection's known answers: a 786 x 470 map centred on 139 E, the
// globe on 36.5 N, computed from the formulas by hand.
#include "map/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "map/map_navigation.h"

namespace {

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

  PixelPoint At(double lat, double lon) {
    PixelPoint p;
    visible = ProjectLatLon(map, settings, map.MapBitmap, lat, lon, p);
    return p;
  }

  MapState map;
  MapSettings settings;
  MapControls controls;
  bool visible = false;
};

void ExpectPoint(PixelPoint p, int x, int y) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
}

TEST_F(MapProjection, AResizeAtTheWidestStepShowsTheWholeWorldCentredOnTheEquator) {
  EXPECT_NEAR(map.MapScaleX, 2.1833333, 1e-6);  // 786 / 360, not 786 / 360 in integers
  EXPECT_NEAR(map.MapScaleY, 2.6111111, 1e-6);
  EXPECT_EQ(settings.MapCentN, 0.0);
  EXPECT_DOUBLE_EQ(map.MapLeftLon, -41.0);
  EXPECT_DOUBLE_EQ(map.MapTopLat, 90.0);
  EXPECT_DOUBLE_EQ(map.GlobeRadius, 211.5);
  EXPECT_EQ(map.GlobeLeft, 181);
  EXPECT_EQ(map.GlobeTop, 23);
  EXPECT_EQ(map.MapBitmap.Width(), 786);
  EXPECT_EQ(map.AltitudeBitmap.Height(), 202);
}

TEST_F(MapProjection, FlatView) {
  ExpectPoint(At(35.6581, 139.7512), 394, 141);  // Tokyo
  ExpectPoint(At(51.4775, -0.4614), 88, 100);    // London
  ExpectPoint(At(33.9425, -118.4081), 616, 146);  // Los Angeles
  ExpectPoint(At(-90, 0), 89, 470);
  EXPECT_TRUE(visible);

  // One pixel a degree: 500 pixels beyond an edge is visible, 501 not;
  // exactly 360 degrees from the left edge stays 360.
  map.MapScaleX = map.MapScaleY = 1.0;
  map.MapLeftLon = -180.0;
  At(590, 0);
  EXPECT_TRUE(visible);
  At(591, 0);
  EXPECT_FALSE(visible);
  ExpectPoint(At(-880, 0), 180, 970);
  EXPECT_TRUE(visible);
  At(-881, 0);
  EXPECT_FALSE(visible);
  EXPECT_EQ(At(0, 180).x, 360);
}

TEST_F(MapProjection, Globe) {
  View(true, 0, 0.0);
  ExpectPoint(At(36.5, 139), 392, 234);  // the centre
  EXPECT_TRUE(visible);
  ExpectPoint(At(21.3187, -157.9225), 568, 225);  // Honolulu
  EXPECT_TRUE(visible);
  ExpectPoint(At(51.4775, -0.4614), 306, 41);  // London, just this side of the limb
  EXPECT_TRUE(visible);
  At(-34.6, -58.4);  // Buenos Aires
  EXPECT_FALSE(visible);
  At(-36.5, -41);  // opposite the centre
  EXPECT_FALSE(visible);
  PixelPoint rim;
  EXPECT_EQ(ProjectMapPoint(map, settings, -34.6, -58.4, false, rim), MapPointSide::Hidden);
  ExpectPoint(rim, 603, 225);
}

TEST_F(MapProjection, FlatPolygonPointsKeepTheirTruePixelAndTheSecondCopyLiesAWorldFurther) {
  PixelPoint p;
  EXPECT_EQ(ProjectMapPoint(map, settings, 33.9425, -118.4081, false, p), MapPointSide::Visible);
  EXPECT_EQ(p.x, -169);
  ProjectMapPoint(map, settings, 33.9425, -118.4081, true, p);
  EXPECT_EQ(p.x, 616);
  ProjectMapPoint(map, settings, 35.6581, 139.7512, false, p);
  EXPECT_EQ(p.x, 394);
  ProjectMapPoint(map, settings, 35.6581, 139.7512, true, p);
  EXPECT_EQ(p.x, 1180);
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
  ExpectPoint(At(35.6581, 139.7512), 399, 243);
  View(true, 8, 36.5);
  ExpectPoint(At(35.6581, 139.7512), 401, 246);

  settings.MapCentN = 80;
  ApplyLatitudeRule(map, settings);
  EXPECT_DOUBLE_EQ(settings.MapCentN, 67.5);
  settings.MapCentN = -89;
  ApplyLatitudeRule(map, settings);
  EXPECT_DOUBLE_EQ(settings.MapCentN, -67.5);

  ApplyScaleRule(map, 1);
  EXPECT_NEAR(map.MapScaleX, 2.62, 1e-9);
  EXPECT_NEAR(map.MapScaleY, 3.1333333, 1e-6);
  ApplyScaleRule(map, 26);
  EXPECT_NEAR(map.MapScaleX, 1091.6667, 1e-4);
  EXPECT_NEAR(map.MapScaleY, 1305.5556, 1e-4);
}

TEST_F(MapProjection, ScreenHeadings) {
  const PixelPoint tokyo = At(35.6581, 139.7512);
  auto heading = [&](int h) { return ScreenHeading(map, settings, h, 35.6581, 139.7512, tokyo.x, tokyo.y); };
  // The flat view's are coarse: its second point is only 0.2 x 10 degrees away.
  const int flatIn[] = {0, 45, 90, 135, 180, 270, 315}, flatOut[] = {0, 53, 90, 135, 180, 270, 306};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(heading(flatIn[i]), flatOut[i]) << flatIn[i];
  const PixelPoint far = At(-281.4, 139);
  EXPECT_EQ(ScreenHeading(map, settings, 180, -281.4, 139, far.x, far.y), 0);

  View(true, 0, 0.0);
  const PixelPoint onGlobe = At(35.6581, 139.7512);
  const int globeIn[] = {0, 45, 90, 180, 270}, globeOut[] = {0, 41, 85, 180, 273};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(ScreenHeading(map, settings, globeIn[i], 35.6581, 139.7512, onGlobe.x, onGlobe.y), globeOut[i])
        << globeIn[i];
  }
}

TEST_F(MapProjection, SegmentsAcrossTheDateLineAndInTheAltitudeView) {
  const double equator[2] = {0, 0};
  double lon[2] = {170, -170};
  PixelPoint from, to;
  ASSERT_TRUE(MapSegmentPixels(map, settings, equator, lon, from, to));
  ExpectPoint(from, 460, 235);
  ExpectPoint(to, 504, 235);
  EXPECT_EQ(lon[0], 170);
  EXPECT_EQ(lon[1], 190);
  // 180.9 degrees apart truncates to 180: no step.
  double apart[2] = {90.5, -90.4};
  DateLineStep(apart);
  EXPECT_EQ(apart[1], -90.4);

  auto profileY = [&](int altitude) {
    double lons[2] = {139, 140};
    const int altitudes[2] = {altitude, 0};
    EXPECT_TRUE(ProfileSegmentPixels(map, settings, equator, lons, altitudes, from, to));
    return from.y;
  };
  EXPECT_EQ(profileY(0), 200);
  EXPECT_EQ(profileY(35000), 60);
  EXPECT_EQ(profileY(50000), 0);
  EXPECT_EQ(profileY(-1000), 204);
  double lons[2] = {139, 140};
  const int tooHigh[2] = {30000, 80000};
  EXPECT_FALSE(ProfileSegmentPixels(map, settings, equator, lons, tooHigh, from, to));

  // On the globe a segment with an end behind it draws nothing, on the map
  // or in the altitude view.
  View(true, 0, 0.0);
  const double lats[2] = {35.6, -34.6};
  double toBuenosAires[2] = {139.7, -58.4};
  EXPECT_FALSE(MapSegmentPixels(map, settings, lats, toBuenosAires, from, to));
  const int low[2] = {10000, 10000};
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
  int32_t pixel;
  EXPECT_TRUE(TruncToPixel(-1e300, pixel));
  EXPECT_EQ(pixel, -(1 << 30));
}

}  // namespace
