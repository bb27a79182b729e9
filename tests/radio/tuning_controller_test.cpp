// Tuning over a fake port and timers: what is sent, when, and what a
// busy, silent or missing port leaves behind; and the parts of the
// commands a user's settings and locale could upset.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/date_time.h"
#include "radio/receiver_commands.h"
#include "radio/tuning_controller.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::FakeTuningLink;
using Lines = std::vector<std::string>;

class TuningController_ : public ::testing::Test {
 protected:
  TuningController_() {
    radio_.Ports = {"ttyUSB0", "ttyUSB1"};
    settings_.IdL = settings_.IdR = "FF";
    link_.Attach(controller_);
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
  RadioState radio_;
  RadioSettings settings_;
  FakeTuningLink link_;
  TuningController controller_{radio_, settings_, link_};
};

using TuningController = TuningController_;

TEST_F(TuningController, TheSameTargetIsSentOnce) {
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
TEST_F(TuningController, AFrequencyTheReceiverCannotTakeIsLoggedAsNotSent) {
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

TEST_F(TuningController, TheSequenceGoesOnFromTheEventLoop) {
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

TEST_F(TuningController, TuningsThatFindThePortBusyAreAllDone) {
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

TEST_F(TuningController, APortThatTakesNothingIsGivenUp) {
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

TEST_F(TuningController, FailedOpensAreLoggedAndReportedOnce) {
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

// The CI-V address field as a settings file may hold it: hexadecimal, one
// or two digits, anything else the broadcast address.
TEST(ReceiverCommands, IcomAddressesOutOfTheField) {
  for (auto [text, address] : {std::pair{"94", 0x94}, std::pair{"5", 0x05}, std::pair{"a0", 0xA0},
                               std::pair{"", 0xFF}, std::pair{"g1", 0xFF}}) {
    EXPECT_EQ(IcomAddress(text), address) << text;
  }
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

}  // namespace
