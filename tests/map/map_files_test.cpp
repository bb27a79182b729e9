// The map files as the map reads them, recorded instead of drawn: a flat
// map of one pixel a degree, 360 x 180, from 180 W unless a test moves it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "map/map_file_drawing.h"
#include "map/map_line_reader.h"
#include "map/map_projection.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingMapSink;

constexpr TColor kCoast = 1, kSea = 2, kBorder = 3;

class MapFiles : public ::testing::Test {
 protected:
  MapFiles() {
    colours.MapCoastColor = kCoast;
    colours.MapBackColor = kSea;
    colours.BoundariesColor = kBorder;
    map.MapBitmap.Resize(360, 180);
    View(false, 0.0);
  }

  void View(bool globe, double centE) {
    controls.SpeedButton2Down = globe ? 1 : 0;
    settings.MapCentE = centE;
    map.MapScaleX = map.MapScaleY = 1.0;
    UpdateMapGeometry(map, settings, controls);
  }

  RecordingMapSink Draw(const std::string& name, const std::string& text) {
    map.MapFileName = dir.File(name);
    testing_support::WriteFile(map.MapFileName, text);
    RecordingMapSink sink;
    DrawMapFile(map, settings, colours, sink);
    return sink;
  }

  // Each segment as "lat0,lon0>lat1,lon1".
  static std::vector<std::string> Segments(const RecordingMapSink& sink) {
    std::vector<std::string> out;
    for (const auto& s : sink.segments) {
      std::ostringstream text;
      text << s.lat[0] << "," << s.lon[0] << ">" << s.lat[1] << "," << s.lon[1];
      out.push_back(text.str());
    }
    return out;
  }

  // Each polygon as "type lines fill/outline: x,y x,y ...".
  static std::vector<std::string> Polygons(const RecordingMapSink& sink) {
    std::vector<std::string> out;
    for (const MapPolygon& p : sink.polygons) {
      std::ostringstream text;
      text << p.type << " " << p.startLine << "-" << p.endLine << " " << p.fill << "/" << p.outline << ":";
      for (const PixelPoint& point : p.points) text << " " << point.x << "," << point.y;
      out.push_back(text.str());
    }
    return out;
  }

  testing_support::TempDir dir;
  MapState map;
  MapSettings settings;
  MapControls controls;
  ColorSettings colours;
};

TEST_F(MapFiles, ParseDecimalIsTheFilesOwnLoop) {
  EXPECT_DOUBLE_EQ(ParseDecimal("-015.5"), -15.5);
  EXPECT_DOUBLE_EQ(ParseDecimal("3-5"), -35.0);
  EXPECT_DOUBLE_EQ(ParseDecimal("139.7512"), 139.7512);
  EXPECT_DOUBLE_EQ(ParseDecimal("+1"), -49.0);  // "+" counts as a digit worth -5
  EXPECT_EQ(ParseDecimal(std::string(999, '1')), HUGE_VAL);
  EXPECT_EQ(ParseDecimal(std::string(1000, '1')), 0.0);
}

TEST_F(MapFiles, DatPolylinesBreakAtTheirMarkerAndCarryARaisedLongitude) {
  const RecordingMapSink sink = Draw("a.dat", "# -b\n10\t50\n20\t50\n30\t55\n# -b\n40\t55\n50\t55\n");
  EXPECT_EQ(Segments(sink), (std::vector<std::string>{"50,10>50,20", "50,20>55,30", "55,40>55,50"}));
  EXPECT_EQ(sink.segments[0].pen.colour, kCoast);
  // The step across the date line raises -170 to 190, and the next
  // segment starts from there.
  EXPECT_EQ(Segments(Draw("b.dat", "170\t0\n-170\t0\n-160\t0\n")),
            (std::vector<std::string>{"0,170>0,190", "0,190>0,200"}));
}

TEST_F(MapFiles, OutLatitudeFirstAndMinusOneStartsAPolyline) {
  const RecordingMapSink sink = Draw("a.out", "$TYPE=COAST\n10+20\n-12.5+130.0\n12.5+-130.0\n15+-120\n-015.5+-120\n");
  EXPECT_EQ(Segments(sink), (std::vector<std::string>{"12.5,-130>15,-120", "15,-120>-15.5,-120"}));
}

TEST_F(MapFiles, LineEndsPiecesAndLinesWithoutSeparator) {
  const std::vector<std::string> lf = Segments(Draw("lf.dat", "# -b\n10\t50\n1550\n20\t50\n30\t50"));
  // A line without TAB adds nothing and breaks nothing; the last line
  // needs no line feed.
  EXPECT_EQ(lf, (std::vector<std::string>{"50,10>50,20", "50,20>50,30"}));
  EXPECT_EQ(Segments(Draw("crlf.dat", "# -b\r\n10\t50\r\n1550\r\n20\t50\r\n30\t50")), lf);
  // 200 characters arrive as a piece of 127 and one of 73, each a line.
  const std::string first = "10\t50." + std::string(121, '0');
  const std::string second = "20\t55." + std::string(67, '0');
  EXPECT_EQ(Segments(Draw("long.dat", first + second + "\n")), (std::vector<std::string>{"50,10>55,20"}));
  EXPECT_TRUE(Draw("upper.DAT", "10\t50\n20\t50\n").segments.empty());
}

TEST_F(MapFiles, MapPolygonsTakeTheirTypesColoursAndTheEndOfTheFileDropsOne) {
  const RecordingMapSink sink = Draw("a.map",
                                     "10\t10\n"
                                     "PLGN=L\n10\t50\n20\t50\n20\t40\n"
                                     "PLGN\n30\t50\n40\t50\n40\t40\n"
                                     "PLGN=S\n12\t48\n14\t48\n14\t46\n"
                                     "LINE\n10\t0\n20\t0\n30\t0\n"
                                     "PLGN=F\n50\t50\n60\t50\n60\t40\n");
  // Their second copies lie east of the map.
  EXPECT_EQ(Polygons(sink),
            (std::vector<std::string>{"L 2-6 1/3: 190,40 200,40 200,50", "- 6-10 1/3: 210,40 220,40 220,50",
                                      "S 10-14 2/3: 192,42 194,42 194,44"}));
  // The "LINE" section in the third pass; the "F" polygon has no "TERM".
  EXPECT_EQ(Segments(sink), (std::vector<std::string>{"0,10>0,20", "0,20>0,30"}));
  EXPECT_EQ(sink.segments[0].pen.colour, kBorder);
}

TEST_F(MapFiles, AHugePolygonArrivesWholeAndTheFlatMapClipsInsteadOfClamping) {
  std::string big = "PLGN=L\n";
  for (int i = 0; i < 150000; ++i) big += std::to_string(i % 2 ? 10 : 20) + "\t" + std::to_string(40 + i * 1e-4) + "\n";
  RecordingMapSink sink = Draw("big.map", big + "TERM\n");
  ASSERT_EQ(sink.polygons.size(), 1u);
  EXPECT_EQ(sink.polygons[0].points.size(), 150000u);

  // The left edge at 41 W: a vertex at 60 W stays at x = -19, so the edge
  // to 20 W crosses x = 0 where it truly does; a polygon beyond x = -100 is
  // cut there, one wholly beyond it draws nothing.
  View(false, 139.0);
  sink = Draw("edge.map",
              "PLGN=L\n-60\t0\n-20\t40\n-20\t0\n"
              "PLGN=L\n-200\t10\n-120\t10\n-120\t0\n-200\t0\n"
              "PLGN=L\n-250\t10\n-230\t10\n-230\t0\nTERM\n");
  // Then the second copies, a world east, all on the map.
  const std::vector<std::string> polygons = Polygons(sink);
  ASSERT_EQ(polygons.size(), 5u);
  EXPECT_EQ(polygons[0], "L 1-5 1/3: -19,90 21,50 21,90");
  EXPECT_EQ(polygons[1], "L 5-10 1/3: -100,80 -79,80 -79,90 -100,90");
}

TEST_F(MapFiles, OnTheGlobeFarPolygonsAreLeftOutAndHalfHiddenOnesCloseAlongTheRim) {
  View(true, 0.0);
  settings.ViewDeg = 0.0;
  const RecordingMapSink sink = Draw("globe.map",
                                     "PLGN=L\n170\t10\n-170\t10\n-170\t-10\n170\t-10\n"
                                     "PLGN=L\n60\t10\n120\t10\n120\t-10\n60\t-10\n"
                                     "PLGN=F\n0\t10\n10\t10\n10\t0\nTERM\n");
  ASSERT_EQ(sink.polygons.size(), 1u);
  const double cx = map.GlobeLeft + map.GlobeRadius, cy = map.GlobeTop + map.GlobeRadius;
  const PixelPoint hidden = sink.polygons[0].points[1];
  EXPECT_NEAR(std::hypot(hidden.x - cx, hidden.y - cy), map.GlobeRadius, 1.5);
}

// The polygons of a file the build makes from Natural Earth, as (lon, lat).
struct Ring {
  char type;
  std::vector<std::pair<double, double>> points;
};

std::vector<Ring> ReadRings(const std::string& path, int& pointsBeforeFirst) {
  MapLineReader reader(path);
  std::vector<Ring> rings;
  std::string_view line, lon, lat;
  bool inPolygon = false;
  while (reader.Next(line)) {
    if (line.substr(0, 4) == "PLGN" || line == "LINE" || line == "TERM") {
      inPolygon = line.substr(0, 5) == "PLGN=";
      if (inPolygon) rings.push_back({line[5], {}});
    } else if (SplitPointLine(line, '\t', lon, lat)) {
      pointsBeforeFirst += rings.empty();
      if (inPolygon) rings.back().points.emplace_back(ParseDecimal(lon), ParseDecimal(lat));
    }
  }
  return rings;
}

// The types of the polygons that hold the point (even-odd).
std::string InWhich(const std::vector<Ring>& rings, double lat, double lon) {
  std::string types;
  for (const Ring& r : rings) {
    bool inside = false;
    const auto& p = r.points;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      if ((p[i].second > lat) != (p[j].second > lat) &&
          lon < (p[j].first - p[i].first) * (lat - p[i].second) / (p[j].second - p[i].second) + p[i].first) {
        inside = !inside;
      }
    }
    if (inside) types += r.type;
  }
  return types;
}

TEST(WorldMapData, RingsAreClosedStayOnOneSideOfTheDateLineAndHoldTheLand) {
  for (const char* name : {"world.map", "world_coarse.map"}) {
    int before = 0;
    const std::vector<Ring> rings = ReadRings(SKARVEL_PROGRAM_DIR "/lines/" + std::string(name), before);
    ASSERT_GT(rings.size(), 100u) << name;
    EXPECT_EQ(before, 0) << name;
    for (const Ring& r : rings) {
      ASSERT_GE(r.points.size(), 4u) << name;
      EXPECT_EQ(r.points.front(), r.points.back()) << name;
      for (size_t i = 1; i < r.points.size(); ++i) {
        ASSERT_LE(std::fabs(r.points[i].first - r.points[i - 1].first), 180.0) << name << " ring " << i;
      }
    }
    EXPECT_EQ(InWhich(rings, 45, 100), "L") << name;   // Mongolia
    EXPECT_EQ(InWhich(rings, -25, 135), "L") << name;  // Australia
    EXPECT_EQ(InWhich(rings, 30, 160), "") << name;    // the Pacific
    EXPECT_EQ(InWhich(rings, 42, 51), "LS") << name;   // the Caspian Sea
  }
}

TEST_F(MapFiles, TheCoarseCoastAsDatAndAsOutGivesTheSamePoints) {
  map.MapFileName = SKARVEL_MAP_DATA_DIR "/world_coarse.dat";
  RecordingMapSink dat, out;
  DrawMapFile(map, settings, colours, dat);
  map.MapFileName = SKARVEL_MAP_DATA_DIR "/world_coarse.out";
  DrawMapFile(map, settings, colours, out);
  EXPECT_GT(dat.segments.size(), 4000u);
  EXPECT_EQ(Segments(dat), Segments(out));
}

}  // namespace
