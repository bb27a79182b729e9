// The aircraft on the map, the side list and the altitude view against
// their golden PNGs in tests/map/golden, compared exactly. After a change
// meant to alter them, look at the pictures left in the artefacts folder,
// then rewrite the goldens with
//   SKARVEL_REWRITE_GOLDENS=1 ctest --test-dir build -R MapAircraftGoldens
// and look at them again before committing them.
#include <gtest/gtest.h>

#include "aircraft_scene.h"
#include "platform/file_io.h"
#include "support/golden_picture.h"

namespace {

void ExpectGolden(const std::vector<QImage>& parts, const std::string& name) {
  if (qEnvironmentVariableIntValue("SKARVEL_REWRITE_GOLDENS") == 1) {
    int height = 0;
    for (const QImage& p : parts) height += p.height();
    QImage whole(parts.at(0).width(), height, QImage::Format_RGB32);
    int top = 0;
    for (const QImage& p : parts) {
      for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) whole.setPixel(x, top + y, p.pixel(x, y));
      }
      top += p.height();
    }
    ASSERT_TRUE(whole.save(QStringLiteral(SKARVEL_SOURCE_DIR "/tests/map/golden/") + QString::fromStdString(name)));
    return;
  }
  testing_support::ExpectGoldenPicture(parts, name, "map");
}

// A row of aircraft turned 0, 45 .. 315 degrees and one without a heading.
void AddHeadingRow(AircraftScene& s, int y) {
  for (int k = 0; k < 9; ++k) s.Add("JL" + std::to_string(10 + k), {{30 + 50 * k, y, k < 8 ? 45 * k : 900}});
}

TEST(MapAircraftGoldens, SymbolsAtEightHeadingsInThreeSizesRadarMarksAndNoHeading) {
  std::vector<QImage> parts;
  for (int size : {0, 1, 2, -1}) {
    AircraftScene s;
    s.f.Map.PlotType = 0;
    s.f.Map.HideText = 1;
    s.f.Map.SymbolSize = size < 0 ? 1 : size;
    s.f.Map.MapSymbol = size < 0 ? 0 : 1;
    AddHeadingRow(s, 120);
    s.Draw({MapLayer::Aircraft});
    parts.push_back(s.Map().copy(0, 95, 480, 50));
  }
  ExpectGolden(parts, "aircraft-symbols.png");
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
  ExpectGolden(parts, "aircraft-tags.png");
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
    s.f.controls.SpeedButton17Down = 0;
    s.links.textWindowShown = shift != 0;
    s.Draw({MapLayer::Aircraft});
    parts.push_back(s.Map());
  }
  ExpectGolden(parts, "aircraft-boxes.png");
}

TEST(MapAircraftGoldens, SideListOnTwoPagesWithAFramedRowAndTheAltitudeView) {
  AircraftScene s(480, 240, 130);
  s.f.controls.N11Checked = s.f.controls.N26Checked = 1;
  const int altitudes[7] = {35000, 9000, 80000, 41000, 23000, 50000, 0};
  for (int a = 0; a < 7; ++a) {
    AircraftRecord& r = s.Add("NH00" + std::to_string(a), {{60 + 60 * a, 100, 90, altitudes[a] - 2000},
                                                           {90 + 60 * a, 110, 90, altitudes[a]}});
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
  ExpectGolden({first, s.f.mapView.SideListBitmap.Image()}, "side-list.png");
  ExpectGolden({s.f.mapView.AltitudeBitmap.Image()}, "altitude-view.png");
}

}  // namespace
