// The background's layers, recorded instead of drawn, on the 786 x 470
// map centred on 139 E at the widest step; and drawn, against the golden
// PNGs in tests/map/golden. After a change meant to alter a picture, look
// at the new one in the artefacts folder, rewrite the goldens with
//   SKARVEL_REWRITE_GOLDENS=1 ctest --test-dir build/tests/map -R Goldens
// and look at them again before committing them.
#include "map/map_background.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/form1_state.h"
#include "map/map_navigation.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "platform/cp932.h"
#include "support/golden_picture.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingMapSink;

class MapBackground : public ::testing::Test {
 protected:
  MapBackground() {
    settings.MapCentE = 139.0;
    settings.ViewDeg = -36.5;
    settings.SelectDegree = 6;
    settings.GridType = 0;
    // Colours that tell the layers apart.
    TColor next = 10;
    for (TColor* c : {&colours.GridColor, &colours.MapAirwayNDB, &colours.MapPointVORTAC, &colours.MapPointVORDME,
                      &colours.MapPointHome}) {
      *c = next++;
    }
    controls.SpeedButton2Down = 0;
    map.AirwayPath = dir.File("airway.txt");
    map.NavPointsPath = dir.File("nav.txt");
    ResizeMapBitmaps(map, settings, controls, {204, 621}, {786, 470}, {786, 202});
  }

  RecordingMapSink Draw() {
    UpdateMapGeometry(map, settings, controls);
    RecordingMapSink sink;
    DrawMapBackground(map, {settings, colours, controls, links, links}, sink);
    return sink;
  }

  testing_support::TempDir dir;
  MapState map;
  MapSettings settings;
  ColorSettings colours;
  MapControls controls;
  testing_support::RecordingMapLinks links;
};

TEST_F(MapBackground, AnUnknownGridTypeIsDottedFromNowOnAndThirtyDegreesMakeSevenParallelsAndTwelveMeridians) {
  settings.GridType = 5;
  settings.SelectDegree = 9;  // 30 degrees
  const RecordingMapSink sink = Draw();
  EXPECT_EQ(settings.GridType, 2);
  std::set<double> parallels, meridians;
  for (const auto& s : sink.SegmentsIn(colours.GridColor)) {
    EXPECT_EQ(s.pen.style, PenStyle::Dotted);
    if (s.lat[0] == s.lat[1]) parallels.insert(s.lat[0]);
    if (s.lon[0] == s.lon[1]) meridians.insert(s.lon[0]);
  }
  EXPECT_EQ(parallels.size(), 7u);
  EXPECT_EQ(meridians.size(), 12u);
}

TEST_F(MapBackground, TheGlobesLatitudeLabelsStandOnTheMeridianEastOfTheCentre) {
  controls.SpeedButton2Down = 1;
  settings.GridValue = 1;
  for (auto [centE, meridian] : {std::pair{139.0, 140.0}, {-139.0, -130.0}}) {
    settings.MapCentE = centE;
    const RecordingMapSink sink = Draw();
    PixelPoint expected;
    ProjectLatLon(map, settings, map.MapBitmap, 0, meridian, expected);
    const auto label = std::find_if(sink.texts.begin(), sink.texts.end(), [](auto& t) { return t.text == "  0"; });
    ASSERT_NE(label, sink.texts.end()) << centE;
    EXPECT_EQ(std::pair(label->x, label->y), std::pair(expected.x, expected.y)) << centE;
  }
}

TEST_F(MapBackground, AirwaysRunFromTheSecondPointToTheFirstWhileTheirButtonIsDown) {
  testing_support::WriteFile(map.AirwayPath, "2,35,139\r\n7,36,140\r\n1,35,139\r\n1,abc,140\r\n");
  EXPECT_TRUE(Draw().segments.empty());
  controls.SpeedButton25Down = controls.SpeedButton26Down = 1;
  const RecordingMapSink sink = Draw();
  ASSERT_EQ(sink.segments.size(), 1u);
  const auto& s = sink.segments[0];
  EXPECT_EQ(s.pen.colour, colours.MapAirwayNDB);
  EXPECT_EQ(s.pen.style, PenStyle::Dotted);
  EXPECT_EQ((std::vector<double>{s.lat[0], s.lon[0], s.lat[1], s.lon[1]}), (std::vector<double>{36, 140, 35, 139}));
}

TEST_F(MapBackground, NavigationPointsByTypeSwitchAndColourAndWhatIsLeftOut) {
  testing_support::WriteFile(map.NavPointsPath,
                             "6,35.68,139.77,HOME\r\n"
                             "1,35.9,139.1,KAEDE\r\n"
                             "5, 35.55 ,139.78,RJTT\r\n"
                             " 1,35,139,SPACE\r\n"
                             "1a,35,139,LONGER\r\n"
                             "6,abc,139,LETTERS\r\n"
                             "6,35,,EMPTY\r\n"
                             "6,34,138,A,B");
  RecordingMapSink sink = Draw();
  ASSERT_EQ(sink.glyphs.size(), 2u);
  EXPECT_EQ(sink.glyphs[0].type, '6');
  EXPECT_EQ(sink.glyphs[0].colour, colours.MapPointHome);
  EXPECT_EQ(sink.TextsOnly(), (std::vector<std::string>{"HOME", "B"}));

  controls.SpeedButton21Down = controls.SpeedButton28Down = 1;
  controls.N8Checked = 1;
  sink = Draw();
  ASSERT_EQ(sink.glyphs.size(), 4u);
  EXPECT_EQ(sink.glyphs[1].colour, colours.MapPointVORTAC);
  EXPECT_EQ(sink.glyphs[2].colour, colours.MapPointVORDME);
  EXPECT_EQ(sink.TextsOnly(), (std::vector<std::string>{"HOME", "KAEDE", "TOKYO INTL", "B"}));
  // A field is a number in every locale, or the line is left out.
  double value = 0;
  EXPECT_TRUE(ParseCoordinate(" 35.5\t", value));
  for (const char* bad : {"35,5", "abc", "35.5x", "", " ", "inf", "nan", "1e999"}) {
    EXPECT_FALSE(ParseCoordinate(bad, value)) << bad;
  }
  // A point behind the globe; then missing files leave out only themselves.
  controls.SpeedButton2Down = 1;
  testing_support::WriteFile(map.NavPointsPath, "6,-35,-60,FAR\r\n6,35,139,NEAR\r\n");
  EXPECT_EQ(Draw().TextsOnly(), std::vector<std::string>{"NEAR"});
  map.NavPointsPath = map.AirwayPath = dir.File("none.txt");
  settings.GridType = 1;
  sink = Draw();
  EXPECT_TRUE(sink.glyphs.empty());
  EXPECT_FALSE(sink.SegmentsIn(colours.GridColor).empty());
}

class MapGoldens : public ::testing::Test {
 protected:
  MapGoldens() { f.Map.MapCentE = 0.0; }
  // As the window's resize leaves it: the widest step, on the equator.
  QImage Background(int width, int height) {
    f.controls.SpeedButton2Down = globe;
    ResizeMapBitmaps(f.mapView, f.Map, f.controls, {1, 1}, {width, height}, {1, 1});
    Redraw(f.mapView, {f.Map, f.Color, f.controls, links, links}, {MapLayer::Background});
    return f.mapView.MapBitmap.Image();
  }

  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
  bool globe = false;
};

TEST_F(MapGoldens, TheTenNavigationGlyphsWithTheirNames) {
  f.Map.GridType = 0;
  MainControls& c = f.controls;
  c.SpeedButton21Down = c.SpeedButton22Down = c.SpeedButton23Down = c.SpeedButton24Down = c.SpeedButton28Down = 1;
  f.mapView.NavPointsPath = dir.File("nav.txt");
  testing_support::WriteFile(f.mapView.NavPointsPath,
                             platform::Utf8ToCp932("1,60,-170,VOR/DME\r\n2,60,-98,VORTAC\r\n3,60,-26,NDB\r\n"
                                                   "4,60,46,WAYPOINT\r\n5,60,118,RJTT\r\n"
                                                   "6,15,-170,自宅\r\n7,15,-98,灯台\r\n8,15,-26,送信所\r\n"
                                                   "9,15,46,富士山\r\n0,15,118,その他\r\n"));
  testing_support::ExpectGoldenPicture({Background(480, 120)}, "glyphs.png", "map");
}

TEST_F(MapGoldens, TheCoarseWorldFlatAndOnTheGlobeWithGridValues) {
  f.Map.MapCentE = 139.0;
  f.Map.ViewDeg = -36.5;
  f.Map.GridValue = 1;
  f.mapView.MapFileName = SKARVEL_PROGRAM_DIR "/lines/world_coarse.map";
  testing_support::ExpectGoldenPicture({Background(786, 470)}, "world-coarse-flat.png", "map");
  globe = true;
  testing_support::ExpectGoldenPicture({Background(786, 470)}, "world-coarse-globe.png", "map");
}

TEST_F(MapGoldens, DebugModeOutlinesAndLabelsASmallMap) {
  f.Map.GridType = 0;
  f.mapView.MapDebug = 1;
  f.mapView.MapFileName = dir.File("small.map");
  testing_support::WriteFile(f.mapView.MapFileName,
                             "PLGN=L\n-120\t40\n-60\t40\n-60\t-20\n-120\t-20\n-120\t40\n"
                             "PLGN=S\n-100\t20\n-80\t20\n-90\t0\n-100\t20\n"
                             "PLGN=L\n20\t60\n100\t50\n60\t-40\n20\t60\n"
                             "LINE\n-170\t-60\n170\t-60\n"
                             "LINE\n140\t80\n140\t-80\nTERM\n");
  testing_support::ExpectGoldenPicture({Background(360, 180)}, "debug-small-map.png", "map");
}

}  // namespace
