#pragma once
// The main window's shared state: every setting, run-time flag, path, text
// buffer and table that the subsystems read and write. It holds no widget;
// TForm1 owns one and mirrors the control fields onto its widgets, and tests
// build one alone. Text is bytes in code page 932.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "acars/acars_parser.h"
#include "acars/acars_receiver.h"
#include "acars/acars_stores.h"
#include "aircraft/received_aircraft_table.h"
#include "app/form_services.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/fft_tables.h"
#include "audio/noise_filters.h"
#include "audio/wave_devices.h"
#include "exchange/peer_client_table.h"
#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_channel_state.h"
#include "hfdl/hfnpdu.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"
#include "platform/bitmap24.h"
#include "platform/color.h"
#include "platform/date_time.h"

using flag = uint8_t;  // a byte flag, 0 or 1

// The kinds of received text; they index TextBuffers and name the logs.
enum ReceivedTextKind { kAcarsRaw = 0, kAcarsPrc = 1, kAcarsMes = 2, kHfdlDat = 3, kHfdlAna = 4, kHfdlFmt = 5 };

struct Form1State {
  // Every setting holds its default (as a missing settings file gives).
  Form1State();
  Form1State(const Form1State&) = delete;
  Form1State& operator=(const Form1State&) = delete;

  // Cross-subsystem calls and widget effects; tests replace entries.
  Form1Services svc;

  // ---- Settings: [Map] ----
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

  // ---- [Txt] ----
  int32_t TxtType{};
  int32_t MaxBytes{};
  flag SqNoDisp{};
  flag TxtLog{};
  int32_t TxtSaveType{};
  flag ShowPos{};
  flag TISNoDisp{};
  flag FreqNoDisp{};
  // The six log flags in ReceivedTextKind order.
  flag LogOutACASRAW{};
  flag LogOutACASPRC{};
  flag LogOutACASMES{};
  flag LogOutHFDLDAT{};
  flag LogOutHFDLANA{};
  flag LogOutHFDLFMT{};
  flag& LogOutFlag(int kind);

  // ---- [Mail] ----
  std::string MailHost, MailFrom, MailTo;
  flag MailSend{};
  flag SJISConv{};
  flag MIMEConv{};

  // ---- [Spec] ----
  flag SpecPopUp{};
  flag SpecSound{};
  flag SpecLog{};

  // ---- [List] ----
  flag ShowNew{};
  flag ListMini{};
  flag AutoDelete{};
  int32_t DeleteTime{};
  flag ListLog{};

  // ---- [Color] ----
  TColor BackColor{}, PlotOnColor{}, PlotOffColor{}, PlotMarkUpColor{}, PlotBackColor{};
  TColor MapBackColor{}, MapCoastColor{}, MapAirwayVOR{}, MapAirwayNDB{}, MapAirwayNAV{};
  TColor MapPointVORDME{}, MapPointVORTAC{}, MapPointNDB{}, MapPointNAV{}, MapPointAirPort{};
  TColor MapPointHome{}, MapPointBeacon{}, MapPointAnt{}, MapPointMount{}, MapPointNone{};
  TColor GridColor{}, GridNumColor{}, BoundariesColor{}, LineColor1{}, LineColor2{};
  TColor AltBack{}, AltScale{}, SelBack{}, SelText{}, ClockBack{}, ClockText{};
  TColor ListBack{}, ListText{}, TextBack{}, TextText{}, DispColorL{}, DispColorR{};
  std::array<std::string, 10> UserText;
  TColor UserColor[7][10]{};  // [j-1][i]: colour j of operator group i

  // ---- [Pos] ----
  int32_t MainTop{}, MainLeft{}, MainWidth{}, MainHeight{};
  flag MainMaximized{};
  int32_t PlaneTop{}, PlaneLeft{}, ListTop{}, ListLeft{};
  int32_t TextTop{}, TextLeft{}, InfoTop{}, InfoLeft{};
  flag TextTopMost{};
  flag PictTopMost{};

  // ---- [Form] ----
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

  // ---- [Net] ----
  flag TcpIp{};
  flag Server{};
  flag ServerDec{};
  std::string NetName{};
  std::string ServerName;
  flag Reconnect{};
  int32_t ReconnectTimer{};
  flag Chat{};
  flag DupCheckSend{};
  int32_t MaxConnect{};
  std::string ClientPortNo{};
  std::string ServerPortNo{};
  flag RecvVHF{};
  flag RecvHF{};
  int32_t LoopBackInterval{};
  int32_t LoopBackLimit{};

  // ---- [Wave] ----
  int32_t WaveInput{};
  int32_t WaveDual{};
  int32_t DecoderL{};
  int32_t DecoderR{};
  int32_t WaveRate{};

  // ---- [Radio] ----
  int32_t ListNoL{}, ListNoR{};
  flag EngageL{}, EngageR{};
  int32_t SelFreqL{}, SelFreqR{};
  int32_t ComNoL{}, ComNoR{};
  std::string IdL{}, IdR{};
  int32_t TypeL{}, TypeR{};
  int32_t ManualL{}, ManualR{};

  // ---- [MsgSrch] ----
  flag MsgSrchSound{}, MsgSrchPopup{}, MsgSrchRun{};

  // ---- [Etc] ----
  flag ConvJC{};
  flag ConvJD{};
  flag DispTime{};
  int32_t FFTSel{};
  flag DispType{};
  flag WaveType{};
  int32_t SystemVer{};
  std::string PassList;
  std::string SelCallCode{};
  int32_t LocalHourOffset{};
  int32_t DeleteDay{};
  flag DeleteLogFile{};
  flag ChangeLogFileName{};
  int32_t Language{};

  // ---- Control states that settings and GUI-free code read. TForm1
  // mirrors them onto its widgets whenever svc.effects->ControlsChanged()
  // is called; its handlers update them before they run.
  flag SpeedButton1Down = 0, SpeedButton1Visible = 0;
  flag SpeedButton2Down = 1, SpeedButton5Down = 0, SpeedButton8Down = 0;
  flag SpeedButton9Down = 0, SpeedButton10Down = 0, SpeedButton11Down = 0;
  flag SpeedButton16Down = 1, SpeedButton17Down = 0;
  flag SpeedButton21Down = 0, SpeedButton22Down = 0, SpeedButton23Down = 0, SpeedButton24Down = 0;
  flag SpeedButton25Down = 0, SpeedButton26Down = 0, SpeedButton27Down = 0, SpeedButton28Down = 0;
  int32_t ComboBox1Index = 0;  // the MapScale setting
  std::vector<std::string> ComboBox2Items{"ALL"};
  int32_t ComboBox2Index = 0;
  flag N6Enabled = 1, N10Enabled = 0;
  flag N8Checked = 0, N11Checked = 0, N21Checked = 1, N24Checked = 1, N25Checked = 0;
  flag N26Checked = 0, N27Checked = 1, N28Checked = 1, N38Checked = 1;
  flag N12Visible = 0, N13Visible = 0, N14Visible = 0;
  flag Timer3Enabled = 0;
  int32_t Timer3Interval = 30000;
  std::string Caption = "Skarvel";
  std::vector<std::string> MapFileMenu;  // the captions of N34's items; MapNo is checked

  // ---- Run-time flags ----
  flag Running = 0;
  flag RedrawBusy = 0;
  flag UseEnglish = 1;
  int32_t SavedWaveDual = 0;
  flag ImportAbort = 0;
  flag TextWindowClosed = 0;

  // ---- Audio format ----
  int32_t SampleRate = 44100;
  int32_t SampleBits = 16;
  int32_t SampleChannels = 2;
  std::array<int32_t, 3> RxLampHold = {6, 6, 0};  // left lock, right lock, data lamp
  int32_t PipelineCounter = 0;

  // ---- Network state ----
  flag NetConnected = 0;
  flag Connecting = 0;
  flag ConnectRequested = 0;
  flag Reconnecting = 0;
  std::string ChatLog;
  std::string LoopPayload;
  flag LoopProbePending = 0;
  int32_t LoopProbeRetries = 0;
  int32_t NetClientCount = 0;
  int32_t NetClientState = 0;
  PeerClientTable PeerClients;

  // ---- Selection and view ----
  flag AircraftSelected = 0;
  int32_t SelectedAircraft = 0;
  int32_t LatestAircraft = -1;
  flag LatestAircraftShown = 0;
  flag KeepSelectionOnce = 0;
  flag KeepViewOnce = 0;
  flag AutoShowLatest = 0;
  flag AutoShowAll = 0;
  uint8_t MapViewOptions = 0;  // a set of seven options, bit per option
  double MapScaleX = 0.0;
  double MapScaleY = 0.0;
  std::array<int32_t, 10> GridDegrees = {};
  flag MapDebug = 0;
  int32_t ColorDialogTarget = 0;
  int32_t ListPage = 0;
  std::string ClockCache;
  std::string MapFileName;

  // ---- Aircraft ----
  int32_t AircraftCount = 0;
  ReceivedAircraftTable Aircraft;

  // ---- Files and text ----
  std::string AppDir;
  std::string WaveFilePath, SelcalWavePath, MesgSearchWavePath, SearchCsvPath, FlightCsvPath;
  std::string AirportCsvPath, AircraftCsvPath, LetterCsvPath, Icao24CsvPath, D002Path, FreqsCsvPath;
  std::string SystemTxtPath, CoastlinePath, BoundariesPath, NavPointsPath, AirwayPath, SelcalCsvPath;
  std::string MesgSearchListPath;
  std::string SearchLogPath, ListLogPath, AcarsRawLogPath, AcarsPrcLogPath, AcarsMesLogPath;
  std::string HfdlDatLogPath, HfdlAnaLogPath, HfdlFmtLogPath;
  std::string LogDate;
  std::string ImportPath;
  std::string SourceTag;
  std::array<std::string, 6> TextBuffers;
  std::array<std::string, 28> AcarsStationNames;

  // ---- HFDL ground-station table (SystemVer is a setting) ----
  std::array<std::string, 20> GsNames;
  int32_t GsFrequencies[20][20] = {};
  int32_t GsActiveFreqs[20][6] = {};
  std::array<TDateTime, 20> GsCheckedTime = {};

  // ---- Signal processing ----
  HfdlChannelState Hfdl[2];
  FftTables SpectrumFft;
  FftTables SelcalFft;

  // ---- Drawing surfaces ----
  Bitmap24 SideListBitmap, MapViewBitmap, MapBitmap, AltitudeBitmap, SpectrumBitmap, ClockBitmap;

  // ---- Version ----
  int32_t VersionMajor = 0, VersionMinor = 0, VersionBuild = 0;

  // ---- Audio: the current block of each channel at 11025 Hz ----
  // Decoders read elements 0..511 of their row and may overwrite them;
  // FilterBlock holds a copy taken before any decoder ran.
  double AudioBlock[2][2048] = {};
  double FilterBlock[2][2048] = {};

  // ---- Audio pipeline and devices ----
  WaveInDevice WaveIn;
  WaveOutDevice WaveOut;
  // What stands behind the devices: the sound card unless a wave file or a
  // test puts another in its place.
  AudioDeviceFactory* AudioDevices = &SystemAudioDevices();
  // Per channel the last 51 inputs of the anti-alias filter, newest first.
  double ResampleDelay[2][51] = {};
  // Blocks processed; the aircraft-layer redraw sets it to 0.
  int32_t BlockCounter = 0;
  // The local time at the last change of ClockCache.
  TDateTime BlockTime = 0;
  // Buffers that got past the pipeline's Running check, and when the last did.
  int64_t ProcessedBuffers = 0;
  std::chrono::steady_clock::time_point LastBufferTime{};

  // ---- Spectrum, waterfall, clock panel and monitor ----
  // Waterfall levels, cell (frequency) by column (time), column 0 newest.
  int32_t SpectrumLevels[55][42] = {};
  SymbolHistory ConstellationHistory;
  LevelMeter InputLevelMeter[2];
  // 512 stereo frames, left and right interleaved, and as 16-bit samples.
  double MonitorSamples[1024] = {};
  int16_t MonitorPcm[1024] = {};
  flag MonitorForced = 0;
  int32_t MonitorChannel = -1;  // 0, 1, or -1: by the decoder modes
  double MonitorDelayLine[2][30] = {};  // newest first
  LmsFilterState<16> LmsFilter16State[2];
  LmsFilterState<33> LmsFilter33State[2];
  FirFilterState FirFilter51State[2];
  // Frames the playback device had no room for, and whether the last
  // block lost some.
  int64_t MonitorDroppedFrames = 0;
  flag MonitorDropping = 0;

  // ---- HFDL reception ----
  HfdlBlockSymbolList HfdlBlockSymbols[2];
  HfdlSoftSymbolStore HfdlSoftSymbols[2];
  std::array<uint8_t, kHfdlFrameBits> HfdlDecodedBits = {};
  std::array<uint8_t, kHfdlFrameBits> HfdlNetworkBits = {};  // a frame from a linked copy
  std::array<std::string, 2> ErrorRatioText;

  // ---- HFDL analysis, ground stations, statistics and registrations ----
  int32_t HfdlFrameOctets = 0;  // the current LPDU's octet; at the end, the DAT line's octets
  ::SystemTableAssembly SystemTableAssembly;
  SystemTableMemo SystemTableText;  // TForm23's memo, also data/system.txt
  ReceptionStats HfdlReceptionStats;
  HfdlRegistrationTable HfdlRegistrations;
  Icao24File Icao24Cache;
  std::array<uint8_t, kHfdlAcarsBitsSize> HfdlAcarsBits = {};

  // ---- ACARS reception, text output and daily logs ----
  AcarsReceiver AcarsRx;   // both channels' demodulators and framers
  AcarsParser AcarsParse;  // AcarsModeName and AcarsDownlink of the last block
  AcarsStores AcarsStore;  // duplicate filters and multi-block slots

  // ---- Main-window commands and dialogs ----

};
