#include "app/settings.h"

#include <string>

#include "app/form1_state.h"
#include "platform/shared_helpers.h"
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
  StateField<TColor> member;
};

const ColorKey kColorKeys[] = {
    {"BackColor", "000000", STATE_FIELD(Color.BackColor)},
    {"PlotOnColor", "FFFF00", STATE_FIELD(Color.PlotOnColor)},
    {"PlotOffColor", "FFFF00", STATE_FIELD(Color.PlotOffColor)},
    {"PlotMarkUpColor", "FFFFFF", STATE_FIELD(Color.PlotMarkUpColor)},
    {"PlotBackColor", "FF0000", STATE_FIELD(Color.PlotBackColor)},
    {"MapBackColor", "200000", STATE_FIELD(Color.MapBackColor)},
    {"MapCoastColor", "004000", STATE_FIELD(Color.MapCoastColor)},
    {"MapAirwayVOR", "FF8000", STATE_FIELD(Color.MapAirwayVOR)},
    {"MapAirwayNDB", "FF8000", STATE_FIELD(Color.MapAirwayNDB)},
    {"MapAirwayNAV", "FF8000", STATE_FIELD(Color.MapAirwayNAV)},
    {"MapPointVORDME", "00FFFF", STATE_FIELD(Color.MapPointVORDME)},
    {"MapPointVORTAC", "FF00FF", STATE_FIELD(Color.MapPointVORTAC)},
    {"MapPointNDB", "8000FF", STATE_FIELD(Color.MapPointNDB)},
    {"MapPointNAV", "FF0080", STATE_FIELD(Color.MapPointNAV)},
    {"MapPointAirPort", "800040", STATE_FIELD(Color.MapPointAirPort)},
    {"MapPointHome", "FF00FF", STATE_FIELD(Color.MapPointHome)},
    {"MapPointBeacon", "00FFFF", STATE_FIELD(Color.MapPointBeacon)},
    {"MapPointAnt", "00FF00", STATE_FIELD(Color.MapPointAnt)},
    {"MapPointMount", "00FF00", STATE_FIELD(Color.MapPointMount)},
    {"MapPointNone", "FFFFFF", STATE_FIELD(Color.MapPointNone)},
    {"Grid", "006000", STATE_FIELD(Color.GridColor)},
    {"GridNum", "00FF00", STATE_FIELD(Color.GridNumColor)},
    {"Boundaries", "008000", STATE_FIELD(Color.BoundariesColor)},
    {"LineColor1", "603000", STATE_FIELD(Color.LineColor1)},
    {"LineColor2", "0000FF", STATE_FIELD(Color.LineColor2)},
    {"AltBack", "000000", STATE_FIELD(Color.AltBack)},
    {"AltScale", "FFFFFF", STATE_FIELD(Color.AltScale)},
    {"SelBack", "FFFFFF", STATE_FIELD(Color.SelBack)},
    {"SelText", "808040", STATE_FIELD(Color.SelText)},
    {"ClockBack", "000000", STATE_FIELD(Color.ClockBack)},
    {"ClockText", "FF8000", STATE_FIELD(Color.ClockText)},
    {"ListBack", "FFFFFF", STATE_FIELD(Color.ListBack)},
    {"ListText", "000000", STATE_FIELD(Color.ListText)},
    {"TextBack", "FFFFFF", STATE_FIELD(Color.TextBack)},
    {"TextText", "000000", STATE_FIELD(Color.TextText)},
    {"DispColorL", "FFBB00", STATE_FIELD(Color.DispColorL)},
    {"DispColorR", "FFBBFF", STATE_FIELD(Color.DispColorR)},
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
  r.Float("Map", "MapCentN", 36.5, f.Map.MapCentN);
  r.Float("Map", "MapCentE", 139.0, f.Map.MapCentE);
  r.Int("Map", "PlotType", 2, f.Map.PlotType);
  r.Bool("Map", "LineType", false, f.Map.LineType);
  r.Bool("Map", "PlotDraw", true, f.controls.SpeedButton16Down);
  r.Bool("Map", "DispVOR", false, f.controls.SpeedButton21Down);
  r.Bool("Map", "DispTAC", false, f.controls.SpeedButton22Down);
  r.Bool("Map", "DispNDB", false, f.controls.SpeedButton23Down);
  r.Bool("Map", "DispWPT", false, f.controls.SpeedButton24Down);
  r.Bool("Map", "DispAPT", false, f.controls.SpeedButton28Down);
  r.Bool("Map", "LineVOR", false, f.controls.SpeedButton25Down);
  r.Bool("Map", "LineNDB", false, f.controls.SpeedButton26Down);
  r.Bool("Map", "LineNAV", false, f.controls.SpeedButton27Down);
  r.Int("Map", "MapScale", 0, f.controls.ComboBox1Index);
  r.Bool("Map", "Japan", false, f.controls.N8Checked);
  r.Bool("Map", "ElsePosGet", true, f.Map.ElsePosGet);
  r.Int("Map", "SubDisptype", 0, f.Map.SubDispType);
  r.Bool("MAP", "3Letter", true, f.controls.N21Checked);
  r.Bool("MAP", "ShowRegNo", false, f.controls.N25Checked);
  r.Bool("MAP", "ZeroDel", true, f.controls.N28Checked);
  r.Int("Map", "MaxMapPlot", 200, f.Map.MaxMapPlot);
  r.Int("Map", "MaxPlotData", 50, f.Map.MaxPlotData);
  r.Int("Map", "SelectDegree", 6, f.Map.SelectDegree);
  r.Int("Map", "GridType", 2, f.Map.GridType);
  r.Bool("MAP", "GridValue", false, f.Map.GridValue);
  r.Bool("MAP", "GlobeView", true, f.controls.SpeedButton2Down);
  r.Float("Map", "ViewDeg", -36.5, f.Map.ViewDeg);
  r.Int("Map", "MapNo", 0, f.Map.MapNo);
  r.Bool("MAP", "TrackMark", false, f.Map.TrackMark);
  r.Bool("MAP", "TimeAdjust", true, f.Map.TimeAdjust);
  r.Int("Map", "TimeAdjustMin", 5, f.Map.TimeAdjustMin);
  r.Bool("MAP", "MapButtons", true, f.controls.N38Checked);
  r.Bool("Map", "10point", false, f.Map.TenPointPlot);
  r.Int("Map", "SymbolSize", 1, f.Map.SymbolSize);
  r.Bool("Map", "MapSymbol", true, f.Map.MapSymbol);
  r.Bool("Map", "HideText", false, f.Map.HideText);
  // The flat-view button is the globe button's partner.
  f.controls.SpeedButton5Down = f.controls.SpeedButton2Down ? 0 : 1;

  // [Txt]
  r.Int("Txt", "TxtType", 4, f.Txt.TxtType);
  r.Int("Txt", "MaxBytes", 10000, f.Txt.MaxBytes);
  r.Bool("Txt", "SqNoDisp", false, f.Txt.SqNoDisp);
  r.Bool("Txt", "Log", false, f.Txt.TxtLog);
  r.Int("Txt", "Type", 0, f.Txt.TxtSaveType);
  r.Bool("Txt", "ShowPos", false, f.Txt.ShowPos);
  r.Bool("Txt", "TISNoDisp", false, f.Txt.TISNoDisp);
  r.Bool("Txt", "FreqNoDisp", false, f.Txt.FreqNoDisp);
  r.Bool("Txt", "LogOutACASRAW", true, f.Txt.LogOutACASRAW);
  r.Bool("Txt", "LogOutACASPRC", true, f.Txt.LogOutACASPRC);
  r.Bool("Txt", "LogOutACASMES", true, f.Txt.LogOutACASMES);
  r.Bool("Txt", "LogOutHFDLDAT", true, f.Txt.LogOutHFDLDAT);
  r.Bool("Txt", "LogOutHFDLANA", true, f.Txt.LogOutHFDLANA);
  r.Bool("Txt", "LogOutHFDLFMT", true, f.Txt.LogOutHFDLFMT);

  // [Mail]
  r.Str("Mail", "MailHost", "", f.Mail.MailHost);
  r.Str("Mail", "MailFrom", "", f.Mail.MailFrom);
  r.Str("Mail", "MailTo", "", f.Mail.MailTo);
  r.Bool("Mail", "MailSend", false, f.Mail.MailSend);
  r.Bool("Mail", "SJISConv", true, f.Mail.SJISConv);
  r.Bool("Mail", "MIMEConv", true, f.Mail.MIMEConv);

  // [Spec]
  r.Bool("Spec", "PopUp", true, f.Spec.SpecPopUp);
  r.Bool("Spec", "Sound", true, f.Spec.SpecSound);
  r.Bool("Spec", "Log", false, f.Spec.SpecLog);

  // [List]
  r.Bool("List", "ShowNew", true, f.List.ShowNew);
  r.Bool("List", "Mini", false, f.List.ListMini);
  r.Bool("List", "AutoDelete", false, f.List.AutoDelete);
  r.Int("List", "DeleteTime", 300, f.List.DeleteTime);
  r.Bool("List", "Log", false, f.List.ListLog);

  // [Color]
  for (const ColorKey& c : kColorKeys) r.Color("Color", c.key, c.def, c.member(f));
  for (int i = 0; i < 10; ++i) {
    r.Str("Color", Indexed("UserText", i).c_str(), "--", f.Color.UserText[i]);
    for (int j = 1; j <= 7; ++j) {
      r.Color("Color", ("UserColor" + std::to_string(j) + std::to_string(i)).c_str(), "000000", f.Color.UserColor[j - 1][i]);
    }
  }

  // [Pos]
  r.Int("Pos", "MainTop", 0, f.Pos.MainTop);
  r.Int("Pos", "MainLeft", 0, f.Pos.MainLeft);
  r.Int("Pos", "MainWidth", 990, f.Pos.MainWidth);
  r.Int("Pos", "MainHeight", 702, f.Pos.MainHeight);
  r.Bool("Pos", "MainMaxmum", false, f.Pos.MainMaximized);
  r.Int("Pos", "PlaneTop", 0, f.Pos.PlaneTop);
  r.Int("Pos", "PlaneLeft", 0, f.Pos.PlaneLeft);
  r.Int("Pos", "ListTop", 0, f.Pos.ListTop);
  r.Int("Pos", "ListLeft", 0, f.Pos.ListLeft);
  r.Int("Pos", "TextTop", 0, f.Pos.TextTop);
  r.Int("Pos", "TextLeft", 0, f.Pos.TextLeft);
  r.Int("Pos", "InfoTop", 0, f.Pos.InfoTop);
  r.Int("Pos", "InfoLeft", 0, f.Pos.InfoLeft);
  r.Bool("Pos", "TextTopMost", true, f.Pos.TextTopMost);
  r.Bool("Pos", "PictTopMost", true, f.Pos.PictTopMost);

  // [Form]
  r.Bool("Form", "List", false, f.Form.ListVisible);
  r.Bool("Form", "Spec", false, f.Form.SpecVisible);
  r.Bool("Form", "Text", false, f.Form.TextVisible);
  r.Bool("Form", "Pict", false, f.Form.PictVisible);
  r.Bool("Form", "SelCall", false, f.Form.SelCallVisible);
  r.Bool("Form", "ShowRep", false, f.controls.N11Checked);
  r.Bool("Form", "ShowAlt", false, f.controls.N26Checked);
  r.Bool("Form", "ShowMod", true, f.controls.N27Checked);
  r.Bool("Form", "Full", false, f.Form.FullScreen);
  r.Int("Form", "TextHeight", 440, f.Form.TextHeight);
  r.Int("Form", "TextWidth", 340, f.Form.TextWidth);
  r.Int("Form", "ListHeight", 372, f.Form.ListHeight);
  r.Int("Form", "ListWidth", 681, f.Form.ListWidth);
  r.Int("Form", "FreqTop", 0, f.Form.FreqTop);
  r.Int("Form", "FreqLeft", 0, f.Form.FreqLeft);
  r.Int("Form", "ICAOTop", 0, f.Form.ICAOTop);
  r.Int("Form", "ICAOLeft", 0, f.Form.ICAOLeft);
  r.Int("Form", "ICAOWidth", 482, f.Form.ICAOWidth);
  r.Int("Form", "ICAOHeight", 328, f.Form.ICAOHeight);
  r.Int("Form", "RecvTop", 0, f.Form.RecvTop);
  r.Int("Form", "RecvLeft", 0, f.Form.RecvLeft);
  r.Int("Form", "SystemTop", 0, f.Form.SystemTop);
  r.Int("Form", "SystemLeft", 0, f.Form.SystemLeft);
  r.Int("Form", "RadioTop", 0, f.Form.RadioTop);
  r.Int("Form", "RadioLeft", 0, f.Form.RadioLeft);
  r.Int("Form", "FreqSetTop", 0, f.Form.FreqSetTop);
  r.Int("Form", "FreqSetLeft", 0, f.Form.FreqSetLeft);
  r.Int("Form", "SelCallTop", 0, f.Form.SelCallTop);
  r.Int("Form", "SelCallLeft", 0, f.Form.SelCallLeft);
  r.Int("Form", "MesgSrchTop", 0, f.Form.MesgSrchTop);
  r.Int("Form", "MesgSrchLeft", 0, f.Form.MesgSrchLeft);
  r.Bool("Form", "FreqShow", false, f.Form.FreqShow);
  r.Bool("Form", "ICAOShow", false, f.Form.ICAOShow);
  r.Int("Form", "Refresh", 1, f.Form.SpectrumRefresh);
  for (int i = 0; i < 10; ++i) r.Int("Form", Indexed("ColumnsWidth", i).c_str(), kColumnWidthDefaults[i], f.Form.ColumnsWidth[i]);
  r.Int("Form", "TextFontSize", 9, f.Form.TextFontSize);
  r.Str("Form", "TextFontName", "", f.Form.TextFontName);
  r.Int("Form", "ListFontSize", 9, f.Form.ListFontSize);
  r.Str("Form", "ListFontName", "", f.Form.ListFontName);
  r.Bool("Form", "ShowToolBar", true, f.Form.ShowToolBar);
  r.Bool("Form", "SelCallAN", false, f.Form.SelCallAN);
  r.Bool("Form", "SelCallNR", false, f.Form.SelCallNR);
  r.Bool("Form", "SelCall3D", false, f.Form.SelCall3D);
  r.Bool("Form", "SelCallBel", false, f.Form.SelCallBel);
  r.Bool("Form", "SelCallRdo", false, f.Form.SelCallRdo);
  r.Bool("Form", "TimeMoni", false, f.Form.TimeMoni);
  r.Int("Form", "TimeMoniSec", 120, f.Form.TimeMoniSec);

  // [Net]
  r.Bool("Net", "TcpIp", true, f.Net.TcpIp);
  r.Bool("Net", "Server", false, f.Net.Server);
  r.Bool("Net", "ServerDec", true, f.Net.ServerDec);
  r.Str("Net", "Name", "DefaultName", f.Net.NetName);
  r.Str("Net", "ServerName", "", f.Net.ServerName);
  r.Bool("Net", "Reconnect", true, f.Net.Reconnect);
  r.Int("Net", "Timer", 60, f.Net.ReconnectTimer);
  r.Bool("Net", "Chat", false, f.Net.Chat);
  r.Bool("Net", "DupCheckSend", true, f.Net.DupCheckSend);
  r.Int("Net", "MaxConnect", 10, f.Net.MaxConnect);
  r.Str("Net", "ClientPortNo", "49505", f.Net.ClientPortNo);
  r.Str("Net", "ServerPortNo", "49505", f.Net.ServerPortNo);
  r.Bool("Net", "RecvVHF", true, f.Net.RecvVHF);
  r.Bool("Net", "RecvHF", true, f.Net.RecvHF);
  r.Int("Net", "LoopBackInterval", 30, f.Net.LoopBackInterval);
  r.Int("Net", "LoopBackLimit", 3, f.Net.LoopBackLimit);

  // [Wave]
  r.Int("Wave", "Input", 0, f.Wave.WaveInput);
  r.Int("Wave", "Dual", 1, f.Wave.WaveDual);
  r.Int("Wave", "DecoderL", 1, f.Wave.DecoderL);
  r.Int("Wave", "DecoderR", 1, f.Wave.DecoderR);
  r.Int("Wave", "Rate", 0, f.Wave.WaveRate);

  // [Radio]
  r.Int("Radio", "ListNoL", 0, f.Radio.ListNoL);
  r.Int("Radio", "ListNoR", 0, f.Radio.ListNoR);
  r.Bool("Radio", "EngageL", false, f.Radio.EngageL);
  r.Bool("Radio", "EngageR", false, f.Radio.EngageR);
  r.Int("Radio", "SelFreqL", 0, f.Radio.SelFreqL);
  r.Int("Radio", "SelFreqR", 0, f.Radio.SelFreqR);
  r.Int("Radio", "ComNoL", 0, f.Radio.ComNoL);
  r.Int("Radio", "ComNoR", 0, f.Radio.ComNoR);
  r.Str("Radio", "IdL", "FF", f.Radio.IdL);
  r.Str("Radio", "IdR", "FF", f.Radio.IdR);
  r.Int("Radio", "TypeL", 0, f.Radio.TypeL);
  r.Int("Radio", "TypeR", 0, f.Radio.TypeR);
  r.Int("Radio", "ManualL", 5000, f.Radio.ManualL);
  r.Int("Radio", "ManualR", 5000, f.Radio.ManualR);

  // [MsgSrch]
  r.Bool("MsgSrch", "Sound", false, f.MsgSrch.MsgSrchSound);
  r.Bool("MsgSrch", "Popup", false, f.MsgSrch.MsgSrchPopup);
  r.Bool("MsgSrch", "Run", false, f.MsgSrch.MsgSrchRun);

  // [Etc]
  r.Bool("Etc", "ConvJC", true, f.Etc.ConvJC);
  r.Bool("Etc", "ConvJD", true, f.Etc.ConvJD);
  r.Bool("Etc", "DispTime", false, f.Etc.DispTime);
  r.Int("Etc", "FFTSel", 0, f.Etc.FFTSel);
  r.Bool("Etc", "DispType", false, f.Etc.DispType);
  r.Bool("Etc", "WaveType", false, f.Etc.WaveType);
  r.Int("Etc", "SystemVer", 35, f.hfdl.SystemVer);
  r.Str("Etc", "PassList", "", f.Etc.PassList);
  r.Str("Etc", "SelCallCode", "AAAA", f.Etc.SelCallCode);
  r.Int("Etc", "Local", 9, f.Etc.LocalHourOffset);
  r.Int("Etc", "DeleteDay", 30, f.Etc.DeleteDay);
  r.Bool("Etc", "DeleteLogFile", false, f.Etc.DeleteLogFile);
  r.Bool("Etc", "ChangeLogFileName", true, f.Etc.ChangeLogFileName);
  r.Int("Etc", "Language", 0, f.Etc.Language);

  // The registration mark and the flight-number mark are one choice.
  f.controls.N24Checked = f.controls.N25Checked ? 0 : 1;

  HardenSettings(f);
}

void HardenSettings(Form1State& f) {
  // A port text that is no number would abort the start at the constructor's
  // range check.
  if (!IsDecimalNumber(f.Net.ClientPortNo)) f.Net.ClientPortNo = "49505";
  if (!IsDecimalNumber(f.Net.ServerPortNo)) f.Net.ServerPortNo = "49505";
  if (f.Map.MaxMapPlot < 1) f.Map.MaxMapPlot = 200;
  if (f.Map.MaxPlotData < 1) f.Map.MaxPlotData = 50;
  // A hand-edited 100000 x 100000 would ask for gigabytes of track points.
  if (static_cast<long long>(f.Map.MaxMapPlot) * f.Map.MaxPlotData > 1000000LL) {
    f.Map.MaxMapPlot = 200;
    f.Map.MaxPlotData = 50;
  }
  if (f.Map.SelectDegree < 0 || f.Map.SelectDegree > 9) f.Map.SelectDegree = 6;
  if (f.Etc.LocalHourOffset < -23 || f.Etc.LocalHourOffset > 23) f.Etc.LocalHourOffset = 9;
  if (f.Etc.DeleteDay < 1) f.Etc.DeleteDay = 30;
  if (f.Net.MaxConnect > 1000) f.Net.MaxConnect = 10;
  if (f.controls.ComboBox1Index < 0 || f.controls.ComboBox1Index > 26) f.controls.ComboBox1Index = 0;
  if (f.Txt.TxtType < 0 || f.Txt.TxtType > 5) f.Txt.TxtType = 4;
  if (f.Form.TimeMoniSec < 1) f.Form.TimeMoniSec = 120;
  if (f.Net.ReconnectTimer < 1) f.Net.ReconnectTimer = 60;
}

void SaveSettings(const Form1State& f, IniFile& ini) {
  Writer w(ini);
  // 1. [Map]
  w.Float("Map", "MapCentN", f.Map.MapCentN);
  w.Float("Map", "MapCentE", f.Map.MapCentE);
  w.Int("Map", "PlotType", f.Map.PlotType);
  w.Bool("Map", "ElsePosGet", f.Map.ElsePosGet);
  w.Bool("Map", "LineType", f.Map.LineType);
  w.Bool("Map", "PlotDraw", f.controls.SpeedButton16Down);
  w.Int("Map", "MapScale", f.controls.ComboBox1Index);
  w.Int("Map", "MaxMapPlot", f.Map.MaxMapPlot);
  w.Int("Map", "MaxPlotData", f.Map.MaxPlotData);
  // 2. [Txt]
  w.Int("Txt", "TxtType", f.Txt.TxtType);
  w.Int("Txt", "MaxBytes", f.Txt.MaxBytes);
  w.Bool("Txt", "SqNoDisp", f.Txt.SqNoDisp);
  w.Bool("Txt", "Log", f.Txt.TxtLog);
  w.Int("Txt", "Type", f.Txt.TxtSaveType);
  w.Bool("Txt", "ShowPos", f.Txt.ShowPos);
  w.Bool("Txt", "FreqNoDisp", f.Txt.FreqNoDisp);
  w.Bool("Txt", "TISNoDisp", f.Txt.TISNoDisp);
  w.Bool("Txt", "LogOutACASRAW", f.Txt.LogOutACASRAW);
  w.Bool("Txt", "LogOutACASPRC", f.Txt.LogOutACASPRC);
  w.Bool("Txt", "LogOutACASMES", f.Txt.LogOutACASMES);
  w.Bool("Txt", "LogOutHFDLDAT", f.Txt.LogOutHFDLDAT);
  w.Bool("Txt", "LogOutHFDLANA", f.Txt.LogOutHFDLANA);
  w.Bool("Txt", "LogOutHFDLFMT", f.Txt.LogOutHFDLFMT);
  // 3. [Map]
  w.Int("Map", "SubDisptype", f.Map.SubDispType);
  w.Bool("Map", "DispVOR", f.controls.SpeedButton21Down);
  w.Bool("Map", "DispTAC", f.controls.SpeedButton22Down);
  w.Bool("Map", "DispNDB", f.controls.SpeedButton23Down);
  w.Bool("Map", "DispWPT", f.controls.SpeedButton24Down);
  w.Bool("Map", "DispAPT", f.controls.SpeedButton28Down);
  w.Bool("Map", "LineVOR", f.controls.SpeedButton25Down);
  w.Bool("Map", "LineNDB", f.controls.SpeedButton26Down);
  w.Bool("Map", "LineNAV", f.controls.SpeedButton27Down);
  w.Bool("Map", "Japan", f.controls.N8Checked);
  w.Bool("Map", "ShowRegNo", f.controls.N25Checked);
  w.Int("Map", "SelectDegree", f.Map.SelectDegree);
  w.Int("Map", "GridType", f.Map.GridType);
  w.Bool("MAP", "GridValue", f.Map.GridValue);
  // 4. [Mail]
  w.Str("Mail", "MailHost", f.Mail.MailHost);
  w.Str("Mail", "MailFrom", f.Mail.MailFrom);
  w.Str("Mail", "MailTo", f.Mail.MailTo);
  w.Bool("Mail", "MailSend", f.Mail.MailSend);
  w.Bool("Mail", "SJISConv", f.Mail.SJISConv);
  w.Bool("Mail", "MIMEConv", f.Mail.MIMEConv);
  // 5. [Map]
  w.Bool("MAP", "3Letter", f.controls.N21Checked);
  w.Bool("MAP", "ZeroDel", f.controls.N28Checked);
  w.Bool("MAP", "GlobeView", f.controls.SpeedButton2Down);
  w.Float("Map", "ViewDeg", f.Map.ViewDeg);
  w.Int("Map", "MapNo", f.Map.MapNo);
  w.Bool("MAP", "TrackMark", f.Map.TrackMark);
  w.Bool("MAP", "TimeAdjust", f.Map.TimeAdjust);
  w.Int("Map", "TimeAdjustMin", f.Map.TimeAdjustMin);
  w.Bool("MAP", "MapButtons", f.controls.N38Checked);
  w.Int("Map", "SymbolSize", f.Map.SymbolSize);
  w.Bool("Map", "MapSymbol", f.Map.MapSymbol);
  w.Bool("Map", "HideText", f.Map.HideText);
  // 6. [Spec]
  w.Bool("Spec", "PopUp", f.Spec.SpecPopUp);
  w.Bool("Spec", "Sound", f.Spec.SpecSound);
  w.Bool("Spec", "Log", f.Spec.SpecLog);
  // 7. [List]
  w.Bool("List", "ShowNew", f.List.ShowNew);
  w.Bool("List", "Mini", f.List.ListMini);
  w.Bool("List", "AutoDelete", f.List.AutoDelete);
  w.Int("List", "DeleteTime", f.List.DeleteTime);
  w.Bool("List", "Log", f.List.ListLog);
  // 8. [Color]: the named keys up to ClockText, then the two pairs in the
  // writer's own order, then the operator groups.
  for (const ColorKey& c : kColorKeys) {
    if (std::string(c.key) == "ListBack") break;
    w.Color("Color", c.key, c.member(const_cast<Form1State&>(f)));
  }
  w.Color("Color", "TextBack", f.Color.TextBack);
  w.Color("Color", "TextText", f.Color.TextText);
  w.Color("Color", "ListBack", f.Color.ListBack);
  w.Color("Color", "ListText", f.Color.ListText);
  w.Color("Color", "DispColorL", f.Color.DispColorL);
  w.Color("Color", "DispColorR", f.Color.DispColorR);
  for (int i = 0; i < 10; ++i) {
    w.Str("Color", Indexed("UserText", i).c_str(), f.Color.UserText[i]);
    for (int j = 1; j <= 7; ++j) {
      w.Color("Color", ("UserColor" + std::to_string(j) + std::to_string(i)).c_str(), f.Color.UserColor[j - 1][i]);
    }
  }
  // 9. [Pos] (the main window's bounds are already in the members: the
  // window copies them in before the save, the normal-state ones when it is
  // maximised).
  w.Int("Pos", "MainTop", f.Pos.MainTop);
  w.Int("Pos", "MainLeft", f.Pos.MainLeft);
  w.Int("Pos", "MainWidth", f.Pos.MainWidth);
  w.Int("Pos", "MainHeight", f.Pos.MainHeight);
  w.Int("Pos", "MainMaxmum", f.Pos.MainMaximized ? 1 : 0);
  w.Int("Pos", "PlaneTop", f.Pos.PlaneTop);
  w.Int("Pos", "PlaneLeft", f.Pos.PlaneLeft);
  w.Int("Pos", "ListTop", f.Pos.ListTop);
  w.Int("Pos", "ListLeft", f.Pos.ListLeft);
  w.Int("Pos", "TextTop", f.Pos.TextTop);
  w.Int("Pos", "TextLeft", f.Pos.TextLeft);
  w.Int("Pos", "InfoTop", f.Pos.InfoTop);
  w.Int("Pos", "InfoLeft", f.Pos.InfoLeft);
  w.Bool("Pos", "TextTopMost", f.Pos.TextTopMost);
  w.Bool("Pos", "PictTopMost", f.Pos.PictTopMost);
  // 10. [Form]
  w.Bool("Form", "Spec", f.Form.SpecVisible);
  w.Bool("Form", "Pict", f.Form.PictVisible);
  w.Bool("Form", "Text", f.Form.TextVisible);
  w.Bool("Form", "List", f.Form.ListVisible);
  w.Bool("Form", "SelCall", f.Form.SelCallVisible);
  w.Bool("Form", "ShowRep", f.controls.N11Checked);
  w.Bool("Form", "ShowAlt", f.controls.N26Checked);
  w.Bool("Form", "ShowMod", f.controls.N27Checked);
  w.Bool("Form", "Full", f.Form.FullScreen);
  w.Int("Form", "TextHeight", f.Form.TextHeight);
  w.Int("Form", "TextWidth", f.Form.TextWidth);
  w.Int("Form", "ListHeight", f.Form.ListHeight);
  w.Int("Form", "ListWidth", f.Form.ListWidth);
  w.Int("Form", "FreqTop", f.Form.FreqTop);
  w.Int("Form", "FreqLeft", f.Form.FreqLeft);
  w.Int("Form", "ICAOWidth", f.Form.ICAOWidth);
  w.Int("Form", "ICAOHeight", f.Form.ICAOHeight);
  w.Int("Form", "ICAOTop", f.Form.ICAOTop);
  w.Int("Form", "ICAOLeft", f.Form.ICAOLeft);
  w.Int("Form", "RecvTop", f.Form.RecvTop);
  w.Int("Form", "RecvLeft", f.Form.RecvLeft);
  w.Int("Form", "SystemTop", f.Form.SystemTop);
  w.Int("Form", "SystemLeft", f.Form.SystemLeft);
  w.Int("Form", "RadioTop", f.Form.RadioTop);
  w.Int("Form", "RadioLeft", f.Form.RadioLeft);
  w.Int("Form", "FreqSetTop", f.Form.FreqSetTop);
  w.Int("Form", "FreqSetLeft", f.Form.FreqSetLeft);
  w.Int("Form", "SelCallTop", f.Form.SelCallTop);
  w.Int("Form", "SelCallLeft", f.Form.SelCallLeft);
  w.Int("Form", "MesgSrchTop", f.Form.MesgSrchTop);
  w.Int("Form", "MesgSrchLeft", f.Form.MesgSrchLeft);
  w.Bool("Form", "FreqShow", f.Form.FreqShow);
  w.Bool("Form", "ICAOShow", f.Form.ICAOShow);
  w.Int("Form", "TextFontSize", f.Form.TextFontSize);
  w.Str("Form", "TextFontName", f.Form.TextFontName);
  w.Int("Form", "ListFontSize", f.Form.ListFontSize);
  w.Str("Form", "ListFontName", f.Form.ListFontName);
  w.Int("Form", "Refresh", f.Form.SpectrumRefresh);
  for (int i = 0; i < 10; ++i) w.Int("Form", Indexed("ColumnsWidth", i).c_str(), f.Form.ColumnsWidth[i]);
  w.Bool("Form", "ShowToolBar", f.Form.ShowToolBar);
  w.Bool("Form", "SelCallAN", f.Form.SelCallAN);
  w.Bool("Form", "SelCallNR", f.Form.SelCallNR);
  w.Bool("Form", "SelCall3D", f.Form.SelCall3D);
  w.Bool("Form", "SelCallBel", f.Form.SelCallBel);
  w.Bool("Form", "SelCallRdo", f.Form.SelCallRdo);
  w.Bool("Form", "TimeMoni", f.Form.TimeMoni);
  w.Int("Form", "TimeMoniSec", f.Form.TimeMoniSec);
  // 11. [Net]
  w.Bool("Net", "TcpIp", f.Net.TcpIp);
  w.Bool("Net", "Server", f.Net.Server);
  w.Bool("Net", "ServerDec", f.Net.ServerDec);
  w.Str("Net", "Name", f.Net.NetName);
  w.Str("Net", "ServerName", f.Net.ServerName);
  w.Bool("Net", "Reconnect", f.Net.Reconnect);
  w.Int("Net", "Timer", f.Net.ReconnectTimer);
  w.Bool("Net", "Chat", f.Net.Chat);
  w.Bool("Net", "DupCheckSend", f.Net.DupCheckSend);
  w.Int("Net", "MaxConnect", f.Net.MaxConnect);
  w.Str("Net", "ClientPortNo", f.Net.ClientPortNo);
  w.Str("Net", "ServerPortNo", f.Net.ServerPortNo);
  w.Bool("Net", "RecvVHF", f.Net.RecvVHF);
  w.Bool("Net", "RecvHF", f.Net.RecvHF);
  w.Int("Net", "LoopBackInterval", f.Net.LoopBackInterval);
  w.Int("Net", "LoopBackLimit", f.Net.LoopBackLimit);
  // 12. [Wave]
  w.Int("Wave", "Input", f.Wave.WaveInput);
  w.Int("Wave", "Dual", f.Wave.WaveDual);
  w.Int("Wave", "DecoderL", f.Wave.DecoderL);
  w.Int("Wave", "DecoderR", f.Wave.DecoderR);
  w.Int("Wave", "Rate", f.Wave.WaveRate);
  // 13. [Map]
  w.Bool("Map", "10point", f.Map.TenPointPlot);
  // 14. [Radio] (the receiver dialog copies its controls into the members
  // before the save; an unselected item is -1).
  w.Int("Radio", "ListNoL", f.Radio.ListNoL);
  w.Int("Radio", "ListNoR", f.Radio.ListNoR);
  w.Bool("Radio", "EngageL", f.Radio.EngageL);
  w.Bool("Radio", "EngageR", f.Radio.EngageR);
  w.Int("Radio", "SelFreqL", f.Radio.SelFreqL);
  w.Int("Radio", "SelFreqR", f.Radio.SelFreqR);
  w.Int("Radio", "ComNoL", f.Radio.ComNoL);
  w.Int("Radio", "ComNoR", f.Radio.ComNoR);
  w.Str("Radio", "IdL", f.Radio.IdL);
  w.Str("Radio", "IdR", f.Radio.IdR);
  w.Int("Radio", "TypeL", f.Radio.TypeL);
  w.Int("Radio", "TypeR", f.Radio.TypeR);
  w.Int("Radio", "ManualL", f.Radio.ManualL);
  w.Int("Radio", "ManualR", f.Radio.ManualR);
  // 15. [MsgSrch]
  w.Bool("MsgSrch", "Sound", f.MsgSrch.MsgSrchSound);
  w.Bool("MsgSrch", "Popup", f.MsgSrch.MsgSrchPopup);
  w.Bool("MsgSrch", "Run", f.MsgSrch.MsgSrchRun);
  // 16. [Etc]
  w.Bool("Etc", "ConvJC", f.Etc.ConvJC);
  w.Bool("Etc", "ConvJD", f.Etc.ConvJD);
  w.Bool("Etc", "DispTime", f.Etc.DispTime);
  w.Int("Etc", "FFTSel", f.Etc.FFTSel);
  w.Bool("Etc", "DispType", f.Etc.DispType);
  w.Bool("Etc", "WaveType", f.Etc.WaveType);
  w.Str("Etc", "PassList", f.Etc.PassList);
  w.Str("Etc", "SelCallCode", f.Etc.SelCallCode);
  w.Int("Etc", "SystemVer", f.hfdl.SystemVer);
  w.Int("Etc", "Local", f.Etc.LocalHourOffset);
  w.Int("Etc", "DeleteDay", f.Etc.DeleteDay);
  w.Bool("Etc", "DeleteLogFile", f.Etc.DeleteLogFile);
  w.Bool("Etc", "ChangeLogFileName", f.Etc.ChangeLogFileName);
  w.Int("Etc", "Language", f.Etc.Language);
}
