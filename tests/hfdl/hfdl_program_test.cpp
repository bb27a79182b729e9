// The real program decoding a wave file of the test transmitter, as a user
// without a radio runs it.
#include <gtest/gtest.h>

#include <regex>

#include "hfdl_tx/hfdl_frames.h"
#include "platform/date_time.h"
#include "support/reception_rig.h"

namespace {

using testing_support::Golden;
using testing_support::ReadFile;
using testing_support::RunProgram;

// A golden text as the logs hold it.
std::string Logged(const std::string& name) { return testing_support::WithoutCr(Golden(name)); }

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

std::string MaskDates(const std::string& text) {
  static const std::regex date(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
  static const std::regex frequencyError(R"(Frequency Error = [-+0-9.]+ Hz)");
  return std::regex_replace(std::regex_replace(text, date, "DATE"), frequencyError, "Frequency Error = X Hz");
}

// Every kind of frame, at 44100 Hz with an offset and noise, in a copy of
// the program folder with logging on and the data files of the goldens.
TEST(HfdlProgram, ScenarioRecordingBecomesTheDaysLogsAndTheSystemTable) {
  testing_support::TempDir dir;
  const std::string wave = dir.File("scenario.wav");
  // The offset is measured on the noisy prekey: the fixed seed keeps the run
  // repeatable.
  auto tx = RunProgram(HFDL_TXGEN, {"--scenario", "--offset", "7.3", "--snr", "30", "--rate", "44100", "--seed", "3", wave},
                       {}, 60000);
  ASSERT_EQ(tx.exitCode, 0) << tx.standardError;
  testing_support::CopyProgramFolder(dir.path());
  for (const char* name : {"freqs.csv", "ICAO24.csv"}) testing_support::WriteFile(dir.File("data/") + name, Golden(name));
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  auto run = RunProgram(dir.File("skarvel"), {"--audio-file", wave, "--fast"},
                        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 120000);
  ASSERT_EQ(run.exitCode, 0) << run.standardError;
  const std::string logs = dir.File("logs/" + platform::FormatDateCompact(platform::Now()) + "_HFDL_");

  // The frames as the transmitter built them, in the DAT log's hex form.
  std::string dat;
  for (const hfdl_tx::ScenarioFrame& f : hfdl_tx::AnalysisScenario()) {
    dat += "[Lch]DATE>HFDL<SOH>" + hfdl_tx::RelayHex(f.octets) + "<ETX>\n";
  }
  EXPECT_EQ(MaskDates(ReadFile(logs + "DAT.log")), dat);

  // Each frame: the receiving block with its mode, then the analysis of the
  // golden case (those send the log-on's flight as JAL123 and two frames on
  // the right).
  const std::vector<std::string> table = SplitFrames(Logged("system_table.ana"), "/Data Analysis(");
  const std::vector<std::string> tableCompact = SplitFrames(Logged("system_table.fmt"), "Lch---");
  ASSERT_EQ(table.size(), 5u);
  std::vector<std::pair<std::string, std::string>> texts;
  for (std::string name : {"squitter", "logon_request", "logon_confirm", "acars", "performance_data", "frequency_data"}) {
    static const std::regex right("Rch"), jal("ID = JAL123");
    texts.push_back({std::regex_replace(std::regex_replace(Logged(name + ".ana"), right, "Lch"), jal, "ID = JL123 "),
                     std::regex_replace(Logged(name + ".fmt"), right, "Lch")});
  }
  for (int part : {0, 1, 3}) texts.push_back({table[part], tableCompact[part]});
  std::string ana, fmt;
  for (const auto& [analysis, compact] : texts) {
    const std::string mode = analysis.substr(analysis.find("Mode = ") + 7, 20);
    ana += "/Data Receiving(Lch)/" + std::string(34, '-') + "\n" + mode + "\nFrequency Error = X Hz\n" + analysis;
    fmt += compact + "\n";
  }
  const std::string anaLog = ReadFile(logs + "ANA.log");
  EXPECT_EQ(MaskDates(anaLog), MaskDates(ana));
  EXPECT_EQ(MaskDates(ReadFile(logs + "FMT.log")), MaskDates(fmt));
  static const std::regex offset("Frequency Error = ([-+0-9.]+) Hz");
  int measured = 0;
  for (std::sregex_iterator it(anaLog.begin(), anaLog.end(), offset), end; it != end; ++it, ++measured) {
    EXPECT_NEAR(std::stod((*it)[1]), 7.3, 0.05) << (*it)[0];
  }
  EXPECT_EQ(measured, 9);

  // The completed system table was saved, and its version with the settings.
  EXPECT_EQ(MaskDates(ReadFile(dir.File("data/freqs.csv"))), MaskDates(Golden("freqs_after_table.csv")));
  EXPECT_EQ(MaskDates(ReadFile(dir.File("data/system.txt"))), MaskDates(Golden("system.txt")));
  EXPECT_NE(ReadFile(dir.File("skarvel.ini")).find("SystemVer=36"), std::string::npos);
}

}  // namespace
