#include "app/settings.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/form1_state.h"
#include "platform/ini_file.h"
#include "platform/shared_helpers.h"

namespace {

// The state field a key is read into and written from. Generated rows
// capture their index, so this is a function object, not a plain pointer.
template <typename T>
using Field = std::function<T&(Form1State&)>;

// A whole number outside lo..hi becomes `below` or `above`; an empty side
// means the key's default.
struct IntRule {
  int32_t lo = INT32_MIN;
  int32_t hi = INT32_MAX;
  std::optional<int32_t> below;
  std::optional<int32_t> above;

  int32_t Apply(int32_t v, int32_t def) const {
    if (v < lo) return below.value_or(def);
    if (v > hi) return above.value_or(def);
    return v;
  }
};

// For values that would index past a table or break the start: a
// hand-edited file gets the key's default back.
IntRule DefaultOutside(int32_t lo, int32_t hi = INT32_MAX) { return {lo, hi, std::nullopt, std::nullopt}; }
IntRule ClampInto(int32_t lo, int32_t hi = INT32_MAX) { return {lo, hi, lo, hi}; }
// Window bounds as a desktop can hold them: a size of billions of pixels
// would take gigabytes to draw and overflow the centring.
IntRule WindowSize() { return DefaultOutside(1, 32767); }
IntRule WindowPosition() { return DefaultOutside(-32768, 32767); }

// A text key's rule: takes the text read and the key's default, gives the
// text to keep.
using TextRule = std::string (*)(const std::string& text, const std::string& def);

// A port text that is no decimal number would stop the start; one outside
// the dynamic port range is pulled to its nearer end (the text kept as it
// is when in range).
std::string PortText(const std::string& text, const std::string& def) {
  auto parsed = ini_numbers::ParseInt(text);
  const bool decimal = parsed && text.find_first_of("xX") == std::string::npos;
  const std::string& port = decimal ? text : def;
  auto v = ini_numbers::ParseInt(port);
  if (!v) return port;
  if (*v < 49152) return "49152";
  if (*v > 65535) return "65535";
  return port;
}

struct IntKey {
  Field<int32_t> field;
  int32_t def;
  IntRule rule;
};
// Read as non-zero, written 0/1.
struct FlagKey {
  Field<flag> field;
  bool def;
};
// A value outside lo..hi takes the default.
struct FloatKey {
  Field<double> field;
  double def;
  double lo = -HUGE_VAL, hi = HUGE_VAL;

  double Apply(double v) const { return v >= lo && v <= hi ? v : def; }
};
struct TextKey {
  Field<std::string> field;
  std::string def;
  TextRule rule;
};
// A channel's decoder: its number in the file.
struct DecoderKey {
  Field<DecoderKind> field;
  DecoderKind def;
};
// Six hex digits in the file; an unreadable text takes the default.
struct ColourKey {
  Field<TColor> field;
  std::string def;
};

// One key of the settings file. The section is spelled as the writer
// spells it; reading ignores case, and only the first write of a section
// (its header) shows the spelling in the file.
struct Setting {
  const char* section;
  std::string key;
  std::variant<IntKey, FlagKey, FloatKey, TextKey, DecoderKey, ColourKey> value;
};

Setting Int(const char* s, std::string k, int32_t def, Field<int32_t> f, IntRule rule = {}) {
  return {s, std::move(k), IntKey{std::move(f), def, rule}};
}
Setting Flag(const char* s, std::string k, bool def, Field<flag> f) {
  return {s, std::move(k), FlagKey{std::move(f), def}};
}
Setting Float(const char* s, std::string k, double def, Field<double> f, double lo = -HUGE_VAL,
              double hi = HUGE_VAL) {
  return {s, std::move(k), FloatKey{std::move(f), def, lo, hi}};
}
Setting Text(const char* s, std::string k, const char* def, Field<std::string> f, TextRule rule = nullptr) {
  return {s, std::move(k), TextKey{std::move(f), def, rule}};
}
Setting Decoder(const char* s, std::string k, DecoderKind def, Field<DecoderKind> f) {
  return {s, std::move(k), DecoderKey{std::move(f), def}};
}
Setting Colour(const char* s, std::string k, const char* def, Field<TColor> f) {
  return {s, std::move(k), ColourKey{std::move(f), def}};
}

constexpr int kColumnWidthDefaults[10] = {65, 30, 65, 30, 50, 50, 110, 80, 80, 60};

// Every key in the order the file is written. The writer comes back to
// [Map] three times; a key written into an existing section goes to that
// section's end, so the file holds each section once.
std::vector<Setting> BuildTable() {
  std::vector<Setting> t = {
      // The map's centre as panning keeps it: a longitude far outside
      // -180..180 would put the flat map beside the window.
      Float("Map", "MapCentN", 36.5, STATE_FIELD(Map.MapCentN), -90.0, 90.0),
      Float("Map", "MapCentE", 139.0, STATE_FIELD(Map.MapCentE), -180.0, 180.0),
      Int("Map", "PlotType", 2, STATE_FIELD(Map.PlotType)),
      Flag("Map", "ElsePosGet", true, STATE_FIELD(Map.ElsePosGet)),
      Flag("Map", "LineType", false, STATE_FIELD(Map.LineType)),
      Flag("Map", "PlotDraw", true, STATE_FIELD(controls.SpeedButton16Down)),
      // Indexes the 27 zoom steps.
      Int("Map", "MapScale", 0, STATE_FIELD(controls.ComboBox1Index), DefaultOutside(0, 26)),
      Int("Map", "MaxMapPlot", 200, STATE_FIELD(Map.MaxMapPlot), DefaultOutside(1)),
      Int("Map", "MaxPlotData", 50, STATE_FIELD(Map.MaxPlotData), DefaultOutside(1)),

      Int("Txt", "TxtType", 4, STATE_FIELD(Txt.TxtType), DefaultOutside(0, 5)),
      // The text window's limit; 64000 itself stays.
      Int("Txt", "MaxBytes", 10000, STATE_FIELD(Txt.MaxBytes), IntRule{1000, 64000, 1000, 63999}),
      Flag("Txt", "SqNoDisp", false, STATE_FIELD(Txt.SqNoDisp)),
      Flag("Txt", "Log", false, STATE_FIELD(Txt.TxtLog)),
      Int("Txt", "Type", 0, STATE_FIELD(Txt.TxtSaveType)),
      Flag("Txt", "ShowPos", false, STATE_FIELD(Txt.ShowPos)),
      Flag("Txt", "FreqNoDisp", false, STATE_FIELD(Txt.FreqNoDisp)),
      Flag("Txt", "TISNoDisp", false, STATE_FIELD(Txt.TISNoDisp)),
      Flag("Txt", "LogOutACASRAW", true, STATE_FIELD(Txt.LogOutACASRAW)),
      Flag("Txt", "LogOutACASPRC", true, STATE_FIELD(Txt.LogOutACASPRC)),
      Flag("Txt", "LogOutACASMES", true, STATE_FIELD(Txt.LogOutACASMES)),
      Flag("Txt", "LogOutHFDLDAT", true, STATE_FIELD(Txt.LogOutHFDLDAT)),
      Flag("Txt", "LogOutHFDLANA", true, STATE_FIELD(Txt.LogOutHFDLANA)),
      Flag("Txt", "LogOutHFDLFMT", true, STATE_FIELD(Txt.LogOutHFDLFMT)),

      Int("Map", "SubDisptype", 0, STATE_FIELD(Map.SubDispType)),
      Flag("Map", "DispVOR", false, STATE_FIELD(controls.SpeedButton21Down)),
      Flag("Map", "DispTAC", false, STATE_FIELD(controls.SpeedButton22Down)),
      Flag("Map", "DispNDB", false, STATE_FIELD(controls.SpeedButton23Down)),
      Flag("Map", "DispWPT", false, STATE_FIELD(controls.SpeedButton24Down)),
      Flag("Map", "DispAPT", false, STATE_FIELD(controls.SpeedButton28Down)),
      Flag("Map", "LineVOR", false, STATE_FIELD(controls.SpeedButton25Down)),
      Flag("Map", "LineNDB", false, STATE_FIELD(controls.SpeedButton26Down)),
      Flag("Map", "LineNAV", false, STATE_FIELD(controls.SpeedButton27Down)),
      Flag("Map", "Japan", false, STATE_FIELD(controls.N8Checked)),
      Flag("Map", "ShowRegNo", false, STATE_FIELD(controls.N25Checked)),
      // Indexes the ten grid spacings.
      Int("Map", "SelectDegree", 6, STATE_FIELD(Map.SelectDegree), DefaultOutside(0, 9)),
      Int("Map", "GridType", 2, STATE_FIELD(Map.GridType)),
      Flag("MAP", "GridValue", false, STATE_FIELD(Map.GridValue)),

      Text("Mail", "MailHost", "", STATE_FIELD(Mail.MailHost)),
      Text("Mail", "MailFrom", "", STATE_FIELD(Mail.MailFrom)),
      Text("Mail", "MailTo", "", STATE_FIELD(Mail.MailTo)),
      Flag("Mail", "MailSend", false, STATE_FIELD(Mail.MailSend)),
      Flag("Mail", "SJISConv", true, STATE_FIELD(Mail.SJISConv)),
      Flag("Mail", "MIMEConv", true, STATE_FIELD(Mail.MIMEConv)),

      Flag("MAP", "3Letter", true, STATE_FIELD(controls.N21Checked)),
      Flag("MAP", "ZeroDel", true, STATE_FIELD(controls.N28Checked)),
      Flag("MAP", "GlobeView", true, STATE_FIELD(controls.SpeedButton2Down)),
      Float("Map", "ViewDeg", -36.5, STATE_FIELD(Map.ViewDeg), -90.0, 90.0),
      Int("Map", "MapNo", 0, STATE_FIELD(Map.MapNo)),
      Flag("MAP", "TrackMark", false, STATE_FIELD(Map.TrackMark)),
      Flag("MAP", "TimeAdjust", true, STATE_FIELD(Map.TimeAdjust)),
      Int("Map", "TimeAdjustMin", 5, STATE_FIELD(Map.TimeAdjustMin), ClampInto(1, 59)),
      Flag("MAP", "MapButtons", true, STATE_FIELD(controls.N38Checked)),
      Int("Map", "SymbolSize", 1, STATE_FIELD(Map.SymbolSize)),
      Flag("Map", "MapSymbol", true, STATE_FIELD(Map.MapSymbol)),
      Flag("Map", "HideText", false, STATE_FIELD(Map.HideText)),

      Flag("Spec", "PopUp", true, STATE_FIELD(Spec.SpecPopUp)),
      Flag("Spec", "Sound", true, STATE_FIELD(Spec.SpecSound)),
      Flag("Spec", "Log", false, STATE_FIELD(Spec.SpecLog)),

      Flag("List", "ShowNew", true, STATE_FIELD(List.ShowNew)),
      Flag("List", "Mini", false, STATE_FIELD(List.ListMini)),
      Flag("List", "AutoDelete", false, STATE_FIELD(List.AutoDelete)),
      Int("List", "DeleteTime", 300, STATE_FIELD(List.DeleteTime)),
      Flag("List", "Log", false, STATE_FIELD(List.ListLog)),

      Colour("Color", "BackColor", "000000", STATE_FIELD(Color.BackColor)),
      Colour("Color", "PlotOnColor", "FFFF00", STATE_FIELD(Color.PlotOnColor)),
      Colour("Color", "PlotOffColor", "FFFF00", STATE_FIELD(Color.PlotOffColor)),
      Colour("Color", "PlotMarkUpColor", "FFFFFF", STATE_FIELD(Color.PlotMarkUpColor)),
      Colour("Color", "PlotBackColor", "FF0000", STATE_FIELD(Color.PlotBackColor)),
      Colour("Color", "MapBackColor", "200000", STATE_FIELD(Color.MapBackColor)),
      Colour("Color", "MapCoastColor", "004000", STATE_FIELD(Color.MapCoastColor)),
      Colour("Color", "MapAirwayVOR", "FF8000", STATE_FIELD(Color.MapAirwayVOR)),
      Colour("Color", "MapAirwayNDB", "FF8000", STATE_FIELD(Color.MapAirwayNDB)),
      Colour("Color", "MapAirwayNAV", "FF8000", STATE_FIELD(Color.MapAirwayNAV)),
      Colour("Color", "MapPointVORDME", "00FFFF", STATE_FIELD(Color.MapPointVORDME)),
      Colour("Color", "MapPointVORTAC", "FF00FF", STATE_FIELD(Color.MapPointVORTAC)),
      Colour("Color", "MapPointNDB", "8000FF", STATE_FIELD(Color.MapPointNDB)),
      Colour("Color", "MapPointNAV", "FF0080", STATE_FIELD(Color.MapPointNAV)),
      Colour("Color", "MapPointAirPort", "800040", STATE_FIELD(Color.MapPointAirPort)),
      Colour("Color", "MapPointHome", "FF00FF", STATE_FIELD(Color.MapPointHome)),
      Colour("Color", "MapPointBeacon", "00FFFF", STATE_FIELD(Color.MapPointBeacon)),
      Colour("Color", "MapPointAnt", "00FF00", STATE_FIELD(Color.MapPointAnt)),
      Colour("Color", "MapPointMount", "00FF00", STATE_FIELD(Color.MapPointMount)),
      Colour("Color", "MapPointNone", "FFFFFF", STATE_FIELD(Color.MapPointNone)),
      Colour("Color", "Grid", "006000", STATE_FIELD(Color.GridColor)),
      Colour("Color", "GridNum", "00FF00", STATE_FIELD(Color.GridNumColor)),
      Colour("Color", "Boundaries", "008000", STATE_FIELD(Color.BoundariesColor)),
      Colour("Color", "LineColor1", "603000", STATE_FIELD(Color.LineColor1)),
      Colour("Color", "LineColor2", "0000FF", STATE_FIELD(Color.LineColor2)),
      Colour("Color", "AltBack", "000000", STATE_FIELD(Color.AltBack)),
      Colour("Color", "AltScale", "FFFFFF", STATE_FIELD(Color.AltScale)),
      Colour("Color", "SelBack", "FFFFFF", STATE_FIELD(Color.SelBack)),
      Colour("Color", "SelText", "808040", STATE_FIELD(Color.SelText)),
      Colour("Color", "ClockBack", "000000", STATE_FIELD(Color.ClockBack)),
      Colour("Color", "ClockText", "FF8000", STATE_FIELD(Color.ClockText)),
      Colour("Color", "TextBack", "FFFFFF", STATE_FIELD(Color.TextBack)),
      Colour("Color", "TextText", "000000", STATE_FIELD(Color.TextText)),
      Colour("Color", "ListBack", "FFFFFF", STATE_FIELD(Color.ListBack)),
      Colour("Color", "ListText", "000000", STATE_FIELD(Color.ListText)),
      Colour("Color", "DispColorL", "FFBB00", STATE_FIELD(Color.DispColorL)),
      Colour("Color", "DispColorR", "FFBBFF", STATE_FIELD(Color.DispColorR)),
  };

  // The operator groups: a name, then its seven colours UserColor<j><i>.
  for (int i = 0; i < 10; ++i) {
    t.push_back(Text("Color", "UserText" + std::to_string(i), "--",
                     [i](Form1State& s) -> std::string& { return s.Color.UserText[i]; }));
    for (int j = 1; j <= 7; ++j) {
      t.push_back(Colour("Color", "UserColor" + std::to_string(j) + std::to_string(i), "000000",
                         [i, j](Form1State& s) -> TColor& { return s.Color.UserColor[j - 1][i]; }));
    }
  }

  t.insert(t.end(), {
      // The main window's bounds: the window copies them in before a save,
      // the normal-state ones when it is maximised.
      Int("Pos", "MainTop", 0, STATE_FIELD(Pos.MainTop), WindowPosition()),
      Int("Pos", "MainLeft", 0, STATE_FIELD(Pos.MainLeft), WindowPosition()),
      Int("Pos", "MainWidth", 990, STATE_FIELD(Pos.MainWidth), WindowSize()),
      Int("Pos", "MainHeight", 702, STATE_FIELD(Pos.MainHeight), WindowSize()),
      // Any non-zero number is maximised; written 0/1.
      Flag("Pos", "MainMaxmum", false, STATE_FIELD(Pos.MainMaximized)),
      Int("Pos", "PlaneTop", 0, STATE_FIELD(Pos.PlaneTop), WindowPosition()),
      Int("Pos", "PlaneLeft", 0, STATE_FIELD(Pos.PlaneLeft), WindowPosition()),
      Int("Pos", "ListTop", 0, STATE_FIELD(Pos.ListTop), WindowPosition()),
      Int("Pos", "ListLeft", 0, STATE_FIELD(Pos.ListLeft), WindowPosition()),
      Int("Pos", "TextTop", 0, STATE_FIELD(Pos.TextTop), WindowPosition()),
      Int("Pos", "TextLeft", 0, STATE_FIELD(Pos.TextLeft), WindowPosition()),
      Int("Pos", "InfoTop", 0, STATE_FIELD(Pos.InfoTop), WindowPosition()),
      Int("Pos", "InfoLeft", 0, STATE_FIELD(Pos.InfoLeft), WindowPosition()),
      Flag("Pos", "TextTopMost", true, STATE_FIELD(Pos.TextTopMost)),
      Flag("Pos", "PictTopMost", true, STATE_FIELD(Pos.PictTopMost)),

      Flag("Form", "Spec", false, STATE_FIELD(Form.SpecVisible)),
      Flag("Form", "Pict", false, STATE_FIELD(Form.PictVisible)),
      Flag("Form", "Text", false, STATE_FIELD(Form.TextVisible)),
      Flag("Form", "List", false, STATE_FIELD(Form.ListVisible)),
      Flag("Form", "SelCall", false, STATE_FIELD(Form.SelCallVisible)),
      Flag("Form", "ShowRep", false, STATE_FIELD(controls.N11Checked)),
      Flag("Form", "ShowAlt", false, STATE_FIELD(controls.N26Checked)),
      Flag("Form", "ShowMod", true, STATE_FIELD(controls.N27Checked)),
      Flag("Form", "Full", false, STATE_FIELD(Form.FullScreen)),
      Int("Form", "TextHeight", 440, STATE_FIELD(Form.TextHeight), WindowSize()),
      Int("Form", "TextWidth", 340, STATE_FIELD(Form.TextWidth), WindowSize()),
      Int("Form", "ListHeight", 372, STATE_FIELD(Form.ListHeight), WindowSize()),
      Int("Form", "ListWidth", kDefaultListWidth, STATE_FIELD(Form.ListWidth), WindowSize()),
      Int("Form", "FreqTop", 0, STATE_FIELD(Form.FreqTop), WindowPosition()),
      Int("Form", "FreqLeft", 0, STATE_FIELD(Form.FreqLeft), WindowPosition()),
      Int("Form", "ICAOWidth", 482, STATE_FIELD(Form.ICAOWidth), WindowSize()),
      Int("Form", "ICAOHeight", 328, STATE_FIELD(Form.ICAOHeight), WindowSize()),
      Int("Form", "ICAOTop", 0, STATE_FIELD(Form.ICAOTop), WindowPosition()),
      Int("Form", "ICAOLeft", 0, STATE_FIELD(Form.ICAOLeft), WindowPosition()),
      Int("Form", "RecvTop", 0, STATE_FIELD(Form.RecvTop), WindowPosition()),
      Int("Form", "RecvLeft", 0, STATE_FIELD(Form.RecvLeft), WindowPosition()),
      Int("Form", "SystemTop", 0, STATE_FIELD(Form.SystemTop), WindowPosition()),
      Int("Form", "SystemLeft", 0, STATE_FIELD(Form.SystemLeft), WindowPosition()),
      Int("Form", "RadioTop", 0, STATE_FIELD(Form.RadioTop), WindowPosition()),
      Int("Form", "RadioLeft", 0, STATE_FIELD(Form.RadioLeft), WindowPosition()),
      Int("Form", "FreqSetTop", 0, STATE_FIELD(Form.FreqSetTop), WindowPosition()),
      Int("Form", "FreqSetLeft", 0, STATE_FIELD(Form.FreqSetLeft), WindowPosition()),
      Int("Form", "SelCallTop", 0, STATE_FIELD(Form.SelCallTop), WindowPosition()),
      Int("Form", "SelCallLeft", 0, STATE_FIELD(Form.SelCallLeft), WindowPosition()),
      Int("Form", "MesgSrchTop", 0, STATE_FIELD(Form.MesgSrchTop), WindowPosition()),
      Int("Form", "MesgSrchLeft", 0, STATE_FIELD(Form.MesgSrchLeft), WindowPosition()),
      Flag("Form", "FreqShow", false, STATE_FIELD(Form.FreqShow)),
      Flag("Form", "ICAOShow", false, STATE_FIELD(Form.ICAOShow)),
      Int("Form", "TextFontSize", 9, STATE_FIELD(Form.TextFontSize)),
      Text("Form", "TextFontName", "", STATE_FIELD(Form.TextFontName)),
      Int("Form", "ListFontSize", 9, STATE_FIELD(Form.ListFontSize)),
      Text("Form", "ListFontName", "", STATE_FIELD(Form.ListFontName)),
      Int("Form", "Refresh", 1, STATE_FIELD(Form.SpectrumRefresh)),
  });

  for (int i = 0; i < 10; ++i) {
    t.push_back(Int("Form", "ColumnsWidth" + std::to_string(i), kColumnWidthDefaults[i],
                    [i](Form1State& s) -> int32_t& { return s.Form.ColumnsWidth[i]; }));
  }

  t.insert(t.end(), {
      Flag("Form", "ShowToolBar", true, STATE_FIELD(Form.ShowToolBar)),
      Flag("Form", "SelCallAN", false, STATE_FIELD(Form.SelCallAN)),
      Flag("Form", "SelCallNR", false, STATE_FIELD(Form.SelCallNR)),
      Flag("Form", "SelCall3D", false, STATE_FIELD(Form.SelCall3D)),
      Flag("Form", "SelCallBel", false, STATE_FIELD(Form.SelCallBel)),
      Flag("Form", "SelCallRdo", false, STATE_FIELD(Form.SelCallRdo)),
      Flag("Form", "TimeMoni", false, STATE_FIELD(Form.TimeMoni)),
      Int("Form", "TimeMoniSec", 120, STATE_FIELD(Form.TimeMoniSec), DefaultOutside(1)),

      Flag("Net", "TcpIp", true, STATE_FIELD(Net.TcpIp)),
      Flag("Net", "Server", false, STATE_FIELD(Net.Server)),
      Flag("Net", "ServerDec", true, STATE_FIELD(Net.ServerDec)),
      Text("Net", "Name", "DefaultName", STATE_FIELD(Net.NetName)),
      Text("Net", "ServerName", "", STATE_FIELD(Net.ServerName)),
      Flag("Net", "Reconnect", true, STATE_FIELD(Net.Reconnect)),
      Int("Net", "Timer", 60, STATE_FIELD(Net.ReconnectTimer), DefaultOutside(1)),
      Flag("Net", "Chat", false, STATE_FIELD(Net.Chat)),
      Flag("Net", "DupCheckSend", true, STATE_FIELD(Net.DupCheckSend)),
      // The client slots are allocated at start: at least one, and a
      // thousand-plus is taken for a typing slip.
      Int("Net", "MaxConnect", 10, STATE_FIELD(Net.MaxConnect), IntRule{1, 1000, 1, std::nullopt}),
      Text("Net", "ClientPortNo", "49505", STATE_FIELD(Net.ClientPortNo), PortText),
      Text("Net", "ServerPortNo", "49505", STATE_FIELD(Net.ServerPortNo), PortText),
      Flag("Net", "RecvVHF", true, STATE_FIELD(Net.RecvVHF)),
      Flag("Net", "RecvHF", true, STATE_FIELD(Net.RecvHF)),
      // Seconds; 0 turns the keep-alive off, a negative interval is 1.
      Int("Net", "LoopBackInterval", 30, STATE_FIELD(Net.LoopBackInterval), IntRule{0, INT32_MAX, 1, std::nullopt}),
      Int("Net", "LoopBackLimit", 3, STATE_FIELD(Net.LoopBackLimit)),

      Int("Wave", "Input", 0, STATE_FIELD(Wave.WaveInput)),
      Int("Wave", "Dual", 1, STATE_FIELD(Wave.WaveDual)),
      Decoder("Wave", "DecoderL", DecoderKind::Hfdl, STATE_FIELD(Wave.DecoderL)),
      Decoder("Wave", "DecoderR", DecoderKind::Hfdl, STATE_FIELD(Wave.DecoderR)),
      Int("Wave", "Rate", 0, STATE_FIELD(Wave.WaveRate)),

      Flag("Map", "10point", false, STATE_FIELD(Map.TenPointPlot)),

      // The receiver dialog copies its controls in before a save; an
      // unselected item is -1.
      Int("Radio", "ListNoL", 0, STATE_FIELD(Radio.ListNoL)),
      Int("Radio", "ListNoR", 0, STATE_FIELD(Radio.ListNoR)),
      Flag("Radio", "EngageL", false, STATE_FIELD(Radio.EngageL)),
      Flag("Radio", "EngageR", false, STATE_FIELD(Radio.EngageR)),
      Int("Radio", "SelFreqL", 0, STATE_FIELD(Radio.SelFreqL)),
      Int("Radio", "SelFreqR", 0, STATE_FIELD(Radio.SelFreqR)),
      Int("Radio", "ComNoL", 0, STATE_FIELD(Radio.ComNoL)),
      Int("Radio", "ComNoR", 0, STATE_FIELD(Radio.ComNoR)),
      Text("Radio", "IdL", "FF", STATE_FIELD(Radio.IdL)),
      Text("Radio", "IdR", "FF", STATE_FIELD(Radio.IdR)),
      Int("Radio", "TypeL", 0, STATE_FIELD(Radio.TypeL)),
      Int("Radio", "TypeR", 0, STATE_FIELD(Radio.TypeR)),
      Int("Radio", "ManualL", 5000, STATE_FIELD(Radio.ManualL)),
      Int("Radio", "ManualR", 5000, STATE_FIELD(Radio.ManualR)),

      Flag("MsgSrch", "Sound", false, STATE_FIELD(MsgSrch.MsgSrchSound)),
      Flag("MsgSrch", "Popup", false, STATE_FIELD(MsgSrch.MsgSrchPopup)),
      Flag("MsgSrch", "Run", false, STATE_FIELD(MsgSrch.MsgSrchRun)),

      Flag("Etc", "ConvJC", true, STATE_FIELD(Etc.ConvJC)),
      Flag("Etc", "ConvJD", true, STATE_FIELD(Etc.ConvJD)),
      Flag("Etc", "DispTime", false, STATE_FIELD(Etc.DispTime)),
      Int("Etc", "FFTSel", 0, STATE_FIELD(Etc.FFTSel)),
      Flag("Etc", "DispType", false, STATE_FIELD(Etc.DispType)),
      Flag("Etc", "WaveType", false, STATE_FIELD(Etc.WaveType)),
      Text("Etc", "PassList", "", STATE_FIELD(Etc.PassList)),
      Text("Etc", "SelCallCode", "AAAA", STATE_FIELD(Etc.SelCallCode)),
      Int("Etc", "SystemVer", 35, STATE_FIELD(hfdl.SystemVer)),
      Int("Etc", "Local", 9, STATE_FIELD(Etc.LocalHourOffset), DefaultOutside(-23, 23)),
      // Kept as written, inside the dialog's 1..365 or not: the dialog shows
      // it as it is, and the clean-up keeps 30 days for a count below 1.
      Int("Etc", "DeleteDay", 30, STATE_FIELD(Etc.DeleteDay)),
      Flag("Etc", "DeleteLogFile", false, STATE_FIELD(Etc.DeleteLogFile)),
      Flag("Etc", "ChangeLogFileName", true, STATE_FIELD(Etc.ChangeLogFileName)),
      Int("Etc", "Language", 0, STATE_FIELD(Etc.Language)),
  });
  return t;
}

const std::vector<Setting>& SettingsTable() {
  static const std::vector<Setting> table = BuildTable();
  return table;
}

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

void LoadSettings(Form1State& f, const IniFile& ini) {
  for (const Setting& row : SettingsTable()) {
    const char* s = row.section;
    const std::string& k = row.key;
    std::visit(Overloaded{
                   [&](const IntKey& e) { e.field(f) = e.rule.Apply(ini.ReadInt(s, k, e.def), e.def); },
                   [&](const FlagKey& e) { e.field(f) = ini.ReadBool(s, k, e.def) ? 1 : 0; },
                   [&](const FloatKey& e) { e.field(f) = e.Apply(ini.ReadFloat(s, k, e.def)); },
                   [&](const TextKey& e) {
                     std::string text = ini.ReadString(s, k, e.def);
                     e.field(f) = e.rule ? e.rule(text, e.def) : std::move(text);
                   },
                   [&](const DecoderKey& e) {
                     e.field(f) = static_cast<DecoderKind>(ini.ReadInt(s, k, static_cast<int32_t>(e.def)));
                   },
                   [&](const ColourKey& e) {
                     e.field(f) = HexTextToColor(ini.ReadString(s, k, e.def), HexTextToColor(e.def, 0));
                   },
               },
               row.value);
  }

  // A hand-edited 100000 x 100000 would ask for gigabytes of track points.
  if (static_cast<long long>(f.Map.MaxMapPlot) * f.Map.MaxPlotData > 1000000LL) {
    f.Map.MaxMapPlot = 200;
    f.Map.MaxPlotData = 50;
  }
  // The flat-view button is the globe button's partner, and the
  // registration mark and the flight-number mark are one choice.
  f.controls.SpeedButton5Down = f.controls.SpeedButton2Down ? 0 : 1;
  f.controls.N24Checked = f.controls.N25Checked ? 0 : 1;
}

void SaveSettings(const Form1State& f, IniFile& ini) {
  // The fields are only read here; the table's accessors serve both ways.
  Form1State& state = const_cast<Form1State&>(f);
  for (const Setting& row : SettingsTable()) {
    const char* s = row.section;
    const std::string& k = row.key;
    std::visit(Overloaded{
                   [&](const IntKey& e) { ini.WriteInt(s, k, e.field(state)); },
                   [&](const FlagKey& e) { ini.WriteBool(s, k, e.field(state) != 0); },
                   [&](const FloatKey& e) { ini.WriteFloat(s, k, e.field(state)); },
                   [&](const TextKey& e) { ini.WriteString(s, k, e.field(state)); },
                   [&](const DecoderKey& e) { ini.WriteInt(s, k, static_cast<int32_t>(e.field(state))); },
                   [&](const ColourKey& e) { ini.WriteString(s, k, ColorToHexText(e.field(state))); },
               },
               row.value);
  }
}
