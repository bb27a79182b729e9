// The real program on a recording: a stereo wave file of ACARS traffic in,
// the day's RAW, PRC and MES logs out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <regex>

#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "platform/control_char_name.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

const char kStamp[] = "yyyy/mm/dd hh:mm:ss";

std::string Masked(const std::string& text) {
  static const std::regex stamp(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
  return std::regex_replace(text, stamp, kStamp);
}

std::string Raw(const std::string& tag, const acars_tx::Message& m) {
  std::string line = "[" + tag + "]" + kStamp + ">";
  for (char c : acars_tx::BlockCharacters(m)) line += ControlCharName(static_cast<uint8_t>(c));
  return line + "\r\n";
}

// One PRC or MES log entry: header, second line, banner, text, each line
// ending LF.
std::string Entry(const std::string& tag, const std::string& line2, const std::string& banner,
                  const std::string& text) {
  std::string e = tag + "------------------------[" + kStamp + "]\n" + line2 + "\n";
  if (!banner.empty()) e += banner + (text.empty() ? "" : "\n");
  return e + text + "\n";
}

std::string DownLine(const acars_tx::Message& m, const std::string& reg) {
  std::string fill(reg.size() < 7 ? 7 - reg.size() : 0, ' ');
  return m.flightId + " (" + reg + ")" + fill + "   [" + m.label + ":" + m.blockId + ":" + m.msgNo + "] MODE:" +
         m.mode + "   ";
}

std::string UpLine(const acars_tx::Message& m, const std::string& station, const std::string& address) {
  std::string fill(address.size() < 7 ? 7 - address.size() : 0, ' ');
  return station + "  (" + address + ")" + fill + "   [" + m.label + ":" + m.blockId + "] MODE:" + m.mode + "   ";
}

// The RAW lines or the PRC and MES entries of one channel, in the order
// they were written: each starts a line with "[Lch]" or "Lch---".
std::vector<std::string> RecordsOf(const std::string& log, const std::string& tag) {
  std::vector<std::string> out;
  bool mine = false;
  for (size_t at = 0, end; at < log.size(); at = end) {
    end = std::min(log.find('\n', at), log.size() - 1) + 1;
    const std::string line = log.substr(at, end - at);
    for (const std::string channel : {"Lch", "Rch"}) {
      if (line.rfind("[" + channel + "]", 0) == 0 || line.rfind(channel + "---", 0) == 0) {
        mine = channel == tag;
        if (mine) out.emplace_back();
      }
    }
    if (mine) out.back() += line;
  }
  return out;
}

// The program folder with the settings, and a --fast run of the program on
// a wave file of the bursts there.
struct ProgramRun {
  explicit ProgramRun(const std::string& settings) {
    testing_support::CopyProgramFolder(dir.path());
    testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n" + settings);
    testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  }
  testing_support::ProcessResult Run(const std::vector<acars_tx::Burst>& bursts, bool stereo = false) {
    acars_tx::Options o;
    o.sampleRate = 44100;
    o.stereo = stereo;
    o.snrDb = 30;
    EXPECT_TRUE(acars_tx::WriteWave(dir.File("acars.wav"), acars_tx::Transmit(bursts, o)));
    return testing_support::RunProgram(
        dir.File("skarvel"), {"--audio-file", dir.File("acars.wav"), "--fast"},
        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 60000);
  }
  std::string Log(const std::string& date, const std::string& kind) {
    return ReadFile(dir.File("logs/" + date + "_ACARS_" + kind + ".log"));
  }
  TempDir dir;
};

TEST(AcarsEndToEnd, StereoRecordingBecomesTheDaysLogs) {
  // Left: a single block, its repeat, a message of three blocks and a link
  // test. Right: two downlinks, the README's uplink, an SQ uplink and a
  // category A uplink.
  acars_tx::Message single = Down("TEST MESSAGE\r\n", "M01A");
  acars_tx::Message part1 = Down("PART ONE ", "M02A", false);
  acars_tx::Message part2 = Down("M02BPART TWO ", "M02B", false);
  acars_tx::Message part3 = Down("M02CPART THREE\r\n", "M02C", true);
  acars_tx::Message linkTest = Down("", "M03A");
  linkTest.label = "Q0";
  acars_tx::Message right1 = Down("RIGHT CHANNEL ONE", "M11A", true, "UA0837", "N12345");
  acars_tx::Message right2 = Down("RIGHT CHANNEL TWO\r\n", "M12A", true, "UA0837", "N12345");
  acars_tx::Message uplink = Up('A', "UPLINK TEXT");
  acars_tx::Message sq = Up('B', "SQUITTER 0456", true, "SQ", "");
  acars_tx::Message categoryA = Up('F', "", true, "B6", "N010AB");
  categoryA.mode = '2';
  categoryA.text = "LINE ONE\r\nLINE TWO";
  std::vector<acars_tx::Burst> bursts = {
      {single, 0, 0.3}, {single, 0, 0.2}, {part1, 0, 0.2}, {part2, 0, 0.2}, {part3, 0, 0.2}, {linkTest, 0, 0.2},
      {right1, 1, 0.25}, {right2, 1, 0.2}, {uplink, 1, 0.2}, {sq, 1, 0.2}, {categoryA, 1, 0.2},
  };
  ProgramRun program("[Wave]\r\nDual=2\r\nDecoderL=0\r\nDecoderR=0\r\n[Txt]\r\nLog=1\r\n");
  const std::string before = platform::FormatDateCompact(platform::Now());
  const testing_support::ProcessResult run = program.Run(bursts, true);
  ASSERT_EQ(run.exitCode, 0) << run.standardError;
  std::string date = platform::FormatDateCompact(platform::Now());
  if (program.Log(date, "RAW").empty()) date = before;
  const std::string raw = Masked(program.Log(date, "RAW")), prc = Masked(program.Log(date, "PRC")),
                    mes = Masked(program.Log(date, "MES"));

  EXPECT_EQ(RecordsOf(raw, "Lch"),
            (std::vector<std::string>{Raw("Lch", single), Raw("Lch", single), Raw("Lch", part1), Raw("Lch", part2),
                                      Raw("Lch", part3), Raw("Lch", linkTest)}));
  EXPECT_EQ(RecordsOf(raw, "Rch"),
            (std::vector<std::string>{Raw("Rch", right1), Raw("Rch", right2), Raw("Rch", uplink), Raw("Rch", sq),
                                      Raw("Rch", categoryA)}));

  const std::string l = "JA8089";
  const std::string assembled = "PART ONE PART TWO PART THREE\r\n";
  EXPECT_EQ(RecordsOf(prc, "Lch"),
            (std::vector<std::string>{
                Entry("Lch", DownLine(single, l), "", "TEST MESSAGE  "),
                Entry("Lch", DownLine(single, l), "<<<  Retransmission Message   >>>", ""),
                Entry("Lch", DownLine(part1, l), "<<<     Message Stored Up     >>>", "PART ONE "),
                Entry("Lch", DownLine(part2, l), "<<<     Messages Stored Up    >>>", "M02BPART TWO "),
                Entry("Lch", DownLine(part3, l), "<<<      Storage Message      >>>", assembled),
                Entry("Lch", DownLine(linkTest, l), "<<<         Link Test         >>>", ""),
            }));
  EXPECT_EQ(RecordsOf(mes, "Lch"), (std::vector<std::string>{Entry("Lch", DownLine(single, l), "", "TEST MESSAGE  "),
                                                             Entry("Lch", DownLine(part3, l), "", assembled)}));

  const std::string r = "N12345";
  const std::vector<std::string> rightEntries = {
      Entry("Rch", DownLine(right1, r), "", "RIGHT CHANNEL ONE"),
      Entry("Rch", DownLine(right2, r), "", "RIGHT CHANNEL TWO  "),
      Entry("Rch", UpLine(uplink, "NARITA", l), "", "UPLINK TEXT"),
      Entry("Rch", UpLine(sq, "NARITA", "Uplink"), "", "SQUITTER 0456"),
      Entry("Rch", UpLine(categoryA, "BROADCAST", "N010AB"), "", "LINE ONE\r\nLINE TWO"),
  };
  EXPECT_EQ(RecordsOf(prc, "Rch"), rightEntries);
  EXPECT_EQ(RecordsOf(mes, "Rch"), rightEntries);
}

// A script that runs the program must learn from its status that the logs
// were not written; a settings file the user made read-only is no failure.
TEST(AcarsEndToEnd, AFastRunThatCannotWriteItsLogsEndsWithAFailure) {
  const std::string settings = "[Wave]\r\nDecoderL=0\r\n[Txt]\r\nLog=1\r\n";
  ProgramRun program(settings);
  // A file stands where the logs folder should be.
  testing_support::WriteFile(program.dir.File("logs"), "");
  const testing_support::ProcessResult blocked = program.Run({{Down("TEST\r\n"), 0, 0.3}});
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_NE(blocked.standardError.find("Can not write " + program.dir.File("logs/")), std::string::npos)
      << blocked.standardError;

  ASSERT_EQ(std::remove(program.dir.File("logs").c_str()), 0);
  const std::string ini = program.dir.File("skarvel.ini");
  testing_support::WriteFile(ini, "[Etc]\r\nLanguage=1\r\n" + settings);
  ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
  const testing_support::ProcessResult frozen = program.Run({{Down("TEST\r\n"), 0, 0.3}});
  EXPECT_EQ(frozen.exitCode, 0) << frozen.standardError;
  EXPECT_NE(frozen.standardError.find("is read-only"), std::string::npos);
  EXPECT_EQ(ReadFile(ini), "[Etc]\r\nLanguage=1\r\n" + settings);
  EXPECT_NE(program.Log(platform::FormatDateCompact(platform::Now()), "RAW").find("TEST"), std::string::npos);
}

}  // namespace
