// The aircraft information window in the real main window (offscreen):
// the flight search through the list, the links to the web pages and to
// the map, its place, its stacking and its picture.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "aircraft/aircraft_list.h"
#include "aircraft/information_search.h"
#include "aircraft/reference_data.h"
#include "aircraft/tform17.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "app/main_window_fixture.h"
#include "platform/file_io.h"
#include "platform/shell_open.h"

namespace {

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
  // Drawn as a link: pure blue, underlined, under the hand; else black.
  static std::string Look(const QLabel& l) {
    const bool hand = l.cursor().shape() == Qt::PointingHandCursor;
    return l.palette().color(QPalette::WindowText).name().toStdString() + (l.font().underline() ? " underlined" : "") +
           (hand ? " hand" : "");
  }
  std::vector<std::string> opened;
};

TEST_F(InfoWindow, SearchLinksPlaceStackingAndPicture) {
  EXPECT_EQ(NormaliseFlightSearch("nh5") + " " + NormaliseFlightSearch("JL12345"), "NH0005 JL12345");
  for (bool english : {false, true}) {
    TForm1& w = english ? StartEnglish() : StartJapanese();
    Window(w)->Edit1()->setText("nh5");
    Window(w)->Button1()->click();
    EXPECT_EQ(Window(w)->Edit1()->text(), "NH0005");
    EXPECT_EQ(boxes_.Texts().back(), english ? "No information" : "リストにありません");
    if (!english) Close();
  }
  TForm1& w = *window_;
  TForm17* info = Window(w);
  emit info->Label(3)->Clicked();  // "------": no flight number, nothing opened
  AircraftInformation value;
  value.Flight = "JL0012";
  value.Registration = "JA8089";
  w.ShowAircraftInformation(value);
  emit info->Label(3)->Clicked();
  emit info->Label(5)->Clicked();
  EXPECT_EQ(opened, (std::vector<std::string>{"https://skarvel.example/flight?airline=%28JL%29&flightNumber=12",
                                              "https://skarvel.example/photo?regsearch=JA8089"}));
  Form1State& f = w.State();
  f.aircraft.AircraftCount = 2;
  std::snprintf(f.aircraft.Aircraft.Records[1].FlightId, 8, "JL0012");
  emit info->Label(7)->Clicked();  // not a link yet
  EXPECT_FALSE(f.mapView.AircraftSelected);
  EXPECT_EQ(Look(*info->Label(7)) + " " + Look(*info->Label(3)), "#000000 #0000ff underlined hand");
  value.PositionLink = true;
  value.Position = "Have";
  w.ShowAircraftInformation(value);
  EXPECT_EQ(Look(*info->Label(7)), "#0000ff underlined hand");
  emit info->Label(7)->Clicked();
  EXPECT_EQ(f.mapView.AircraftSelected ? f.mapView.SelectedAircraft : -1, 1);
  value.PositionLink = false;
  w.ShowAircraftInformation(value);
  EXPECT_EQ(Look(*info->Label(7)), "#000000");
  // Centred on top until told otherwise; the list's picture fitted.
  info->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(info->frameGeometry().topLeft(), CentredTopLeft(w.frameGeometry(), info->frameGeometry().size()));
  EXPECT_TRUE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  const QPoint at = info->pos();
  info->SpeedButton5()->click();
  EXPECT_FALSE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint) || f.Pos.PictTopMost);
  EXPECT_EQ(info->pos(), at);
  platform::EnsureFolder(f.aircraft.Files.PicsFolder);
  testing_support::WriteJpeg(PhotoPath(f.aircraft.Files, "JA8089"), 640, 480, 0x336699);
  AddListRow(f.aircraft, w.Reception().Aircraft(), "JL0012", "JA8089", "RJTT", "KSFO", "B767", "-", "ACARS");
  info->SearchFlight("jl12");
  EXPECT_EQ(info->Image1()->pixmap().size(), QSize(177, 133));
  EXPECT_EQ(f.aircraft.List.Selected, 1);
  Close();
}

}  // namespace
