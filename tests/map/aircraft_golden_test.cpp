// The aircraft on the map, the side list and the altitude view against
// their golden PNGs in tests/map/golden, compared exactly. A change meant
// to alter them: look at the pictures in the artefacts folder, rewrite the
// goldens with SKARVEL_REWRITE_GOLDENS=1 ctest --test-dir build -R
// MapAircraftGoldens, and look at them again before committing them.
#include <gtest/gtest.h>

#include "aircraft_scene.h"
#include "platform/file_io.h"
#include "support/golden_picture.h"

namespace {

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
