// The settings file as the program reads and writes it, and the start
// state built on it that touches no widget.
#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <sstream>

#include "app/form1_state.h"
#include "app/ground_names.h"
#include "app/startup.h"
#include "app/status_indicators.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

namespace {

IniFile Parse(const std::string& text) {
  IniFile ini;
  ini.LoadFromBytes(text);
  return ini;
}

// The file the next save writes after a start on `file`.
std::string SavedAfterLoading(const std::string& file) {
  Form1State f;
  LoadSettings(f, Parse(file));
  IniFile out;
  SaveSettings(f, out);
  return out.ToBytes();
}

// Every key line of the file a first start writes, with its section.
struct KeyLine {
  std::string section, key, value;
  size_t line;
};
std::vector<std::string> FirstStartLines(std::vector<KeyLine>* keys) {
  std::vector<std::string> lines;
  std::istringstream in(SavedAfterLoading(""));
  std::string section;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line + "\n");
    line.pop_back();  // its CR
    const size_t eq = line.find('=');
    if (line[0] == '[') section = line.substr(1, line.size() - 2);
    if (eq != std::string::npos) keys->push_back({section, line.substr(0, eq), line.substr(eq + 1), lines.size() - 1});
  }
  return lines;
}

// Values other than `value` that a key of its kind may hold: a number one
// up or down, a colour with another last digit, a longer text.
std::vector<std::string> OtherValues(const std::string& value) {
  std::vector<std::string> others;
  if (auto n = ini_numbers::ParseInt(value)) others = {std::to_string(*n + 1), std::to_string(*n - 1)};
  if (value.size() == 6 && std::all_of(value.begin(), value.end(), ::isxdigit)) {
    others.push_back(value.substr(0, 5) + (value[5] == '0' ? "1" : "0"));
  }
  others.push_back(value + "1");
  return others;
}

// Each key changed alone, to some value it may hold, comes back as written
// and changes no other line: each is read into the field it is written
// from, and no two keys share a field.
TEST(Settings, EachKeyChangedAloneComesBackAndChangesOnlyItsLine) {
  std::vector<KeyLine> keys;
  const std::vector<std::string> base = FirstStartLines(&keys);
  std::string defaults;
  for (const std::string& line : base) defaults += line;
  EXPECT_EQ(SavedAfterLoading(defaults), defaults);
  EXPECT_GT(keys.size(), 200u);
  for (const KeyLine& k : keys) {
    bool kept = false;
    for (const std::string& other : OtherValues(k.value)) {
      std::string file;
      for (size_t i = 0; i < base.size(); ++i) file += i == k.line ? k.key + "=" + other + "\r\n" : base[i];
      if ((kept = SavedAfterLoading(file) == file)) break;
    }
    EXPECT_TRUE(kept) << k.section << "." << k.key << "=" << k.value;
  }
}

// Hand-edited values: read as the file holds them, or, where the program
// cannot work with them, replaced by the default or pulled into range.
// Each row: a file, and what the next save writes for it.
TEST(Settings, HandEditedValuesAreReadKeptOrReplaced) {
  const std::pair<const char*, const char*> cases[] = {
      {"[Txt]\nMaxBytes=0x2710", "MaxBytes=10000"}, {"[Txt]\nMaxBytes=", "MaxBytes=10000"},
      {"[Txt]\nMaxBytes=12abc", "MaxBytes=10000"}, {"[Txt]\nMaxBytes= 2000 ", "MaxBytes=2000"},
      {"[Map]\nViewDeg=1.2.3", "ViewDeg=-36.5"}, {"[Map]\nTrackMark=7", "TrackMark=1"},
      {"[MAP]\nMapCentN=36,5", "MapCentN=36.5"}, {"[Radio]\nIdL=", "IdL=\r\n"},
      {"[Color]\nClockText=0000ff", "ClockText=0000FF"}, {"[Color]\nBackColor=12", "BackColor=000000"},
      // A day count the dialog would not offer is kept as written.
      {"[Etc]\nDeleteDay=0", "DeleteDay=0"},
      {"[Etc]\nLocal=-23", "Local=-23"}, {"[Etc]\nLocal=24", "Local=9"}, {"[Etc]\nLocal=-24", "Local=9"},
      {"[Map]\nMaxMapPlot=0", "MaxMapPlot=200"}, {"[Map]\nMaxPlotData=-4", "MaxPlotData=50"},
      {"[Map]\nSelectDegree=10", "SelectDegree=6"}, {"[Map]\nSelectDegree=9", "SelectDegree=9"},
      {"[Map]\nMapScale=27", "MapScale=0"}, {"[Map]\nMapScale=-1", "MapScale=0"},
      {"[Map]\nMapScale=26", "MapScale=26"},
      // The product of the two is checked after each key's own rule.
      {"[Map]\nMaxMapPlot=100000\nMaxPlotData=100000", "MaxMapPlot=200\r\nMaxPlotData=50"},
      {"[Map]\nMaxMapPlot=1000\nMaxPlotData=1000", "MaxMapPlot=1000\r\nMaxPlotData=1000"},
      {"[Map]\nMaxMapPlot=0\nMaxPlotData=10000", "MaxMapPlot=200\r\nMaxPlotData=50"},
      // A centre no pan or drag leaves would put the flat map beside the
      // window.
      {"[Map]\nMapCentE=1000", "MapCentE=139"}, {"[Map]\nMapCentE=-180", "MapCentE=-180"},
      {"[Map]\nMapCentN=-500", "MapCentN=36.5"}, {"[Map]\nMapCentN=90", "MapCentN=90"},
      {"[Map]\nViewDeg=1e300", "ViewDeg=-36.5"}, {"[Map]\nViewDeg=-90", "ViewDeg=-90"},
      {"[Txt]\nTxtType=6", "TxtType=4"}, {"[Form]\nTimeMoniSec=0", "TimeMoniSec=120"},
      {"[Net]\nTimer=0", "Timer=60"}, {"[Net]\nMaxConnect=5000", "MaxConnect=10"},
      {"[Net]\nMaxConnect=1000", "MaxConnect=1000"}, {"[Net]\nMaxConnect=0", "MaxConnect=1"},
      {"[Txt]\nMaxBytes=999", "MaxBytes=1000"}, {"[Txt]\nMaxBytes=64000", "MaxBytes=64000"},
      {"[Txt]\nMaxBytes=64001", "MaxBytes=63999"}, {"[Map]\nTimeAdjustMin=0", "TimeAdjustMin=1"},
      {"[Map]\nTimeAdjustMin=60", "TimeAdjustMin=59"}, {"[Net]\nLoopBackInterval=-5", "LoopBackInterval=1"},
      {"[Net]\nLoopBackInterval=0", "LoopBackInterval=0"},
      // A port that is no decimal number takes the default; a decimal one
      // is pulled into the dynamic range, its text kept when inside.
      {"[Net]\nClientPortNo=abc", "ClientPortNo=49505"}, {"[Net]\nServerPortNo=0x10", "ServerPortNo=49505"},
      {"[Net]\nServerPortNo=99999999999", "ServerPortNo=49505"}, {"[Net]\nClientPortNo=-1", "ClientPortNo=49152"},
      {"[Net]\nClientPortNo=80", "ClientPortNo=49152"}, {"[Net]\nServerPortNo=70000", "ServerPortNo=65535"},
      {"[Net]\nClientPortNo=+50000", "ClientPortNo=+50000"},
  };
  for (const auto& [file, saved] : cases) {
    EXPECT_NE(SavedAfterLoading(std::string(file) + "\n").find("\n" + std::string(saved)), std::string::npos)
        << file;
  }
  // Names are read in any case, values without their blanks; the save
  // rewrites the line where the file had it, as the file spells it.
  IniFile ini = Parse("[map]\r\nmapcentn =  36,5  \r\n");
  Form1State f;
  LoadSettings(f, ini);
  SaveSettings(f, ini);
  EXPECT_EQ(ini.ToBytes().rfind("[map]\r\nmapcentn=36.5\r\n", 0), 0u);
}

// ---- The start state that touches no widget ----

TEST(Startup, AServerThatDoesNotDecodeParksItsChannelModeUntilTheSave) {
  testing_support::TempDir dir;
  Form1State f;
  ConstructForm1State(f, dir.path(), Parse("[Net]\nTcpIp=1\nServer=1\nServerDec=0\n[Wave]\nDual=2\n"));
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 2);
  EXPECT_EQ(f.controls.Caption, "Skarvel");  // no link given: no server opens
  BeginClose(f);
  EXPECT_EQ(f.app.Running, 0);
  IniFile out;
  SaveSettings(f, out);
  EXPECT_EQ(*out.Read("Wave", "Dual"), "2");
}

TEST(GroundNames, TheFileOverridesCaseInsensitivelyAndEmptyStaysEmpty) {
  testing_support::TempDir dir;
  std::array<std::string, 28> names;
  ::mkdir(dir.File("data").c_str(), 0777);
  testing_support::WriteFile(dir.File("data/ground.txt"), "[groundstations]\r\na= TOKYO \r\nB=\r\n3=Satellite\r\n");
  LoadGroundStationNames(names, dir.path());
  EXPECT_EQ(names[0], "TOKYO");
  EXPECT_EQ(names[1], "");
  EXPECT_EQ(names[2], "NOTO");
  EXPECT_EQ(names[27], "Satellite");
}

TEST(StatusIndicators, TheLampsShownFollowTheChannelModeAndTheLink) {
  struct Case {
    int netConnected, server, serverDec, waveDual;
    int panel1, panel3, panel5;  // 1 shown, 0 hidden, -1 left as it is
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0, 0, -1},  // a linked server that does not decode
      {1, 0, 1, 1, 1, 0, 1},  {1, 0, 1, 2, 1, 1, 1}, {0, 0, 1, 1, -1, 0, 0}, {0, 0, 1, 2, -1, 1, 0},
  };
  for (const Case& c : cases) {
    Form1State f;
    f.exchange.NetConnected = c.netConnected;
    f.Net.Server = c.server;
    f.Net.ServerDec = c.serverDec;
    f.Wave.WaveDual = c.waveDual;
    const IndicatorPlacement p = ArrangeStatusIndicators(f, 1000);
    EXPECT_EQ(p.panel1Visible, c.panel1) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel3Visible, c.panel3) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel5Visible, c.panel5) << c.netConnected << c.waveDual;
  }
}

}  // namespace
