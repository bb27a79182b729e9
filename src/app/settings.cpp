#include "app/settings.h"

#include <string>

#include "app/form1_state.h"
#include "app/shared_helpers.h"
#include "platform/ini_file.h"

namespace {

// Reading helpers: each stores at once where the key goes.
class Reader {
 public:
  explicit Reader(const IniFile& ini) : ini_(ini) {}
  void Int(const char* s, const char* k, int def, int32_t& out) { out = ini_.ReadInt(s, k, def); }
  void Bool(const char* s, const char* k, bool def, uint8_t& out) { out = ini_.ReadBool(s, k, def) ? 1 : 0; }
  void Float(const char* s, const char* k, double def, double& out) { out = ini_.ReadFloat(s, k, def); }
  void Str(const char* s, const char* k, const char* def, std::string& out) { out = ini_.ReadString(s, k, def); }
  void Color(const char* s, const char* k, const char* def, TColor& out) {
    TColor fallback = HexTextToColor(def, 0);
    out = HexTextToColor(ini_.ReadString(s, k, def), fallback);
  }

 private:
  const IniFile& ini_;
};

class Writer {
 public:
  explicit Writer(IniFile& ini) : ini_(ini) {}
  void Int(const char* s, const char* k, int v) { ini_.WriteInt(s, k, v); }
  void Bool(const char* s, const char* k, uint8_t v) { ini_.WriteBool(s, k, v != 0); }
  void Float(const char* s, const char* k, double v) { ini_.WriteFloat(s, k, v); }
  void Str(const char* s, const char* k, const std::string& v) { ini_.WriteString(s, k, v); }
  void Color(const char* s, const char* k, TColor v) { ini_.WriteString(s, k, ColorToHexText(v)); }

 private:
  IniFile& ini_;
};

// The named colour keys in reading order.
struct ColorKey {
  const char* key;
  const char* def;
  TColor Form1State::*member;
};

const ColorKey kColorKeys[] = {
    {"BackColor", "000000", &Form1State::BackColor},
    {"PlotOnColor", "FFFF00", &Form1State::PlotOnColor},
    {"PlotOffColor", "FFFF00", &Form1State::PlotOffColor},
    {"PlotMarkUpColor", "FFFFFF", &Form1State::PlotMarkUpColor},
    {"PlotBackColor", "FF0000", &Form1State::PlotBackColor},
    {"MapBackColor", "200000", &Form1State::MapBackColor},
    {"MapCoastColor", "004000", &Form1State::MapCoastColor},
    {"MapAirwayVOR", "FF8000", &Form1State::MapAirwayVOR},
    {"MapAirwayNDB", "FF8000", &Form1State::MapAirwayNDB},
    {"MapAirwayNAV", "FF8000", &Form1State::MapAirwayNAV},
    {"MapPointVORDME", "00FFFF", &Form1State::MapPointVORDME},
    {"MapPointVORTAC", "FF00FF", &Form1State::MapPointVORTAC},
    {"MapPointNDB", "8000FF", &Form1State::MapPointNDB},
    {"MapPointNAV", "FF0080", &Form1State::MapPointNAV},
    {"MapPointAirPort", "800040", &Form1State::MapPointAirPort},
    {"MapPointHome", "FF00FF", &Form1State::MapPointHome},
    {"MapPointBeacon", "00FFFF", &Form1State::MapPointBeacon},
    {"MapPointAnt", "00FF00", &Form1State::MapPointAnt},
    {"MapPointMount", "00FF00", &Form1State::MapPointMount},
    {"MapPointNone", "FFFFFF", &Form1State::MapPointNone},
    {"Grid", "006000", &Form1State::GridColor},
    {"GridNum", "00FF00", &Form1State::GridNumColor},
    {"Boundaries", "008000", &Form1State::BoundariesColor},
    {"LineColor1", "603000", &Form1State::LineColor1},
    {"LineColor2", "0000FF", &Form1State::LineColor2},
    {"AltBack", "000000", &Form1State::AltBack},
    {"AltScale", "FFFFFF", &Form1State::AltScale},
    {"SelBack", "FFFFFF", &Form1State::SelBack},
    {"SelText", "808040", &Form1State::SelText},
    {"ClockBack", "000000", &Form1State::ClockBack},
    {"ClockText", "FF8000", &Form1State::ClockText},
    {"ListBack", "FFFFFF", &Form1State::ListBack},
    {"ListText", "000000", &Form1State::ListText},
    {"TextBack", "FFFFFF", &Form1State::TextBack},
    {"TextText", "000000", &Form1State::TextText},
    {"DispColorL", "FFBB00", &Form1State::DispColorL},
    {"DispColorR", "FFBBFF", &Form1State::DispColorR},
};

constexpr int kColumnWidthDefaults[10] = {65, 30, 65, 30, 50, 50, 110, 80, 80, 60};

std::string Indexed(const char* prefix, int i) { return prefix + std::to_string(i); }

// A whole decimal number, as a port text must be.
bool IsDecimalNumber(const std::string& text) {
  auto v = ini_numbers::ParseInt(text);
  return v && text.find_first_of("xX") == std::string::npos;
}

}  // namespace

void LoadSettings(Form1State& f, const IniFile& ini) {
  Reader r(ini);
  // [Map]
  r.Float("Map", "MapCentN", 36.5, f.MapCentN);
  r.Float("Map", "MapCentE", 139.0, f.MapCentE);
  r.Int("Map", "PlotType", 2, f.PlotType);
  r.Bool("Map", "LineType", false, f.LineType);
  r.Bool("Map", "PlotDraw", true, f.SpeedButton16Down);
  r.Bool("Map", "DispVOR", false, f.SpeedButton21Down);
  r.Bool("Map", "DispTAC", false, f.SpeedButton22Down);
  r.Bool("Map", "DispNDB", false, f.SpeedButton23Down);
  r.Bool("Map", "DispWPT", false, f.SpeedButton24Down);
  r.Bool("Map", "DispAPT", false, f.SpeedButton28Down);
  r.Bool("Map", "LineVOR", false, f.SpeedButton25Down);
  r.Bool("Map", "LineNDB", false, f.SpeedButton26Down);
  r.Bool("Map", "LineNAV", false, f.SpeedButton27Down);
  r.Int("Map", "MapScale", 0, f.ComboBox1Index);
  r.Bool("Map", "Japan", false, f.N8Checked);
  r.Bool("Map", "ElsePosGet", true, f.ElsePosGet);
  r.Int("Map", "SubDisptype", 0, f.SubDispType);
  r.Bool("MAP", "3Letter", true, f.N21Checked);
  r.Bool("MAP", "ShowRegNo", false, f.N25Checked);
  r.Bool("MAP", "ZeroDel", true, f.N28Checked);
  r.Int("Map", "MaxMapPlot", 200, f.MaxMapPlot);
  r.Int("Map", "MaxPlotData", 50, f.MaxPlotData);
  r.Int("Map", "SelectDegree", 6, f.SelectDegree);
  r.Int("Map", "GridType", 2, f.GridType);
  r.Bool("MAP", "GridValue", false, f.GridValue);
  r.Bool("MAP", "GlobeView", true, f.SpeedButton2Down);
  r.Float("Map", "ViewDeg", -36.5, f.ViewDeg);
  r.Int("Map", "MapNo", 0, f.MapNo);
  r.Bool("MAP", "TrackMark", false, f.TrackMark);
  r.Bool("MAP", "TimeAdjust", true, f.TimeAdjust);
  r.Int("Map", "TimeAdjustMin", 5, f.TimeAdjustMin);
  r.Bool("MAP", "MapButtons", true, f.N38Checked);
  r.Bool("Map", "10point", false, f.TenPointPlot);
  r.Int("Map", "SymbolSize", 1, f.SymbolSize);
  r.Bool("Map", "MapSymbol", true, f.MapSymbol);
  r.Bool("Map", "HideText", false, f.HideText);
  // The flat-view button is the globe button's partner.
  f.SpeedButton5Down = f.SpeedButton2Down ? 0 : 1;

  // [Txt]
  r.Int("Txt", "TxtType", 4, f.TxtType);
  r.Int("Txt", "MaxBytes", 10000, f.MaxBytes);
  r.Bool("Txt", "SqNoDisp", false, f.SqNoDisp);
  r.Bool("Txt", "Log", false, f.TxtLog);
  r.Int("Txt", "Type", 0, f.TxtSaveType);
  r.Bool("Txt", "ShowPos", false, f.ShowPos);
  r.Bool("Txt", "TISNoDisp", false, f.TISNoDisp);
  r.Bool("Txt", "FreqNoDisp", false, f.FreqNoDisp);
  r.Bool("Txt", "LogOutACASRAW", true, f.LogOutACASRAW);
  r.Bool("Txt", "LogOutACASPRC", true, f.LogOutACASPRC);
  r.Bool("Txt", "LogOutACASMES", true, f.LogOutACASMES);
  r.Bool("Txt", "LogOutHFDLDAT", true, f.LogOutHFDLDAT);
  r.Bool("Txt", "LogOutHFDLANA", true, f.LogOutHFDLANA);
  r.Bool("Txt", "LogOutHFDLFMT", true, f.LogOutHFDLFMT);

  // [Mail]
  r.Str("Mail", "MailHost", "", f.MailHost);
  r.Str("Mail", "MailFrom", "", f.MailFrom);
  r.Str("Mail", "MailTo", "", f.MailTo);
  r.Bool("Mail", "MailSend", false, f.MailSend);
  r.Bool("Mail", "SJISConv", true, f.SJISConv);
  r.Bool("Mail", "MIMEConv", true, f.MIMEConv);

  // [Spec]
  r.Bool("Spec", "PopUp", true, f.SpecPopUp);
  r.Bool("Spec", "Sound", true, f.SpecSound);
  r.Bool("Spec", "Log", false, f.SpecLog);

  // [List]
  r.Bool("List", "ShowNew", true, f.ShowNew);
  r.Bool("List", "Mini", false, f.ListMini);
  r.Bool("List", "AutoDelete", false, f.AutoDelete);
  r.Int("List", "DeleteTime", 300, f.DeleteTime);
  r.Bool("List", "Log", false, f.ListLog);

  // [Color]
  for (const ColorKey& c : kColorKeys) r.Color("Color", c.key, c.def, f.*(c.member));
  for (int i = 0; i < 10; ++i) {
    r.Str("Color", Indexed("UserText", i).c_str(), "--", f.UserText[i]);
    for (int j = 1; j <= 7; ++j) {
      r.Color("Color", ("UserColor" + std::to_string(j) + std::to_string(i)).c_str(), "000000", f.UserColor[j - 1][i]);
    }
  }

  // [Pos]
  r.Int("Pos", "MainTop", 0, f.MainTop);
  r.Int("Pos", "MainLeft", 0, f.MainLeft);
  r.Int("Pos", "MainWidth", 990, f.MainWidth);
  r.Int("Pos", "MainHeight", 702, f.MainHeight);
  r.Bool("Pos", "MainMaxmum", false, f.MainMaximized);
  r.Int("Pos", "PlaneTop", 0, f.PlaneTop);
  r.Int("Pos", "PlaneLeft", 0, f.PlaneLeft);
  r.Int("Pos", "ListTop", 0, f.ListTop);
  r.Int("Pos", "ListLeft", 0, f.ListLeft);
  r.Int("Pos", "TextTop", 0, f.TextTop);
  r.Int("Pos", "TextLeft", 0, f.TextLeft);
  r.Int("Pos", "InfoTop", 0, f.InfoTop);
  r.Int("Pos", "InfoLeft", 0, f.InfoLeft);
  r.Bool("Pos", "TextTopMost", true, f.TextTopMost);
  r.Bool("Pos", "PictTopMost", true, f.PictTopMost);

  // [Form]
  r.Bool("Form", "List", false, f.ListVisible);
  r.Bool("Form", "Spec", false, f.SpecVisible);
  r.Bool("Form", "Text", false, f.TextVisible);
  r.Bool("Form", "Pict", false, f.PictVisible);
  r.Bool("Form", "SelCall", false, f.SelCallVisible);
  r.Bool("Form", "ShowRep", false, f.N11Checked);
  r.Bool("Form", "ShowAlt", false, f.N26Checked);
  r.Bool("Form", "ShowMod", true, f.N27Checked);
  r.Bool("Form", "Full", false, f.FullScreen);
  r.Int("Form", "TextHeight", 440, f.TextHeight);
  r.Int("Form", "TextWidth", 340, f.TextWidth);
  r.Int("Form", "ListHeight", 372, f.ListHeight);
  r.Int("Form", "ListWidth", 681, f.ListWidth);
  r.Int("Form", "FreqTop", 0, f.FreqTop);
  r.Int("Form", "FreqLeft", 0, f.FreqLeft);
  r.Int("Form", "ICAOTop", 0, f.ICAOTop);
  r.Int("Form", "ICAOLeft", 0, f.ICAOLeft);
  r.Int("Form", "ICAOWidth", 482, f.ICAOWidth);
  r.Int("Form", "ICAOHeight", 328, f.ICAOHeight);
  r.Int("Form", "RecvTop", 0, f.RecvTop);
  r.Int("Form", "RecvLeft", 0, f.RecvLeft);
  r.Int("Form", "SystemTop", 0, f.SystemTop);
  r.Int("Form", "SystemLeft", 0, f.SystemLeft);
  r.Int("Form", "RadioTop", 0, f.RadioTop);
  r.Int("Form", "RadioLeft", 0, f.RadioLeft);
  r.Int("Form", "FreqSetTop", 0, f.FreqSetTop);
  r.Int("Form", "FreqSetLeft", 0, f.FreqSetLeft);
  r.Int("Form", "SelCallTop", 0, f.SelCallTop);
  r.Int("Form", "SelCallLeft", 0, f.SelCallLeft);
  r.Int("Form", "MesgSrchTop", 0, f.MesgSrchTop);
  r.Int("Form", "MesgSrchLeft", 0, f.MesgSrchLeft);
  r.Bool("Form", "FreqShow", false, f.FreqShow);
  r.Bool("Form", "ICAOShow", false, f.ICAOShow);
  r.Int("Form", "Refresh", 1, f.SpectrumRefresh);
  for (int i = 0; i < 10; ++i) r.Int("Form", Indexed("ColumnsWidth", i).c_str(), kColumnWidthDefaults[i], f.ColumnsWidth[i]);
  r.Int("Form", "TextFontSize", 9, f.TextFontSize);
  r.Str("Form", "TextFontName", "", f.TextFontName);
  r.Int("Form", "ListFontSize", 9, f.ListFontSize);
  r.Str("Form", "ListFontName", "", f.ListFontName);
  r.Bool("Form", "ShowToolBar", true, f.ShowToolBar);
  r.Bool("Form", "SelCallAN", false, f.SelCallAN);
  r.Bool("Form", "SelCallNR", false, f.SelCallNR);
  r.Bool("Form", "SelCall3D", false, f.SelCall3D);
  r.Bool("Form", "SelCallBel", false, f.SelCallBel);
  r.Bool("Form", "SelCallRdo", false, f.SelCallRdo);
  r.Bool("Form", "TimeMoni", false, f.TimeMoni);
  r.Int("Form", "TimeMoniSec", 120, f.TimeMoniSec);

  // [Net]
  r.Bool("Net", "TcpIp", true, f.TcpIp);
  r.Bool("Net", "Server", false, f.Server);
  r.Bool("Net", "ServerDec", true, f.ServerDec);
  r.Str("Net", "Name", "DefaultName", f.NetName);
  r.Str("Net", "ServerName", "", f.ServerName);
  r.Bool("Net", "Reconnect", true, f.Reconnect);
  r.Int("Net", "Timer", 60, f.ReconnectTimer);
  r.Bool("Net", "Chat", false, f.Chat);
  r.Bool("Net", "DupCheckSend", true, f.DupCheckSend);
  r.Int("Net", "MaxConnect", 10, f.MaxConnect);
  r.Str("Net", "ClientPortNo", "49505", f.ClientPortNo);
  r.Str("Net", "ServerPortNo", "49505", f.ServerPortNo);
  r.Bool("Net", "RecvVHF", true, f.RecvVHF);
  r.Bool("Net", "RecvHF", true, f.RecvHF);
  r.Int("Net", "LoopBackInterval", 30, f.LoopBackInterval);
  r.Int("Net", "LoopBackLimit", 3, f.LoopBackLimit);

  // [Wave]
  r.Int("Wave", "Input", 0, f.WaveInput);
  r.Int("Wave", "Dual", 1, f.WaveDual);
  r.Int("Wave", "DecoderL", 1, f.DecoderL);
  r.Int("Wave", "DecoderR", 1, f.DecoderR);
  r.Int("Wave", "Rate", 0, f.WaveRate);

  // [Radio]
  r.Int("Radio", "ListNoL", 0, f.ListNoL);
  r.Int("Radio", "ListNoR", 0, f.ListNoR);
  r.Bool("Radio", "EngageL", false, f.EngageL);
  r.Bool("Radio", "EngageR", false, f.EngageR);
  r.Int("Radio", "SelFreqL", 0, f.SelFreqL);
  r.Int("Radio", "SelFreqR", 0, f.SelFreqR);
  r.Int("Radio", "ComNoL", 0, f.ComNoL);
  r.Int("Radio", "ComNoR", 0, f.ComNoR);
  r.Str("Radio", "IdL", "FF", f.IdL);
  r.Str("Radio", "IdR", "FF", f.IdR);
  r.Int("Radio", "TypeL", 0, f.TypeL);
  r.Int("Radio", "TypeR", 0, f.TypeR);
  r.Int("Radio", "ManualL", 5000, f.ManualL);
  r.Int("Radio", "ManualR", 5000, f.ManualR);

  // [MsgSrch]
  r.Bool("MsgSrch", "Sound", false, f.MsgSrchSound);
  r.Bool("MsgSrch", "Popup", false, f.MsgSrchPopup);
  r.Bool("MsgSrch", "Run", false, f.MsgSrchRun);

  // [Etc]
  r.Bool("Etc", "ConvJC", true, f.ConvJC);
  r.Bool("Etc", "ConvJD", true, f.ConvJD);
  r.Bool("Etc", "DispTime", false, f.DispTime);
  r.Int("Etc", "FFTSel", 0, f.FFTSel);
  r.Bool("Etc", "DispType", false, f.DispType);
  r.Bool("Etc", "WaveType", false, f.WaveType);
  r.Int("Etc", "SystemVer", 35, f.SystemVer);
  r.Str("Etc", "PassList", "", f.PassList);
  r.Str("Etc", "SelCallCode", "AAAA", f.SelCallCode);
  r.Int("Etc", "Local", 9, f.LocalHourOffset);
  r.Int("Etc", "DeleteDay", 30, f.DeleteDay);
  r.Bool("Etc", "DeleteLogFile", false, f.DeleteLogFile);
  r.Bool("Etc", "ChangeLogFileName", true, f.ChangeLogFileName);
  r.Int("Etc", "Language", 0, f.Language);

  // The registration mark and the flight-number mark are one choice.
  f.N24Checked = f.N25Checked ? 0 : 1;

  HardenSettings(f);
}

void HardenSettings(Form1State& f) {
  // A port text that is no number would abort the start at the constructor's
  // range check.
  if (!IsDecimalNumber(f.ClientPortNo)) f.ClientPortNo = "49505";
  if (!IsDecimalNumber(f.ServerPortNo)) f.ServerPortNo = "49505";
  if (f.MaxMapPlot < 1) f.MaxMapPlot = 200;
  if (f.MaxPlotData < 1) f.MaxPlotData = 50;
  // A hand-edited 100000 x 100000 would ask for gigabytes of track points.
  if (static_cast<long long>(f.MaxMapPlot) * f.MaxPlotData > 1000000LL) {
    f.MaxMapPlot = 200;
    f.MaxPlotData = 50;
  }
  if (f.SelectDegree < 0 || f.SelectDegree > 9) f.SelectDegree = 6;
  if (f.LocalHourOffset < -23 || f.LocalHourOffset > 23) f.LocalHourOffset = 9;
  if (f.DeleteDay < 1) f.DeleteDay = 30;
  if (f.MaxConnect > 1000) f.MaxConnect = 10;
  if (f.ComboBox1Index < 0 || f.ComboBox1Index > 26) f.ComboBox1Index = 0;
  if (f.TxtType < 0 || f.TxtType > 5) f.TxtType = 4;
  if (f.TimeMoniSec < 1) f.TimeMoniSec = 120;
  if (f.ReconnectTimer < 1) f.ReconnectTimer = 60;
}

void SaveSettings(const Form1State& f, IniFile& ini) {
  Writer w(ini);
  // 1. [Map]
  w.Float("Map", "MapCentN", f.MapCentN);
  w.Float("Map", "MapCentE", f.MapCentE);
  w.Int("Map", "PlotType", f.PlotType);
  w.Bool("Map", "ElsePosGet", f.ElsePosGet);
  w.Bool("Map", "LineType", f.LineType);
  w.Bool("Map", "PlotDraw", f.SpeedButton16Down);
  w.Int("Map", "MapScale", f.ComboBox1Index);
  w.Int("Map", "MaxMapPlot", f.MaxMapPlot);
  w.Int("Map", "MaxPlotData", f.MaxPlotData);
  // 2. [Txt]
  w.Int("Txt", "TxtType", f.TxtType);
  w.Int("Txt", "MaxBytes", f.MaxBytes);
  w.Bool("Txt", "SqNoDisp", f.SqNoDisp);
  w.Bool("Txt", "Log", f.TxtLog);
  w.Int("Txt", "Type", f.TxtSaveType);
  w.Bool("Txt", "ShowPos", f.ShowPos);
  w.Bool("Txt", "FreqNoDisp", f.FreqNoDisp);
  w.Bool("Txt", "TISNoDisp", f.TISNoDisp);
  w.Bool("Txt", "LogOutACASRAW", f.LogOutACASRAW);
  w.Bool("Txt", "LogOutACASPRC", f.LogOutACASPRC);
  w.Bool("Txt", "LogOutACASMES", f.LogOutACASMES);
  w.Bool("Txt", "LogOutHFDLDAT", f.LogOutHFDLDAT);
  w.Bool("Txt", "LogOutHFDLANA", f.LogOutHFDLANA);
  w.Bool("Txt", "LogOutHFDLFMT", f.LogOutHFDLFMT);
  // 3. [Map]
  w.Int("Map", "SubDisptype", f.SubDispType);
  w.Bool("Map", "DispVOR", f.SpeedButton21Down);
  w.Bool("Map", "DispTAC", f.SpeedButton22Down);
  w.Bool("Map", "DispNDB", f.SpeedButton23Down);
  w.Bool("Map", "DispWPT", f.SpeedButton24Down);
  w.Bool("Map", "DispAPT", f.SpeedButton28Down);
  w.Bool("Map", "LineVOR", f.SpeedButton25Down);
  w.Bool("Map", "LineNDB", f.SpeedButton26Down);
  w.Bool("Map", "LineNAV", f.SpeedButton27Down);
  w.Bool("Map", "Japan", f.N8Checked);
  w.Bool("Map", "ShowRegNo", f.N25Checked);
  w.Int("Map", "SelectDegree", f.SelectDegree);
  w.Int("Map", "GridType", f.GridType);
  w.Bool("MAP", "GridValue", f.GridValue);
  // 4. [Mail]
  w.Str("Mail", "MailHost", f.MailHost);
  w.Str("Mail", "MailFrom", f.MailFrom);
  w.Str("Mail", "MailTo", f.MailTo);
  w.Bool("Mail", "MailSend", f.MailSend);
  w.Bool("Mail", "SJISConv", f.SJISConv);
  w.Bool("Mail", "MIMEConv", f.MIMEConv);
  // 5. [Map]
  w.Bool("MAP", "3Letter", f.N21Checked);
  w.Bool("MAP", "ZeroDel", f.N28Checked);
  w.Bool("MAP", "GlobeView", f.SpeedButton2Down);
  w.Float("Map", "ViewDeg", f.ViewDeg);
  w.Int("Map", "MapNo", f.MapNo);
  w.Bool("MAP", "TrackMark", f.TrackMark);
  w.Bool("MAP", "TimeAdjust", f.TimeAdjust);
  w.Int("Map", "TimeAdjustMin", f.TimeAdjustMin);
  w.Bool("MAP", "MapButtons", f.N38Checked);
  w.Int("Map", "SymbolSize", f.SymbolSize);
  w.Bool("Map", "MapSymbol", f.MapSymbol);
  w.Bool("Map", "HideText", f.HideText);
  // 6. [Spec]
  w.Bool("Spec", "PopUp", f.SpecPopUp);
  w.Bool("Spec", "Sound", f.SpecSound);
  w.Bool("Spec", "Log", f.SpecLog);
  // 7. [List]
  w.Bool("List", "ShowNew", f.ShowNew);
  w.Bool("List", "Mini", f.ListMini);
  w.Bool("List", "AutoDelete", f.AutoDelete);
  w.Int("List", "DeleteTime", f.DeleteTime);
  w.Bool("List", "Log", f.ListLog);
  // 8. [Color]: the named keys up to ClockText, then the two pairs in the
  // writer's own order, then the operator groups.
  for (const ColorKey& c : kColorKeys) {
    if (std::string(c.key) == "ListBack") break;
    w.Color("Color", c.key, f.*(c.member));
  }
  w.Color("Color", "TextBack", f.TextBack);
  w.Color("Color", "TextText", f.TextText);
  w.Color("Color", "ListBack", f.ListBack);
  w.Color("Color", "ListText", f.ListText);
  w.Color("Color", "DispColorL", f.DispColorL);
  w.Color("Color", "DispColorR", f.DispColorR);
  for (int i = 0; i < 10; ++i) {
    w.Str("Color", Indexed("UserText", i).c_str(), f.UserText[i]);
    for (int j = 1; j <= 7; ++j) {
      w.Color("Color", ("UserColor" + std::to_string(j) + std::to_string(i)).c_str(), f.UserColor[j - 1][i]);
    }
  }
  // 9. [Pos] (the main window's bounds are already in the members: the
  // window copies them in before the save, the normal-state ones when it is
  // maximised).
  w.Int("Pos", "MainTop", f.MainTop);
  w.Int("Pos", "MainLeft", f.MainLeft);
  w.Int("Pos", "MainWidth", f.MainWidth);
  w.Int("Pos", "MainHeight", f.MainHeight);
  w.Int("Pos", "MainMaxmum", f.MainMaximized ? 1 : 0);
  w.Int("Pos", "PlaneTop", f.PlaneTop);
  w.Int("Pos", "PlaneLeft", f.PlaneLeft);
  w.Int("Pos", "ListTop", f.ListTop);
  w.Int("Pos", "ListLeft", f.ListLeft);
  w.Int("Pos", "TextTop", f.TextTop);
  w.Int("Pos", "TextLeft", f.TextLeft);
  w.Int("Pos", "InfoTop", f.InfoTop);
  w.Int("Pos", "InfoLeft", f.InfoLeft);
  w.Bool("Pos", "TextTopMost", f.TextTopMost);
  w.Bool("Pos", "PictTopMost", f.PictTopMost);
  // 10. [Form]
  w.Bool("Form", "Spec", f.SpecVisible);
  w.Bool("Form", "Pict", f.PictVisible);
  w.Bool("Form", "Text", f.TextVisible);
  w.Bool("Form", "List", f.ListVisible);
  w.Bool("Form", "SelCall", f.SelCallVisible);
  w.Bool("Form", "ShowRep", f.N11Checked);
  w.Bool("Form", "ShowAlt", f.N26Checked);
  w.Bool("Form", "ShowMod", f.N27Checked);
  w.Bool("Form", "Full", f.FullScreen);
  w.Int("Form", "TextHeight", f.TextHeight);
  w.Int("Form", "TextWidth", f.TextWidth);
  w.Int("Form", "ListHeight", f.ListHeight);
  w.Int("Form", "ListWidth", f.ListWidth);
  w.Int("Form", "FreqTop", f.FreqTop);
  w.Int("Form", "FreqLeft", f.FreqLeft);
  w.Int("Form", "ICAOWidth", f.ICAOWidth);
  w.Int("Form", "ICAOHeight", f.ICAOHeight);
  w.Int("Form", "ICAOTop", f.ICAOTop);
  w.Int("Form", "ICAOLeft", f.ICAOLeft);
  w.Int("Form", "RecvTop", f.RecvTop);
  w.Int("Form", "RecvLeft", f.RecvLeft);
  w.Int("Form", "SystemTop", f.SystemTop);
  w.Int("Form", "SystemLeft", f.SystemLeft);
  w.Int("Form", "RadioTop", f.RadioTop);
  w.Int("Form", "RadioLeft", f.RadioLeft);
  w.Int("Form", "FreqSetTop", f.FreqSetTop);
  w.Int("Form", "FreqSetLeft", f.FreqSetLeft);
  w.Int("Form", "SelCallTop", f.SelCallTop);
  w.Int("Form", "SelCallLeft", f.SelCallLeft);
  w.Int("Form", "MesgSrchTop", f.MesgSrchTop);
  w.Int("Form", "MesgSrchLeft", f.MesgSrchLeft);
  w.Bool("Form", "FreqShow", f.FreqShow);
  w.Bool("Form", "ICAOShow", f.ICAOShow);
  w.Int("Form", "TextFontSize", f.TextFontSize);
  w.Str("Form", "TextFontName", f.TextFontName);
  w.Int("Form", "ListFontSize", f.ListFontSize);
  w.Str("Form", "ListFontName", f.ListFontName);
  w.Int("Form", "Refresh", f.SpectrumRefresh);
  for (int i = 0; i < 10; ++i) w.Int("Form", Indexed("ColumnsWidth", i).c_str(), f.ColumnsWidth[i]);
  w.Bool("Form", "ShowToolBar", f.ShowToolBar);
  w.Bool("Form", "SelCallAN", f.SelCallAN);
  w.Bool("Form", "SelCallNR", f.SelCallNR);
  w.Bool("Form", "SelCall3D", f.SelCall3D);
  w.Bool("Form", "SelCallBel", f.SelCallBel);
  w.Bool("Form", "SelCallRdo", f.SelCallRdo);
  w.Bool("Form", "TimeMoni", f.TimeMoni);
  w.Int("Form", "TimeMoniSec", f.TimeMoniSec);
  // 11. [Net]
  w.Bool("Net", "TcpIp", f.TcpIp);
  w.Bool("Net", "Server", f.Server);
  w.Bool("Net", "ServerDec", f.ServerDec);
  w.Str("Net", "Name", f.NetName);
  w.Str("Net", "ServerName", f.ServerName);
  w.Bool("Net", "Reconnect", f.Reconnect);
  w.Int("Net", "Timer", f.ReconnectTimer);
  w.Bool("Net", "Chat", f.Chat);
  w.Bool("Net", "DupCheckSend", f.DupCheckSend);
  w.Int("Net", "MaxConnect", f.MaxConnect);
  w.Str("Net", "ClientPortNo", f.ClientPortNo);
  w.Str("Net", "ServerPortNo", f.ServerPortNo);
  w.Bool("Net", "RecvVHF", f.RecvVHF);
  w.Bool("Net", "RecvHF", f.RecvHF);
  w.Int("Net", "LoopBackInterval", f.LoopBackInterval);
  w.Int("Net", "LoopBackLimit", f.LoopBackLimit);
  // 12. [Wave]
  w.Int("Wave", "Input", f.WaveInput);
  w.Int("Wave", "Dual", f.WaveDual);
  w.Int("Wave", "DecoderL", f.DecoderL);
  w.Int("Wave", "DecoderR", f.DecoderR);
  w.Int("Wave", "Rate", f.WaveRate);
  // 13. [Map]
  w.Bool("Map", "10point", f.TenPointPlot);
  // 14. [Radio] (the receiver dialog copies its controls into the members
  // before the save; an unselected item is -1).
  w.Int("Radio", "ListNoL", f.ListNoL);
  w.Int("Radio", "ListNoR", f.ListNoR);
  w.Bool("Radio", "EngageL", f.EngageL);
  w.Bool("Radio", "EngageR", f.EngageR);
  w.Int("Radio", "SelFreqL", f.SelFreqL);
  w.Int("Radio", "SelFreqR", f.SelFreqR);
  w.Int("Radio", "ComNoL", f.ComNoL);
  w.Int("Radio", "ComNoR", f.ComNoR);
  w.Str("Radio", "IdL", f.IdL);
  w.Str("Radio", "IdR", f.IdR);
  w.Int("Radio", "TypeL", f.TypeL);
  w.Int("Radio", "TypeR", f.TypeR);
  w.Int("Radio", "ManualL", f.ManualL);
  w.Int("Radio", "ManualR", f.ManualR);
  // 15. [MsgSrch]
  w.Bool("MsgSrch", "Sound", f.MsgSrchSound);
  w.Bool("MsgSrch", "Popup", f.MsgSrchPopup);
  w.Bool("MsgSrch", "Run", f.MsgSrchRun);
  // 16. [Etc]
  w.Bool("Etc", "ConvJC", f.ConvJC);
  w.Bool("Etc", "ConvJD", f.ConvJD);
  w.Bool("Etc", "DispTime", f.DispTime);
  w.Int("Etc", "FFTSel", f.FFTSel);
  w.Bool("Etc", "DispType", f.DispType);
  w.Bool("Etc", "WaveType", f.WaveType);
  w.Str("Etc", "PassList", f.PassList);
  w.Str("Etc", "SelCallCode", f.SelCallCode);
  w.Int("Etc", "SystemVer", f.SystemVer);
  w.Int("Etc", "Local", f.LocalHourOffset);
  w.Int("Etc", "DeleteDay", f.DeleteDay);
  w.Bool("Etc", "DeleteLogFile", f.DeleteLogFile);
  w.Bool("Etc", "ChangeLogFileName", f.ChangeLogFileName);
  w.Int("Etc", "Language", f.Language);
}
