// The receiver dialogs on the real widgets (offscreen), tuning through a
// fake port.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include "app/form1_state.h"
#include "platform/date_time.h"
#include "platform/serial_port_list.h"
#include "radio/radio_forms.h"
#include "radio/tuning_controller.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::FakeTuningLink;
using Lines = std::vector<std::string>;

void Key(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// A click on a grid cell (table row, column), as the mouse does it.
void ClickCell(QTableWidget* grid, int row, int column) {
  const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
  QMouseEvent press(QEvent::MouseButtonPress, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(grid->viewport(), &press);
  QApplication::sendEvent(grid->viewport(), &release);
  QCoreApplication::processEvents();
}

class RadioDialogs : public ::testing::Test {
 protected:
  RadioDialogs() {
    platform::SetSerialPortListerForTests([] { return std::vector<std::string>{"ttyUSB0", "ttyUSB1"}; });
    HfdlReception& hfdl = form_->hfdl;
    for (std::string& name : hfdl.GsNames) name = "Unused";
    hfdl.GsNames[1] = "Tokyo";
    hfdl.GsNames[4] = "Hat Yai";
    const int32_t tokyo[5] = {21934, 17919, 11384, 8942, 6559};
    for (int s = 0; s < 5; ++s) hfdl.GsFrequencies[1][s] = tokyo[s];
    hfdl.GsFrequencies[4][0] = 13270;
    link_.Attach(controller_);
  }
  ~RadioDialogs() override { platform::SetSerialPortListerForTests(nullptr); }

  static std::string Set(const char* tag, int kHz) {
    return std::string(tag) + " FREQ SET=" + std::to_string(kHz) + "kHz at 2024/05/01 13:05:27";
  }

  testing_support::FixedClock clock_{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  std::unique_ptr<Form1State> form_ = std::make_unique<Form1State>();
  FakeTuningLink link_;
  TuningController controller_{form_->radio, form_->Radio, link_};
};

TEST_F(RadioDialogs, KeypadTunesAtTheFifthDigitOrEnt) {
  TForm24 settings(*form_, controller_);
  TForm29 keypad(*form_, controller_);
  settings.Controls(0).manual->setEnabled(true);
  settings.Controls(0).manual->click();
  ASSERT_TRUE(keypad.isVisible());
  EXPECT_EQ(keypad.Label(1)->text(), "5000");
  EXPECT_EQ(keypad.Label(3)->text(), "Lch");
  for (int key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4}) Key(&keypad, key);
  EXPECT_EQ(keypad.Label(1)->text(), "1234");
  EXPECT_TRUE(link_.writes.empty());
  Key(&keypad, Qt::Key_5);
  link_.Run();
  EXPECT_EQ(form_->radio.SendLog, (Lines{Set("Lch", 12345)}));
  EXPECT_EQ(form_->Radio.ManualL, 12345);
  // Below 1601 kHz: dropped, the last accepted value shows again.
  for (int button : {1, 6, 10, 10, 11}) keypad.Button(button)->click();
  EXPECT_EQ(keypad.Label(1)->text(), "12345");
  EXPECT_EQ(form_->radio.SendLog.size(), 1u);
  // Escape is CE and leaves the keypad open.
  Key(&keypad, Qt::Key_7);
  Key(&keypad, Qt::Key_Escape);
  EXPECT_TRUE(keypad.isVisible());
  EXPECT_EQ(keypad.Label(1)->text(), "12345");
}

TEST_F(RadioDialogs, GridCellsTuneOnceEach) {
  form_->radio.Ports = {"ttyUSB0"};
  TForm25 grid(*form_, controller_);
  form_->radio.GridChannel = 0;
  grid.show();
  grid.activateWindow();
  grid.StringGrid1()->setFocus();
  QCoreApplication::processEvents();
  link_.Run();
  EXPECT_TRUE(link_.events.empty()) << "showing the grid tuned";
  QTableWidget* cells = grid.StringGrid1();
  ASSERT_EQ(cells->rowCount(), 2);
  ClickCell(cells, 0, 4);  // Tokyo, slot 4
  ClickCell(cells, 0, 4);
  link_.Run();
  EXPECT_EQ(form_->radio.SendLog, (Lines{Set("Lch", 8942)}));
  // An empty cell: the port opens and closes, nothing is sent.
  link_.events.clear();
  ClickCell(cells, 0, 7);
  link_.Run();
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "close"}));
  EXPECT_EQ(link_.writes.size(), 2u);
  // The same cell, opened again for R, tunes R.
  grid.hide();
  form_->radio.GridChannel = 1;
  grid.show();
  QCoreApplication::processEvents();
  ClickCell(cells, 0, 4);
  link_.Run();
  EXPECT_EQ(form_->radio.SendLog.back(), Set("Rch", 8942));
}

// A frequency cut to "2193..." could be any of ten.
TEST_F(RadioDialogs, GridShowsEveryFrequencyWhole) {
  TForm25 grid(*form_, controller_);
  grid.show();
  QTableWidget* cells = grid.StringGrid1();
  for (int c = 1; c <= 5; ++c) {
    const QString text = cells->item(0, c)->text();
    EXPECT_GT(cells->columnWidth(c), cells->fontMetrics().horizontalAdvance(text)) << text.toStdString();
  }
}

TEST_F(RadioDialogs, ControlsWriteTheSettingsAndEnableTheButtons) {
  TForm24 settings(*form_, controller_);
  TForm29 keypad(*form_, controller_);
  const TForm24::Channel& l = settings.Controls(0);
  const TForm24::Channel& r = settings.Controls(1);
  EXPECT_EQ(l.port->count(), 2);
  EXPECT_EQ(l.station->count(), 2);
  EXPECT_FALSE(l.list->isEnabled());
  EXPECT_FALSE(settings.Button1()->isEnabled());
  // Manual while OFF enables the manual button; ON enables the list.
  l.target->setCurrentIndex(kManual);
  EXPECT_TRUE(l.manual->isEnabled());
  l.control->setCurrentIndex(1);
  EXPECT_TRUE(l.list->isEnabled());
  EXPECT_TRUE(settings.Button1()->isEnabled());
  l.manual->click();
  ASSERT_TRUE(keypad.isVisible());
  // OFF disables both and closes the keypad of that channel.
  l.control->setCurrentIndex(0);
  EXPECT_FALSE(l.list->isEnabled());
  EXPECT_FALSE(l.manual->isEnabled());
  EXPECT_FALSE(keypad.isVisible());
  EXPECT_FALSE(settings.Button1()->isEnabled());

  r.station->setCurrentIndex(1);
  r.control->setCurrentIndex(1);
  r.target->setCurrentIndex(kMostHigh);
  r.port->setCurrentIndex(1);
  r.radio->setCurrentIndex(4);
  EXPECT_FALSE(r.address->isEnabled());
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(l.address, &typed);
  const RadioSettings& s = form_->Radio;
  EXPECT_EQ(s.ListNoR, 1);
  EXPECT_EQ(s.EngageR, 1);
  EXPECT_EQ(s.SelFreqR, kMostHigh);
  EXPECT_EQ(s.ComNoR, 1);
  EXPECT_EQ(s.TypeR, 4);
  EXPECT_EQ(s.EngageL, 0);
  EXPECT_EQ(s.SelFreqL, kManual);
  EXPECT_EQ(l.address->text(), "FF");  // two digits at most
  EXPECT_EQ(s.IdL, "FF");
  l.address->clear();
  QApplication::sendEvent(l.address, &typed);
  QKeyEvent notHex(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g");
  QApplication::sendEvent(l.address, &notHex);
  EXPECT_EQ(l.address->text(), "A");
  EXPECT_EQ(s.IdL, "A");
  // A combo showing no selection writes -1.
  r.port->setCurrentIndex(-1);
  r.station->setCurrentIndex(-1);
  EXPECT_EQ(s.ComNoR, -1);
  EXPECT_EQ(s.ListNoR, -1);
}

TEST_F(RadioDialogs, ForceSettingTunesManualAndSkipsNothingFound) {
  form_->Radio.EngageL = 1;
  form_->Radio.SelFreqL = kManual;
  form_->Radio.ManualL = 7000;
  form_->Radio.EngageR = 1;
  form_->Radio.SelFreqR = kMostLow;
  TForm24 settings(*form_, controller_);
  // No station announced a frequency.
  settings.Button1()->click();
  link_.Run();
  EXPECT_EQ(form_->radio.SendLog, (Lines{Set("Lch", 7000)}));
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "close"}));
}

}  // namespace
