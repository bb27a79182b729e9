// The real program decoding a wave file of the test transmitter, as a user
// without a radio runs it.
#include <gtest/gtest.h>

#include <charconv>
#include <regex>

#include "hfdl_tx/hfdl_frames.h"
#include "platform/date_time.h"
#include "support/reception_rig.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;

std::vector<std::vector<uint8_t>> ScenarioOctets() {
  std::vector<std::vector<uint8_t>> octets;
  for (const hfdl_tx::ScenarioFrame& f : hfdl_tx::AnalysisScenario()) octets.push_back(f.octets);
  return octets;
}

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

  const std::string log = ReadFile(dir.File("logs/" + platform::FormatDateCompact(platform::Now()) + "_HFDL_ANA.log"));
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

std::string Golden(const std::string& name) { return testing_support::WithoutCr(testing_support::Golden(name)); }

// The texts of several frames, each beginning with the header.
std::vector<std::string> SplitFrames(const std::string& text, const std::string& header) {
  std::vector<std::string> frames;
  for (size_t start = text.find(header); start != std::string::npos;) {
    const size_t next = text.find(header, start + 1);
    frames.push_back(text.substr(start, next == std::string::npos ? std::string::npos : next - start));
    start = next;
  }
  return frames;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

std::string MaskDates(const std::string& text) {
  static const std::regex date(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
  static const std::regex frequencyError(R"(Frequency Error = [-+0-9.]+ Hz)");
  return std::regex_replace(std::regex_replace(text, date, "DATE"), frequencyError, "Frequency Error = X Hz");
}

TEST(HfdlProgram, LogsEndToEnd) {
  testing_support::TempDir dir;
  const std::string wave = dir.File("scenario.wav");
  auto tx = RunProgram(HFDL_TXGEN, {"--scenario", wave}, {}, 60000);
  ASSERT_EQ(tx.exitCode, 0) << tx.standardError;

  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  for (const char* name : {"freqs.csv", "ICAO24.csv"}) {
    testing_support::WriteFile(dir.File(std::string("data/") + name),
                               ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/tests/hfdl/golden/" + name));
  }
  auto run = RunProgram(dir.File("skarvel"), {"--audio-file", wave, "--fast"},
                        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 120000);
  ASSERT_EQ(run.exitCode, 0) << run.standardError;

  const std::string logs = dir.File("logs/" + platform::FormatDateCompact(platform::Now()) + "_HFDL_");
  // The frames as the transmitter built them, in the DAT log's hex form.
  const char* hexDigits = "0123456789ABCDEF";
  std::string dat;
  for (const std::vector<uint8_t>& octets : ScenarioOctets()) {
    dat += "[Lch]DATE>HFDL<SOH>";
    for (uint8_t o : octets) dat += std::string{hexDigits[o & 15], hexDigits[o >> 4]};
    dat += "<ETX>\n";
  }
  EXPECT_EQ(MaskDates(ReadFile(logs + "DAT.log")), dat);

  // Each frame: the receiving block, then the analysis of the golden case.
  const std::vector<std::string> table = SplitFrames(Golden("system_table.ana"), "/Data Analysis(");
  const std::vector<std::string> tableCompact = SplitFrames(Golden("system_table.fmt"), "Lch---");
  ASSERT_EQ(table.size(), 5u);
  const std::vector<std::string> analyses = {
      Golden("squitter.ana"),
      ReplaceAll(Golden("logon_request.ana"), "Flight ID = JAL123", "Flight ID = JL123 "),
      ReplaceAll(Golden("logon_confirm.ana"), "Rch", "Lch"),
      Golden("acars.ana"),
      ReplaceAll(Golden("performance_data.ana"), "Rch", "Lch"),
      Golden("frequency_data.ana"),
      table[0],
      table[1],
      table[3]};
  const std::vector<std::string> compacts = {Golden("squitter.fmt"),
                                             Golden("logon_request.fmt"),
                                             ReplaceAll(Golden("logon_confirm.fmt"), "Rch", "Lch"),
                                             Golden("acars.fmt"),
                                             ReplaceAll(Golden("performance_data.fmt"), "Rch", "Lch"),
                                             Golden("frequency_data.fmt"),
                                             tableCompact[0],
                                             tableCompact[1],
                                             tableCompact[3]};
  std::string ana, fmt;
  for (size_t n = 0; n < analyses.size(); ++n) {
    const std::string mode = analyses[n].substr(analyses[n].find("Mode = ") + 7, 20);
    ana += "/Data Receiving(Lch)/" + std::string(34, '-') + "\n" + mode + "\nFrequency Error = X Hz\n" + analyses[n];
    fmt += compacts[n] + "\n";
  }
  EXPECT_EQ(MaskDates(ReadFile(logs + "ANA.log")), MaskDates(ana));
  EXPECT_EQ(MaskDates(ReadFile(logs + "FMT.log")), MaskDates(fmt));

  // The completed system table was saved, and its version with the settings.
  EXPECT_NE(ReadFile(dir.File("data/freqs.csv")).find("San Francisco,454,21934,0,"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("data/system.txt")).substr(0, 27), "System Table Version = 36\r\n");
  EXPECT_NE(ReadFile(dir.File("skarvel.ini")).find("SystemVer=36"), std::string::npos);
}

}  // namespace
