#include <gtest/gtest.h>

#include "hfdl/hfdl_text.h"
#include "hfdl_harness.h"
#include "platform/file_io.h"
#include "platform/write_failure.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;

class HfdlText : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = hfdl_test::MakeForm(recorder_);
    form_->Txt.TxtLog = 1;
    form_->Txt.LogOutHFDLDAT = form_->Txt.LogOutHFDLANA = form_->Txt.LogOutHFDLFMT = 1;
    form_->text.HfdlDatLogPath = dir_.File("logs/20261206_HFDL_DAT.log");
    form_->text.HfdlAnaLogPath = dir_.File("logs/20261206_HFDL_ANA.log");
    form_->text.HfdlFmtLogPath = dir_.File("logs/20261206_HFDL_FMT.log");
    form_->app.SourceTag = "Lch";
  }

  testing_support::TempDir dir_;
  testing_support::FixedClock clock_{platform::EncodeDateTime(2026, 12, 6, 14, 3, 7)};
  hfdl_test::Recorder recorder_;
  std::unique_ptr<Form1State> form_;
};

TEST_F(HfdlText, HexFormLowNibbleFirstAndBack) {
  const uint8_t bits[8] = {1, 0, 1, 0, 0, 1, 0, 1};  // 0xA5
  EXPECT_EQ(HfdlBitsToHex(bits, 1), "5A");

  AnalyzeNetworkHfdlFrame(*form_, "5A");
  ASSERT_EQ(recorder_.frames.size(), 1u);
  const auto& frame = recorder_.frames[0];
  EXPECT_EQ(frame.modeCode, 20);
  EXPECT_EQ(frame.channel, 2);
  EXPECT_EQ(frame.bits.size(), 8u);  // four bits a digit: the analysis reads no further
  EXPECT_TRUE(std::equal(bits, bits + 8, frame.bits.begin()));
  // The digit rule keeps only the low four bits: "5a" is "5A".
  AnalyzeNetworkHfdlFrame(*form_, "5a");
  EXPECT_EQ(recorder_.frames[1].bits, recorder_.frames[0].bits);
}

TEST_F(HfdlText, NetworkFrameClearsTheBitsOfAnEarlierOne) {
  AnalyzeNetworkHfdlFrame(*form_, std::string(3780, 'F'));
  AnalyzeNetworkHfdlFrame(*form_, "00");
  ASSERT_EQ(recorder_.frames.size(), 2u);
  const auto& first = recorder_.frames[0].bits;
  const auto& second = recorder_.frames[1].bits;
  EXPECT_EQ(std::count(first.begin(), first.end(), 1), 15120);
  EXPECT_EQ(std::count(second.begin(), second.end(), 1), 0);
  // Longer than any frame: refused, nothing analysed.
  AnalyzeNetworkHfdlFrame(*form_, std::string(3781, '0'));
  EXPECT_EQ(recorder_.frames.size(), 2u);
}

TEST_F(HfdlText, DatLineInBufferAndLog) {
  WriteHfdlDatLog(*form_, "5A");
  const std::string line = "[Lch]2026/12/06 14:03:07>HFDL<SOH>5A<ETX>";
  EXPECT_EQ(form_->text.TextBuffers[kHfdlDat], line + "\r\n");
  EXPECT_EQ(ReadFile(form_->text.HfdlDatLogPath), line + "\n");
  EXPECT_EQ(recorder_.calls, std::vector<std::string>{"trim 3"});
}

TEST_F(HfdlText, DatLinesGoToTheTwinDuringAnImport) {
  form_->text.ImportPath = form_->text.HfdlDatLogPath;
  WriteHfdlDatLog(*form_, "01");
  EXPECT_EQ(form_->text.HfdlDatLogPath, dir_.File("logs/20261206_HFDL_DAT.log"));
  form_->text.ImportPath.clear();
  WriteHfdlDatLog(*form_, "02");
  EXPECT_EQ(ReadFile(dir_.File("logs/20261206_HFDL_DAT_c.log")), "[Lch]2026/12/06 14:03:07>HFDL<SOH>01<ETX>\n");
  EXPECT_EQ(ReadFile(form_->text.HfdlDatLogPath), "[Lch]2026/12/06 14:03:07>HFDL<SOH>02<ETX>\n");
}

TEST_F(HfdlText, AnalysisAndCompactLineEnds) {
  WriteHfdlAnaLog(*form_, "line one", kHfdlAna);
  WriteHfdlAnaLog(*form_, "line two", kHfdlAna);
  EXPECT_EQ(form_->text.TextBuffers[kHfdlAna], "line one\r\nline two\r\n");
  EXPECT_EQ(ReadFile(form_->text.HfdlAnaLogPath), "line one\nline two\n");
  WriteHfdlFmtLog(*form_, "   A = 1\r\n   B = 2\r\n");
  EXPECT_EQ(ReadFile(form_->text.HfdlFmtLogPath), "   A = 1\n   B = 2\n\n");
  // Buffer 4 is not trimmed here.
  EXPECT_TRUE(recorder_.calls.empty());
}

TEST_F(HfdlText, NothingIsWrittenWithLoggingOff) {
  form_->Txt.TxtLog = 0;
  WriteHfdlDatLog(*form_, "5A");
  WriteHfdlAnaLog(*form_, "x", kHfdlAna);
  WriteHfdlFmtLog(*form_, "y\r\n");
  EXPECT_FALSE(platform::FileExists(form_->text.HfdlDatLogPath));
  EXPECT_FALSE(platform::FileExists(form_->text.HfdlAnaLogPath));
  EXPECT_FALSE(platform::FileExists(form_->text.HfdlFmtLogPath));
  EXPECT_EQ(form_->text.TextBuffers[kHfdlDat].size(), 43u);
}

TEST_F(HfdlText, AnUnwritableLogIsReportedOnce) {
  std::vector<std::string> reported;
  platform::ResetWriteFailureReports();
  platform::SetWriteFailureHandler([&](const std::string& path) { reported.push_back(path); });
  testing_support::WriteFile(dir_.File("blocked"), "a file where a folder should be");
  form_->text.HfdlAnaLogPath = dir_.File("blocked/20261206_HFDL_ANA.log");
  WriteHfdlAnaLog(*form_, "x", kHfdlAna);
  WriteHfdlAnaLog(*form_, "y", kHfdlAna);
  platform::SetWriteFailureHandler(nullptr);
  EXPECT_EQ(reported, std::vector<std::string>{form_->text.HfdlAnaLogPath});
  EXPECT_EQ(form_->text.TextBuffers[kHfdlAna], "x\r\ny\r\n");
}

}  // namespace
