#include "app/settings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <sstream>

#include "app/form1_state.h"
#include "platform/ini_file.h"

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
      {"[Txt]\nMaxBytes=0x2710", "MaxBytes=10000"},
      {"[Txt]\nMaxBytes=", "MaxBytes=10000"},
      {"[MAP]\nMapCentN=36,5", "MapCentN=36.5"},
      {"[Radio]\nIdL=", "IdL=\r\n"},
      {"[Color]\nClockText=0000ff", "ClockText=0000FF"},
      {"[Color]\nBackColor=12", "BackColor=000000"},
      // A day count the dialog would not offer is kept as written.
      {"[Etc]\nDeleteDay=0", "DeleteDay=0"},
      {"[Etc]\nLocal=-23", "Local=-23"},
      {"[Etc]\nLocal=24", "Local=9"},
      {"[Etc]\nLocal=-24", "Local=9"},
      {"[Map]\nMaxMapPlot=0", "MaxMapPlot=200"},
      {"[Map]\nMaxPlotData=-4", "MaxPlotData=50"},
      {"[Map]\nSelectDegree=10", "SelectDegree=6"},
      {"[Map]\nSelectDegree=9", "SelectDegree=9"},
      {"[Map]\nMapScale=27", "MapScale=0"},
      {"[Map]\nMapScale=-1", "MapScale=0"},
      {"[Map]\nMapScale=26", "MapScale=26"},
      // The product of the two is checked after each key's own rule.
      {"[Map]\nMaxMapPlot=100000\nMaxPlotData=100000", "MaxMapPlot=200\r\nMaxPlotData=50"},
      {"[Map]\nMaxMapPlot=1000\nMaxPlotData=1000", "MaxMapPlot=1000\r\nMaxPlotData=1000"},
      {"[Map]\nMaxMapPlot=0\nMaxPlotData=10000", "MaxMapPlot=200\r\nMaxPlotData=50"},
      // A centre no pan or drag leaves would put the flat map beside the
      // window.
      {"[Map]\nMapCentE=1000", "MapCentE=139"},
      {"[Map]\nMapCentE=-180", "MapCentE=-180"},
      {"[Map]\nMapCentN=-500", "MapCentN=36.5"},
      {"[Map]\nMapCentN=90", "MapCentN=90"},
      {"[Map]\nViewDeg=1e300", "ViewDeg=-36.5"},
      {"[Map]\nViewDeg=-90", "ViewDeg=-90"},
      {"[Txt]\nTxtType=6", "TxtType=4"},
      {"[Form]\nTimeMoniSec=0", "TimeMoniSec=120"},
      {"[Net]\nTimer=0", "Timer=60"},
      {"[Net]\nMaxConnect=5000", "MaxConnect=10"},
      {"[Net]\nMaxConnect=1000", "MaxConnect=1000"},
      {"[Net]\nMaxConnect=0", "MaxConnect=1"},
      {"[Txt]\nMaxBytes=999", "MaxBytes=1000"},
      {"[Txt]\nMaxBytes=64000", "MaxBytes=64000"},
      {"[Txt]\nMaxBytes=64001", "MaxBytes=63999"},
      {"[Map]\nTimeAdjustMin=0", "TimeAdjustMin=1"},
      {"[Map]\nTimeAdjustMin=60", "TimeAdjustMin=59"},
      {"[Net]\nLoopBackInterval=-5", "LoopBackInterval=1"},
      {"[Net]\nLoopBackInterval=0", "LoopBackInterval=0"},
      // A port that is no decimal number takes the default; a decimal one
      // is pulled into the dynamic range, its text kept when inside.
      {"[Net]\nClientPortNo=abc", "ClientPortNo=49505"},
      {"[Net]\nServerPortNo=0x10", "ServerPortNo=49505"},
      {"[Net]\nServerPortNo=99999999999", "ServerPortNo=49505"},
      {"[Net]\nClientPortNo=-1", "ClientPortNo=49152"},
      {"[Net]\nClientPortNo=80", "ClientPortNo=49152"},
      {"[Net]\nServerPortNo=70000", "ServerPortNo=65535"},
      {"[Net]\nClientPortNo=+50000", "ClientPortNo=+50000"},
  };
  for (const auto& [file, saved] : cases) {
    EXPECT_NE(SavedAfterLoading(std::string(file) + "\n").find("\n" + std::string(saved)), std::string::npos)
        << file;
  }
  // The save rewrites the line where the file had it.
  IniFile ini = Parse("[MAP]\r\nMapCentN=36,5\r\n");
  Form1State f;
  LoadSettings(f, ini);
  SaveSettings(f, ini);
  EXPECT_EQ(ini.ToBytes().rfind("[MAP]\r\nMapCentN=36.5\r\n", 0), 0u);
}

// Sizes and positions a desktop cannot hold take their defaults.
TEST(Settings, WindowBoundsNoDesktopHoldsTakeTheirDefaults) {
  std::vector<KeyLine> keys;
  FirstStartLines(&keys);
  int checked = 0;
  for (const KeyLine& k : keys) {
    const auto endsWith = [&](const std::string& end) {
      return k.key.size() > end.size() && k.key.compare(k.key.size() - end.size(), end.size(), end) == 0;
    };
    const bool size = endsWith("Width") || endsWith("Height");
    if (!size && !endsWith("Top") && !endsWith("Left")) continue;
    if (k.key.rfind("ColumnsWidth", 0) == 0) continue;
    ++checked;
    const auto saved = [&](const std::string& value) {
      const std::string file = SavedAfterLoading("[" + k.section + "]\n" + k.key + "=" + value + "\n");
      const size_t at = file.find("\n" + k.key + "=") + k.key.size() + 2;
      return file.substr(at, file.find('\r', at) - at);
    };
    for (const char* v : size ? std::vector<const char*>{"1", "32767"} : std::vector<const char*>{"-32768", "32767"}) {
      EXPECT_EQ(saved(v), v) << k.key;
    }
    for (const char* v : size ? std::vector<const char*>{"0", "32768"} : std::vector<const char*>{"-32769", "32768"}) {
      EXPECT_EQ(saved(v), k.value) << k.key << "=" << v;
    }
  }
  EXPECT_GT(checked, 30);
}

}  // namespace
