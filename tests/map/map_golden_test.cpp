// Pictures of the map against their golden PNGs in tests/map/golden,
// compared exactly; one that differs is left in the artefacts folder. After
// a change meant to alter them, look at the new pictures, then rewrite the
// goldens with
//   SKARVEL_REWRITE_GOLDENS=1 ctest --test-dir build -R MapGoldens
// and look at them again before committing them.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "app/form1_state.h"
#include "map/map_navigation.h"
#include "map/map_redraw.h"
#include "platform/cp932.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

void ExpectGolden(const QImage& picture, const std::string& name) {
  const QString golden = QStringLiteral(SKARVEL_SOURCE_DIR "/tests/map/golden/") + QString::fromStdString(name);
  if (qEnvironmentVariableIntValue("SKARVEL_REWRITE_GOLDENS") == 1) {
    ASSERT_TRUE(picture.save(golden)) << golden.toStdString();
    return;
  }
  if (QImage(golden).convertToFormat(picture.format()) == picture) return;
  QDir().mkpath(QStringLiteral(SKARVEL_ARTEFACTS_DIR));
  const QString artefact = QStringLiteral(SKARVEL_ARTEFACTS_DIR "/") + QString::fromStdString(name);
  picture.save(artefact);
  ADD_FAILURE() << "differs from " << golden.toStdString() << "; see " << artefact.toStdString();
}

class MapGoldens : public ::testing::Test {
 protected:
  MapGoldens() {
    f.Map.MapCentE = 139.0;
    f.Map.ViewDeg = -36.5;
    f.controls.SpeedButton2Down = 0;
    f.mapView.AirwayPath = dir.File("airway.txt");
    f.mapView.NavPointsPath = dir.File("nav.txt");
  }

  // As the window's resize leaves it: the widest step, on the equator.
  void Size(int width, int height) { ResizeMapBitmaps(f.mapView, f.Map, f.controls, {1, 1}, {width, height}, {1, 1}); }

  QImage Background() {
    Redraw(f.mapView, {f.Map, f.Color, f.controls, links, links}, {MapLayer::Background});
    return f.mapView.MapBitmap.Image();
  }

  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
};

TEST_F(MapGoldens, TheTenNavigationGlyphsWithTheirNames) {
  Size(480, 120);
  f.Map.MapCentE = 0.0;
  f.Map.GridType = 0;
  MainControls& c = f.controls;
  c.SpeedButton21Down = c.SpeedButton22Down = c.SpeedButton23Down = c.SpeedButton24Down = c.SpeedButton28Down = 1;
  testing_support::WriteFile(f.mapView.NavPointsPath,
                             platform::Utf8ToCp932("1,60,-170,VOR/DME\r\n2,60,-98,VORTAC\r\n3,60,-26,NDB\r\n"
                                                   "4,60,46,WAYPOINT\r\n5,60,118,RJTT\r\n"
                                                   "6,15,-170,自宅\r\n7,15,-98,灯台\r\n8,15,-26,送信所\r\n"
                                                   "9,15,46,富士山\r\n0,15,118,その他\r\n"));
  ExpectGolden(Background(), "glyphs.png");
}

TEST_F(MapGoldens, TheCoarseWorldFlatAndOnTheGlobeWithGridValues) {
  Size(786, 470);
  f.Map.GridValue = 1;
  f.mapView.MapFileName = SKARVEL_PROGRAM_DIR "/lines/world_coarse.map";
  ExpectGolden(Background(), "world-coarse-flat.png");
  f.controls.SpeedButton2Down = 1;
  ExpectGolden(Background(), "world-coarse-globe.png");
}

TEST_F(MapGoldens, DebugModeOutlinesAndLabelsASmallMap) {
  Size(360, 180);
  f.Map.MapCentE = 0.0;
  f.Map.GridType = 0;
  f.mapView.MapDebug = 1;
  f.mapView.MapFileName = dir.File("small.map");
  testing_support::WriteFile(f.mapView.MapFileName,
                             "PLGN=L\n-120\t40\n-60\t40\n-60\t-20\n-120\t-20\n-120\t40\n"
                             "PLGN=S\n-100\t20\n-80\t20\n-90\t0\n-100\t20\n"
                             "PLGN=L\n20\t60\n100\t50\n60\t-40\n20\t60\n"
                             "LINE\n-170\t-60\n170\t-60\n"
                             "LINE\n140\t80\n140\t-80\nTERM\n");
  ExpectGolden(Background(), "debug-small-map.png");
}

}  // namespace
