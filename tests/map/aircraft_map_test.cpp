// The aircraft on the map, the side list and the altitude view on the
// state alone: colours, geometry, box texts, the visible set, the boxes,
// the photographs, the paging and the altitude scale. Known answers from
// the formulas; pictures are in the goldens.
#include <gtest/gtest.h>

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
#include "platform/jpeg_loader.h"

namespace {

using P = std::vector<PixelPoint>;

bool Same(const P& a, const P& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
  }
  return true;
}

TEST(PlotColors, FadingByAgeClass) {
  const TColor c = 0xFFFF00;
  EXPECT_EQ(FadeColorByAge(1, 1, c), 0xFFFF00u);
  EXPECT_EQ(FadeColorByAge(1, 2, c), 0xCCCC00u);
  EXPECT_EQ(FadeColorByAge(1, 3, c), 0xAAAA00u);
  EXPECT_EQ(FadeColorByAge(1, 5, c), 0x7F7F00u);
  EXPECT_EQ(FadeColorByAge(1, 39, c), 0x181800u);
  EXPECT_EQ(FadeColorByAge(0, 39, c), c);
}

TEST(PlotColors, HeardLastGetsTheHighlightAndAGroupItsOwnColours) {
  Form1State f;
  f.Map.TimeAdjust = 0;
  const ColorSettings& c = f.Color;
  AircraftRecord r;
  r.Points.resize(3);
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  EXPECT_EQ(OperatorGroup(c, r), -1);
  EXPECT_EQ(*PlotColor(f.Map, c, r, -1, kHeadColor, -1), c.PlotOnColor);
  r.Age = 0;
  EXPECT_EQ(*PlotColor(f.Map, c, r, -1, kHeadColor, -1), c.PlotMarkUpColor);
  EXPECT_EQ(*PlotColor(f.Map, c, r, -1, kShadowColor, 0), c.PlotBackColor);
  EXPECT_EQ(*PlotColor(f.Map, c, r, -1, kPlotColor, 1), c.PlotOffColor);
  EXPECT_FALSE(PlotColor(f.Map, c, r, -1, 3, -1));

  for (int j = 0; j < 4; ++j) f.Color.UserColor[j][3] = 0x100 * (j + 1);
  f.Color.UserText[3] = "JL";
  ASSERT_EQ(OperatorGroup(c, r), 3);
  EXPECT_EQ(*PlotColor(f.Map, c, r, 3, kHeadColor, -1), 0x300u);  // highlight
  r.Age = 1;
  EXPECT_EQ(*PlotColor(f.Map, c, r, 3, kHeadColor, -1), 0x100u);
  EXPECT_EQ(*PlotColor(f.Map, c, r, 3, kPlotColor, -1), 0x200u);
  EXPECT_EQ(*PlotColor(f.Map, c, r, 3, kShadowColor, -1), 0x400u);
  // A one-character code never matches; "--" only a flight id beginning so.
  f.Color.UserText[3] = "J";
  EXPECT_EQ(OperatorGroup(c, r), -1);
  std::snprintf(r.FlightId, sizeof r.FlightId, "--0012");
  EXPECT_EQ(OperatorGroup(c, r), 0);
}

TEST(AircraftGeometry, PolygonAndSideViewVertices) {
  const P north = {{91, 101}, {92, 101}, {92, 100}, {95, 100}, {94, 99},  {97, 99},
                   {97, 98},  {99, 98},  {99, 92},  {100, 91}, {101, 92}, {101, 98}};
  const P east = {{99, 91},  {99, 92},  {100, 92}, {100, 95}, {101, 94}, {101, 97},
                  {102, 97}, {102, 99}, {108, 99}, {109, 100}, {108, 101}, {102, 101}};
  const P at0 = AircraftPolygon(0, 1.2, 100, 100), at90 = AircraftPolygon(90, 1.2, 100, 100);
  ASSERT_EQ(at0.size(), 41u);
  EXPECT_TRUE(Same(P(at0.begin(), at0.begin() + 12), north));
  EXPECT_TRUE(Same(P(at90.begin(), at90.begin() + 12), east));
  EXPECT_TRUE(Same(ProfileIconPolygon(90, 1.0, 50, 60), {{58, 60}, {57, 59}, {45, 59}, {42, 56}, {42, 61}, {58, 61}}));
  EXPECT_TRUE(Same(ProfileIconPolygon(270, 1.0, 50, 60), {{42, 60}, {43, 59}, {55, 59}, {58, 56}, {58, 61}, {42, 61}}));
}

TEST(AircraftGeometry, TheShadowPassTurnsWithTheAircraftsOwnPixel) {
  AircraftScene s(990, 702);
  s.f.controls.SpeedButton2Down = 1;  // the globe, seen from above Tokyo
  s.f.Map.MapCentE = 139.78;
  s.f.Map.ViewDeg = -35.55;
  UpdateMapGeometry(s.f.mapView, s.f.Map, s.f.controls);
  AircraftRecord& r = s.Add("JL0012", {{0, 0, 0}});
  r.Points[0].Lat = 35.55;
  r.Points[0].Lon = 139.78;
  const MapAircraftPixels pixels = ProjectMapAircraft(s.f.mapView, s.Context(), r);
  EXPECT_EQ(pixels.screenHeading, 0);
  // The pixel of the pass would have turned it.
  EXPECT_NE(ScreenHeading(s.f.mapView, s.f.Map, 0, 35.55, 139.78, pixels.head.x + 1, pixels.head.y + 1), 0);
}

TEST(AircraftGeometry, TagTexts) {
  EXPECT_EQ(FlightLevelText(9999), "9999ft");
  EXPECT_EQ(FlightLevelText(10000), "FL100");
  EXPECT_EQ(FlightLevelText(35499), "FL350");
  EXPECT_EQ(FlightLevelText(35500), "FL360");
  EXPECT_EQ(FlightLevelText(80000), "");
  const SymbolSizeRow& size = SymbolSizeOf(1);
  const TagLayout above = MapTagLayout(3, size, 0, 0), level = MapTagLayout(0, size, 0, 0);
  EXPECT_EQ(above.text.y, above.leaderTo.y - 4);
  EXPECT_EQ(level.text.y, level.leaderTo.y);
  EXPECT_EQ(TagTrendMark(1, 0, 0).size(), 0u);
  EXPECT_EQ(TagTrendMark(4, 0, 0).size(), 3u);
}

TEST(BoxTexts, ValuesAndTheirMarkersOfNoValue) {
  EXPECT_EQ(LatLonText(35.6789), "+35.678");
  EXPECT_EQ(LatLonText(-122.5), "-122.50");
  EXPECT_EQ(LatLonText(139.7), "+139.70");
  EXPECT_EQ(LatLonText(0.5), "+0.5000");
  EXPECT_EQ(LatLonText(-0.25), "-0.2500");
  EXPECT_EQ(BoxAltitudeText(350), "  350ft");
  EXPECT_EQ(BoxAltitudeText(80001), "N/A");
  EXPECT_EQ(BoxTemperatureText(-5), " -5degC");
  EXPECT_EQ(BoxTemperatureText(0), " +0degC");
  EXPECT_EQ(BoxTemperatureText(100), "N/A");
  EXPECT_EQ(WindText(5, 7), "  5/  7");
  EXPECT_EQ(WindText(361, 7), "N/A");
  EXPECT_EQ(HeadingText(-90), "270deg");
  EXPECT_EQ(CutBoxText(std::string(26, 'R')), std::string(22, 'R') + "...");
  EXPECT_EQ(CutBoxText(std::string(25, 'R')), std::string(25, 'R'));
}

TEST(AircraftLayer, SelectingShowsTheSelectedAloneUntilOneShotFlagsOrNone) {
  MapState m;
  std::vector<flag> visible(200, 1);
  UpdateVisibleSet(m, false, 3, visible);
  EXPECT_EQ(std::count(visible.begin(), visible.end(), 1), 1);
  EXPECT_EQ(visible[3], 1);
  visible[5] = 1;
  m.KeepViewOnce = m.KeepSelectionOnce = 1;
  for (int keep = 0; keep < 2; ++keep) UpdateVisibleSet(m, false, 7, visible);
  EXPECT_EQ(visible[5], 1);  // kept twice, once by each flag
  EXPECT_EQ(m.KeepViewOnce + m.KeepSelectionOnce, 0);
  UpdateVisibleSet(m, false, -1, visible);
  EXPECT_EQ(std::count(visible.begin(), visible.end(), 1), 200);
}

// Each block with an ACARS position moves the aircraft shown alone to the
// newest; the one it leaves gets its earlier flag back.
using AircraftLayerRoad = ParserTest;
TEST_F(AircraftLayerRoad, FollowingTheNewestMovesTheSingleAircraftWithEachAcarsPosition) {
  f.controls.SpeedButton8Down = 1;
  f.mapView.AircraftSelected = 1;
  ResizeMapBitmaps(f.mapView, f.Map, f.controls, {204, 200}, {480, 240}, {480, 202});
  const std::vector<acars_tx::Message> blocks = {Down(kJ1Report, "M01A"), Down(kJ1Report, "M01A", true, "JL0034", "JA8090"),
                                                 Down(J3Report(), "M02A")};
  const std::vector<std::vector<flag>> shown = {{1, 0}, {0, 1}, {1, 0}};
  for (size_t b = 0; b < blocks.size(); ++b) {
    Receive(blocks[b]);
    rig.wiring().RunRequestedRedraws();
    const std::vector<AircraftRecord>& r = f.aircraft.Aircraft.Records;
    EXPECT_EQ((std::vector<flag>{r[0].Visible, r[1].Visible}), shown[b]) << b;
    EXPECT_EQ(f.mapView.FromAcars, 0);
  }
}

TEST(AircraftLayer, BoxesByModifierTracksAndFilter) {
  MapState m;
  MapControls c;
  m.MapViewOptions = kShiftOption;
  EXPECT_EQ(ChooseBoxes(m, c, 0, true, true, 3).size(), 3u);  // points 0, 1, 2
  m.MapViewOptions = kAltOption;
  m.ClickedTrackPoint = 2;
  const std::vector<BoxAt> alt = ChooseBoxes(m, c, 0, true, true, 3);
  ASSERT_EQ(alt.size(), 1u);
  EXPECT_EQ(alt[0].point, 2);
  m.MapViewOptions = 0;
  EXPECT_EQ(ChooseBoxes(m, c, 0, true, true, 3)[0].kind, BoxKind::Aircraft);
  c.SpeedButton8Down = 1;
  EXPECT_TRUE(ChooseBoxes(m, c, 0, true, true, 3).empty());
  c.SpeedButton8Down = 0;
  EXPECT_TRUE(ChooseBoxes(m, c, 0, false, true, 3).empty());
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
  EXPECT_EQ(platform::NearestSourceIndex(1, 640, 113), 5);
  EXPECT_EQ(platform::NearestSourceIndex(112, 640, 113), 634);
  EXPECT_EQ(platform::NearestSourceIndex(84, 480, 85), 474);
  EXPECT_EQ(widthOf("JA0000"), 0);  // no photograph, no noimage.jpg: no picture
  testing_support::WriteJpeg(link.NoImagePath(), 200, 133, 0x808080);
  const std::string whole = testing_support::ReadFile(link.PhotoPath("JA8089"));
  std::string flat = whole;
  // The frame's height is at offset 5 of its SOF0 segment.
  flat[flat.find("\xFF\xC0") + 5] = flat[flat.find("\xFF\xC0") + 6] = 0;
  testing_support::WriteFile(dir.File("pics/CUT.jpg"), whole.substr(0, whole.size() / 2));
  testing_support::WriteFile(dir.File("pics/FLAT.jpg"), flat);
  testing_support::WriteFile(dir.File("pics/BAD.jpg"), "not a picture");
  for (const char* missing : {"JA0000", "CUT", "FLAT", "BAD"}) EXPECT_EQ(widthOf(missing), 127) << missing;
  testing_support::WriteJpeg(dir.File("pics/.._x.jpg"), 85, 85, 0);
  EXPECT_EQ(widthOf("../x"), 85);
  testing_support::WriteJpeg(dir.File("pics/WIDE.jpg"), 20000, 10, 0);
  testing_support::WriteJpeg(dir.File("pics/LONG.jpg"), 16000, 10, 0);
  EXPECT_EQ(widthOf("WIDE"), 127);
  box.lastColumn = 989;  // only what the map can show is made
  EXPECT_EQ(widthOf("LONG"), 990);
}

TEST(SideList, PagingArrowsAndFooter) {
  const int height = 32 + 30 * 15;  // 30 rows
  SideListPage p = PageSideList(height, 1, 30);
  EXPECT_EQ(p.footer, "1/1    30 aircraft displayed");
  EXPECT_FALSE(p.forwardArrow);
  p = PageSideList(height, 1, 31);
  EXPECT_EQ(p.footer, "1/2    31 aircraft displayed");
  EXPECT_TRUE(p.forwardArrow);
  p = PageSideList(height, 3, 31);
  EXPECT_EQ(p.page, 1);
  EXPECT_EQ(p.last, 30);
  p = PageSideList(40, 2, 5);
  EXPECT_EQ(p.rowsPerPage, 0);
  EXPECT_EQ(p.last - p.first, 0);
  EXPECT_EQ(p.footer, "1/1     5 aircraft displayed");
}

TEST(SideList, UntickedOrTooShortForARow) {
  AircraftScene s(480, 240, 40);
  s.Add("JL0012", {{10, 10}});
  const QImage before = s.f.mapView.SideListBitmap.Image();
  s.Draw({MapLayer::SideList});
  EXPECT_TRUE(s.f.mapView.SideListBitmap.Image() == before);
  EXPECT_EQ(s.links.sideListShown, 0);
  s.f.controls.N11Checked = 1;
  s.f.mapView.ListPage = 3;
  s.Draw({MapLayer::SideList});
  EXPECT_EQ(s.f.mapView.ListPage, 1);
  EXPECT_EQ(s.f.mapView.ListFirstIndex, 0);
  // No arrows and no rows to click.
  const MapMouseContext mouse{s.f.mapView, s.f.Map, s.f.controls, s.links, s.links};
  for (int x : {10, 190}) Image1MouseUp(mouse, {MouseButton::Left, 0, x, 10});
  Image1MouseUp(mouse, {MouseButton::Left, 0, 10, 25});
  EXPECT_EQ(s.f.mapView.ListPage, 1);
  EXPECT_EQ(s.f.mapView.AircraftSelected, 0);
  EXPECT_TRUE(TakeRedrawRequests(s.f.mapView).Empty());
}

TEST(AltitudeView, HeightsAndWhatIsLeftOut) {
  EXPECT_EQ(AltitudeViewY(35000), 60);
  EXPECT_EQ(AltitudeViewY(0), 200);
  EXPECT_EQ(AltitudeViewY(50000), 0);
  AircraftScene s;
  s.f.controls.ComboBox1Index = 4;
  ApplyScaleRule(s.f.mapView, 4);
  UpdateMapGeometry(s.f.mapView, s.f.Map, s.f.controls);
  const AircraftRecord& high = s.Add("JL0001", {{100, 100, 90, 80000}});
  const AircraftRecord& off = s.Add("JL0002", {{100, 300, 90, 35000}});  // below the map
  const AircraftRecord& shown = s.Add("JL0003", {{100, 100, 90, 35000}});
  EXPECT_FALSE(ProjectProfileAircraft(s.f.mapView, s.Context(), high).headShown);
  EXPECT_FALSE(ProjectProfileAircraft(s.f.mapView, s.Context(), off).headShown);
  const ProfilePixels pixels = ProjectProfileAircraft(s.f.mapView, s.Context(), shown);
  EXPECT_TRUE(pixels.headShown);
  EXPECT_EQ(pixels.head.y, 60);
  const QImage before = s.f.mapView.AltitudeBitmap.Image();
  s.Draw({MapLayer::Altitude});
  EXPECT_TRUE(s.f.mapView.AltitudeBitmap.Image() == before);
  EXPECT_EQ(s.links.altitudeShown, 0);
}

}  // namespace
