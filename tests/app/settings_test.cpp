#include "app/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  LoadSettings(f, Parse("[Etc]\nLocal=-5\nPassList=JL,NH\nDeleteDay=0\n[Txt]\nMaxBytes=0x2710\n[Radio]\nIdL=\n"
                        "[MAP]\nMapCentN=36,5\nShowRegNo=1\n[Color]\nClockText=0000ff\nBackColor=12\n"));
  EXPECT_EQ(f.Etc.LocalHourOffset, -5);
  EXPECT_EQ(f.Txt.MaxBytes, 10000);
  EXPECT_EQ(f.Radio.IdL, "");
  EXPECT_DOUBLE_EQ(f.Map.MapCentN, 36.5);
  EXPECT_EQ(f.Etc.PassList, "JL,NH");
  EXPECT_EQ(f.Etc.DeleteDay, 0);  // below the dialog's range, kept as the user wrote it
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

// Every key in the writer's order, none at its default and the numbers in
// their ranges; the operator groups are added by EveryKeyChanged.
const char* const kEveryKeyHead =
    "[Map]\nMapCentN=-12.25\nMapCentE=151.75\nPlotType=1\nElsePosGet=0\nLineType=1\nPlotDraw=0\nMapScale=13\n"
    "MaxMapPlot=400\nMaxPlotData=60\nSubDisptype=2\nDispVOR=1\nDispTAC=1\nDispNDB=1\nDispWPT=1\nDispAPT=1\n"
    "LineVOR=1\nLineNDB=1\nLineNAV=1\nJapan=1\nShowRegNo=1\nSelectDegree=3\nGridType=4\nGridValue=1\n3Letter=0\n"
    "ZeroDel=0\nGlobeView=0\nViewDeg=20.5\nMapNo=7\nTrackMark=1\nTimeAdjust=0\nTimeAdjustMin=15\nMapButtons=0\n"
    "SymbolSize=3\nMapSymbol=0\nHideText=1\n10point=1\n"
    "[Txt]\nTxtType=3\nMaxBytes=20000\nSqNoDisp=1\nLog=1\nType=2\nShowPos=1\nFreqNoDisp=1\nTISNoDisp=1\n"
    "LogOutACASRAW=0\nLogOutACASPRC=0\nLogOutACASMES=0\nLogOutHFDLDAT=0\nLogOutHFDLANA=0\nLogOutHFDLFMT=0\n"
    "[Mail]\nMailHost=smtp.example.org\nMailFrom=a@example.org\nMailTo=b@example.org\nMailSend=1\nSJISConv=0\n"
    "MIMEConv=0\n"
    "[Spec]\nPopUp=0\nSound=0\nLog=1\n"
    "[List]\nShowNew=0\nMini=1\nAutoDelete=1\nDeleteTime=600\nLog=1\n"
    "[Color]\nBackColor=102001\nPlotOnColor=102002\nPlotOffColor=102003\nPlotMarkUpColor=102004\n"
    "PlotBackColor=102005\nMapBackColor=102006\nMapCoastColor=102007\nMapAirwayVOR=102008\nMapAirwayNDB=102009\n"
    "MapAirwayNAV=10200A\nMapPointVORDME=10200B\nMapPointVORTAC=10200C\nMapPointNDB=10200D\nMapPointNAV=10200E\n"
    "MapPointAirPort=10200F\nMapPointHome=102010\nMapPointBeacon=102011\nMapPointAnt=102012\n"
    "MapPointMount=102013\nMapPointNone=102014\nGrid=102015\nGridNum=102016\nBoundaries=102017\n"
    "LineColor1=102018\nLineColor2=102019\nAltBack=10201A\nAltScale=10201B\nSelBack=10201C\nSelText=10201D\n"
    "ClockBack=10201E\nClockText=10201F\nTextBack=102020\nTextText=102021\nListBack=102022\nListText=102023\n"
    "DispColorL=102024\nDispColorR=102025\n";

const char* const kEveryKeyTail =
    "[Pos]\nMainTop=11\nMainLeft=12\nMainWidth=1200\nMainHeight=800\nMainMaxmum=1\nPlaneTop=13\nPlaneLeft=14\n"
    "ListTop=15\nListLeft=16\nTextTop=17\nTextLeft=18\nInfoTop=19\nInfoLeft=20\nTextTopMost=0\nPictTopMost=0\n"
    "[Form]\nSpec=1\nPict=1\nText=1\nList=1\nSelCall=1\nShowRep=1\nShowAlt=1\nShowMod=0\nFull=1\nTextHeight=441\n"
    "TextWidth=341\nListHeight=373\nListWidth=682\nFreqTop=21\nFreqLeft=22\nICAOWidth=483\nICAOHeight=329\n"
    "ICAOTop=23\nICAOLeft=24\nRecvTop=25\nRecvLeft=26\nSystemTop=27\nSystemLeft=28\nRadioTop=29\nRadioLeft=30\n"
    "FreqSetTop=31\nFreqSetLeft=32\nSelCallTop=33\nSelCallLeft=34\nMesgSrchTop=35\nMesgSrchLeft=36\n"
    "FreqShow=1\nICAOShow=1\nTextFontSize=10\nTextFontName=MS Gothic\nListFontSize=11\nListFontName=Courier New\n"
    "Refresh=4\nColumnsWidth0=201\nColumnsWidth1=202\nColumnsWidth2=203\nColumnsWidth3=204\nColumnsWidth4=205\n"
    "ColumnsWidth5=206\nColumnsWidth6=207\nColumnsWidth7=208\nColumnsWidth8=209\nColumnsWidth9=210\n"
    "ShowToolBar=0\nSelCallAN=1\nSelCallNR=1\nSelCall3D=1\nSelCallBel=1\nSelCallRdo=1\nTimeMoni=1\n"
    "TimeMoniSec=90\n"
    "[Net]\nTcpIp=0\nServer=1\nServerDec=0\nName=Station7\nServerName=relay.example.org\nReconnect=0\nTimer=45\n"
    "Chat=1\nDupCheckSend=0\nMaxConnect=25\nClientPortNo=50001\nServerPortNo=50002\nRecvVHF=0\nRecvHF=0\n"
    "LoopBackInterval=0\nLoopBackLimit=5\n"
    "[Wave]\nInput=2\nDual=2\nDecoderL=0\nDecoderR=2\nRate=1\n"
    "[Radio]\nListNoL=-1\nListNoR=3\nEngageL=1\nEngageR=1\nSelFreqL=4\nSelFreqR=5\nComNoL=6\nComNoR=7\nIdL=0A\n"
    "IdR=0B\nTypeL=1\nTypeR=2\nManualL=8900\nManualR=11300\n"
    "[MsgSrch]\nSound=1\nPopup=1\nRun=1\n"
    "[Etc]\nConvJC=0\nConvJD=0\nDispTime=1\nFFTSel=1\nDispType=1\nWaveType=1\nPassList=JL,NH\nSelCallCode=ABCD\n"
    "SystemVer=36\nLocal=-5\nDeleteDay=7\nDeleteLogFile=1\nChangeLogFileName=0\nLanguage=2\n";

std::string EveryKeyChanged() {
  std::string text = kEveryKeyHead;
  for (int i = 0; i < 10; ++i) {
    text += "UserText" + std::to_string(i) + "=Op" + std::to_string(i) + "\n";
    for (int j = 1; j <= 7; ++j) {
      const std::string ji = std::to_string(j) + std::to_string(i);
      text += "UserColor" + ji + "=30" + ji + "40\n";
    }
  }
  text += kEveryKeyTail;
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

// The lines where two files differ, for a readable failure.
std::string Difference(const std::string& got, const std::string& want) {
  const std::vector<std::string> g = Lines(got), w = Lines(want);
  std::string d;
  for (size_t i = 0; i < std::max(g.size(), w.size()); ++i) {
    const std::string a = i < g.size() ? g[i] : "(none)\n";
    const std::string b = i < w.size() ? w[i] : "(none)\n";
    if (a != b) d += "got " + a + "want " + b;
  }
  return d;
}

// Written from scratch, a file that changes every key comes back byte for
// byte: each key is read into the field it is written from, in the writer's
// order and spelling.
TEST(Settings, EveryKeyChangedComesBackAsWritten) {
  const std::string file = EveryKeyChanged();
  ASSERT_EQ(LayoutOf(file).keys, kSettingsKeyCount);
  Form1State f;
  LoadSettings(f, Parse(file));
  IniFile out;
  SaveSettings(f, out);
  EXPECT_TRUE(out.ToBytes() == file) << Difference(out.ToBytes(), file);
}

// One key changed alone changes its own line only: no two keys share a
// field.
TEST(Settings, EachKeyChangedAloneChangesOnlyItsLine) {
  Form1State defaults;
  IniFile first;
  SaveSettings(defaults, first);
  const std::vector<std::string> base = Lines(first.ToBytes());
  const std::vector<std::string> changed = Lines(EveryKeyChanged());
  ASSERT_EQ(base.size(), changed.size());
  for (size_t i = 0; i < base.size(); ++i) {
    if (base[i][0] == '[') continue;
    std::string expected;
    for (size_t j = 0; j < base.size(); ++j) expected += j == i ? changed[j] : base[j];
    Form1State f;
    LoadSettings(f, Parse(expected));
    IniFile out;
    SaveSettings(f, out);
    EXPECT_TRUE(out.ToBytes() == expected) << Difference(out.ToBytes(), expected);
  }
}

struct Loaded {
  const char* file;
  std::function<bool(const Form1State&)> check;
};

TEST(Settings, ValuesTheProgramCannotWorkWithTakeTheirDefaults) {
  const Loaded cases[] = {
      {"[Map]\nMaxMapPlot=0\n", [](const Form1State& f) { return f.Map.MaxMapPlot == 200; }},
      {"[Map]\nMaxPlotData=-4\n", [](const Form1State& f) { return f.Map.MaxPlotData == 50; }},
      {"[Map]\nSelectDegree=12\n", [](const Form1State& f) { return f.Map.SelectDegree == 6; }},
      {"[Map]\nSelectDegree=9\n", [](const Form1State& f) { return f.Map.SelectDegree == 9; }},
      {"[Etc]\nLocal=30\n", [](const Form1State& f) { return f.Etc.LocalHourOffset == 9; }},
      {"[Etc]\nLocal=-24\n", [](const Form1State& f) { return f.Etc.LocalHourOffset == 9; }},
      {"[Etc]\nLocal=-23\n", [](const Form1State& f) { return f.Etc.LocalHourOffset == -23; }},
      {"[Map]\nMaxMapPlot=100000\nMaxPlotData=100000\n",
       [](const Form1State& f) { return f.Map.MaxMapPlot == 200 && f.Map.MaxPlotData == 50; }},
      {"[Map]\nMaxMapPlot=1000\nMaxPlotData=1000\n",
       [](const Form1State& f) { return f.Map.MaxMapPlot == 1000 && f.Map.MaxPlotData == 1000; }},
      // The product is checked after each key's own rule.
      {"[Map]\nMaxMapPlot=0\nMaxPlotData=10000\n",
       [](const Form1State& f) { return f.Map.MaxMapPlot == 200 && f.Map.MaxPlotData == 50; }},
      {"[Map]\nMapScale=40\n", [](const Form1State& f) { return f.controls.ComboBox1Index == 0; }},
      {"[Map]\nMapScale=-1\n", [](const Form1State& f) { return f.controls.ComboBox1Index == 0; }},
      {"[Map]\nMapScale=26\n", [](const Form1State& f) { return f.controls.ComboBox1Index == 26; }},
      // A centre no pan or drag leaves would put the flat map beside the window.
      {"[Map]\nMapCentE=1000\nMapCentN=-500\nViewDeg=1e300\n",
       [](const Form1State& f) { return f.Map.MapCentE == 139.0 && f.Map.MapCentN == 36.5 && f.Map.ViewDeg == -36.5; }},
      {"[Map]\nMapCentE=-180\nMapCentN=90\nViewDeg=-90\n",
       [](const Form1State& f) {
         return f.Map.MapCentE == -180.0 && f.Map.MapCentN == 90.0 && f.Map.ViewDeg == -90.0;
       }},
      {"[Txt]\nTxtType=9\n", [](const Form1State& f) { return f.Txt.TxtType == 4; }},
      {"[Form]\nTimeMoniSec=0\n", [](const Form1State& f) { return f.Form.TimeMoniSec == 120; }},
      {"[Net]\nTimer=0\n", [](const Form1State& f) { return f.Net.ReconnectTimer == 60; }},
      {"[Net]\nMaxConnect=5000\n", [](const Form1State& f) { return f.Net.MaxConnect == 10; }},
      {"[Net]\nMaxConnect=1000\n", [](const Form1State& f) { return f.Net.MaxConnect == 1000; }},
      {"[Net]\nClientPortNo=abc\n", [](const Form1State& f) { return f.Net.ClientPortNo == "49505"; }},
      {"[Net]\nServerPortNo=0x10\n", [](const Form1State& f) { return f.Net.ServerPortNo == "49505"; }},
      {"[Net]\nServerPortNo=99999999999\n", [](const Form1State& f) { return f.Net.ServerPortNo == "49505"; }},
  };
  for (const Loaded& c : cases) {
    Form1State f;
    LoadSettings(f, Parse(c.file));
    EXPECT_TRUE(c.check(f)) << c.file;
  }
}

TEST(Settings, ValuesOutsideTheirRangeAreClamped) {
  const Loaded cases[] = {
      {"[Txt]\nMaxBytes=999\n", [](const Form1State& f) { return f.Txt.MaxBytes == 1000; }},
      {"[Txt]\nMaxBytes=64000\n", [](const Form1State& f) { return f.Txt.MaxBytes == 64000; }},
      {"[Txt]\nMaxBytes=64001\n", [](const Form1State& f) { return f.Txt.MaxBytes == 63999; }},
      {"[Map]\nTimeAdjustMin=0\n", [](const Form1State& f) { return f.Map.TimeAdjustMin == 1; }},
      {"[Map]\nTimeAdjustMin=60\n", [](const Form1State& f) { return f.Map.TimeAdjustMin == 59; }},
      {"[Net]\nMaxConnect=0\n", [](const Form1State& f) { return f.Net.MaxConnect == 1; }},
      {"[Net]\nLoopBackInterval=-5\n", [](const Form1State& f) { return f.Net.LoopBackInterval == 1; }},
      {"[Net]\nLoopBackInterval=0\n", [](const Form1State& f) { return f.Net.LoopBackInterval == 0; }},
      {"[Net]\nClientPortNo=80\n", [](const Form1State& f) { return f.Net.ClientPortNo == "49152"; }},
      {"[Net]\nServerPortNo=70000\n", [](const Form1State& f) { return f.Net.ServerPortNo == "65535"; }},
      {"[Net]\nServerPortNo=49505\n", [](const Form1State& f) { return f.Net.ServerPortNo == "49505"; }},
      // A decimal port is clamped, not replaced; in range its text is kept.
      {"[Net]\nClientPortNo=-1\n", [](const Form1State& f) { return f.Net.ClientPortNo == "49152"; }},
      {"[Net]\nClientPortNo=+50000\n", [](const Form1State& f) { return f.Net.ClientPortNo == "+50000"; }},
  };
  for (const Loaded& c : cases) {
    Form1State f;
    LoadSettings(f, Parse(c.file));
    EXPECT_TRUE(c.check(f)) << c.file;
  }

  // The next save writes the value the program ran with.
  IniFile ini = Parse("[Txt]\r\nMaxBytes=70000\r\n[Net]\r\nServerPortNo=0\r\n");
  Form1State f;
  LoadSettings(f, ini);
  SaveSettings(f, ini);
  EXPECT_EQ(*ini.Read("Txt", "MaxBytes"), "63999");
  EXPECT_EQ(*ini.Read("Net", "ServerPortNo"), "49152");
}

TEST(Settings, WindowBoundsNoDesktopHoldsTakeTheirDefaults) {
  auto savedAfterLoading = [](const std::string& section, const std::string& key, const std::string& value) {
    Form1State f;
    LoadSettings(f, Parse("[" + section + "]\n" + key + value + "\n"));
    IniFile out;
    SaveSettings(f, out);
    return "=" + out.Read(section, key).value_or("?");
  };
  const std::vector<std::string> kept[2] = {{"=1", "=32767"}, {"=-32768", "=32767", "=3000"}};
  const std::vector<std::string> refused[2] = {{"=2147483647", "=32768", "=0"}, {"=-2147483648", "=32768", "=-32769"}};
  std::istringstream keys(
      "Pos.MainWidth Pos.MainHeight Form.TextHeight Form.TextWidth Form.ListHeight Form.ListWidth Form.ICAOWidth "
      "Form.ICAOHeight Pos.MainTop Pos.MainLeft Pos.PlaneTop Pos.PlaneLeft Pos.ListTop Pos.ListLeft Pos.TextTop "
      "Pos.TextLeft Pos.InfoTop Pos.InfoLeft Form.FreqTop Form.FreqLeft Form.ICAOTop Form.ICAOLeft Form.RecvTop "
      "Form.RecvLeft Form.SystemTop Form.SystemLeft Form.RadioTop Form.RadioLeft Form.FreqSetTop Form.FreqSetLeft "
      "Form.SelCallTop Form.SelCallLeft Form.MesgSrchTop Form.MesgSrchLeft");
  for (std::string key; keys >> key;) {
    const std::string section = key.substr(0, key.find('.')), name = key.substr(key.find('.') + 1);
    const int position = name.find("Top") != std::string::npos || name.find("Left") != std::string::npos;
    const std::string def = savedAfterLoading(section, name, "");
    for (const std::string& v : kept[position]) EXPECT_EQ(savedAfterLoading(section, name, v), v) << key;
    for (const std::string& v : refused[position]) EXPECT_EQ(savedAfterLoading(section, name, v), def) << key << v;
  }
}

}  // namespace
