// The HFDL texts outside the frame analysis: the relay hex form, the lines
// of a sync, where a frame's texts go with logging off, during an import
// and when a log cannot be written, and the names of control characters.
#include <gtest/gtest.h>

#include "exchange/received_text.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/control_char_name.h"
#include "platform/file_io.h"
#include "platform/write_failure.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReadFile;

TEST(HfdlText, HexFormLowNibbleFirstAndBack) {
  const uint8_t octet = 0xA5;
  EXPECT_EQ(HfdlOctetsToHex(&octet, 1), "5A");
  HfdlFrameInput frame;
  // The digit rule keeps only the low four bits: "5a" is "5A".
  ASSERT_TRUE(HfdlHexToInput("5a", frame));
  EXPECT_EQ(frame.Octets, std::vector<uint8_t>{0xA5});
  EXPECT_EQ(frame.BitCount, 8u);
  EXPECT_EQ(frame.ModeCode, 20);
  EXPECT_EQ(frame.Channel, 2);
  // An odd digit count ends inside an octet.
  ASSERT_TRUE(HfdlHexToInput("5A7", frame));
  EXPECT_EQ(frame.BitCount, 12u);
}

class HfdlTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    text_.SetDailyLogs(dir_.File("logs"), "20261206");
    txt_.TxtLog = 1;
    for (int kind = 0; kind < 6; ++kind) txt_.LogOutFlag(kind) = 1;
    txt_.MaxBytes = 10000;
  }
  // A squitter of GS 1 as received on the left channel.
  HfdlFrame Squitter() {
    HfdlFrameInput input;
    input.Octets = hfdl_tx::ScenarioSquitter().octets;
    input.Octets.resize(135, 0);
    input.BitCount = 8 * input.Octets.size();
    input.ModeCode = 0;
    input.Channel = 0;
    input.SourceTag = "Lch";
    input.ErrorRatioLine = "ErrorRatio = 0.00000";
    return AnalyzeHfdlFrame(hfdl_, EtcSettings{}, NoHfdlLookups(), input);
  }
  // A squitter's DAT line: 66 octets in hex.
  static constexpr size_t kSquitterDat = sizeof "[Lch]2026/12/06 14:03:07>HFDL<SOH><ETX>\r\n" - 1 + 2 * 66;
  std::string Log(const std::string& kind) { return ReadFile(dir_.File("logs/20261206_HFDL_" + kind + ".log")); }

  testing_support::TempDir dir_;
  testing_support::FixedClock clock_{platform::EncodeDateTime(2026, 12, 6, 14, 3, 7)};
  HfdlReception hfdl_;
  ReceivedText text_;
  TxtSettings txt_;
};

TEST_F(HfdlTexts, SyncLinesNameTheChannelModeAndOffset) {
  WriteHfdlSyncLines(text_, txt_, 0, false, 2, -1.2345);
  const std::string left =
      "/Data Receiving(Lch)/" + std::string(34, '-') + "\r\nQPSK 1200bits/s 1.8s\r\nFrequency Error = -1.2345 Hz\r\n";
  EXPECT_EQ(text_.Buffer(kHfdlAna), left);
  // A frame running on the other channel keeps the text.
  WriteHfdlSyncLines(text_, txt_, 1, true, 0, 7.30834);
  const std::string right =
      "/Data Receiving(Rch)/" + std::string(34, '-') + "\r\nBPSK 300bits/s 1.8s \r\nFrequency Error = +7.3083 Hz\r\n";
  EXPECT_EQ(text_.Buffer(kHfdlAna), left + right);
  EXPECT_EQ(Log("ANA"), testing_support::WithoutCr(left + right));
  // Otherwise it starts afresh.
  WriteHfdlSyncLines(text_, txt_, 1, false, 0, 7.30834);
  EXPECT_EQ(text_.Buffer(kHfdlAna), right);
  EXPECT_EQ(FrequencyErrorLine(0.0), "Frequency Error = +0.0000 Hz");
  EXPECT_EQ(FrequencyErrorLine(-0.00004), "Frequency Error = -0.0000 Hz");
}

TEST_F(HfdlTexts, NothingIsWrittenWithLoggingOff) {
  txt_.TxtLog = 0;
  WriteHfdlTexts(text_, txt_, Squitter());
  for (int kind : {kHfdlAna, kHfdlFmt, kHfdlDat}) EXPECT_FALSE(platform::FileExists(text_.LogPath(kind))) << kind;
  EXPECT_NE(text_.Buffer(kHfdlAna).find("Ground Station ID = 1\r\n"), std::string::npos);
  EXPECT_EQ(text_.Buffer(kHfdlDat).size(), kSquitterDat);
}

TEST_F(HfdlTexts, DatLinesGoToTheTwinDuringAnImport) {
  text_.SetImportPath(text_.LogPath(kHfdlDat));
  WriteHfdlTexts(text_, txt_, Squitter());
  text_.SetImportPath("");
  EXPECT_FALSE(platform::FileExists(text_.LogPath(kHfdlDat)));
  const std::string line = testing_support::WithoutCr(text_.Buffer(kHfdlDat));
  EXPECT_EQ(Log("DAT_c"), line);
  WriteHfdlTexts(text_, txt_, Squitter());
  EXPECT_EQ(Log("DAT"), line);
}

TEST_F(HfdlTexts, AnUnwritableLogIsReportedOnce) {
  std::vector<std::string> reported;
  platform::ResetWriteFailureReports();
  platform::SetWriteFailureHandler([&](const std::string& path) { reported.push_back(path); });
  // A file where the logs folder should be.
  testing_support::WriteFile(dir_.File("blocked"), "");
  text_.SetDailyLogs(dir_.File("blocked"), "20261206");
  WriteHfdlTexts(text_, txt_, Squitter());
  WriteHfdlTexts(text_, txt_, Squitter());
  platform::SetWriteFailureHandler(nullptr);
  EXPECT_EQ(std::count(reported.begin(), reported.end(), text_.LogPath(kHfdlAna)), 1);
  EXPECT_EQ(text_.Buffer(kHfdlDat).size(), 2 * kSquitterDat);
}

TEST(HfdlText, ControlCharNamesAndBack) {
  for (const auto& [value, name] : std::vector<std::pair<uint8_t, std::string>>{
           {10, "<VF>"}, {65, "A"}, {127, "<DEL>"}, {1, "<SOH>"}, {0xB1, "\xB1"}}) {
    EXPECT_EQ(ControlCharName(value), name) << int(value);
  }
  for (int v = 0; v < 128; ++v) {
    const std::string name = ControlCharName(static_cast<uint8_t>(v));
    const auto back = ControlCharValue(name);
    EXPECT_EQ(back.has_value(), v < 32 || v == 127) << v;
    if (back) {
      EXPECT_EQ(*back, v);
    }
  }
}

}  // namespace
