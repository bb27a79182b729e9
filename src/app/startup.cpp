#include "app/startup.h"

#include <cstdlib>
#include <ctime>

#include "acars/acars_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/ground_names.h"
#include "app/settings.h"
#include "audio/fft_tables.h"
#include "exchange/exchange_services.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/hfdl_services.h"
#include "map/map_files.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "selcal/selcal_services.h"

namespace {

void BuildPaths(Form1State& f) {
  auto at = [&](const char* name) { return platform::JoinPath(f.AppDir, name); };
  f.WaveFilePath = at("wave.wav");
  f.SelcalWavePath = at("selcall.wav");
  f.MesgSearchWavePath = at("mesgsearch.wav");
  f.SearchCsvPath = at("data/search.csv");
  f.FlightCsvPath = at("data/flight.csv");
  f.AirportCsvPath = at("data/airport.csv");
  f.AircraftCsvPath = at("data/aircraft.csv");
  f.LetterCsvPath = at("data/letter.csv");
  f.Icao24CsvPath = at("data/ICAO24.csv");
  f.D002Path = at("data/D002.dat");
  f.FreqsCsvPath = at("data/freqs.csv");
  f.SystemTxtPath = at("data/system.txt");
  f.CoastlinePath = at("lines/coastline.dat");
  f.BoundariesPath = at("lines/boundaries.dat");
  f.NavPointsPath = at("points/nav.txt");
  f.AirwayPath = at("lines/airway.txt");
  f.SelcalCsvPath = at("data/selcal.csv");
  f.MesgSearchListPath = at("data/MesgSearchList.txt");
}

// A port text within 49152..65535 (the text is a number by now).
std::string ClampPort(const std::string& text) {
  auto v = ini_numbers::ParseInt(text);
  if (!v) return text;
  if (*v < 49152) return "49152";
  if (*v > 65535) return "65535";
  return text;
}

}  // namespace

std::string ServerCaption(int clients, int maxConnect, const std::string& port) {
  return "Skarvel(Server " + std::to_string(clients) + "/" + std::to_string(maxConnect) + " PortNo " + port + ")";
}

void ConstructForm1State(Form1State& f, const std::string& appDir, const IniFile& settings) {
  // 2. Capture format.
  f.SampleRate = 44100;
  f.SampleBits = 16;
  f.SampleChannels = 2;
  // 3. Each channel's HFDL demodulator at its start, then the SELCAL weights.
  for (HfdlChannelState& s : f.Hfdl) InitHfdlChannel(s);
  InitSelcalWeights(f);
  // 4-6. SamplePeriod, the resonators, low-pass sections, interleaver maps
  // and mode names.
  GetDspTables();
  // 7. The ACARS oscillator and clock resonator.
  InitAcarsDemodulator(f);
  // 8.
  f.ListPage = 1;
  f.ComboBox2Items = {"ALL"};
  f.ComboBox2Index = 0;
  f.NetClientState = 0;
  f.DispType = 0;
  // 10, 11.
  f.AppDir = appDir;
  LoadSettings(f, settings);
  LoadGroundStationNames(f);
  // 12, 13.
  BuildPaths(f);
  f.svc.exchange->UpdateDailyLogNames(f, true);
  // 14. A server that does not decode parks the user's channel mode.
  if (f.Server && !f.ServerDec) {
    f.SavedWaveDual = f.WaveDual;
    f.WaveDual = 0;
  }
  // 15.
  if (f.MaxBytes > 64000) f.MaxBytes = 63999;
  if (f.MaxBytes < 1000) f.MaxBytes = 1000;
  // 16.
  f.SpectrumFft = BuildFftTables();
  f.SelcalFft = BuildFftTables();
  // 17. The sub-display group.
  f.SpeedButton9Down = f.SpeedButton10Down = f.SpeedButton11Down = 0;
  if (!f.HideText) {
    if (f.SubDispType == 1) {
      f.SpeedButton10Down = 1;
    } else if (f.SubDispType == 2) {
      f.SpeedButton11Down = 1;
    } else {
      f.SpeedButton9Down = 1;
    }
  }
  f.N24Checked = f.N25Checked ? 0 : 1;
  // 18. Run-time state.
  f.SelectedAircraft = 0;
  f.AircraftSelected = 0;
  f.RedrawBusy = 1;
  f.AircraftCount = 0;
  f.Reconnecting = 0;
  f.RxLampHold[0] = 6;
  f.RxLampHold[1] = 6;
  f.PipelineCounter = 0;
  f.ImportAbort = 0;
  f.Running = 1;
  f.ImportPath.clear();
  f.LatestAircraft = -1;
  f.KeepViewOnce = f.KeepSelectionOnce = f.LatestAircraftShown = f.AutoShowLatest = f.AutoShowAll = 0;
  f.UseEnglish = 1;
  f.GridDegrees = {1, 2, 3, 5, 6, 9, 10, 15, 18, 30};
  if (f.TimeAdjustMin < 1) f.TimeAdjustMin = 1;
  if (f.TimeAdjustMin > 59) f.TimeAdjustMin = 59;
  f.VersionMajor = 1;
  f.VersionMinor = 0;
  f.VersionBuild = 2;
  f.TextWindowClosed = 0;
  f.SystemTableAssembly.Version = f.SystemVer;
  // 19. Network limits.
  if (f.MaxConnect < 1) f.MaxConnect = 1;
  f.ClientPortNo = ClampPort(f.ClientPortNo);
  f.ServerPortNo = ClampPort(f.ServerPortNo);
  // 20.
  f.PeerClients.Slots.assign(static_cast<size_t>(f.MaxConnect), PeerClientSlot());
  f.NetClientCount = 0;
  // 21. Network start.
  f.Caption = "Skarvel";
  f.Timer3Enabled = 0;
  f.NetConnected = 0;
  if (f.TcpIp && f.Server && f.svc.exchange->OpenServer(f, f.ServerPortNo)) {
    f.Caption = ServerCaption(f.NetClientCount, f.MaxConnect, f.ServerPortNo);
    f.NetConnected = 1;
    f.Timer3Enabled = 1;
  }
  // 22.
  f.svc.effects->ArrangeStatusIndicators();
  // 23. An interval of 0 means no keep-alive: the timer never runs at 0 ms.
  if (f.LoopBackInterval != 0 && f.LoopBackInterval < 1) f.LoopBackInterval = 1;
  f.LoopProbeRetries = 0;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  f.LoopProbePending = 0;
  f.Timer3Interval = f.LoopBackInterval * 1000;
  if (f.Timer3Interval <= 0) f.Timer3Enabled = 0;
  f.Connecting = 0;
  // 24, 25, 26.
  f.Aircraft.Allocate(f.MaxMapPlot, f.MaxPlotData);
  InitAcarsStores(f);
  f.svc.hfdl->LoadHfdlSystemTable(f);
  // 28. The map-file menu.
  BuildMapFileMenu(f);
}

bool LanguageDialogNeeded(const Form1State& f) { return f.Language == 0; }

void SettleLanguage(Form1State& f, bool dialogShown) {
  if (dialogShown) {
    f.Language = f.UseEnglish ? 1 : 2;
  } else {
    f.UseEnglish = f.Language == 1 ? 1 : 0;
  }
}

void BeginClose(Form1State& f) {
  f.Running = 0;
  if (f.Server && !f.ServerDec) f.WaveDual = f.SavedWaveDual;
}
