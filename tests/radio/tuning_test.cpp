// Tuning through a fake port and timers: the frequency list choosing the
// receivers' targets from the ground stations' squitters, the controller
// sending them (what, when, and what a busy, silent or missing port leaves
// behind), the receiver dialogs on the real widgets (offscreen), and the
// parts of the commands a user's settings and locale could upset.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <clocale>
#include <cstdlib>

#include "app/form1_state.h"
#include "platform/date_time.h"
#include "platform/serial_port_list.h"
#include "radio/frequency_list.h"
#include "radio/radio_forms.h"
#include "radio/receiver_commands.h"
#include "radio/tuning_controller.h"
#include "support/golden_picture.h"
#include "support/recording_links.h"
#include "support/selected_row_picture.h"
#include "support/test_support.h"

namespace {

using testing_support::FakeTuningLink;
using Lines = std::vector<std::string>;

// A program's radio part on a fixed clock: three ground stations (rows 0,
// 1 and 2 of the list), two ports, and the controller on a fake link.
class Tuning : public ::testing::Test {
 protected:
  Tuning() {
    platform::SetSerialPortListerForTests([] { return std::vector<std::string>{"ttyUSB0", "ttyUSB1"}; });
    radio_.Ports = {"ttyUSB0", "ttyUSB1"};
    settings_.IdL = settings_.IdR = "FF";
    for (std::string& name : hfdl_.GsNames) name = "Unused";
    Station(1, "Tokyo", {21934, 17919, 11384, 8942, 6559});
    Station(4, "Hat Yai", {13270, 10081, 8924, 5655});
    Station(9, "Reykjavik", {17985, 11184, 8977, 5720});
    link_.Attach(controller_);
  }
  ~Tuning() override { platform::SetSerialPortListerForTests(nullptr); }

  void Station(int id, const char* name, const std::vector<int32_t>& kHz) {
    hfdl_.GsNames[static_cast<size_t>(id)] = name;
    for (size_t s = 0; s < kHz.size(); ++s) hfdl_.GsFrequencies[id][s] = kHz[s];
  }
  // A squitter's active slots (1..20, 0 none).
  void Announce(int id, int a, int b = 0, int c = 0) {
    hfdl_.GsActiveFreqs[id][0] = a;
    hfdl_.GsActiveFreqs[id][1] = b;
    hfdl_.GsActiveFreqs[id][2] = c;
    hfdl_.GsCheckedTime[static_cast<size_t>(id)] = platform::EncodeTime(13, 5, 27);
  }
  void Follow(int channel, int row, int mode) {
    (channel == 0 ? settings_.EngageL : settings_.EngageR) = 1;
    (channel == 0 ? settings_.ListNoL : settings_.ListNoR) = row;
    (channel == 0 ? settings_.SelFreqL : settings_.SelFreqR) = mode;
  }
  // The tunings a refresh of the list asks for.
  Lines Refresh() {
    tuner_.calls.clear();
    RefreshFrequencies(radio_, settings_, hfdl_, tuner_);
    return tuner_.calls;
  }
  // Sets the channel's target and asks for the tuning.
  void Tune(int channel, int32_t kHz) {
    (channel == 0 ? radio_.TargetFreqL : radio_.TargetFreqR) = kHz;
    controller_.TuneReceiver(channel);
  }
  void TuneAndRun(int channel, int32_t kHz) {
    Tune(channel, kHz);
    link_.Run();
  }
  static std::string Set(const char* tag, int kHz) {
    return std::string(tag) + " FREQ SET=" + std::to_string(kHz) + "kHz at 2024/05/01 13:05:27";
  }

  testing_support::FixedClock clock_{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  std::unique_ptr<Form1State> form_ = std::make_unique<Form1State>();
  HfdlReception& hfdl_ = form_->hfdl;
  RadioState& radio_ = form_->radio;
  RadioSettings& settings_ = form_->Radio;
  testing_support::RecordingTuner tuner_{radio_};
  FakeTuningLink link_;
  TuningController controller_{radio_, settings_, link_};
};

TEST_F(Tuning, EachModeChoosesItsFrequency) {
  Announce(1, 3, 4, 5);  // 11384, 8942, 6559
  const std::pair<int, const char*> modes[] = {{kMostLow, "L 6559"},     {kMostHigh, "L 11384"},
                                               {kFrequency2, "L 8942"},  {kFrequency1, "L 11384"},
                                               {kFrequency3, "L 6559"}};
  for (const auto& [mode, tuned] : modes) {
    radio_.FrequencyRows.clear();  // every cell changes again
    Follow(0, 0, mode);
    EXPECT_EQ(Refresh(), Lines{tuned}) << mode;
  }
  radio_.FrequencyRows.clear();
  Follow(0, 0, kManual);
  EXPECT_EQ(Refresh(), Lines{});
  // Most Low over no active slot, and an empty fixed slot, tune nothing.
  Announce(1, 0);
  Follow(0, 0, kMostLow);
  Follow(1, 0, kFrequency3);
  EXPECT_EQ(Refresh(), Lines{});
  // A frequency in the second slot only: no checked time shows.
  hfdl_.GsActiveFreqs[1][1] = 2;
  EXPECT_EQ(Refresh(), Lines{"L 17919"});
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "--:--:--");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies, (std::array<std::string, 3>{"-", "17919kHz", "-"}));
  Announce(1, 4);
  Refresh();
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "13:05:27");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies[0], "8942kHz");
}

TEST_F(Tuning, OnlyAChangeInAFollowedRowTunes) {
  Announce(1, 4, 5);  // 8942, 6559
  Announce(9, 2, 3);  // 11184, 8977
  Follow(0, 0, kMostLow);
  Follow(1, 2, kMostHigh);
  EXPECT_EQ(Refresh(), (Lines{"L 6559", "Timer1 R 11184"}));
  EXPECT_EQ(Refresh(), Lines{});
  // A station nobody follows.
  Announce(4, 1, 2);
  EXPECT_EQ(Refresh(), Lines{});
  // Only L's row changed; R's row comes after it and is evaluated too.
  Announce(1, 3, 4);  // 11384, 8942
  EXPECT_EQ(Refresh(), (Lines{"L 8942", "Timer1 R 11184"}));
  // R's row before L's: only L is evaluated.
  Follow(0, 2, kMostLow);
  Follow(1, 0, kMostHigh);
  Announce(9, 4);  // 5720
  EXPECT_EQ(Refresh(), (Lines{"L 5720"}));
}

// Every refresh used to reset the targets, while R is tuned from Timer1.
TEST_F(Tuning, ARefreshBeforeTimer1KeepsTheRightTarget) {
  Announce(1, 4, 5);
  Follow(1, 0, kMostLow);
  EXPECT_EQ(Refresh(), (Lines{"Timer1 R 6559"}));
  // 100 ms later another station's squitter, then a copy of the first.
  Announce(4, 2);
  EXPECT_EQ(Refresh(), Lines{});
  Announce(1, 4, 5);
  EXPECT_EQ(Refresh(), Lines{});
  EXPECT_EQ(radio_.TargetFreqR, 6559);
}

TEST_F(Tuning, RowsFollowTheUsedStations) {
  Refresh();
  ASSERT_EQ(radio_.FrequencyRows.size(), 3u);
  Station(6, "Shannon", {11384, 8942});
  Announce(6, 1, 2);
  Follow(0, 2, kMostHigh);  // Shannon is row 2 now
  EXPECT_EQ(Refresh(), (Lines{"L 11384"}));
  ASSERT_EQ(radio_.FrequencyRows.size(), 4u);
  EXPECT_EQ(radio_.FrequencyRows[2].name, "Shannon");
  // A row past the list and a slot past the table do nothing.
  Follow(0, 40, kMostHigh);
  Announce(1, 25, 4);
  EXPECT_EQ(Refresh(), Lines{});
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "--:--:--");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies[0], "-");
}

// A clicked row shows its texts in the highlight colours, inside the
// cells' frames.
TEST_F(Tuning, ASelectedRowOfTheListIsReadable) {
  Announce(1, 3, 4, 5);
  Announce(9, 1);
  TForm20 list(*form_, tuner_);
  testing_support::ExpectGoldenPicture({testing_support::SelectedRowPicture(*list.ListView1(), 1)},
                                       "frequency-list-selected.png", "radio");
}

TEST_F(Tuning, TheSameTargetIsSentOnce) {
  TuneAndRun(0, 8942);
  TuneAndRun(0, 8942);
  EXPECT_EQ(link_.writes.size(), 2u);  // frequency and mode frames
  TuneAndRun(0, 10081);
  TuneAndRun(0, 8942);
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 8942), Set("Lch", 10081), Set("Lch", 8942)}));
  // Target 0 opens and closes the port, sends and logs nothing, and the
  // old frequency goes out again afterwards.
  link_.writes.clear();
  link_.events.clear();
  TuneAndRun(0, 0);
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "close"}));
  EXPECT_TRUE(link_.writes.empty());
  EXPECT_EQ(radio_.SendLog.size(), 3u);
  TuneAndRun(0, 8942);
  EXPECT_EQ(link_.writes.size(), 2u);
}

// The other commands still go, but the log says the frequency did not.
TEST_F(Tuning, AFrequencyTheReceiverCannotTakeIsLoggedAsNotSent) {
  struct Case {
    int32_t type, kHz;
    size_t writes;
    std::string line;
  };
  const Case cases[] = {
      {1, 999999, 4, Set("Lch", 999999)},
      {1, 1000000, 3, "Lch: frequency 1000000kHz not sent: YAESU takes below 1000000kHz"},
      {4, 99999, 3, Set("Lch", 99999)},
      {4, 100000, 2, "Lch: frequency 100000kHz not sent: ALINCO takes below 100000kHz"},
      {0, 2000000, 1, "Lch: frequency 2000000kHz not sent: ICOM takes below 2000000kHz"},
      {2, -5, 1, "Lch: frequency -5kHz not sent: below 1kHz"},
      {7, 8942, 0, "Lch: frequency 8942kHz not sent: receiver type 7 is not 0..4"},
      {-1, 8942, 0, "Lch: frequency 8942kHz not sent: receiver type -1 is not 0..4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    settings_.TypeL = c.type;
    link_.writes.clear();
    radio_.LastSentFreq[0] = 0;
    TuneAndRun(0, c.kHz);
    EXPECT_EQ(link_.writes.size(), c.writes);
    EXPECT_EQ(radio_.SendLog.back(), c.line);
  }
  EXPECT_EQ(radio_.FreqListCaption, "99999000");
  // Reported once, like the other failures; the same target is not tried
  // again, since nothing about it changes.
  EXPECT_EQ(link_.reports.size(), 6u);
  TuneAndRun(0, 8942);
  EXPECT_EQ(radio_.SendLog.size(), std::size(cases));
  radio_.LastSentFreq[0] = 0;
  TuneAndRun(0, 8942);
  EXPECT_EQ(radio_.SendLog.size(), std::size(cases) + 1);
  EXPECT_EQ(link_.reports.size(), 6u);
}

TEST_F(Tuning, TheSequenceGoesOnFromTheEventLoop) {
  settings_.TypeL = 4;  // ALINCO, with its pauses
  Tune(0, 8942);
  // Back before the port took a byte: one command written, nothing logged.
  ASSERT_EQ(link_.writes.size(), 1u);
  EXPECT_EQ(radio_.PortBusy, 1);
  EXPECT_TRUE(radio_.SendLog.empty());
  link_.Run();
  ASSERT_EQ(link_.writes.size(), 3u);
  EXPECT_EQ(link_.writes[1].atMs, 100);
  EXPECT_EQ(link_.writes[2].atMs, 200);
  EXPECT_EQ(radio_.FreqListCaption, "08942000");
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 8942)}));
  EXPECT_EQ(radio_.PortBusy, 0);
  EXPECT_EQ(link_.events.back(), "close");
}

TEST_F(Tuning, TuningsThatFindThePortBusyAreAllDone) {
  settings_.TypeL = settings_.TypeR = 4;  // 200 ms each
  Tune(0, 8942);
  link_.Run(50);
  // Both channels wait; the retry at 250 ms starts L, and R, finding the
  // port busy again, retries until it is free.
  Tune(1, 5000);
  Tune(0, 10081);
  link_.Run();
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 8942), Set("Lch", 10081), Set("Rch", 5000)}));
  ASSERT_EQ(link_.writes.size(), 9u);
  EXPECT_EQ(link_.writes[3].atMs, 250);
  EXPECT_GT(link_.writes[6].atMs, 450);
  // A single request while a tuning holds the port is done 200 ms later.
  settings_.TypeR = 0;
  Tune(0, 6559);
  link_.Run(link_.nowMs + 30);
  const int asked = link_.nowMs;
  Tune(1, 8942);
  link_.Run();
  EXPECT_EQ(link_.writes.back().atMs, asked + 200);
  EXPECT_EQ(radio_.SendLog.back(), Set("Rch", 8942));
}

TEST_F(Tuning, APortThatTakesNothingIsGivenUp) {
  link_.takesBytes = false;
  Tune(0, 8942);
  link_.Run();
  EXPECT_EQ(link_.nowMs, 10000 + 11 * 200);
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "discard", "close"}));
  EXPECT_EQ(radio_.PortBusy, 0);
  EXPECT_EQ(radio_.SendLog, (Lines{"Lch: ttyUSB0 took no command"}));
  EXPECT_EQ(link_.reports, radio_.SendLog);
  EXPECT_EQ(radio_.LastSentFreq[0], 0);
}

TEST_F(Tuning, FailedOpensAreLoggedAndReportedOnce) {
  link_.openFailure = "not found";
  TuneAndRun(0, 8942);
  TuneAndRun(0, 8942);  // tried again, not reported again
  TuneAndRun(1, 8942);
  settings_.ComNoL = 5;
  TuneAndRun(0, 8942);
  TuneAndRun(0, 8942);
  const std::string missing = "Lch: can not open ttyUSB0: not found";
  const std::string none = "Lch: no serial port is chosen";
  EXPECT_EQ(radio_.SendLog, (Lines{missing, missing, "Rch: can not open ttyUSB0: not found", none, none}));
  EXPECT_EQ(link_.reports, (Lines{missing, "Rch: can not open ttyUSB0: not found", none}));
  // Once the port opened, its next failure is reported again.
  settings_.ComNoL = 0;
  link_.openFailure.clear();
  TuneAndRun(0, 8942);
  link_.openFailure = "not found";
  TuneAndRun(0, 10081);
  EXPECT_EQ(link_.reports.back(), missing);
  EXPECT_EQ(link_.reports.size(), 4u);
  EXPECT_TRUE(link_.writes.size() == 2u);
}

// The CI-V address as a settings file may hold it: hexadecimal in either
// case; what is not, the broadcast address.
TEST(ReceiverCommands, IcomAddressesOutOfTheField) {
  EXPECT_EQ(IcomAddress("a0"), 0xA0);
  EXPECT_EQ(IcomAddress(""), 0xFF);
  EXPECT_EQ(IcomAddress("g1"), 0xFF);
}

// The AOR frequency keeps its point where the locale has a decimal comma.
TEST(ReceiverCommands, MhzTextInALocaleWithADecimalComma) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  auto setComma = [] {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') return true;
    }
    return false;
  };
  // Without one installed, build one where the system has the sources.
  testing_support::TempDir locales;
  bool comma = setComma();
  if (!comma &&
      std::system(("localedef -i de_DE -f UTF-8 '" + locales.File("de_DE.UTF-8") + "' 2>/dev/null").c_str()) == 0) {
    setenv("LOCPATH", locales.path().c_str(), 1);
    comma = setComma();
  }
  const std::string text = MhzText(8942);
  const Bytes aor = BuildTuningPlan(RadioType::Aor, 8942, "FF").steps.at(0).bytes;
  std::setlocale(LC_NUMERIC, saved.c_str());
  unsetenv("LOCPATH");
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma";
  EXPECT_EQ(text, "8.942");
  EXPECT_EQ(std::string(aor.begin(), aor.end()), "RF8.942\r\n");
}

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

TEST_F(Tuning, KeypadTunesAtTheFifthDigitOrEnt) {
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
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 12345)}));
  EXPECT_EQ(settings_.ManualL, 12345);
  // Below 1601 kHz: dropped, the last accepted value shows again.
  for (int button : {1, 6, 10, 10, 11}) keypad.Button(button)->click();
  EXPECT_EQ(keypad.Label(1)->text(), "12345");
  EXPECT_EQ(radio_.SendLog.size(), 1u);
  // Escape is CE and leaves the keypad open.
  Key(&keypad, Qt::Key_7);
  Key(&keypad, Qt::Key_Escape);
  EXPECT_TRUE(keypad.isVisible());
  EXPECT_EQ(keypad.Label(1)->text(), "12345");
}

// Showing the grid tunes nothing; a click on a cell tunes once, an empty
// cell opens and closes the port; opened for R, the grid tunes R. Every
// frequency shows whole: one cut to "2193..." could be any of ten.
TEST_F(Tuning, GridCellsTuneOnceEach) {
  TForm25 grid(*form_, controller_);
  radio_.GridChannel = 0;
  grid.show();
  grid.activateWindow();
  grid.StringGrid1()->setFocus();
  QCoreApplication::processEvents();
  link_.Run();
  EXPECT_TRUE(link_.events.empty()) << "showing the grid tuned";
  QTableWidget* cells = grid.StringGrid1();
  ASSERT_EQ(cells->rowCount(), 3);
  for (int c = 1; c <= 5; ++c) {
    const QString text = cells->item(0, c)->text();
    EXPECT_GT(cells->columnWidth(c), cells->fontMetrics().horizontalAdvance(text)) << text.toStdString();
  }
  ClickCell(cells, 0, 4);  // Tokyo, slot 4
  ClickCell(cells, 0, 4);
  link_.Run();
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 8942)}));
  link_.events.clear();
  ClickCell(cells, 0, 7);
  link_.Run();
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "close"}));
  EXPECT_EQ(link_.writes.size(), 2u);
  grid.hide();
  radio_.GridChannel = 1;
  grid.show();
  QCoreApplication::processEvents();
  ClickCell(cells, 0, 4);
  link_.Run();
  EXPECT_EQ(radio_.SendLog.back(), Set("Rch", 8942));
}

// Manual while OFF enables the manual button, ON the list and the force
// button; OFF disables them and closes that channel's keypad. Each control
// writes its setting; a combo showing no selection writes -1; the address
// takes two hexadecimal digits at most.
TEST_F(Tuning, ControlsWriteTheSettingsAndEnableTheButtons) {
  TForm24 settings(*form_, controller_);
  TForm29 keypad(*form_, controller_);
  const TForm24::Channel& l = settings.Controls(0);
  const TForm24::Channel& r = settings.Controls(1);
  auto enabled = [&] {
    return std::vector<bool>{l.list->isEnabled(), l.manual->isEnabled(), settings.Button1()->isEnabled()};
  };
  EXPECT_EQ(l.port->count(), 2);
  EXPECT_EQ(l.station->count(), 3);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
  l.target->setCurrentIndex(kManual);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
  l.control->setCurrentIndex(1);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
  l.manual->click();
  ASSERT_TRUE(keypad.isVisible());
  l.control->setCurrentIndex(0);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(keypad.isVisible());

  r.station->setCurrentIndex(1);
  r.control->setCurrentIndex(1);
  r.target->setCurrentIndex(kMostHigh);
  r.port->setCurrentIndex(1);
  r.radio->setCurrentIndex(4);
  EXPECT_FALSE(r.address->isEnabled());
  const RadioSettings& s = settings_;
  EXPECT_EQ((std::vector<int>{s.ListNoR, s.EngageR, s.SelFreqR, s.ComNoR, s.TypeR, s.EngageL, s.SelFreqL}),
            (std::vector<int>{1, 1, kMostHigh, 1, 4, 0, kManual}));
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QKeyEvent notHex(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g");
  QApplication::sendEvent(l.address, &typed);
  EXPECT_EQ(l.address->text(), "FF");
  l.address->clear();
  QApplication::sendEvent(l.address, &typed);
  QApplication::sendEvent(l.address, &notHex);
  EXPECT_EQ(l.address->text(), "A");
  EXPECT_EQ(s.IdL, "A");
  r.port->setCurrentIndex(-1);
  r.station->setCurrentIndex(-1);
  EXPECT_EQ(s.ComNoR, -1);
  EXPECT_EQ(s.ListNoR, -1);
}

TEST_F(Tuning, ForceSettingTunesManualAndSkipsNothingFound) {
  settings_.EngageL = 1;
  settings_.SelFreqL = kManual;
  settings_.ManualL = 7000;
  settings_.EngageR = 1;
  settings_.SelFreqR = kMostLow;
  TForm24 settings(*form_, controller_);
  // No station announced a frequency.
  settings.Button1()->click();
  link_.Run();
  EXPECT_EQ(radio_.SendLog, (Lines{Set("Lch", 7000)}));
  EXPECT_EQ(link_.events, (Lines{"open ttyUSB0 2", "close"}));
}

}  // namespace
