// Damaged map files, airways and navigation points, drawn flat and on the
// globe at both ends of the scale list: nothing out of bounds, nothing
// undefined (run under the sanitizers as well), and the next redraw runs.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/form1_state.h"
#include "map/map_navigation.h"
#include "map/map_redraw.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

// Lines that look like the files' own, or are not, or are bytes.
std::string AnyFile(std::mt19937& random) {
  static const char* const pieces[] = {
      "PLGN=L\n", "PLGN=S\n", "PLGN=F\n", "PLGN\n", "PLGN=", "LINE\n", "TERM\n", "# -b\n", "$TYPE=COAST\n", "-1\n",
      "\t", "+", ",", "-", ".", "\r\n", "\n", "\r", "1e308", "999999999999999999999", "-0", "180", "-180.5", "90",
      "NaN", "0,", "5,", "6,35,139,", "1,", "2,", "3,", "\xE6\x97\xA5", "\x81", "\xFF"};
  std::string text;
  const int parts = static_cast<int>(random() % 400);
  for (int i = 0; i < parts; ++i) {
    switch (random() % 4) {
      case 0:
        text += pieces[random() % (sizeof pieces / sizeof *pieces)];
        break;
      case 1:
        text += std::to_string(static_cast<int>(random() % 4000) - 2000) + "." + std::to_string(random() % 10000);
        break;
      case 2:
        text += std::string(random() % 200, static_cast<char>('0' + random() % 10));
        break;
      default:
        text += static_cast<char>(random());
    }
  }
  return text;
}

TEST(MapFuzz, DamagedFilesNeverStopTheMap) {
  std::mt19937 random(1515);
  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
  MainControls& c = f.controls;
  for (flag* down : {&c.SpeedButton21Down, &c.SpeedButton22Down, &c.SpeedButton23Down, &c.SpeedButton24Down,
                     &c.SpeedButton25Down, &c.SpeedButton26Down, &c.SpeedButton27Down, &c.SpeedButton28Down}) {
    *down = 1;
  }
  f.Map.GridValue = 1;
  f.mapView.AirwayPath = dir.File("airway.txt");
  f.mapView.NavPointsPath = dir.File("nav.txt");
  const char* extensions[] = {".dat", ".out", ".map"};
  const double centres[] = {139.0, -180.0, 180.0, 0.0, -179.99};
  for (int round = 0; round < 300; ++round) {
    f.mapView.MapFileName = dir.File(std::string("map") + extensions[round % 3]);
    testing_support::WriteFile(f.mapView.MapFileName, AnyFile(random));
    testing_support::WriteFile(f.mapView.AirwayPath, AnyFile(random));
    testing_support::WriteFile(f.mapView.NavPointsPath, AnyFile(random));
    f.mapView.MapDebug = random() % 2;
    f.Map.GridType = static_cast<int>(random() % 5) - 1;
    f.Map.MapCentE = centres[random() % 5];
    for (bool globe : {false, true}) {
      for (int step : {0, 26}) {
        c.SpeedButton2Down = globe ? 1 : 0;
        c.ComboBox1Index = step;
        ResizeMapBitmaps(f.mapView, f.Map, c, {20, 30}, {200, 150}, {200, 40});
        f.Map.MapCentN = static_cast<double>(random() % 181) - 90;
        f.Map.ViewDeg = static_cast<double>(random() % 181) - 90;
        const int shown = links.shown;
        Redraw(f.mapView, {f.Map, f.Color, c, links, links}, MapLayers::All());
        ASSERT_EQ(f.mapView.RedrawBusy, 0);
        Redraw(f.mapView, {f.Map, f.Color, c, links, links}, {MapLayer::Aircraft});
        ASSERT_EQ(links.shown, shown + 2) << round;
      }
    }
  }
}

}  // namespace
