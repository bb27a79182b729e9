// The received-aircraft list window (offscreen) over the program's road:
// its rows and status, the Delete key, the double-click, and the settings
// its controls write back.
#include "aircraft/tform5.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "aircraft/aircraft_list.h"
#include "aircraft/aircraft_table.h"
#include "app/up_down.h"
#include "platform/shell_open.h"
#include "support/reception_rig.h"

namespace {

using platform::BoxAnswer;

class AircraftListWindow : public ::testing::Test {
 protected:
  AircraftListWindow() {
    f.List.ShowNew = 1;
    f.List.AutoDelete = 0;
    f.List.DeleteTime = 300;
    for (const char* flight : {"NH0005", "JL0012"}) {
      RegisterContact(f.aircraft, f.List, rig.wiring().Aircraft(), flight, "JA8089", "NARITA");
      AircraftPosition p;
      p.Lat = 35.0 + f.aircraft.AircraftCount;
      UpdateAircraftRecord(f.aircraft, f.Etc, rig.wiring().Aircraft(), flight, "JA8089", "XXXX", p, "1234", "X");
    }
    platform::SetShellOpenHandler([this](const std::string& target) { opened.push_back(target); });
  }
  ~AircraftListWindow() override { platform::SetShellOpenHandler(nullptr); }
  QString Cell(const TForm5& w, int row, int column) const { return w.ListView1()->item(row, column)->text(); }

  testing_support::ReceptionRig rig;
  Form1State& f = rig.form();
  std::vector<std::string> opened;
};

// Sorted, the newest selected; the Delete key asks, then takes the row and
// its aircraft; a double-click opens the flight's lookup.
TEST_F(AircraftListWindow, ShowsTheRowsAndTheKeysAndClicksActOnThem) {
  TForm5 w(f, rig.wiring());
  w.show();
  ASSERT_EQ(w.ListView1()->rowCount(), 2);
  EXPECT_EQ(Cell(w, 0, 0) + Cell(w, 1, 0) + " " + Cell(w, 0, 9), "JL0012NH0005 14:03:07");
  EXPECT_EQ(w.StatusBar1()->text(), "2 contacts");
  EXPECT_EQ(w.ListView1()->selectedRanges().first().topRow(), 0);
  emit w.ListView1()->cellDoubleClicked(0, 0);
  EXPECT_EQ(opened, (std::vector<std::string>{"https://skarvel.example/air/?F=JL0012"}));

  testing_support::MessageBoxRecorder boxes;
  boxes.SetAnswers({BoxAnswer::No, BoxAnswer::Yes});
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(w.ListView1(), &release);
  EXPECT_EQ(w.ListView1()->rowCount(), 2);
  QApplication::sendEvent(w.ListView1(), &release);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Delete JL0012,OK?", "Delete JL0012,OK?"}));
  EXPECT_EQ(w.ListView1()->rowCount(), 1);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "JL0012") + f.aircraft.AircraftCount, 1);
  RegisterContact(f.aircraft, f.List, rig.wiring().Aircraft(), "UA0837", "N12345", "NARITA");
  EXPECT_EQ(Cell(w, 1, 0) + " " + w.StatusBar1()->text(), "UA0837 2 contacts");
}

TEST_F(AircraftListWindow, ItsControlsWriteTheirSettingsBack) {
  TForm5 w(f, rig.wiring());
  EXPECT_FALSE(w.Timer1()->isActive());
  w.SpeedButton(3)->click();
  EXPECT_EQ(f.List.AutoDelete, 1);
  EXPECT_TRUE(w.Timer1()->isActive());
  w.SpeedButton(4)->click();
  EXPECT_EQ(f.List.ListLog, 1);
  emit w.UpDown1()->UpButton()->clicked();
  EXPECT_EQ(f.List.DeleteTime, 305);
  EXPECT_EQ(w.Panel1()->text(), "305");
  w.ListView1()->horizontalHeader()->resizeSection(6, 123);
  EXPECT_EQ(f.Form.ColumnsWidth[6], 123);
}

}  // namespace
