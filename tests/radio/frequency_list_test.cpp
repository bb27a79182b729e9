// The frequency list: its rows from the ground-station table, and the
// receivers' targets chosen from the rows that changed.
#include <gtest/gtest.h>

#include <memory>

#include "hfdl/hfdl_reception.h"
#include "platform/date_time.h"
#include "radio/frequency_list.h"
#include "support/recording_links.h"

namespace {

using testing_support::RecordingTuner;

class FrequencyList : public ::testing::Test {
 protected:
  FrequencyList() {
    for (std::string& name : hfdl_->GsNames) name = "Unused";
    // Rows 0, 1 and 2.
    Station(1, "Tokyo", {21934, 17919, 11384, 8942, 6559});
    Station(4, "Hat Yai", {13270, 10081, 8924, 5655});
    Station(9, "Reykjavik", {17985, 11184, 8977, 5720});
  }

  void Station(int id, const char* name, const std::vector<int32_t>& kHz) {
    hfdl_->GsNames[static_cast<size_t>(id)] = name;
    for (size_t s = 0; s < kHz.size(); ++s) hfdl_->GsFrequencies[id][s] = kHz[s];
  }
  // A squitter's active slots (1..20, 0 none).
  void Announce(int id, int a, int b = 0, int c = 0) {
    hfdl_->GsActiveFreqs[id][0] = a;
    hfdl_->GsActiveFreqs[id][1] = b;
    hfdl_->GsActiveFreqs[id][2] = c;
    hfdl_->GsCheckedTime[static_cast<size_t>(id)] = platform::EncodeTime(13, 5, 27);
  }
  void Follow(int channel, int row, int mode) {
    (channel == 0 ? settings_.EngageL : settings_.EngageR) = 1;
    (channel == 0 ? settings_.ListNoL : settings_.ListNoR) = row;
    (channel == 0 ? settings_.SelFreqL : settings_.SelFreqR) = mode;
  }
  std::vector<std::string> Refresh() {
    tuner_.calls.clear();
    RefreshFrequencies(radio_, settings_, *hfdl_, tuner_);
    return tuner_.calls;
  }

  std::unique_ptr<HfdlReception> hfdl_ = std::make_unique<HfdlReception>();
  RadioState radio_;
  RadioSettings settings_;
  RecordingTuner tuner_{radio_};
};

using Calls = std::vector<std::string>;

TEST_F(FrequencyList, EachModeChoosesItsFrequency) {
  Announce(1, 3, 4, 5);  // 11384, 8942, 6559
  const std::pair<int, const char*> modes[] = {{kMostLow, "L 6559"},     {kMostHigh, "L 11384"},
                                               {kFrequency2, "L 8942"},  {kFrequency1, "L 11384"},
                                               {kFrequency3, "L 6559"}};
  for (const auto& [mode, tuned] : modes) {
    radio_.FrequencyRows.clear();  // every cell changes again
    Follow(0, 0, mode);
    EXPECT_EQ(Refresh(), Calls{tuned}) << mode;
  }
  radio_.FrequencyRows.clear();
  Follow(0, 0, kManual);
  EXPECT_EQ(Refresh(), Calls{});
  // Most Low over no active slot, and an empty fixed slot, tune nothing.
  Announce(1, 0);
  Follow(0, 0, kMostLow);
  Follow(1, 0, kFrequency3);
  EXPECT_EQ(Refresh(), Calls{});
  // A frequency in the second slot only: no checked time shows.
  hfdl_->GsActiveFreqs[1][1] = 2;
  EXPECT_EQ(Refresh(), Calls{"L 17919"});
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "--:--:--");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies, (std::array<std::string, 3>{"-", "17919kHz", "-"}));
  Announce(1, 4);
  Refresh();
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "13:05:27");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies[0], "8942kHz");
}

TEST_F(FrequencyList, OnlyAChangeInAFollowedRowTunes) {
  Announce(1, 4, 5);  // 8942, 6559
  Announce(9, 2, 3);  // 11184, 8977
  Follow(0, 0, kMostLow);
  Follow(1, 2, kMostHigh);
  EXPECT_EQ(Refresh(), (Calls{"L 6559", "Timer1 R 11184"}));
  EXPECT_EQ(Refresh(), Calls{});
  // A station nobody follows.
  Announce(4, 1, 2);
  EXPECT_EQ(Refresh(), Calls{});
  // Only L's row changed; R's row comes after it and is evaluated too.
  Announce(1, 3, 4);  // 11384, 8942
  EXPECT_EQ(Refresh(), (Calls{"L 8942", "Timer1 R 11184"}));
  // R's row before L's: only L is evaluated.
  Follow(0, 2, kMostLow);
  Follow(1, 0, kMostHigh);
  Announce(9, 4);  // 5720
  EXPECT_EQ(Refresh(), (Calls{"L 5720"}));
}

// Every refresh used to reset the targets, while R is tuned from Timer1.
TEST_F(FrequencyList, ARefreshBeforeTimer1KeepsTheRightTarget) {
  Announce(1, 4, 5);
  Follow(1, 0, kMostLow);
  EXPECT_EQ(Refresh(), (Calls{"Timer1 R 6559"}));
  // 100 ms later another station's squitter, then a copy of the first.
  Announce(4, 2);
  EXPECT_EQ(Refresh(), Calls{});
  Announce(1, 4, 5);
  EXPECT_EQ(Refresh(), Calls{});
  EXPECT_EQ(radio_.TargetFreqR, 6559);
}

TEST_F(FrequencyList, RowsFollowTheUsedStations) {
  Refresh();
  ASSERT_EQ(radio_.FrequencyRows.size(), 3u);
  Station(6, "Shannon", {11384, 8942});
  Announce(6, 1, 2);
  Follow(0, 2, kMostHigh);  // Shannon is row 2 now
  EXPECT_EQ(Refresh(), (Calls{"L 11384"}));
  ASSERT_EQ(radio_.FrequencyRows.size(), 4u);
  EXPECT_EQ(radio_.FrequencyRows[2].name, "Shannon");
  // A row past the list and a slot past the table do nothing.
  Follow(0, 40, kMostHigh);
  Announce(1, 25, 4);
  EXPECT_EQ(Refresh(), Calls{});
  EXPECT_EQ(radio_.FrequencyRows[0].checkedTime, "--:--:--");
  EXPECT_EQ(radio_.FrequencyRows[0].frequencies[0], "-");
}

}  // namespace
