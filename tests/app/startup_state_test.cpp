// The constructor's steps that touch no widget, and the tables they build.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <set>

#include "app/form1_state.h"
#include "app/settings.h"
#include "app/startup.h"
#include "audio/fft_tables.h"
#include "hfdl/dsp_tables.h"
#include "map/map_files.h"
#include "map/zoom_factors.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

IniFile Parse(const std::string& text) {
  IniFile ini;
  ini.LoadFromBytes(text);
  return ini;
}

TEST(Startup, AServerThatDoesNotDecodeParksItsChannelMode) {
  TempDir dir;
  Form1State f;
  ConstructForm1State(f, dir.path(), Parse("[Net]\nTcpIp=1\nServer=1\nServerDec=0\n[Wave]\nDual=2\n"));
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 2);
  EXPECT_EQ(f.controls.Caption, "Skarvel");  // the link is not built: the server cannot open
  BeginClose(f);
  EXPECT_EQ(f.app.Running, 0);
  IniFile out;
  SaveSettings(f, out);
  EXPECT_EQ(*out.Read("Wave", "Dual"), "2");
}

// The constructor builds on the loaded, clamped values.
TEST(Startup, KeepAliveTimerAndClientSlotsFollowTheLoadedSettings) {
  TempDir dir;
  struct Case {
    const char* file;
    int interval;
    size_t clients;
  };
  const Case cases[] = {
      {"[Net]\nLoopBackInterval=-5\n", 1000, 10},
      {"[Net]\nLoopBackInterval=0\n", 0, 10},
      {"[Net]\nMaxConnect=0\n", 30000, 1},
      {"[Net]\nMaxConnect=5000\n", 30000, 10},
  };
  for (const Case& c : cases) {
    Form1State f;
    ConstructForm1State(f, dir.path(), Parse(c.file));
    EXPECT_EQ(f.controls.Timer3Interval, c.interval) << c.file;
    EXPECT_EQ(f.exchange.PeerClients.Slots.size(), c.clients) << c.file;
    EXPECT_EQ(f.controls.Timer3Enabled, 0) << c.file;  // no server opens here
  }
}

TEST(Startup, ServerCaption) { EXPECT_EQ(ServerCaption(0, 10, "49505"), "Skarvel(Server 0/10 PortNo 49505)"); }

TEST(Startup, SubDisplayButtonsFollowTheSettings) {
  TempDir dir;
  struct Case {
    const char* file;
    int down9, down10, down11;
  };
  const Case cases[] = {
      {"[Map]\nHideText=1\nSubDisptype=1\n", 0, 0, 0},
      {"[Map]\nSubDisptype=7\n", 1, 0, 0},
      {"[Map]\nSubDisptype=2\n", 0, 0, 1},
      {"[Map]\nSubDisptype=1\n", 0, 1, 0},
  };
  for (const Case& c : cases) {
    Form1State f;
    ConstructForm1State(f, dir.path(), Parse(c.file));
    EXPECT_EQ(f.controls.SpeedButton9Down, c.down9) << c.file;
    EXPECT_EQ(f.controls.SpeedButton10Down, c.down10) << c.file;
    EXPECT_EQ(f.controls.SpeedButton11Down, c.down11) << c.file;
  }
  for (const char* file : {"[MAP]\nShowRegNo=1\n", "[MAP]\nShowRegNo=0\n"}) {
    Form1State f;
    ConstructForm1State(f, dir.path(), Parse(file));
    EXPECT_NE(f.controls.N24Checked, f.controls.N25Checked) << file;
  }
}

TEST(Startup, RunTimeStateAfterConstruction) {
  TempDir dir;
  Form1State f;
  ConstructForm1State(f, dir.path(), IniFile());
  EXPECT_EQ(f.app.Running, 1);
  EXPECT_EQ(f.mapView.RedrawBusy, 1);
  EXPECT_EQ(f.mapView.SelectedAircraft, 0);
  EXPECT_EQ(f.mapView.AircraftSelected, 0);
  EXPECT_EQ(f.mapView.LatestAircraft, -1);
  EXPECT_EQ(f.app.UseEnglish, 1);
  EXPECT_EQ(f.mapView.GridDegrees[9], 30);
  EXPECT_EQ(f.exchange.PeerClients.Slots.size(), 10u);
  EXPECT_EQ(f.hfdl.FreqsCsvPath, dir.path() + "/data/freqs.csv");
  EXPECT_EQ(f.hfdl.Icao24CsvPath, dir.path() + "/data/ICAO24.csv");
  EXPECT_EQ(f.app.D002Path, dir.path() + "/data/D002.dat");
  EXPECT_EQ(f.app.MesgSearchListPath, dir.path() + "/data/MesgSearchList.txt");
  EXPECT_EQ(f.text.HfdlDatLogPath, dir.path() + "/logs/" + f.text.LogDate + "_HFDL_DAT.log");
  EXPECT_EQ(f.controls.SpeedButton5Down, 0);
  EXPECT_EQ(f.controls.SpeedButton2Down, 1);
}

TEST(Startup, AircraftTableStartValues) {
  TempDir dir;
  Form1State f;
  ConstructForm1State(f, dir.path(), Parse("[Map]\nMaxMapPlot=3\nMaxPlotData=4\n"));
  ASSERT_EQ(f.aircraft.Aircraft.Records.size(), 3u);
  for (const AircraftRecord& r : f.aircraft.Aircraft.Records) {
    EXPECT_STREQ(r.FlightId, "-------");
    EXPECT_STREQ(r.Registration, "-------");
    EXPECT_STREQ(r.LastReportId, "-------");
    EXPECT_STREQ(r.LastTime, "-------");
    EXPECT_EQ(r.Age, 1);
    EXPECT_EQ(r.Visible, 1);
    EXPECT_EQ(r.LastPoint, 0);
    EXPECT_TRUE(r.Route3.empty());
    ASSERT_EQ(r.Points.size(), 4u);
    EXPECT_EQ(r.Points[3].Altitude, 100000);
    EXPECT_EQ(r.Points[3].Temperature, 100);
    EXPECT_EQ(r.Points[3].WindDir, 400);
    EXPECT_EQ(r.Points[3].ReportTime, 0.0);
  }
}

TEST(Startup, HfdlStartStateOfBothChannels) {
  TempDir dir;
  Form1State f;
  f.hfdl.Channels[1].Locked = 1;
  f.hfdl.Channels[0].EqDelay[1][5] = 3.0;
  ConstructForm1State(f, dir.path(), IniFile());
  for (const HfdlChannelState& s : f.hfdl.Channels) {
    EXPECT_EQ(s.ClockSign, -10.0);
    EXPECT_EQ(s.NcoPhase, 0.0);
    EXPECT_EQ(s.AgcState[0], 10594.8855652922);
    EXPECT_EQ(s.AgcState[2], 10593.9632725435);
    EXPECT_EQ(s.ClockResonatorOut[0], 6159343.42637719);
    EXPECT_EQ(s.ClockResonatorOut[2], -869159.603655451);
    EXPECT_EQ(s.PllLoopState[0], 0.0);
    EXPECT_EQ(s.Locked, 0);
    EXPECT_EQ(s.Constellation, 0);
    EXPECT_EQ(s.EqTaps[0][16], 0.997732426);
    EXPECT_EQ(s.EqTaps[1][0], -0.000334796315);
    EXPECT_EQ(s.EqDelay[1][5], 0.0);
  }
}

TEST(DspTables, ResonatorsAndSamplePeriod) {
  const DspTables& t = GetDspTables();
  EXPECT_DOUBLE_EQ(t.SamplePeriod, 9.070294784580499e-05);
  EXPECT_NEAR(t.SymbolClockResonator.a1, 1.036489745, 1e-9);
  EXPECT_NEAR(t.SymbolClockResonator.a2, -0.9994302589, 1e-9);
  EXPECT_NEAR(t.SymbolClockResonator.b, 0.8551427630, 1e-9);
  EXPECT_NEAR(t.CarrierResonator.a1, 1.344187130, 1e-9);
  EXPECT_NEAR(t.CarrierResonator.a2, -0.9719069870, 1e-9);
  EXPECT_NEAR(t.CarrierResonator.b, 0.7315965760, 1e-9);
}

// Each stored section equals a bilinear Butterworth low-pass (Q 1/sqrt 2)
// at 11025 Hz to eight decimals.
TEST(DspTables, LowPassSectionsAreButterworth) {
  const DspTables& t = GetDspTables();
  const std::pair<double, LowPassSection> sections[] = {
      {10, t.LowPass10Hz}, {100, t.LowPass100Hz}, {200, t.LowPass200Hz}, {500, t.LowPass500Hz}};
  for (const auto& [fc, s] : sections) {
    double k = std::tan(M_PI * fc / 11025.0);
    double norm = 1.0 / (1.0 + std::sqrt(2.0) * k + k * k);
    double b0 = k * k * norm;
    double a1 = 2.0 * (1.0 - k * k) * norm;
    double a2 = -(1.0 - std::sqrt(2.0) * k + k * k) * norm;
    EXPECT_NEAR(s.a1, a1, 1e-8) << fc;
    EXPECT_NEAR(s.a2, a2, 1e-8) << fc;
    EXPECT_NEAR(s.b0, b0, 1e-8) << fc;
    EXPECT_NEAR(s.b1, 2 * b0, 1e-8) << fc;
    EXPECT_NEAR(s.b2, b0, 1e-8) << fc;
  }
  EXPECT_EQ(t.LowPass200Hz.a1, 1.8391168);
  EXPECT_EQ(t.LowPass500Hz.b1, 0.0336383);
}

TEST(DspTables, InterleaverMaps) {
  const DspTables& t = GetDspTables();
  const int rowStart[] = {0, 9, 18, 27, 36, 5, 14, 23};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(t.InterleaverRowOrder[i], rowStart[i]);
  EXPECT_EQ(t.Interleavers[0].columns, 54);
  EXPECT_EQ(t.Interleavers[0].column[40 * 1 + 0], 23);
  EXPECT_EQ(t.Interleavers[3].columns, 126);
  EXPECT_EQ(t.Interleavers[3].column[40 * 0 + 1], 103);
  for (const InterleaverMap& m : t.Interleavers) {
    for (int r = 0; r < 40; ++r) {
      std::set<int> seen;
      for (int c = 0; c < m.columns; ++c) {
        seen.insert(m.column[40 * c + r]);
        EXPECT_EQ(m.row[40 * c + r], r);
      }
      EXPECT_EQ(static_cast<int>(seen.size()), m.columns);
      EXPECT_EQ(*seen.begin(), 0);
      EXPECT_EQ(*seen.rbegin(), m.columns - 1);
    }
  }
}

TEST(DspTables, ModeNamesAreTwentyCharacters) {
  const DspTables& t = GetDspTables();
  EXPECT_EQ(t.HfdlModeNames[0], "BPSK 300bits/s 1.8s ");
  EXPECT_EQ(t.HfdlModeNames[7], "8PSK 1800bits/s 4.2s");
  for (const std::string& name : t.HfdlModeNames) EXPECT_EQ(name.size(), 20u);
}

TEST(DspTables, FftTables) {
  FftTables t = BuildFftTables();
  EXPECT_EQ(t.BitReverse[1], 256);
  EXPECT_EQ(t.BitReverse[2], 128);
  EXPECT_EQ(t.BitReverse[3], 384);
  for (int i = 0; i < 512; ++i) {
    int r = 0;
    for (int b = 0; b < 9; ++b) r |= ((i >> b) & 1) << (8 - b);
    EXPECT_EQ(t.BitReverse[i], r);
  }
  EXPECT_EQ(t.Hann[0], 0.0);
  EXPECT_DOUBLE_EQ(t.Hann[256], 1.0);
  EXPECT_DOUBLE_EQ(t.MinusSin[128], -1.0);
}

TEST(DspTables, ZoomList) {
  std::vector<std::string> items = ZoomListItems();
  ASSERT_EQ(items.size(), 27u);
  EXPECT_EQ(items.front(), "x1.0");
  EXPECT_EQ(items[11], "x8.0");
  EXPECT_EQ(items[12], "x10");
  EXPECT_EQ(items.back(), "x500");
}

TEST(MapFileMenu, ListsDatThenOutThenMapFilesOnly) {
  TempDir dir;
  ::mkdir(dir.File("lines").c_str(), 0777);
  for (const char* name : {"b.map", "a.out", "z.dat", "c.dat", "D.DAT"}) testing_support::WriteFile(dir.File(std::string("lines/") + name), "");
  ::mkdir(dir.File("lines/x.dat").c_str(), 0777);
  Form1State f;
  f.app.AppDir = dir.path();
  f.Map.MapNo = 9;
  BuildMapFileMenu(f);
  // Names match as the file system spells them: D.DAT is no ".dat" file.
  EXPECT_EQ(f.controls.MapFileMenu, (std::vector<std::string>{"c.dat", "z.dat", "a.out", "b.map"}));
  EXPECT_EQ(f.Map.MapNo, 0);
  f.Map.MapNo = 2;
  BuildMapFileMenu(f);
  EXPECT_EQ(f.mapView.MapFileName, dir.path() + "/lines/a.out");
}

TEST(MapFileMenu, EmptyFolderGivesNoMapFile) {
  TempDir dir;
  ::mkdir(dir.File("lines").c_str(), 0777);
  Form1State f;
  f.app.AppDir = dir.path();
  f.Map.MapNo = 2;
  BuildMapFileMenu(f);
  EXPECT_TRUE(f.controls.MapFileMenu.empty());
  EXPECT_EQ(f.Map.MapNo, 0);
  EXPECT_EQ(f.mapView.MapFileName, "");
}

}  // namespace
