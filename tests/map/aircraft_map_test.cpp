// The aircraft views on the state alone: colours, texts, the visible set,
// boxes, photographs, paging and what the altitude view leaves out; and
// their pictures against the golden PNGs in tests/map/golden (rewritten
// as map_background_test.cpp says).
#include <gtest/gtest.h>

#include <functional>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "app/form1_state.h"
#include "app/map_wiring.h"
#include "map/aircraft_drawing.h"
#include "map/aircraft_layer.h"
#include "map/aircraft_texts.h"
#include "map/altitude_view.h"
#include "map/map_mouse.h"
#include "map/map_navigation.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "map/side_list.h"
#include "platform/file_io.h"
#include "support/golden_picture.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

struct ScenePoint {
  int x, y, heading = 900, altitude = 35000;
};

// A flat map of the world at its widest step, the sea alone, with aircraft
// placed by pixel in its table, drawn as the program draws them.
class AircraftScene {
 public:
  explicit AircraftScene(int width = 480, int height = 240, int listHeight = 200) {
    f.controls.SpeedButton2Down = 0;
    f.Map.MapCentE = 0.0;
    f.Map.GridType = 0;
    f.Map.TimeAdjust = 0;
    f.mapView.MapFileName = f.mapView.AirwayPath = f.mapView.NavPointsPath = dir.File("none");
    f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
    links.aircraft = &f.aircraft;
    links.picsFolder = dir.File("pics");
    ResizeMapBitmaps(f.mapView, f.Map, f.controls, {204, listHeight}, {width, height}, {width, 202});
    UpdateMapGeometry(f.mapView, f.Map, f.controls);
    TakeRedrawRequests(f.mapView);
  }

  // An aircraft whose track runs through these pixels, its head last.
  AircraftRecord& Add(const std::string& flight, const std::vector<ScenePoint>& points) {
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(f.aircraft.AircraftCount++)];
    std::snprintf(r.FlightId, sizeof r.FlightId, "%s", flight.c_str());
    std::snprintf(r.Registration, sizeof r.Registration, "JA%.4s", flight.c_str() + 2);
    std::snprintf(r.LastTime, sizeof r.LastTime, "12:34");
    r.FlightNo7Alt = r.FlightNo7 = r.FlightNo6 = r.FlightNo6Alt = flight;
    r.Route4 = r.Route3 = "RJTT>KSFO";
    r.AircraftType = "B767-300";
    r.AccessStation = "ACARS:TOKYO";
    r.AltTrend = 2;
    r.LastPoint = static_cast<int>(points.size()) - 1;
    for (size_t i = 0; i < points.size(); ++i) {
      const ScenePoint& p = points[i];
      const double lat = f.mapView.MapTopLat - (p.y + 0.5) / f.mapView.MapScaleY;
      const double lon = f.mapView.MapLeftLon + (p.x + 0.5) / f.mapView.MapScaleX;
      r.Points[i] = {lat, lon, p.heading, p.altitude, -45, 270, 120, platform::EncodeTime(12, 30 + int(i), 0), 0, 1};
    }
    return r;
  }

  MapContext Context() { return {f.Map, f.Color, f.controls, links, links}; }
  void Draw(MapLayers layers) { Redraw(f.mapView, Context(), layers); }
  QImage Map() { return f.mapView.MapViewBitmap.Image(); }

  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
};

// The plot colours of the default group and of the aircraft heard last
// are in the goldens.
TEST(PlotColors, FadingByAgeClassAndOperatorGroups) {
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
  r.Age = 0;  // heard last
  std::snprintf(r.FlightId, sizeof r.FlightId, "JL0012");
  for (int j = 0; j < 4; ++j) c.UserColor[j][3] = 0x100 * (j + 1);
  c.UserText[3] = "JL";
  ASSERT_EQ(OperatorGroup(c, r), 3);
  std::vector<TColor> colours;
  for (int kind : {kShadowColor, kHeadColor, kPlotColor}) colours.push_back(*PlotColor(f.Map, c, r, 3, kind, -1));
  EXPECT_EQ(colours, (std::vector<TColor>{0x400, 0x300, 0x200}));
  // A one-character code never matches; "--" only a flight id beginning so.
  c.UserText[3] = "J";
  EXPECT_EQ(OperatorGroup(c, r), -1);
  std::snprintf(r.FlightId, sizeof r.FlightId, "--0012");
  EXPECT_EQ(OperatorGroup(c, r), 0);
}

TEST(AircraftTexts, FlightLevelsAndBoxValuesWithTheirMarkersOfNoValue) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ(Texts({FlightLevelText(9999), FlightLevelText(10000), FlightLevelText(35499), FlightLevelText(35500),
                   FlightLevelText(80000)}),
            Texts({"9999ft", "FL100", "FL350", "FL360", ""}));
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

// A photograph scaled as it is read is in the boxes' golden; here what
// stands in for one that cannot be shown.
TEST(AircraftLayer, PhotographsThatCannotBeShownFallBackToNoImage) {
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

// The pages' footers are in the side list's golden.
TEST(SideList, APageBeyondTheLastAndAListTooShortForARow) {
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

// The forward arrow is there, and turns the page, only while aircraft lie
// beyond the page shown: never onto an empty page.
TEST(SideList, TheForwardArrowTurnsOnlyToAPageThatHoldsAircraft) {
  constexpr int kHeight = 62;  // two rows a page
  // Aircraft, and the last page the arrow reaches.
  for (const auto& [count, lastPage] : {std::pair{2, 1}, {3, 2}, {4, 2}, {5, 3}}) {
    AircraftScene s(480, 240, kHeight);
    for (int a = 0; a < count; ++a) s.Add("JL00" + std::to_string(10 + a), {{10, 10}});
    const MapMouseContext mouse{s.f.mapView, s.f.Map, s.f.controls, s.links, s.links};
    for (int click = 0; click < 3; ++click) Image1MouseUp(mouse, {MouseButton::Left, 0, 190, 10});
    EXPECT_EQ(s.f.mapView.ListPage, lastPage) << count;
    EXPECT_FALSE(PageSideList(kHeight, lastPage, count).forwardArrow) << count;
    if (lastPage > 1) {
      EXPECT_TRUE(PageSideList(kHeight, lastPage - 1, count).forwardArrow) << count;
    }
  }
}

TEST(AltitudeView, WhatIsLeftOutAndNothingDrawnWhileUnticked) {
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

TEST(MapAircraftGoldens, SymbolsAtEightHeadingsInThreeSizesRadarMarksAndNoHeading) {
  std::vector<QImage> parts;
  for (int size : {0, 1, 2, -1}) {
    AircraftScene s;
    s.f.Map.PlotType = 0;
    s.f.Map.HideText = 1;
    s.f.Map.SymbolSize = size < 0 ? 1 : size;
    s.f.Map.MapSymbol = size < 0 ? 0 : 1;
    // Turned 0, 45 .. 315 degrees, and no heading.
    for (int k = 0; k < 9; ++k) s.Add("JL" + std::to_string(10 + k), {{30 + 50 * k, 120, k < 8 ? 45 * k : 900}});
    s.Draw({MapLayer::Aircraft});
    parts.push_back(s.Map().copy(0, 95, 480, 50));
  }
  testing_support::ExpectGoldenPicture(parts, "aircraft-symbols.png", "map");
}

TEST(MapAircraftGoldens, TagsAtFivePlacesWithTrendMarksInEachPlotType) {
  std::vector<QImage> parts;
  for (int plotType : {0, 1, 2, 3}) {
    AircraftScene s;
    s.f.Map.PlotType = plotType < 3 ? plotType : 2;
    s.f.Map.HideText = plotType == 3 ? 1 : 0;
    for (int tag = 0; tag < 5; ++tag) {
      AircraftRecord& r = s.Add("JL00" + std::to_string(tag), {{20 + 95 * tag, 150, 30}, {45 + 95 * tag, 120, 45}});
      r.TagPos = tag;
      r.AltTrend = 2 + tag % 3;
      r.Age = tag == 4 ? 0 : 1;
    }
    s.Draw({MapLayer::Aircraft});
    parts.push_back(s.Map().copy(0, 70, 480, 110));
  }
  testing_support::ExpectGoldenPicture(parts, "aircraft-tags.png", "map");
}

TEST(MapAircraftGoldens, BothBoxesWithAPhotographAndTheQuickButtons) {
  std::vector<QImage> parts;
  for (int shift : {0, 1}) {
    AircraftScene s(620, 240);
    platform::EnsureFolder(s.links.picsFolder);
    testing_support::WriteGradientJpeg(s.links.picsFolder + "/JA0089.jpg", 640, 480);
    s.Add("JL0089", {{60, 60, 90, 34000}, {120, 60, 90, 35000}, {180, 60, 90, 35000}});
    s.f.mapView.AircraftSelected = 1;
    s.f.mapView.SelectedAircraft = 0;
    s.f.mapView.MapViewOptions = shift ? 1 : 0;
    s.links.textWindowShown = shift != 0;
    s.Draw({MapLayer::Aircraft});
    parts.push_back(s.Map());
  }
  testing_support::ExpectGoldenPicture(parts, "aircraft-boxes.png", "map");
}

TEST(MapAircraftGoldens, SideListOnTwoPagesWithAFramedRowAndTheAltitudeView) {
  AircraftScene s(480, 240, 130);
  s.f.controls.N11Checked = s.f.controls.N26Checked = 1;
  const int altitudes[7] = {35000, 9000, 80000, 41000, 23000, 50000, 0};
  for (int a = 0; a < 7; ++a) {
    AircraftRecord& r = s.Add("NH00" + std::to_string(a),
                              {{60 + 60 * a, 100, 90, altitudes[a] - 2000}, {90 + 60 * a, 110, 90, altitudes[a]}});
    r.AltTrend = 1 + a % 4;
    r.Points[1].Temperature = a == 2 ? 100 : -40 + 10 * a;
    r.Points[1].WindDir = a == 3 ? 900 : 10 * a;
  }
  s.f.mapView.AircraftSelected = 1;
  s.f.mapView.SelectedAircraft = 1;
  s.f.Map.SymbolSize = 2;
  s.Draw({MapLayer::SideList, MapLayer::Altitude});
  const QImage first = s.f.mapView.SideListBitmap.Image();
  s.f.mapView.ListPage = 2;
  s.Draw({MapLayer::SideList});
  testing_support::ExpectGoldenPicture({first, s.f.mapView.SideListBitmap.Image()}, "side-list.png", "map");
  testing_support::ExpectGoldenPicture({s.f.mapView.AltitudeBitmap.Image()}, "altitude-view.png", "map");
}

}  // namespace
