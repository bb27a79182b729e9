#include "app/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/form1_state.h"
#include "app/startup.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

namespace {

IniFile Parse(const std::string& text) {
  IniFile ini;
  ini.LoadFromBytes(text);
  return ini;
}

// Section names and key names of a written file, in file order.
struct Layout {
  std::vector<std::string> sections;
  std::vector<std::string> mapKeys;
  int keys = 0;
};

Layout LayoutOf(const std::string& bytes) {
  Layout l;
  std::istringstream in(bytes);
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line.substr(1, line.size() - 2);
      l.sections.push_back(section);
    } else if (line.find('=') != std::string::npos) {
      ++l.keys;
      if (section == "Map") l.mapKeys.push_back(line.substr(0, line.find('=')));
    }
  }
  return l;
}

TEST(Settings, FirstStartWritesEveryKeyInTheWritersOrder) {
  Form1State f;
  LoadSettings(f, IniFile());
  IniFile out;
  SaveSettings(f, out);
  const std::string bytes = out.ToBytes();
  Layout l = LayoutOf(bytes);
  EXPECT_EQ(l.sections, (std::vector<std::string>{"Map", "Txt", "Mail", "Spec", "List", "Color", "Pos", "Form",
                                                   "Net", "Wave", "Radio", "MsgSrch", "Etc"}));
  EXPECT_EQ(l.keys, kSettingsKeyCount);
  const std::vector<std::string> mapOrder = {
      "MapCentN", "MapCentE",   "PlotType",   "ElsePosGet", "LineType",   "PlotDraw",     "MapScale",
      "MaxMapPlot", "MaxPlotData", "SubDisptype", "DispVOR",  "DispTAC",    "DispNDB",      "DispWPT",
      "DispAPT",  "LineVOR",    "LineNDB",    "LineNAV",    "Japan",      "ShowRegNo",    "SelectDegree",
      "GridType", "GridValue",  "3Letter",    "ZeroDel",    "GlobeView",  "ViewDeg",      "MapNo",
      "TrackMark", "TimeAdjust", "TimeAdjustMin", "MapButtons", "SymbolSize", "MapSymbol", "HideText",
      "10point"};
  EXPECT_EQ(l.mapKeys, mapOrder);
  for (const char* line : {"MapBackColor=200000\r\n", "MainMaxmum=0\r\n", "Language=0\r\n", "ClockText=FF8000\r\n",
                           "Input=0\r\n", "IdL=FF\r\n", "ServerPortNo=49505\r\n", "ColumnsWidth6=110\r\n",
                           "UserText9=--\r\n", "UserColor79=000000\r\n", "MapCentN=36.5\r\n", "ViewDeg=-36.5\r\n"}) {
    EXPECT_NE(bytes.find(line), std::string::npos) << line;
  }
  // The [Color] writer puts TextBack, TextText before ListBack, ListText.
  EXPECT_LT(bytes.find("TextBack="), bytes.find("ListBack="));
  // The operator colours go UserColor<j><i>, j first.
  EXPECT_LT(bytes.find("UserColor10="), bytes.find("UserColor20="));
  EXPECT_LT(bytes.find("UserColor70="), bytes.find("UserText1="));
}

TEST(Settings, EveryKeyRoundTrips) {
  Form1State a;
  LoadSettings(a, IniFile());
  IniFile first;
  SaveSettings(a, first);
  Form1State b;
  LoadSettings(b, first);
  IniFile second;
  SaveSettings(b, second);
  EXPECT_EQ(first.ToBytes(), second.ToBytes());
}

TEST(Settings, ReadsValuesAsTheFileHoldsThem) {
  Form1State f;
  LoadSettings(f, Parse("[Etc]\nLocal=-5\nPassList=JL,NH\n[Txt]\nMaxBytes=0x2710\n[Radio]\nIdL=\n"
                        "[MAP]\nMapCentN=36,5\nShowRegNo=1\n[Color]\nClockText=0000ff\nBackColor=12\n"));
  EXPECT_EQ(f.Etc.LocalHourOffset, -5);
  EXPECT_EQ(f.Txt.MaxBytes, 10000);
  EXPECT_EQ(f.Radio.IdL, "");
  EXPECT_EQ(f.Radio.IdR, "FF");
  EXPECT_DOUBLE_EQ(f.Map.MapCentN, 36.5);
  EXPECT_EQ(f.Etc.PassList, "JL,NH");
  EXPECT_EQ(f.controls.N25Checked, 1);
  EXPECT_EQ(f.controls.N24Checked, 0);
  EXPECT_EQ(f.Color.ClockText, 0x0000FFu);
  EXPECT_EQ(f.Color.BackColor, 0u);  // unreadable: its default "000000"

  Form1State empty;
  LoadSettings(empty, Parse("[Txt]\nMaxBytes=\n"));
  EXPECT_EQ(empty.Txt.MaxBytes, 10000);

  IniFile ini = Parse("[MAP]\r\nMapCentN=36,5\r\n");
  SaveSettings(f, ini);
  EXPECT_EQ(*ini.Read("Map", "MapCentN"), "36.5");
  EXPECT_EQ(ini.ToBytes().rfind("[MAP]\r\nMapCentN=36.5\r\n", 0), 0u);
}

struct Hardening {
  const char* file;
  std::function<bool(const Form1State&)> check;
};

TEST(Settings, ValuesTheProgramCannotWorkWithTakeTheirDefaults) {
  const Hardening cases[] = {
      {"[Map]\nMaxMapPlot=0\n", [](const Form1State& f) { return f.Map.MaxMapPlot == 200; }},
      {"[Map]\nMaxPlotData=-4\n", [](const Form1State& f) { return f.Map.MaxPlotData == 50; }},
      {"[Map]\nSelectDegree=12\n", [](const Form1State& f) { return f.Map.SelectDegree == 6; }},
      {"[Map]\nSelectDegree=9\n", [](const Form1State& f) { return f.Map.SelectDegree == 9; }},
      {"[Etc]\nDeleteDay=-3\n", [](const Form1State& f) { return f.Etc.DeleteDay == 30; }},
      {"[Etc]\nLocal=30\n", [](const Form1State& f) { return f.Etc.LocalHourOffset == 9; }},
      {"[Etc]\nLocal=-23\n", [](const Form1State& f) { return f.Etc.LocalHourOffset == -23; }},
      {"[Net]\nClientPortNo=abc\n", [](const Form1State& f) { return f.Net.ClientPortNo == "49505"; }},
      {"[Net]\nServerPortNo=0x10\n", [](const Form1State& f) { return f.Net.ServerPortNo == "49505"; }},
      {"[Map]\nMaxMapPlot=100000\nMaxPlotData=100000\n",
       [](const Form1State& f) { return f.Map.MaxMapPlot == 200 && f.Map.MaxPlotData == 50; }},
      {"[Map]\nMaxMapPlot=1000\nMaxPlotData=1000\n",
       [](const Form1State& f) { return f.Map.MaxMapPlot == 1000 && f.Map.MaxPlotData == 1000; }},
      {"[Map]\nMapScale=40\n", [](const Form1State& f) { return f.controls.ComboBox1Index == 0; }},
      {"[Map]\nMapScale=26\n", [](const Form1State& f) { return f.controls.ComboBox1Index == 26; }},
      {"[Txt]\nTxtType=9\n", [](const Form1State& f) { return f.Txt.TxtType == 4; }},
      {"[Form]\nTimeMoniSec=0\n", [](const Form1State& f) { return f.Form.TimeMoniSec == 120; }},
      {"[Net]\nTimer=0\n", [](const Form1State& f) { return f.Net.ReconnectTimer == 60; }},
      {"[Net]\nMaxConnect=5000\n", [](const Form1State& f) { return f.Net.MaxConnect == 10; }},
      {"[Net]\nLoopBackInterval=0\n", [](const Form1State& f) { return f.Net.LoopBackInterval == 0; }},
  };
  for (const Hardening& c : cases) {
    Form1State f;
    LoadSettings(f, Parse(c.file));
    EXPECT_TRUE(c.check(f)) << c.file;
  }
}

struct Clamp {
  const char* file;
  std::function<bool(const Form1State&)> check;
};

TEST(Settings, ConstructorClampsAfterLoading) {
  testing_support::TempDir dir;
  const Clamp cases[] = {
      {"[Txt]\nMaxBytes=999\n", [](const Form1State& f) { return f.Txt.MaxBytes == 1000; }},
      {"[Txt]\nMaxBytes=64000\n", [](const Form1State& f) { return f.Txt.MaxBytes == 64000; }},
      {"[Txt]\nMaxBytes=64001\n", [](const Form1State& f) { return f.Txt.MaxBytes == 63999; }},
      {"[Map]\nTimeAdjustMin=0\n", [](const Form1State& f) { return f.Map.TimeAdjustMin == 1; }},
      {"[Map]\nTimeAdjustMin=60\n", [](const Form1State& f) { return f.Map.TimeAdjustMin == 59; }},
      {"[Net]\nLoopBackInterval=-5\n",
       [](const Form1State& f) { return f.Net.LoopBackInterval == 1 && f.controls.Timer3Interval == 1000; }},
      {"[Net]\nLoopBackInterval=0\nServer=1\n",
       [](const Form1State& f) { return f.Net.LoopBackInterval == 0 && f.controls.Timer3Enabled == 0; }},
      {"[Net]\nMaxConnect=0\n", [](const Form1State& f) { return f.Net.MaxConnect == 1 && f.exchange.PeerClients.Slots.size() == 1; }},
      {"[Net]\nClientPortNo=80\n", [](const Form1State& f) { return f.Net.ClientPortNo == "49152"; }},
      {"[Net]\nServerPortNo=70000\n", [](const Form1State& f) { return f.Net.ServerPortNo == "65535"; }},
      {"[Net]\nServerPortNo=49505\n", [](const Form1State& f) { return f.Net.ServerPortNo == "49505"; }},
  };
  for (const Clamp& c : cases) {
    Form1State f;
    ConstructForm1State(f, dir.path(), Parse(c.file));
    EXPECT_TRUE(c.check(f)) << c.file;
  }
}

}  // namespace
