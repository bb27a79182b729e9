// The aircraft information window in the real main window (offscreen):
// the flight search through the list, the links to the web pages and to
// the map, its place, its stacking and its picture.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "aircraft/aircraft_information.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/information_search.h"
#include "aircraft/reference_data.h"
#include "aircraft/tform17.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "main_window_fixture.h"
#include "platform/file_io.h"
#include "platform/shell_open.h"

namespace {

void Click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

class InfoWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::SetShellOpenHandler([this](const std::string& url) { opened.push_back(url); });
  }
  void TearDown() override {
    platform::SetShellOpenHandler(nullptr);
    MainWindowTest::TearDown();
  }
  TForm17* Window(TForm1& w) { return qobject_cast<TForm17*>(w.Form(17)); }
  std::vector<std::string> opened;
};

TEST_F(InfoWindow, SearchNormalisesTheFlightAndSaysWhenTheListLacksIt) {
  EXPECT_EQ(NormaliseFlightSearch("nh5"), "NH0005");
  EXPECT_EQ(NormaliseFlightSearch("JL12345"), "JL12345");
  for (bool english : {true, false}) {
    TForm1& w = english ? StartEnglish() : StartJapanese();
    TForm17* info = Window(w);
    info->Edit1()->setText("nh5");
    info->Button1()->click();
    EXPECT_EQ(info->Edit1()->text(), "NH0005");
    EXPECT_EQ(boxes_.Texts().back(), english ? "No information" : "リストにありません");
    Close();
  }
}

TEST_F(InfoWindow, LinksOpenTheirPagesAndThePositionSelectsTheAircraft) {
  TForm1& w = StartEnglish();
  TForm17* info = Window(w);
  Click(info->Label(3));  // "------": no flight number
  EXPECT_TRUE(opened.empty());
  AircraftInformation value;
  value.Flight = "JL0012";
  value.Registration = "JA8089";
  w.ShowAircraftInformation(value);
  Click(info->Label(3));
  Click(info->Label(5));
  EXPECT_EQ(opened, (std::vector<std::string>{"https://skarvel.example/flight?airline=%28JL%29&flightNumber=12",
                                              "https://skarvel.example/photo?regsearch=JA8089"}));
  Form1State& f = w.State();
  f.aircraft.AircraftCount = 2;
  std::snprintf(f.aircraft.Aircraft.Records[1].FlightId, 8, "JL0012");
  Click(info->Label(7));  // not a link yet
  EXPECT_FALSE(f.mapView.AircraftSelected);
  value.PositionLink = true;
  w.ShowAircraftInformation(value);
  Click(info->Label(7));
  EXPECT_TRUE(f.mapView.AircraftSelected);
  EXPECT_EQ(f.mapView.SelectedAircraft, 1);
  Close();
}

TEST_F(InfoWindow, CentredOnTopUntilToldOtherwiseAndTheListsPictureFitted) {
  TForm1& w = StartEnglish();
  TForm17* info = Window(w);
  info->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(info->frameGeometry().topLeft(), CentredTopLeft(w.frameGeometry(), info->frameGeometry().size()));
  EXPECT_TRUE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  const QPoint at = info->pos();
  info->SpeedButton5()->click();
  EXPECT_FALSE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(info->pos(), at);
  EXPECT_EQ(w.State().Pos.PictTopMost, 0);

  Form1State& f = w.State();
  platform::EnsureFolder(f.aircraft.Files.PicsFolder);
  testing_support::WriteJpeg(PhotoPath(f.aircraft.Files, "JA8089"), 640, 480, 0x336699);
  AddListRow(f.aircraft, w.Reception().Aircraft(), "JL0012", "JA8089", "RJTT", "KSFO", "B767", "-", "ACARS");
  info->SearchFlight("jl12");
  EXPECT_EQ(info->Image1()->pixmap().size(), QSize(177, 133));
  EXPECT_EQ(f.aircraft.List.Selected, 1);
  Close();
}

}  // namespace
