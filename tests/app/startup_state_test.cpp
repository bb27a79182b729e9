// The start state that touches no widget: what the user then sees of the
// settings, the paths, the link, the language and the status lamps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/form1_state.h"
#include "app/ground_names.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/status_indicators.h"
#include "exchange/peer_link.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

class Startup : public ::testing::Test {
 protected:
  Form1State& Construct(const std::string& settings, const std::string& folder = "") {
    IniFile ini;
    ini.LoadFromBytes(settings);
    f_ = std::make_unique<Form1State>();
    ConstructForm1State(*f_, folder.empty() ? dir_.path() : folder, ini);
    return *f_;
  }
  TempDir dir_;
  std::unique_ptr<Form1State> f_;
};

TEST_F(Startup, AFirstStartAsksTheLanguageAndNamesTheDaysLogs) {
  testing_support::FixedClock clock(platform::EncodeDateTime(2026, 12, 6, 14, 3, 7));
  Form1State& f = Construct("");
  EXPECT_EQ(f.app.Running, 1);
  EXPECT_EQ(f.controls.Caption, "Skarvel");
  EXPECT_EQ(f.text.LogPath(kHfdlDat), dir_.path() + "/logs/20261206_HFDL_DAT.log");
  EXPECT_TRUE(LanguageDialogNeeded(f));
  EXPECT_EQ(ServerCaption(0, 10, "49505"), "Skarvel(Server 0/10 PortNo 49505)");
}

TEST_F(Startup, AServerThatDoesNotDecodeParksItsChannelModeUntilTheSave) {
  Form1State& f = Construct("[Net]\nTcpIp=1\nServer=1\nServerDec=0\n[Wave]\nDual=2\n");
  EXPECT_EQ(f.Wave.WaveDual, 0);
  EXPECT_EQ(f.app.SavedWaveDual, 2);
  EXPECT_EQ(f.controls.Caption, "Skarvel");  // no link given: no server opens
  BeginClose(f);
  EXPECT_EQ(f.app.Running, 0);
  IniFile out;
  SaveSettings(f, out);
  EXPECT_EQ(*out.Read("Wave", "Dual"), "2");
}

// The constructor builds on the loaded values as they were bounded: the
// keep-alive timer, the client slots, the side view's buttons.
TEST_F(Startup, TimersSlotsAndButtonsFollowTheLoadedSettings) {
  struct Case {
    const char* file;
    int interval;
    size_t clients;
    int down9, down10, down11;
  };
  const Case cases[] = {
      {"[Net]\nLoopBackInterval=-5\n[Map]\nHideText=1\nSubDisptype=1\n", 1000, 10, 0, 0, 0},
      {"[Net]\nLoopBackInterval=0\n[Map]\nSubDisptype=7\n", 0, 10, 1, 0, 0},
      {"[Net]\nMaxConnect=0\n[Map]\nSubDisptype=2\n", 30000, 1, 0, 0, 1},
      {"[Net]\nMaxConnect=5000\n[Map]\nSubDisptype=1\n", 30000, 10, 0, 1, 0},
  };
  for (const Case& c : cases) {
    Form1State& f = Construct(c.file);
    EXPECT_EQ(f.controls.Timer3Interval, c.interval) << c.file;
    EXPECT_EQ(f.exchange.PeerClients.Slots.size(), c.clients) << c.file;
    EXPECT_EQ(f.controls.Timer3Enabled, 0) << c.file;  // no server opens here
    EXPECT_EQ(f.controls.SpeedButton9Down, c.down9) << c.file;
    EXPECT_EQ(f.controls.SpeedButton10Down, c.down10) << c.file;
    EXPECT_EQ(f.controls.SpeedButton11Down, c.down11) << c.file;
  }
  for (const char* file : {"[MAP]\nShowRegNo=1\n", "[MAP]\nShowRegNo=0\n"}) {
    Form1State& f = Construct(file);
    EXPECT_NE(f.controls.N24Checked, f.controls.N25Checked) << file;
  }
}

// The map-file menu lists what the lines folder holds.
TEST_F(Startup, TheMapFileMenuListsDatThenOutThenMapFiles) {
  ::mkdir(dir_.File("lines").c_str(), 0777);
  for (const char* name : {"b.map", "a.out", "z.dat", "c.dat", "D.DAT"}) {
    testing_support::WriteFile(dir_.File(std::string("lines/") + name), "");
  }
  ::mkdir(dir_.File("lines/x.dat").c_str(), 0777);
  // Names match as the file system spells them: D.DAT is no ".dat" file.
  EXPECT_EQ(Construct("[Map]\nMapNo=9\n").controls.MapFileMenu,
            (std::vector<std::string>{"c.dat", "z.dat", "a.out", "b.map"}));
  EXPECT_EQ(f_->Map.MapNo, 0);
  EXPECT_EQ(Construct("[Map]\nMapNo=2\n").mapView.MapFileName, dir_.path() + "/lines/a.out");
  TempDir empty;
  EXPECT_TRUE(Construct("[Map]\nMapNo=2\n", empty.path()).controls.MapFileMenu.empty());
  EXPECT_EQ(f_->Map.MapNo, 0);
  EXPECT_EQ(f_->mapView.MapFileName, "");
}

TEST(GroundNames, TheFileOverridesCaseInsensitivelyAndEmptyStaysEmpty) {
  TempDir dir;
  std::array<std::string, 28> names;
  ::mkdir(dir.File("data").c_str(), 0777);
  testing_support::WriteFile(dir.File("data/ground.txt"), "[groundstations]\r\na= TOKYO \r\nB=\r\n3=Satellite\r\n");
  LoadGroundStationNames(names, dir.path());
  EXPECT_EQ(names[0], "TOKYO");
  EXPECT_EQ(names[1], "");
  EXPECT_EQ(names[2], "NOTO");
  EXPECT_EQ(names[27], "Satellite");
}

TEST(StatusIndicators, TheLampsShownFollowTheChannelModeAndTheLink) {
  struct Case {
    int netConnected, server, serverDec, waveDual;
    int panel1, panel3, panel5;  // 1 shown, 0 hidden, -1 left as it is
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0, 0, -1},  // a linked server that does not decode
      {1, 0, 1, 1, 1, 0, 1},  {1, 0, 1, 2, 1, 1, 1}, {0, 0, 1, 1, -1, 0, 0}, {0, 0, 1, 2, -1, 1, 0},
  };
  for (const Case& c : cases) {
    Form1State f;
    f.exchange.NetConnected = c.netConnected;
    f.Net.Server = c.server;
    f.Net.ServerDec = c.serverDec;
    f.Wave.WaveDual = c.waveDual;
    const IndicatorPlacement p = ArrangeStatusIndicators(f, 1000);
    EXPECT_EQ(p.panel1Visible, c.panel1) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel3Visible, c.panel3) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel5Visible, c.panel5) << c.netConnected << c.waveDual;
  }
}

}  // namespace
