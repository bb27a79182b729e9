// The background's layers, recorded instead of drawn, on the 786 x 470
// map centred on 139 E at the widest step.
#include "map/map_background.h"

#include <gtest/gtest.h>

#include <map>

#include "map/map_navigation.h"
#include "map/map_projection.h"
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
    for (TColor* c : {&colours.GridColor, &colours.GridNumColor, &colours.MapAirwayNDB, &colours.MapPointVORTAC,
                      &colours.MapPointVORDME, &colours.MapPointHome}) {
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
  settings.GridValue = 1;
  const RecordingMapSink sink = Draw();
  EXPECT_EQ(settings.GridType, 2);
  std::map<double, int> parallels, meridians;
  for (const auto& s : sink.SegmentsIn(colours.GridColor)) {
    EXPECT_EQ(s.pen.style, PenStyle::Dotted);
    if (s.lat[0] == s.lat[1]) ++parallels[s.lat[0]];
    if (s.lon[0] == s.lon[1]) ++meridians[s.lon[0]];
  }
  EXPECT_EQ(parallels.size(), 7u);
  EXPECT_EQ(meridians.size(), 12u);
  for (const auto& [lat, pieces] : parallels) EXPECT_EQ(pieces, 360) << lat;
  for (const auto& [lon, pieces] : meridians) EXPECT_EQ(pieces, 180) << lon;

  std::vector<std::string> labels;
  std::map<std::string, PixelPoint> at;
  for (const auto& t : sink.texts) {
    if (t.colour == colours.GridNumColor) labels.push_back(t.text);
    at[t.text] = {t.x, t.y};
  }
  EXPECT_EQ(at[" -30"].x, 786 - 24);
  EXPECT_EQ(at[" 30"].x, 786 - 18);
  EXPECT_EQ(at["-150"].y, 470 - 13);
  EXPECT_EQ(labels, (std::vector<std::string>{" -90", " -60", " -30", "  0", " 30", " 60", " 90", "0", "30", "60", "90",
                                              "120", "150", "180", "-150", "-120", "-90", "-60", "-30"}));
}

TEST_F(MapBackground, TheGlobesLatitudeLabelsStandOnTheMeridianEastOfTheCentre) {
  controls.SpeedButton2Down = 1;
  settings.GridValue = 1;
  for (double centE : {139.0, -139.0}) {
    settings.MapCentE = centE;
    const RecordingMapSink sink = Draw();
    PixelPoint expected;
    ProjectLatLon(map, settings, map.MapBitmap, 0, centE > 0 ? 140 : -130, expected);
    bool found = false;
    for (const auto& t : sink.texts) {
      if (t.text != "  0") continue;
      found = true;
      EXPECT_EQ(t.x, expected.x) << centE;
      EXPECT_EQ(t.y, expected.y) << centE;
    }
    EXPECT_TRUE(found) << centE;
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

TEST_F(MapBackground, NavigationPointsByTypeSwitchAndColour) {
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
  EXPECT_EQ(sink.texts[0].x, sink.glyphs[0].x + 9);
  EXPECT_EQ(sink.texts[0].y, sink.glyphs[0].y - 6);

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
}

TEST_F(MapBackground, APointBehindTheGlobeAndMissingFilesLeaveOutOnlyThemselves) {
  controls.SpeedButton2Down = 1;
  testing_support::WriteFile(map.NavPointsPath, "6,-35,-60,FAR\r\n6,35,139,NEAR\r\n");
  settings.GridType = 1;
  RecordingMapSink sink = Draw();
  EXPECT_EQ(sink.TextsOnly(), std::vector<std::string>{"NEAR"});
  EXPECT_EQ(sink.lines.size(), 63u);  // the globe's outline
  ASSERT_EQ(sink.discs.size(), 1u);
  EXPECT_EQ(sink.discs[0], (std::vector<int>{181, 23, 604, 446}));

  map.NavPointsPath = dir.File("none.txt");
  map.AirwayPath = dir.File("none.txt");
  sink = Draw();
  EXPECT_TRUE(sink.glyphs.empty());
  EXPECT_FALSE(sink.SegmentsIn(colours.GridColor).empty());
  EXPECT_EQ(sink.lines.size(), 63u);
}

}  // namespace
