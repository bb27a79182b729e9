// The map files as the map reads them, recorded instead of drawn: a flat
// map of one pixel a degree, 360 x 180, from 180 W unless a test moves it;
// and the files the build makes from Natural Earth, flat and on the globe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "map/canvas_map_sink.h"
#include "map/map_background.h"
#include "map/map_file_drawing.h"
#include "map/map_line_reader.h"
#include "map/map_projection.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingMapSink;
using Texts = std::vector<std::string>;

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
  static Texts Segments(const RecordingMapSink& sink) {
    Texts out;
    for (const auto& s : sink.segments) {
      std::ostringstream text;
      text << s.lat[0] << "," << s.lon[0] << ">" << s.lat[1] << "," << s.lon[1];
      out.push_back(text.str());
    }
    return out;
  }

  // Each polygon as "type lines fill/outline: x,y x,y ...".
  static Texts Polygons(const RecordingMapSink& sink) {
    Texts out;
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
  for (auto [text, value] : {std::pair{"-015.5", -15.5}, {"3-5", -35.0}, {"139.7512", 139.7512}, {"+1", -49.0}}) {
    EXPECT_DOUBLE_EQ(ParseDecimal(text), value) << text;  // "+" counts as a digit worth -5
  }
  EXPECT_EQ(ParseDecimal(std::string(999, '1')), HUGE_VAL);
  EXPECT_EQ(ParseDecimal(std::string(1000, '1')), 0.0);
}

TEST_F(MapFiles, PolylinesOfDatAndOutFiles) {
  const std::string first = "10\t50." + std::string(121, '0'), second = "20\t55." + std::string(67, '0');
  const struct {
    const char *name, *text;
    Texts segments;
  } cases[] = {
      {"marker.dat", "# -b\n10\t50\n20\t50\n30\t55\n# -b\n40\t55\n50\t55\n", {"50,10>50,20", "50,20>55,30", "55,40>55,50"}},
      // The step across the date line raises -170 to 190, and the next
      // segment starts from there.
      {"dateline.dat", "170\t0\n-170\t0\n-160\t0\n", {"0,170>0,190", "0,190>0,200"}},
      // A line without TAB adds nothing and breaks nothing; the last line
      // needs no line feed.
      {"lf.dat", "# -b\n10\t50\n1550\n20\t50\n30\t50", {"50,10>50,20", "50,20>50,30"}},
      {"crlf.dat", "# -b\r\n10\t50\r\n1550\r\n20\t50\r\n30\t50", {"50,10>50,20", "50,20>50,30"}},
      // 200 characters arrive as a piece of 127 and one of 73, each a line.
      {"long.dat", nullptr, {"50,10>55,20"}},
      {"upper.DAT", "10\t50\n20\t50\n", {}},
      // Latitude first; "-1" starts a polyline.
      {"a.out", "$TYPE=COAST\n10+20\n-12.5+130.0\n12.5+-130.0\n15+-120\n-015.5+-120\n",
       {"12.5,-130>15,-120", "15,-120>-15.5,-120"}},
  };
  for (const auto& c : cases) {
    const RecordingMapSink sink = Draw(c.name, c.text ? c.text : first + second + "\n");
    EXPECT_EQ(Segments(sink), c.segments) << c.name;
    for (const auto& s : sink.segments) EXPECT_EQ(s.pen.colour, kCoast) << c.name;
  }
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
  EXPECT_EQ(Polygons(sink), (Texts{"L 2-6 1/3: 190,40 200,40 200,50", "- 6-10 1/3: 210,40 220,40 220,50",
                                   "S 10-14 2/3: 192,42 194,42 194,44"}));
  // The "LINE" section in the third pass; the "F" polygon has no "TERM".
  EXPECT_EQ(Segments(sink), (Texts{"0,10>0,20", "0,20>0,30"}));
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
  const Texts polygons = Polygons(sink);
  ASSERT_EQ(polygons.size(), 5u);
  EXPECT_EQ(polygons[0], "L 1-5 1/3: -19,90 21,50 21,90");
  EXPECT_EQ(polygons[1], "L 5-10 1/3: -100,80 -79,80 -79,90 -100,90");
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

// Whether the edge a-b crosses the ray east of (x, y): the even-odd rule.
bool Crosses(double ax, double ay, double bx, double by, double x, double y) {
  return (ay > y) != (by > y) && x < (bx - ax) * (y - ay) / (by - ay) + ax;
}

// A ring of points along a parallel from one longitude to another, in
// steps of 30 degrees.
std::string Parallel(double lat, int from, int to) {
  std::string points;
  for (int lon = from;; lon += from < to ? 30 : -30) {
    points += std::to_string(lon) + "\t" + std::to_string(lat) + "\n";
    if (lon == to) return points;
  }
}

// Seen from above 0, 0: what is drawn at each probe position, the fill of
// the last polygon that holds its pixel, or the sea. Nothing is drawn
// beyond the rim.
TEST_F(MapFiles, OnTheGlobeEachRingShowsItsInsideOnTheNearSideHoweverItCrossesTheHorizon) {
  map.MapBitmap.Resize(1000, 1000);
  View(true, 0.0);
  settings.ViewDeg = 0.0;
  // A band 20 degrees wide from 60 W eastward round the back to 120 W:
  // it leaves the near side at 90 E and does not come back until its
  // other edge does, at 90 E again.
  const std::string band = "PLGN=L\n" + Parallel(10, -60, 240) + Parallel(-10, 240, -60);
  const std::string bandWest = "PLGN=L\n" + Parallel(-10, -60, 240) + Parallel(10, 240, -60);
  const std::string lakeAtTheHorizon = "PLGN=S\n80\t5\n120\t5\n120\t-5\n80\t-5\n";
  // Round the pole, without closing along it.
  const std::string arctic = "PLGN=L\n" + Parallel(60, -180, 150), arcticWest = "PLGN=L\n" + Parallel(60, 150, -180);
  using Places = std::vector<std::pair<double, double>>;
  const Places bandLand{{0, 0}, {0, 85}, {5, -50}}, bandSea{{45, 0}, {-45, 0}, {0, -80}};
  const Places poleLand{{75, 0}, {62, 80}}, poleSea{{45, 0}, {0, 0}, {-75, 0}};
  const struct {
    const char* what;
    std::string file;
    Places land, sea;
  } cases[] = {
      {"far side and the left-out F", "PLGN=L\n170\t10\n-170\t10\n-170\t-10\n170\t-10\nPLGN=F\n0\t10\n10\t10\n10\t0\n",
       {}, {{0, 0}, {5, 5}}},
      {"band", band, bandLand, bandSea},
      {"band the other way round", bandWest, bandLand, bandSea},
      {"lake", band + lakeAtTheHorizon, {{0, 70}, {8, 85}}, {{0, 85}, {45, 0}}},
      {"round the pole", arctic, poleLand, poleSea},
      {"round the pole westward", arcticWest, poleLand, poleSea},
  };
  const double cx = map.GlobeLeft + map.GlobeRadius, cy = map.GlobeTop + map.GlobeRadius;
  for (const auto& c : cases) {
    const RecordingMapSink sink = Draw("globe.map", c.file + "TERM\n");
    auto fillAt = [&](double lat, double lon) {
      PixelPoint p;
      EXPECT_TRUE(ProjectLatLon(map, settings, map.MapBitmap, lat, lon, p)) << c.what;
      TColor fill = kSea;
      for (const MapPolygon& polygon : sink.polygons) {
        bool inside = false;
        const auto& q = polygon.points;
        for (size_t i = 0, j = q.size() - 1; i < q.size(); j = i++) {
          inside ^= Crosses(q[i].x, q[i].y, q[j].x, q[j].y, p.x + 0.5, p.y + 0.5);
        }
        if (inside) fill = polygon.fill;
      }
      return fill;
    };
    for (const auto& [lat, lon] : c.land) EXPECT_EQ(fillAt(lat, lon), kCoast) << c.what << " " << lat << "," << lon;
    for (const auto& [lat, lon] : c.sea) EXPECT_EQ(fillAt(lat, lon), kSea) << c.what << " " << lat << "," << lon;
    for (const MapPolygon& polygon : sink.polygons) {
      for (const PixelPoint& p : polygon.points) {
        EXPECT_LE(std::hypot(p.x - cx, p.y - cy), map.GlobeRadius + 1.5) << c.what;
      }
    }
  }
}

// The polygons of a file the build makes, as (lon, lat).
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

// The types of the rings that hold a point, in their order. The edges are
// kept by one-degree band of latitude, so a look-up reads only those its
// parallel may cross.
class RingLookup {
 public:
  explicit RingLookup(const std::vector<Ring>& rings) : rings_(rings) {
    for (size_t r = 0; r < rings.size(); ++r) {
      const auto& p = rings[r].points;
      for (size_t i = 1; i < p.size(); ++i) {
        const auto [low, high] = std::minmax(p[i - 1].second, p[i].second);
        for (int band = Band(low); band <= Band(high); ++band) bands_[band].push_back({r, i});
      }
    }
  }

  std::string Holding(double lat, double lon) const {
    std::map<size_t, bool> inside;
    for (const auto& [r, i] : bands_[Band(lat)]) {
      const auto& a = rings_[r].points[i - 1];
      const auto& b = rings_[r].points[i];
      if (Crosses(a.first, a.second, b.first, b.second, lon, lat)) inside[r] = !inside[r];
    }
    std::string types;
    for (const auto& [r, in] : inside) types += in ? std::string(1, rings_[r].type) : "";
    return types;
  }
  // Inside more land rings than sea rings.
  bool Land(double lat, double lon) const {
    const std::string types = Holding(lat, lon);
    return std::count(types.begin(), types.end(), 'L') > std::count(types.begin(), types.end(), 'S');
  }

 private:
  static int Band(double lat) { return std::clamp(static_cast<int>(std::floor(lat + 90)), 0, 179); }
  const std::vector<Ring>& rings_;
  std::vector<std::pair<size_t, size_t>> bands_[180];
};

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
    RingLookup lookup(rings);
    EXPECT_EQ(lookup.Holding(45, 100), "L") << name;   // Mongolia
    EXPECT_EQ(lookup.Holding(-25, 135), "L") << name;  // Australia
    EXPECT_EQ(lookup.Holding(30, 160), "") << name;    // the Pacific
    EXPECT_EQ(lookup.Holding(42, 51), "LS") << name;   // the Caspian Sea
  }
}

// Latitude and longitude of the globe's point (X east, Y down) of the
// unit disc seen from above lat, lon: the view turned back.
std::pair<double, double> DiscPointOnEarth(double X, double Y, double lat, double lon) {
  const double Z = std::sqrt(1 - X * X - Y * Y);
  const double cosV = std::cos(lat * M_PI / 180), sinV = std::sin(lat * M_PI / 180);
  const double cosL = std::cos(lon * M_PI / 180), sinL = std::sin(lon * M_PI / 180);
  const double south = cosV * Y - sinV * Z, front = sinV * Y + cosV * Z;
  // Components toward 90 E and toward 0, 0 of the equator's plane.
  const double east = cosL * X + sinL * front, meridian = -sinL * X + cosL * front;
  return {std::asin(-south) * 180 / M_PI, std::atan2(east, meridian) * 180 / M_PI};
}

// The drawn globe against the rings, from every 30 degrees of longitude at
// 60 S to 60 N, unzoomed and at x4: each sample pixel of the disc is taken
// back to latitude and longitude and must show land where the rings put
// land, sea elsewhere. The pen's own pixels, on the coasts, are left out;
// the fill beside a coast may differ by a pixel.
TEST(WorldMapData, TheGlobeShowsLandAndSeaWhereTheRingsPutThemFromEveryCentre) {
  constexpr TColor kSeaColour = 0x200000, kLandColour = 0x004000, kCoastPen = 0x008000;
  ColorSettings colours;
  colours.MapBackColor = kSeaColour;
  colours.MapCoastColor = kLandColour;
  colours.BoundariesColor = kCoastPen;
  MapControls controls;
  controls.SpeedButton2Down = 1;
  MapSettings settings;
  settings.GridType = 0;
  testing_support::RecordingMapLinks links;
  MapState map;
  map.MapBitmap.Resize(786, 470);
  for (const char* name : {"world.map", "world_coarse.map"}) {
    map.MapFileName = SKARVEL_PROGRAM_DIR "/lines/" + std::string(name);
    int pointsBeforeFirst = 0;
    const std::vector<Ring> rings = ReadRings(map.MapFileName, pointsBeforeFirst);
    RingLookup lookup(rings);
    for (int step : {0, 8}) {
      controls.ComboBox1Index = step;
      for (int lat = -60; lat <= 60; lat += 30) {
        for (int lon = -180; lon < 180; lon += 30) {
          settings.ViewDeg = -lat;
          settings.MapCentE = lon;
          UpdateMapGeometry(map, settings, controls);
          {
            Canvas canvas(map.MapBitmap);
            CanvasMapSink sink(canvas, map, settings);
            DrawMapBackground(map, {settings, colours, controls, links, links}, sink);
          }
          // Pixel centres inside the disc and clear of its rim.
          const double R = map.GlobeRadius, Rz = R * map.MapZoom;
          int samples = 0, wrong = 0;
          for (int y = 0; y < map.MapBitmap.Height(); y += 8) {
            for (int x = 0; x < map.MapBitmap.Width(); x += 8) {
              const double X = (x + 0.5 - map.GlobeLeft - R) / Rz, Y = (y + 0.5 - map.GlobeTop - R) / Rz;
              const TColor drawn = map.MapBitmap.Pixel(x, y);
              if (X * X + Y * Y > 0.97 * 0.97 || drawn == kCoastPen) continue;
              const auto [pointLat, pointLon] = DiscPointOnEarth(X, Y, lat, lon);
              ++samples;
              wrong += drawn != (lookup.Land(pointLat, pointLon) ? kLandColour : kSeaColour);
            }
          }
          ASSERT_GE(samples, 1000);
          EXPECT_LE(100.0 * wrong / samples, 3.0) << name << " x" << map.MapZoom << " seen from " << lat << "," << lon;
        }
      }
    }
  }
}

}  // namespace
