// The real program decoding a wave file of the test transmitter, as a user
// without a radio runs it.
#include <gtest/gtest.h>

#include <charconv>

#include "platform/date_time.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;

// The receiving blocks of the analysis log, in order: the mode line and the
// frequency error of each.
struct ReceivingBlock {
  std::string mode;
  double freqError = 0.0;
};
std::vector<ReceivingBlock> ReceivingBlocks(const std::string& log) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = log.find('\n'); end != std::string::npos; end = log.find('\n', start)) {
    lines.push_back(log.substr(start, end - start));
    start = end + 1;
  }
  std::vector<ReceivingBlock> blocks;
  const std::string frequency = "Frequency Error = +";
  for (size_t n = 0; n + 2 < lines.size(); ++n) {
    if (lines[n] != "/Data Receiving(Lch)/" + std::string(34, '-')) continue;
    ReceivingBlock b;
    b.mode = lines[n + 1];
    if (lines[n + 2].compare(0, frequency.size(), frequency) == 0) {
      const std::string& f = lines[n + 2];
      std::from_chars(f.data() + frequency.size(), f.data() + f.size(), b.freqError);
    } else {
      b.freqError = -1000.0;
    }
    blocks.push_back(b);
  }
  return blocks;
}

TEST(HfdlProgram, AudioFileEndToEnd) {
  testing_support::TempDir dir;
  const std::string wave = dir.File("bursts.wav");
  // The offset is measured on the noisy prekey: the fixed seed keeps the run
  // repeatable.
  auto tx = RunProgram(HFDL_TXGEN,
                       {"--modes", "all", "--offset", "7.3", "--snr", "30", "--rate", "44100", "--seed", "3", wave}, {},
                       60000);
  ASSERT_EQ(tx.exitCode, 0) << tx.standardError;

  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  auto run = RunProgram(dir.File("skarvel"), {"--audio-file", wave, "--fast"},
                        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 120000);
  ASSERT_EQ(run.exitCode, 0) << run.standardError;

  const std::string log =
      ReadFile(dir.File("logs/" + platform::FormatDateCompact(platform::Now()) + "_HFDL_ANA.log"));
  std::vector<ReceivingBlock> blocks = ReceivingBlocks(log);
  const char* names[8] = {"BPSK 300bits/s 1.8s ", "BPSK 600bits/s 1.8s ", "QPSK 1200bits/s 1.8s",
                          "8PSK 1800bits/s 1.8s", "BPSK 300bits/s 4.2s ", "BPSK 600bits/s 4.2s ",
                          "QPSK 1200bits/s 4.2s", "8PSK 1800bits/s 4.2s"};
  ASSERT_EQ(blocks.size(), 8u) << log;
  for (int m = 0; m < 8; ++m) {
    EXPECT_EQ(blocks[m].mode, names[m]);
    EXPECT_NEAR(blocks[m].freqError, 7.3, 0.05) << names[m];
  }
}

}  // namespace
