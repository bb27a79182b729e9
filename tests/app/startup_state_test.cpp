// The start state that touches no widget: what the user then sees of the
// settings, the paths, the link and the language.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/form1_state.h"
#include "app/ground_names.h"
#include "app/settings.h"
#include "app/startup.h"
#include "exchange/peer_link.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

IniFile Parse(const std::string& text) {
  IniFile ini;
  ini.LoadFromBytes(text);
  return ini;
}

TEST(Startup, PathsLogsCaptionAndLanguageOfAFirstStart) {
  TempDir dir;
  testing_support::FixedClock clock(platform::EncodeDateTime(2026, 12, 6, 14, 3, 7));
  Form1State f;
  ConstructForm1State(f, dir.path(), IniFile());
  EXPECT_EQ(f.app.Running, 1);
  EXPECT_EQ(f.controls.Caption, "Skarvel");
  EXPECT_EQ(f.hfdl.FreqsCsvPath, dir.path() + "/data/freqs.csv");
  EXPECT_EQ(f.hfdl.Icao24CsvPath, dir.path() + "/data/ICAO24.csv");
  EXPECT_EQ(f.aircraft.Files.FlightCsvPath, dir.path() + "/data/flight.csv");
  EXPECT_EQ(f.aircraft.Files.AircraftCsvPath, dir.path() + "/data/aircraft.csv");
  EXPECT_EQ(f.app.MesgSearchListPath, dir.path() + "/data/MesgSearchList.txt");
  EXPECT_EQ(f.text.LogPath(kHfdlDat), dir.path() + "/logs/20261206_HFDL_DAT.log");
  EXPECT_TRUE(LanguageDialogNeeded(f));
  EXPECT_EQ(ServerCaption(0, 10, "49505"), "Skarvel(Server 0/10 PortNo 49505)");
}

TEST(Startup, AServerThatDoesNotDecodeParksItsChannelModeUntilTheSave) {
  TempDir dir;
  Form1State f;
  ConstructForm1State(f, dir.path(), Parse("[Net]\nTcpIp=1\nServer=1\nServerDec=0\n[Wave]\nDual=2\n"));
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 2);
  EXPECT_EQ(f.controls.Caption, "Skarvel");  // no link given: no server opens
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

TEST(Startup, ToolBarButtonsAndMarksFollowTheSettings) {
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

// The map-file menu lists what the lines folder holds.
TEST(Startup, TheMapFileMenuListsDatThenOutThenMapFiles) {
  TempDir dir;
  ::mkdir(dir.File("lines").c_str(), 0777);
  for (const char* name : {"b.map", "a.out", "z.dat", "c.dat", "D.DAT"}) {
    testing_support::WriteFile(dir.File(std::string("lines/") + name), "");
  }
  ::mkdir(dir.File("lines/x.dat").c_str(), 0777);
  Form1State f;
  ConstructForm1State(f, dir.path(), Parse("[Map]\nMapNo=9\n"));
  // Names match as the file system spells them: D.DAT is no ".dat" file.
  EXPECT_EQ(f.controls.MapFileMenu, (std::vector<std::string>{"c.dat", "z.dat", "a.out", "b.map"}));
  EXPECT_EQ(f.Map.MapNo, 0);
  Form1State g;
  ConstructForm1State(g, dir.path(), Parse("[Map]\nMapNo=2\n"));
  EXPECT_EQ(g.mapView.MapFileName, dir.path() + "/lines/a.out");
  TempDir empty;
  Form1State h;
  ConstructForm1State(h, empty.path(), Parse("[Map]\nMapNo=2\n"));
  EXPECT_TRUE(h.controls.MapFileMenu.empty());
  EXPECT_EQ(h.Map.MapNo, 0);
  EXPECT_EQ(h.mapView.MapFileName, "");
}

TEST(GroundNames, TheFileOverridesCaseInsensitivelyAndEmptyStaysEmpty) {
  TempDir dir;
  std::array<std::string, 28> names;
  LoadGroundStationNames(names, dir.path());
  EXPECT_EQ(names[0], "NARITA");
  EXPECT_EQ(names[26], "BROADCAST");
  EXPECT_EQ(names[27], "VDL");
  ::mkdir(dir.File("data").c_str(), 0777);
  testing_support::WriteFile(dir.File("data/ground.txt"), "[groundstations]\r\na= TOKYO \r\nB=\r\n3=Satellite\r\n");
  LoadGroundStationNames(names, dir.path());
  EXPECT_EQ(names[0], "TOKYO");
  EXPECT_EQ(names[1], "");
  EXPECT_EQ(names[2], "NOTO");
  EXPECT_EQ(names[27], "Satellite");
}

}  // namespace
