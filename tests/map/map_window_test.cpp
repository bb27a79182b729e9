// The map in the main window (offscreen), with the program folder's map
// files: what the map image shows, the map-file menu and the saved picture.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>

#include "app/map_wiring.h"
#include "main_window_fixture.h"
#include "support/recording_links.h"
#include "map/canvas_map_sink.h"
#include "map/map_background.h"
#include "map/map_picture_file.h"
#include "map/map_projection.h"

namespace {

class MapWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    testing_support::CopyProgramFolder(dir_.path());
  }

  // The background drawn afresh for the window's present view and settings.
  static QImage FreshBackground(TForm1& w) {
    Form1State& f = w.State();
    const MapState& live = f.mapView;
    MapState fresh;
    fresh.MapBitmap.Resize(live.MapBitmap.Width(), live.MapBitmap.Height());
    fresh.MapScaleX = live.MapScaleX;
    fresh.MapScaleY = live.MapScaleY;
    fresh.MapFileName = live.MapFileName;
    fresh.AirwayPath = live.AirwayPath;
    fresh.NavPointsPath = live.NavPointsPath;
    UpdateMapGeometry(fresh, f.Map, f.controls);
    {
      Canvas canvas(fresh.MapBitmap);
      CanvasMapSink sink(canvas, fresh, f.Map);
      DrawMapBackground(fresh, w.Reception().Map().Context(), sink);
    }
    return fresh.MapBitmap.Image();
  }

  // The background as drawn, under the aircraft layer the map image shows.
  static void ExpectShowsFreshBackground(TForm1& w, const char* when) {
    EXPECT_TRUE(w.State().mapView.MapBitmap.Image() == FreshBackground(w)) << when;
    const QImage shown = w.State().mapView.MapViewBitmap.Image();
    EXPECT_TRUE(w.Image(2)->pixmap().toImage().convertToFormat(shown.format()) == shown) << when;
  }
};

using MapRedrawWindow = MapWindow;
using MapMenuWindow = MapWindow;
using SaveMapImageWindow = MapWindow;

TEST_F(MapRedrawWindow, TheFirstShowAndEveryRedrawShowTheBackgroundAsDrawn) {
  TForm1& w = StartEnglish();
  EXPECT_EQ(w.State().mapView.MapFileName, dir_.File("lines/world.map"));
  ExpectShowsFreshBackground(w, "first show");
  w.SpeedButton(19)->click();
  EXPECT_EQ(w.ComboBox1()->currentIndex(), 1);
  ExpectShowsFreshBackground(w, "zoomed in");
  w.SpeedButton(5)->click();
  EXPECT_TRUE(w.SpeedButton(5)->isChecked());
  EXPECT_FALSE(w.SpeedButton(2)->isChecked());
  ExpectShowsFreshBackground(w, "flat");
  // The list's own choice of the widest step centres on the equator.
  w.State().Map.MapCentN = 20;
  w.ComboBox1()->setCurrentIndex(0);
  EXPECT_EQ(w.State().Map.MapCentN, 0);
  ExpectShowsFreshBackground(w, "widest step");
  Close();
}

TEST_F(MapRedrawWindow, OnlyTheWheelsTurnZooms) {
  TForm1& w = StartEnglish();
  auto wheel = [&w](QPoint angle, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
    QWheelEvent event(QPointF(100, 100), QPointF(100, 100), QPoint(), angle, Qt::NoButton, Qt::NoModifier, phase,
                      false);
    QCoreApplication::sendEvent(&w, &event);
    return w.ComboBox1()->currentIndex();
  };
  EXPECT_EQ(wheel({0, -120}), 1);
  EXPECT_EQ(wheel({0, 0}), 2);
  EXPECT_EQ(wheel({0, 360}), 1);
  // A sideways tilt, and a touch pad's scroll beginning and ending.
  EXPECT_EQ(wheel({120, 0}), 1);
  EXPECT_EQ(wheel({-120, 0}), 1);
  EXPECT_EQ(wheel({0, 0}, Qt::ScrollBegin), 1);
  EXPECT_EQ(wheel({0, 0}, Qt::ScrollEnd), 1);
  Close();
}

TEST_F(MapMenuWindow, TheMapFileMenuChecksTheChosenFileAndShowsNamesAsTheyAre) {
  testing_support::WriteFile(dir_.File("lines/a&b.map"), "TERM\n");
  TForm1& w = StartEnglish();
  auto checked = [&] {
    std::vector<bool> marks;
    for (QAction* item : w.N34()->actions()) marks.push_back(item->isChecked());
    return marks;
  };
  ASSERT_EQ(w.N34()->actions().size(), 3);
  EXPECT_EQ(w.N34()->actions()[0]->text(), "a&&b.map");
  EXPECT_EQ(checked(), (std::vector<bool>{true, false, false}));
  w.N34()->actions()[2]->trigger();
  EXPECT_EQ(w.State().Map.MapNo, 2);
  EXPECT_EQ(w.State().mapView.MapFileName, dir_.File("lines/world_coarse.map"));
  EXPECT_EQ(checked(), (std::vector<bool>{false, false, true}));
  ExpectShowsFreshBackground(w, "coarse map");
  w.MenuItem("N36")->trigger();
  EXPECT_EQ(w.State().Map.MapNo, 0);
  EXPECT_EQ(checked(), (std::vector<bool>{true, false, false}));
  w.MenuItem("N37")->trigger();
  EXPECT_TRUE(w.MenuItem("N37")->isChecked());
  Close();
}

TEST_F(MapRedrawWindow, FullScreenAsTheSettingsLeftItAndBack) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Form]\r\nFull=1\r\n");
  EXPECT_TRUE(w.isFullScreen());
  w.SetFullScreen(false);
  EXPECT_FALSE(w.isFullScreen());
  EXPECT_FALSE(w.isMaximized());
  Close();
}

TEST_F(SaveMapImageWindow, TheDialogAsksForTheFileAndAFileThatCannotBeWrittenIsReported) {
  TForm1& w = StartEnglish();
  QFileDialog* dialog = w.SavePictureDialog1();
  EXPECT_EQ(dialog->windowTitle(), "Save to bitmap file");
  EXPECT_EQ(dialog->nameFilters(), QStringList{"bitmap (*.bmp)"});
  // "map" typed and accepted while the dialog shows.
  QTimer typist;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() != dialog) return;
    dialog->setDirectory(QString::fromStdString(dir_.path()));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("map");
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
  });
  typist.start(5);
  w.MenuItem("N1")->trigger();
  const QImage saved(QString::fromStdString(dir_.File("map.bmp")), "BMP");
  EXPECT_TRUE(saved.convertToFormat(QImage::Format_BGR888) == w.State().mapView.MapViewBitmap.Image());
  testing_support::RecordingMapLinks unwritable;
  unwritable.savePath = dir_.File("gone/map");
  N1Click(w.State().mapView, unwritable);
  EXPECT_EQ(w.statusBar()->currentMessage().toStdString(), "Can not write " + dir_.File("gone/map.bmp"));
  // The status bar that appeared covers no part of the map.
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.centralWidget()->rect().contains(w.Panel(4)->geometry()));
  Close();
}

}  // namespace
