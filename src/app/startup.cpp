#include "app/startup.h"

#include <algorithm>
#include <cstdint>

#include "acars/acars_demodulator.h"
#include "app/form1_state.h"
#include "app/ground_names.h"
#include "app/settings.h"
#include "audio/fft_tables.h"
#include "exchange/daily_log_set.h"
#include "exchange/peer_link.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/ground_stations.h"
#include "map/map_files.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "selcal/selcal_decoder.h"

namespace {

void BuildPaths(Form1State& f) {
  auto at = [&](const char* name) { return platform::JoinPath(f.app.AppDir, name); };
  f.app.WaveFilePath = at("wave.wav");
  f.app.SelcalWavePath = at("selcall.wav");
  f.app.MesgSearchWavePath = at("mesgsearch.wav");
  f.app.SearchCsvPath = at("data/search.csv");
  f.aircraft.Files = AircraftFilesIn(f.app.AppDir);
  f.hfdl.Icao24CsvPath = at("data/ICAO24.csv");
  f.hfdl.FreqsCsvPath = at("data/freqs.csv");
  f.hfdl.SystemTxtPath = at("data/system.txt");
  f.mapView.NavPointsPath = at("points/nav.txt");
  f.mapView.AirwayPath = at("lines/airway.txt");
  f.app.SelcalCsvPath = at("data/selcal.csv");
  f.app.MesgSearchListPath = at("data/MesgSearchList.txt");
}

}  // namespace

void ConstructForm1State(Form1State& f, const std::string& appDir, const IniFile& settings, PeerLink* link) {
  // 2. Capture format.
  f.audio.SampleRate = 44100;
  f.audio.SampleBits = 16;
  f.audio.SampleChannels = 2;
  // 3. Each channel's HFDL demodulator at its start, then the SELCAL weights.
  for (HfdlChannelState& s : f.hfdl.Channels) InitHfdlChannel(s);
  InitSelcalWeights(f.selcal);
  // 4-6. SamplePeriod, the resonators, low-pass sections, interleaver maps
  // and mode names.
  GetDspTables();
  // 7. The ACARS oscillator and clock resonator.
  AcarsDemodTables();
  f.acars.AcarsRx = AcarsReceiver();
  // 8.
  f.mapView.ListPage = 1;
  f.controls.ComboBox2Items = {"ALL"};
  f.controls.ComboBox2Index = 0;
  f.Etc.DispType = 0;
  // 10, 11. The settings come in within their ranges.
  f.app.AppDir = appDir;
  LoadSettings(f, settings);
  LoadGroundStationNames(f.acars.AcarsStationNames, f.app.AppDir);
  // 12, 13.
  BuildPaths(f);
  UpdateDailyLogNames(f.text, f.Etc, f.app.AppDir, true);
  // 14. A server that does not decode parks the user's channel mode.
  if (f.Net.Server && !f.Net.ServerDec) {
    f.app.SavedWaveDual = f.Wave.WaveDual;
    f.Wave.WaveDual = 0;
  }
  // 16.
  f.audio.SpectrumFft = BuildFftTables();
  f.selcal.SelcalFft = BuildFftTables();
  // 17. The sub-display group.
  f.controls.SpeedButton9Down = f.controls.SpeedButton10Down = f.controls.SpeedButton11Down = 0;
  if (!f.Map.HideText) {
    if (f.Map.SubDispType == 1) {
      f.controls.SpeedButton10Down = 1;
    } else if (f.Map.SubDispType == 2) {
      f.controls.SpeedButton11Down = 1;
    } else {
      f.controls.SpeedButton9Down = 1;
    }
  }
  // 18. Run-time state.
  f.mapView.SelectedAircraft = 0;
  f.mapView.AircraftSelected = 0;
  f.mapView.RedrawBusy = 1;
  f.aircraft.AircraftCount = 0;
  f.exchange.Reconnecting = 0;
  f.audio.RxLampHold[0] = 6;
  f.audio.RxLampHold[1] = 6;
  f.audio.PipelineCounter = 0;
  f.exchange.ImportAbort = 0;
  f.app.Running = 1;
  f.text.SetImportPath("");
  f.mapView.LatestAircraft = -1;
  f.mapView.KeepViewOnce = f.mapView.KeepSelectionOnce = f.mapView.LatestAircraftShown = f.mapView.AutoShowLatest = f.mapView.AutoShowAll = 0;
  f.app.UseEnglish = 1;
  f.mapView.GridDegrees = {1, 2, 3, 5, 6, 9, 10, 15, 18, 30};
  f.exchange.TextWindowClosed = 0;
  f.hfdl.SystemTableAssembly.Version = f.hfdl.SystemVer;
  // 20.
  f.exchange.PeerClients.Slots.assign(static_cast<size_t>(f.Net.MaxConnect), PeerClientSlot());
  f.exchange.NetClientCount = 0;
  // 21. Network start.
  f.controls.Caption = "Skarvel";
  f.controls.Timer3Enabled = 0;
  f.exchange.NetConnected = 0;
  if (f.Net.TcpIp && f.Net.Server && link && link->OpenServer(f.Net.ServerPortNo)) {
    f.controls.Caption = ServerCaption(f.exchange.NetClientCount, f.Net.MaxConnect, f.Net.ServerPortNo);
    f.exchange.NetConnected = 1;
    f.controls.Timer3Enabled = 1;
  }
  // 22 is the window's (ArrangeStatusIndicators); 23. The link's probe
  // tokens come from its own generator, seeded from the clock.
  f.exchange.LoopProbeRetries = 0;
  f.exchange.LoopProbePending = 0;
  // An interval of 0 means no keep-alive: the timer never runs at 0 ms.
  f.controls.Timer3Interval =
      static_cast<int32_t>(std::min<int64_t>(int64_t{f.Net.LoopBackInterval} * 1000, INT32_MAX));
  if (f.controls.Timer3Interval <= 0) f.controls.Timer3Enabled = 0;
  f.exchange.Connecting = 0;
  // 24, 25, 26.
  f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
  f.acars.AcarsStore.Clear();
  LoadHfdlSystemTable(f.hfdl);
  // 28. The map-file menu.
  BuildMapFileMenu(f.controls.MapFileMenu, f.Map, f.mapView, f.app.AppDir);
}

bool LanguageDialogNeeded(const Form1State& f) { return f.Etc.Language == 0; }

void SettleLanguage(Form1State& f, bool dialogShown) {
  if (dialogShown) {
    f.Etc.Language = f.app.UseEnglish ? 1 : 2;
  } else {
    f.app.UseEnglish = f.Etc.Language == 1 ? 1 : 0;
  }
}

void BeginClose(Form1State& f) {
  f.app.Running = 0;
  if (f.Net.Server && !f.Net.ServerDec) f.Wave.WaveDual = f.app.SavedWaveDual;
}
