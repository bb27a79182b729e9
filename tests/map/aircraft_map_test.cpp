// The aircraft views on the state alone: colours, geometry, box texts, the
// visible set, boxes, photographs, paging and the altitude scale. Known
// answers from the formulas; the pictures are in the goldens.
#include <gtest/gtest.h>

#include <functional>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "aircraft_scene.h"
#include "app/map_wiring.h"
#include "map/aircraft_drawing.h"
#include "map/aircraft_layer.h"
#include "map/aircraft_texts.h"
#include "map/altitude_view.h"
#include "map/map_mouse.h"
#include "map/side_list.h"
#include "platform/file_io.h"

namespace {

// The first n vertices, "x,y" each.
std::string Vertices(const std::vector<PixelPoint>& points, size_t n) {
  std::string text;
  for (size_t i = 0; i < n && i < points.size(); ++i)
    text += std::to_string(points[i].x) + "," + std::to_string(points[i].y) + " ";
  return text;
}

TEST(PlotColors, FadingByAgeClassGroupsAndTheAircraftHeardLast) {
  for (auto [ageClass, faded] :
       {std::pair{1, 0xFFFF00u}, {2, 0xCCCC00u}, {3, 0xAAAA00u}, {5, 0x7F7F00u}, {39, 0x181800u}}) {
    EXPECT_EQ(FadeColorByAge(1, ageClass, 0xFFFF00), faded) << ageClass;
  }
  EXPECT_EQ(FadeColorByAge(0, 39, 0xFFFF00), 0xFFFF00u);
  Form1State f;
  f.Map.TimeAdjust = 0;
  ColorSettings& c = f.Color;
  AircraftRecord r;
  r.Points.resize(3);
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  auto colours = [&](int group) {
    std::vector<TColor> out;
    for (int kind : {kShadowColor, kHeadColor, kPlotColor}) out.push_back(*PlotColor(f.Map, c, r, group, kind, -1));
    return out;
  };
  EXPECT_EQ(colours(OperatorGroup(c, r)), (std::vector<TColor>{c.PlotBackColor, c.PlotOnColor, c.PlotOffColor}));
  r.Age = 0;  // heard last
  EXPECT_EQ(colours(-1)[1], c.PlotMarkUpColor);
  EXPECT_FALSE(PlotColor(f.Map, c, r, -1, 3, -1));
  for (int j = 0; j < 4; ++j) c.UserColor[j][3] = 0x100 * (j + 1);
  c.UserText[3] = "JL";
  ASSERT_EQ(OperatorGroup(c, r), 3);
  EXPECT_EQ(colours(3), (std::vector<TColor>{0x400, 0x300, 0x200}));
  // A one-character code never matches; "--" only a flight id beginning so.
  c.UserText[3] = "J";
  EXPECT_EQ(OperatorGroup(c, r), -1);
  std::snprintf(r.FlightId, sizeof r.FlightId, "--0012");
  EXPECT_EQ(OperatorGroup(c, r), 0);
}

TEST(AircraftGeometry, PolygonAndSideViewVertices) {
  EXPECT_EQ(Vertices(AircraftPolygon(0, 1.2, 100, 100), 12),
            "91,101 92,101 92,100 95,100 94,99 97,99 97,98 99,98 99,92 100,91 101,92 101,98 ");
  EXPECT_EQ(Vertices(AircraftPolygon(90, 1.2, 100, 100), 12),
            "99,91 99,92 100,92 100,95 101,94 101,97 102,97 102,99 108,99 109,100 108,101 102,101 ");
  EXPECT_EQ(Vertices(ProfileIconPolygon(90, 1.0, 50, 60), 6), "58,60 57,59 45,59 42,56 42,61 58,61 ");
  EXPECT_EQ(Vertices(ProfileIconPolygon(270, 1.0, 50, 60), 6), "42,60 43,59 55,59 58,56 58,61 42,61 ");
}

TEST(AircraftGeometry, TheShadowPassTurnsWithTheAircraftsOwnPixel) {
  AircraftScene s;
  const AircraftRecord& r = s.Add("JL0012", {{200, 100, 0}});
  const MapAircraftPixels pixels = ProjectMapAircraft(s.f.mapView, s.Context(), r);
  EXPECT_EQ(pixels.screenHeading, 0);
  // The pixel of a pass at (+1, +1) would have turned it.
  const TrackPoint& p = r.Points[0];
  EXPECT_NE(ScreenHeading(s.f.mapView, s.f.Map, 0, p.Lat, p.Lon, pixels.head.x + 1, pixels.head.y + 1), 0);
}

TEST(AircraftGeometry, TagTexts) {
  for (auto [altitude, text] :
       {std::pair{9999, "9999ft"}, {10000, "FL100"}, {35499, "FL350"}, {35500, "FL360"}, {80000, ""}}) {
    EXPECT_EQ(FlightLevelText(altitude), text);
  }
  const TagLayout above = MapTagLayout(3, SymbolSizeOf(1), 0, 0), level = MapTagLayout(0, SymbolSizeOf(1), 0, 0);
  EXPECT_EQ(above.text.y, above.leaderTo.y - 4);
  EXPECT_EQ(level.text.y, level.leaderTo.y);
}

TEST(BoxTexts, ValuesAndTheirMarkersOfNoValue) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ(Texts({LatLonText(35.6789), LatLonText(-122.5), LatLonText(139.7), LatLonText(0.5), LatLonText(-0.25)}),
            Texts({"+35.678", "-122.50", "+139.70", "+0.5000", "-0.2500"}));
  EXPECT_EQ(Texts({BoxAltitudeText(350), BoxAltitudeText(80001), BoxTemperatureText(-5), BoxTemperatureText(0),
                   BoxTemperatureText(100), WindText(5, 7), WindText(361, 7), HeadingText(-90)}),
            Texts({"  350ft", "N/A", " -5degC", " +0degC", "N/A", "  5/  7", "N/A", "270deg"}));
  EXPECT_EQ(CutBoxText(std::string(26, 'R')), std::string(22, 'R') + "...");
  EXPECT_EQ(CutBoxText(std::string(25, 'R')), std::string(25, 'R'));
}

TEST(AircraftLayer, SelectingShowsTheSelectedAloneUntilOneShotFlagsOrNone) {
  MapState m;
  std::vector<flag> visible(200, 1);
  UpdateVisibleSet(m, false, 3, visible);
  EXPECT_EQ(std::count(visible.begin(), visible.end(), 1) + visible[3], 2);
  visible[5] = 1;
  m.KeepViewOnce = m.KeepSelectionOnce = 1;
  for (int keep = 0; keep < 2; ++keep) UpdateVisibleSet(m, false, 7, visible);
  EXPECT_EQ(visible[5], 1);  // kept twice, once by each flag
  EXPECT_EQ(m.KeepViewOnce + m.KeepSelectionOnce, 0);
  UpdateVisibleSet(m, false, -1, visible);
  EXPECT_EQ(std::count(visible.begin(), visible.end(), 1), 200);
}

// Each stored position, by either road, moves the aircraft shown alone on
// to the newest.
using AircraftLayerRoad = ParserTest;
TEST_F(AircraftLayerRoad, FollowingTheNewestMovesTheSingleAircraftWithEachPositionOfEitherRoad) {
  f.controls.SpeedButton8Down = 1;
  f.mapView.AircraftSelected = 1;
  ResizeMapBitmaps(f.mapView, f.Map, f.controls, {204, 200}, {480, 240}, {480, 202});
  PositionReport hfdl;
  hfdl.FlightId = "UA0837";
  hfdl.Registration = "N12345";
  hfdl.ReportId = "XXXX";
  hfdl.Time = "1300";
  hfdl.Position.Lat = 36.0;
  hfdl.Position.Lon = 141.0;
  const std::vector<std::pair<std::function<void()>, std::vector<flag>>> steps = {
      {[&] { Receive(Down(kJ1Report, "M01A")); }, {1, 0, 0}},
      {[&] { Receive(Down(kJ1Report, "M01A", true, "JL0034", "JA8090")); }, {0, 1, 0}},
      {[&] { Receive(Down(J3Report(), "M02A")); }, {1, 0, 0}},
      // An ACARS position once left the next redraw keeping the view.
      {[&] { rig.road().Deliver(hfdl); }, {0, 0, 1}},
      {[&] { Receive(Down(J3Report(), "M03A", true, "JL0034", "JA8090")); }, {0, 1, 0}},
  };
  for (size_t k = 0; k < steps.size(); ++k) {
    steps[k].first();
    rig.wiring().RunRequestedRedraws();
    const std::vector<AircraftRecord>& r = f.aircraft.Aircraft.Records;
    EXPECT_EQ((std::vector<flag>{r[0].Visible, r[1].Visible, r[2].Visible}), steps[k].second) << k;
    EXPECT_EQ(f.mapView.FromAcars, 0);
  }
}

TEST(AircraftLayer, BoxesByModifierTracksAndFilter) {
  MapState m;
  MapControls c;
  m.ClickedTrackPoint = 2;
  m.MapViewOptions = kShiftOption;
  EXPECT_EQ(ChooseBoxes(m, c, 0, true, true, 3).size(), 3u);  // points 0, 1, 2
  m.MapViewOptions = kAltOption;
  EXPECT_EQ(ChooseBoxes(m, c, 0, true, true, 3).at(0).point, 2);
  m.MapViewOptions = 0;
  EXPECT_EQ(ChooseBoxes(m, c, 0, true, true, 3).at(0).kind, BoxKind::Aircraft);
  EXPECT_TRUE(ChooseBoxes(m, c, 0, false, true, 3).empty());  // another company
  c.SpeedButton8Down = 1;
  EXPECT_TRUE(ChooseBoxes(m, c, 0, true, true, 3).empty());
}

TEST(AircraftLayer, PhotographsScaledAsTheyAreReadAndTheirFallbacks) {
  testing_support::TempDir dir;
  Form1State f;
  f.aircraft.Files = AircraftFilesIn(dir.path());
  MapWiring link(f, FormEffects::Null());
  platform::EnsureFolder(dir.File("pics"));
  platform::JpegScaling box;
  box.size = BoxPhotoSize;
  auto widthOf = [&](const std::string& registration) {
    for (const std::string& path : {link.PhotoPath(registration), link.NoImagePath()}) {
      if (auto photo = platform::LoadJpegScaled(path, box)) return photo->picture.Width();
    }
    return 0;
  };
  testing_support::WriteJpeg(link.PhotoPath("JA8089"), 640, 480, 0x336699);
  EXPECT_EQ(widthOf("JA8089"), 113);
  EXPECT_EQ(std::vector<int>({platform::NearestSourceIndex(1, 640, 113), platform::NearestSourceIndex(112, 640, 113),
                              platform::NearestSourceIndex(84, 480, 85)}),
            std::vector<int>({5, 634, 474}));
  EXPECT_EQ(widthOf("JA0000"), 0);  // no photograph, no noimage.jpg: no picture
  testing_support::WriteJpeg(link.NoImagePath(), 200, 133, 0x808080);
  // Cut short; 0 rows high (offset 5 of the SOF0 segment); not a picture.
  std::string bytes = testing_support::ReadFile(link.PhotoPath("JA8089"));
  testing_support::WriteFile(dir.File("pics/CUT.jpg"), bytes.substr(0, bytes.size() / 2));
  bytes[bytes.find("\xFF\xC0") + 5] = bytes[bytes.find("\xFF\xC0") + 6] = 0;
  testing_support::WriteFile(dir.File("pics/FLAT.jpg"), bytes);
  testing_support::WriteFile(dir.File("pics/BAD.jpg"), "not a picture");
  testing_support::WriteJpeg(dir.File("pics/WIDE.jpg"), 20000, 10, 0);
  for (const char* missing : {"JA0000", "CUT", "FLAT", "BAD", "WIDE"}) EXPECT_EQ(widthOf(missing), 127) << missing;
  testing_support::WriteJpeg(dir.File("pics/.._x.jpg"), 85, 85, 0);
  EXPECT_EQ(widthOf("../x"), 85);
  testing_support::WriteJpeg(dir.File("pics/LONG.jpg"), 16000, 10, 0);
  box.lastColumn = 989;  // only what the map can show is made
  EXPECT_EQ(widthOf("LONG"), 990);
}

TEST(SideList, PagingAndAListTooShortForARow) {
  const int height = 32 + 30 * 15;  // 30 rows
  SideListPage p = PageSideList(height, 1, 30);
  EXPECT_EQ(p.footer + (p.forwardArrow ? " >" : ""), "1/1    30 aircraft displayed");
  p = PageSideList(height, 1, 31);
  EXPECT_EQ(p.footer + (p.forwardArrow ? " >" : ""), "1/2    31 aircraft displayed >");
  p = PageSideList(height, 3, 31);
  EXPECT_EQ(std::pair(p.page, p.last), std::pair(1, 30));
  AircraftScene s(480, 240, 40);
  s.Add("JL0012", {{10, 10}});
  const QImage before = s.f.mapView.SideListBitmap.Image();
  s.Draw({MapLayer::SideList});  // unticked
  EXPECT_TRUE(s.f.mapView.SideListBitmap.Image() == before);
  EXPECT_EQ(s.links.sideListShown, 0);
  s.f.controls.N11Checked = 1;
  s.f.mapView.ListPage = 3;
  s.Draw({MapLayer::SideList});
  EXPECT_EQ(std::pair(s.f.mapView.ListPage, s.f.mapView.ListFirstIndex), std::pair(1, 0));
  EXPECT_EQ(PageSideList(40, 2, 1).footer, "1/1     1 aircraft displayed");
  // No arrows and no rows to click.
  const MapMouseContext mouse{s.f.mapView, s.f.Map, s.f.controls, s.links, s.links};
  for (int x : {10, 190}) Image1MouseUp(mouse, {MouseButton::Left, 0, x, 10});
  Image1MouseUp(mouse, {MouseButton::Left, 0, 10, 25});
  EXPECT_EQ(s.f.mapView.AircraftSelected, 0);
  EXPECT_TRUE(TakeRedrawRequests(s.f.mapView).Empty());
}

TEST(AltitudeView, HeightsAndWhatIsLeftOut) {
  EXPECT_EQ(std::vector<int>({AltitudeViewY(35000), AltitudeViewY(0), AltitudeViewY(50000)}),
            std::vector<int>({60, 200, 0}));
  AircraftScene s;
  s.f.controls.ComboBox1Index = 4;
  ApplyScaleRule(s.f.mapView, 4);
  UpdateMapGeometry(s.f.mapView, s.f.Map, s.f.controls);
  // 80000 ft, below the map, and shown.
  for (auto [y, altitude, shown] : {std::tuple{100, 80000, false}, {300, 35000, false}, {100, 35000, true}}) {
    const ProfilePixels p = ProjectProfileAircraft(s.f.mapView, s.Context(), s.Add("JL0001", {{100, y, 90, altitude}}));
    EXPECT_EQ(p.headShown, shown) << y << " " << altitude;
  }
  const QImage before = s.f.mapView.AltitudeBitmap.Image();
  s.Draw({MapLayer::Altitude});
  EXPECT_TRUE(s.f.mapView.AltitudeBitmap.Image() == before);
  EXPECT_EQ(s.links.altitudeShown, 0);
}

}  // namespace
