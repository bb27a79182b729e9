// The aircraft windows in the real main window (offscreen): the list's
// rows, keys, clicks and controls; the information window's flight search
// through the list, links to the web pages and to the map, its place, its
// stacking and its picture.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include "aircraft/aircraft_list.h"
#include "aircraft/aircraft_table.h"
#include "aircraft/information_search.h"
#include "aircraft/reference_data.h"
#include "aircraft/tform17.h"
#include "aircraft/tform5.h"
#include "app/centring.h"
#include "app/click_label.h"
#include "support/main_window_fixture.h"
#include "app/up_down.h"
#include "platform/file_io.h"
#include "platform/shell_open.h"

namespace {

class AircraftWindows : public MainWindowTest {
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

TEST_F(AircraftWindows, InformationSearchLinksPlaceStackingAndPicture) {
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

// Sorted, the newest selected; a double-click opens the flight's lookup;
// the Delete key asks, then takes the row and its aircraft.
TEST_F(AircraftWindows, TheListsRowsKeysClicksAndControls) {
  testing_support::FixedClock clock(platform::EncodeDateTime(2026, 12, 6, 14, 3, 7));
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  for (const char* flight : {"NH0005", "JL0012"}) {
    RegisterContact(f.aircraft, f.List, w.Reception().Aircraft(), flight, "JA8089", "NARITA");
    AircraftPosition p;
    p.Lat = 35.0 + f.aircraft.AircraftCount;
    UpdateAircraftRecord(f.aircraft, f.Etc, w.Reception().Aircraft(), flight, "JA8089", "XXXX", p, "1234", "X");
  }
  auto& list = *static_cast<TForm5*>(w.Form(5));
  list.show();
  QTableWidget& rows = *list.ListView1();
  const auto cell = [&](int row, int column) { return rows.item(row, column)->text(); };
  ASSERT_EQ(rows.rowCount(), 2);
  EXPECT_EQ(cell(0, 0) + cell(1, 0) + " " + cell(0, 9), "JL0012NH0005 14:03:07");
  EXPECT_EQ(list.StatusBar1()->text(), "2 contacts");
  EXPECT_EQ(rows.selectedRanges().first().topRow(), 0);
  emit rows.cellDoubleClicked(0, 0);
  EXPECT_EQ(opened, (std::vector<std::string>{"https://skarvel.example/air/?F=JL0012"}));
  boxes_.SetAnswers({platform::BoxAnswer::No, platform::BoxAnswer::Yes});
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(&rows, &release);
  EXPECT_EQ(rows.rowCount(), 2);
  QApplication::sendEvent(&rows, &release);
  EXPECT_EQ(boxes_.Texts().back(), "Delete JL0012,OK?");
  EXPECT_EQ(rows.rowCount(), 1);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "JL0012") + f.aircraft.AircraftCount, 1);
  RegisterContact(f.aircraft, f.List, w.Reception().Aircraft(), "UA0837", "N12345", "NARITA");
  EXPECT_EQ(cell(1, 0) + " " + list.StatusBar1()->text(), "UA0837 2 contacts");

  // The controls write their settings back.
  EXPECT_FALSE(list.Timer1()->isActive());
  list.SpeedButton(3)->click();
  EXPECT_TRUE(f.List.AutoDelete && list.Timer1()->isActive());
  list.SpeedButton(4)->click();
  EXPECT_EQ(f.List.ListLog, 1);
  emit list.UpDown1()->UpButton()->clicked();
  EXPECT_EQ(f.List.DeleteTime, 305);
  EXPECT_EQ(list.Panel1()->text(), "305");
  rows.horizontalHeader()->resizeSection(6, 123);
  EXPECT_EQ(f.Form.ColumnsWidth[6], 123);
  Close();
}

}  // namespace
