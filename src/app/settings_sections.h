#pragma once
// The settings, one plain struct per section of the settings file, each
// member named after its key. The settings table (settings.cpp) fills and
// writes them; every subsystem takes the sections it reads as const. This
// header has no code and no dependency but the colour type, so the
// subsystems below the main window can see it.
#include <array>
#include <cstdint>
#include <string>

#include "platform/color.h"

using flag = uint8_t;  // a byte flag, 0 or 1

// The decoder a channel runs, as the settings file numbers them.
enum class DecoderKind : int32_t { VhfAcars = 0, Hfdl = 1, Selcal = 2 };

// The kinds of received text; they index the text buffers and name the logs.
enum ReceivedTextKind { kAcarsRaw = 0, kAcarsPrc = 1, kAcarsMes = 2, kHfdlDat = 3, kHfdlAna = 4, kHfdlFmt = 5 };

struct MapSettings {
  double MapCentN{};
  double MapCentE{};
  int32_t PlotType{};
  flag LineType{};
  flag ElsePosGet{};
  int32_t SubDispType{};
  int32_t MaxMapPlot{};
  int32_t MaxPlotData{};
  int32_t SelectDegree{};
  int32_t GridType{};
  flag GridValue{};
  double ViewDeg{};
  int32_t MapNo{};
  flag TrackMark{};
  flag TimeAdjust{};
  int32_t TimeAdjustMin{};
  flag TenPointPlot{};
  int32_t SymbolSize{};
  flag MapSymbol{};
  flag HideText{};
};

struct TxtSettings {
  int32_t TxtType{};
  int32_t MaxBytes{};
  flag SqNoDisp{};
  flag TxtLog{};
  int32_t TxtSaveType{};
  flag ShowPos{};
  flag TISNoDisp{};
  flag FreqNoDisp{};
  // The six log switches in ReceivedTextKind order.
  flag LogOutACASRAW{};
  flag LogOutACASPRC{};
  flag LogOutACASMES{};
  flag LogOutHFDLDAT{};
  flag LogOutHFDLANA{};
  flag LogOutHFDLFMT{};

  flag& LogOutFlag(int kind) {
    flag* flags[6] = {&LogOutACASRAW, &LogOutACASPRC, &LogOutACASMES, &LogOutHFDLDAT, &LogOutHFDLANA, &LogOutHFDLFMT};
    return *flags[kind];
  }
  flag LogOutFlag(int kind) const {
    const flag flags[6] = {LogOutACASRAW, LogOutACASPRC, LogOutACASMES, LogOutHFDLDAT, LogOutHFDLANA, LogOutHFDLFMT};
    return flags[kind];
  }
  // Text of this kind goes to its log.
  bool Logs(int kind) const { return TxtLog && kind >= 0 && kind < 6 && LogOutFlag(kind); }
};

struct MailSettings {
  std::string MailHost, MailFrom, MailTo;
  flag MailSend{};
  flag SJISConv{};
  flag MIMEConv{};
};

struct SpecSettings {
  flag SpecPopUp{};
  flag SpecSound{};
  flag SpecLog{};
};

struct ListSettings {
  flag ShowNew{};
  flag ListMini{};
  flag AutoDelete{};
  int32_t DeleteTime{};
  flag ListLog{};
};

struct ColorSettings {
  TColor BackColor{}, PlotOnColor{}, PlotOffColor{}, PlotMarkUpColor{}, PlotBackColor{};
  TColor MapBackColor{}, MapCoastColor{}, MapAirwayVOR{}, MapAirwayNDB{}, MapAirwayNAV{};
  TColor MapPointVORDME{}, MapPointVORTAC{}, MapPointNDB{}, MapPointNAV{}, MapPointAirPort{};
  TColor MapPointHome{}, MapPointBeacon{}, MapPointAnt{}, MapPointMount{}, MapPointNone{};
  TColor GridColor{}, GridNumColor{}, BoundariesColor{}, LineColor1{}, LineColor2{};
  TColor AltBack{}, AltScale{}, SelBack{}, SelText{}, ClockBack{}, ClockText{};
  TColor ListBack{}, ListText{}, TextBack{}, TextText{}, DispColorL{}, DispColorR{};
  std::array<std::string, 10> UserText;
  TColor UserColor[7][10]{};  // [j-1][i]: colour j of operator group i
};

struct PosSettings {
  int32_t MainTop{}, MainLeft{}, MainWidth{}, MainHeight{};
  flag MainMaximized{};
  int32_t PlaneTop{}, PlaneLeft{}, ListTop{}, ListLeft{};
  int32_t TextTop{}, TextLeft{}, InfoTop{}, InfoLeft{};
  flag TextTopMost{};
  flag PictTopMost{};
};

// The list window's width when the settings file gives none.
constexpr int32_t kDefaultListWidth = 681;

struct FormSettings {
  flag ListVisible{}, SpecVisible{}, TextVisible{}, PictVisible{}, SelCallVisible{};
  flag FullScreen{};
  int32_t TextHeight{}, TextWidth{}, ListHeight{}, ListWidth{};
  int32_t FreqTop{}, FreqLeft{}, ICAOTop{}, ICAOLeft{}, ICAOWidth{}, ICAOHeight{};
  int32_t RecvTop{}, RecvLeft{}, SystemTop{}, SystemLeft{}, RadioTop{}, RadioLeft{};
  int32_t FreqSetTop{}, FreqSetLeft{}, SelCallTop{}, SelCallLeft{}, MesgSrchTop{}, MesgSrchLeft{};
  flag FreqShow{};
  flag ICAOShow{};
  int32_t SpectrumRefresh{};
  std::array<int32_t, 10> ColumnsWidth{};
  int32_t TextFontSize{};
  std::string TextFontName;
  int32_t ListFontSize{};
  std::string ListFontName;
  flag ShowToolBar{};
  flag SelCallAN{}, SelCallNR{}, SelCall3D{}, SelCallBel{}, SelCallRdo{};
  flag TimeMoni{};
  int32_t TimeMoniSec{};
};

struct NetSettings {
  flag TcpIp{};
  flag Server{};
  flag ServerDec{};
  std::string NetName;
  std::string ServerName;
  flag Reconnect{};
  int32_t ReconnectTimer{};
  flag Chat{};
  flag DupCheckSend{};
  int32_t MaxConnect{};
  std::string ClientPortNo;
  std::string ServerPortNo;
  flag RecvVHF{};
  flag RecvHF{};
  int32_t LoopBackInterval{};
  int32_t LoopBackLimit{};
};

struct WaveSettings {
  int32_t WaveInput{};
  int32_t WaveDual{};
  // Any number the file holds is kept; only the three named ones decode.
  DecoderKind DecoderL{};
  DecoderKind DecoderR{};
  int32_t WaveRate{};

  DecoderKind Decoder(int channel) const { return channel == 0 ? DecoderL : DecoderR; }
};

struct RadioSettings {
  int32_t ListNoL{}, ListNoR{};
  flag EngageL{}, EngageR{};
  int32_t SelFreqL{}, SelFreqR{};
  int32_t ComNoL{}, ComNoR{};
  std::string IdL, IdR;
  int32_t TypeL{}, TypeR{};
  int32_t ManualL{}, ManualR{};
};

struct MsgSrchSettings {
  flag MsgSrchSound{}, MsgSrchPopup{}, MsgSrchRun{};
};

struct EtcSettings {
  flag ConvJC{};
  flag ConvJD{};
  flag DispTime{};
  int32_t FFTSel{};
  flag DispType{};
  flag WaveType{};
  std::string PassList;
  std::string SelCallCode;
  int32_t LocalHourOffset{};
  int32_t DeleteDay{};
  flag DeleteLogFile{};
  flag ChangeLogFileName{};
  int32_t Language{};
};
