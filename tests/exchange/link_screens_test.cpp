// Two real copies linked on loopback, driven as a user drives them on a
// display (xvfb-run): a server S and a client C that decodes a recording,
// with a test peer T on S's port.
#include <gtest/gtest.h>
#include <signal.h>

#include <QTcpSocket>
#include <random>
#include <regex>
#include <iterator>
#include <sstream>

#include "acars_tx/acars_test_transmitter.h"
#include "exchange/peer_link_byte_mapping.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"
#include "platform/date_time.h"
#include "support/fake_audio_devices.h"
#include "support/fake_link.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

std::string Xdo(const std::vector<std::string>& args) { return RunProgram("xdotool", args, {}, 10000).standardOutput; }

// The visible windows of a copy whose names match.
std::vector<std::string> Windows(const RunningProgram& copy, const std::string& name) {
  std::istringstream ids(Xdo({"search", "--all", "--onlyvisible", "--pid", std::to_string(copy.Pid()), "--name", name}));
  return {std::istream_iterator<std::string>(ids), std::istream_iterator<std::string>()};
}

bool Shows(const RunningProgram& copy, const std::string& name, int ms = 20000) {
  return PumpUntil([&] { return !Windows(copy, name).empty(); }, ms);
}

void Press(const std::string& window, const std::string& key) {
  Xdo({"windowfocus", "--sync", window});
  Xdo({"key", key});
}

// A copy's main window, once the boxes of a start without a sound card
// (named "Skarvel" too, and narrower) are answered; they open one after
// the other once it shows.
std::string MainWindowOf(const RunningProgram& copy) {
  std::string main;
  const auto boxes = [&] {
    std::vector<std::string> found;
    for (const std::string& w : Windows(copy, "^Skarvel")) {
      (Xdo({"getwindowgeometry", "--shell", w}).find("WIDTH=990") != std::string::npos ? main : found.emplace_back()) = w;
    }
    return found;
  };
  PumpUntil([&] { return boxes(), !main.empty(); });
  for (int quiet = 0; quiet < 3;) {
    PumpUntil([] { return false; }, 500);
    const std::vector<std::string> open = boxes();
    quiet = open.empty() ? quiet + 1 : 0;
    for (const std::string& box : open) Press(box, "Return");
  }
  return main;
}

// The lines of a log with their time stamps taken out.
std::string Unstamped(const std::string& log) {
  static const std::regex stamp(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
  return std::regex_replace(log, stamp, "");
}

// 20 s of noise, then two ACARS blocks on the left and, on the right, a
// squitter and an MPDU carrying an ACARS message.
void WriteRecording(const std::string& path) {
  acars_tx::Options a;
  a.sampleRate = 44100;
  std::vector<acars_tx::Burst> blocks(2);
  blocks[0].message.registration = "JA1234";
  blocks[1].message.registration = "JA5678";
  const std::vector<double> acars = acars_tx::Transmit(blocks, a).samples;
  hfdl_tx::SignalOptions h;
  h.sampleRate = 44100;
  const std::vector<double> hfdl =
      hfdl_tx::Render({{0, hfdl_tx::ScenarioSquitter().octets, false}, {3, hfdl_tx::ScenarioAcars().octets, false}}, h);
  std::mt19937 rng(3);
  std::normal_distribution<double> noise(0.0, 100.0);
  const size_t lead = 20 * 44100, length = lead + std::max(acars.size(), hfdl.size());
  std::vector<std::vector<double>> channels(2, std::vector<double>(length));
  for (size_t i = 0; i < 2 * length; ++i) channels[i % 2][i / 2] = noise(rng);
  for (size_t i = 0; i < acars.size(); ++i) channels[0][lead + i] += 32767.0 * acars[i];
  for (size_t i = 0; i < hfdl.size(); ++i) channels[1][lead + i] += hfdl[i];
  std::string error;
  ASSERT_TRUE(hfdl_tx::WriteWave(path, channels, 44100, error)) << error;
}

TEST(LinkProgram, TwoCopiesOnLoopback) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "needs a display: run it under xvfb-run";
  const std::string port = std::to_string(FreeLinkPort());
  const std::string both = "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n[Net]\r\nChat=1\r\n";
  TempDir s, c;
  for (const TempDir* d : {&s, &c}) {
    CopyProgramFolder(d->path());
    WriteFile(d->File("empty-alsa.conf"), "");
  }
  WriteFile(s.File("skarvel.ini"), both + "Server=1\r\nServerDec=0\r\nServerPortNo=" + port + "\r\n");
  WriteFile(c.File("skarvel.ini"), both + "Server=0\r\nServerName=127.0.0.1\r\nClientPortNo=" + port +
                                       "\r\nName=CLIENTA\r\nLoopBackInterval=2\r\nTimer=3\r\n"
                                       "[Wave]\r\nDual=2\r\nDecoderL=0\r\nDecoderR=1\r\n");
  WriteRecording(c.File("recording.wav"));
  const auto start = [](const TempDir& d, std::vector<std::string> args = {}) {
    return StartProgram(d.File("skarvel"), args, {"QT_QPA_PLATFORM=xcb", "ALSA_CONFIG_PATH=" + d.File("empty-alsa.conf")});
  };
  auto server = start(s);
  MainWindowOf(*server);
  QTcpSocket t;
  std::string got;
  QObject::connect(&t, &QTcpSocket::readyRead, [&] { got += t.readAll().toStdString(); });
  ASSERT_TRUE(PumpUntil([&] {
    t.connectToHost(QHostAddress::LocalHost, static_cast<uint16_t>(std::stoi(port)));
    return t.waitForConnected(1000);
  }));
  auto client = start(c, {"--audio-file", c.File("recording.wav")});
  const std::string main = MainWindowOf(*client);
  ASSERT_FALSE(main.empty());
  Xdo({"mousemove", "--window", main, "855", "15", "click", "1"});
  ASSERT_TRUE(Shows(*client, "^IP connection$"));
  Press(Windows(*client, "^IP connection$")[0], "Return");
  ASSERT_TRUE(Shows(*server, "^Skarvel\\(Server 2/10 PortNo " + port + "\\)$", 15000));
  MainWindowOf(*client);  // "Connected", answered

  // What C decodes comes back from S to both, each once.
  const std::string today = platform::FormatDateCompact(platform::Now());
  const auto log = [&](const TempDir& d, const char* kind) { return ReadFile(d.File("logs/" + today + kind)); };
  ASSERT_TRUE(PumpUntil([&] {
    return CountOf(log(c, "_ACARS_RAW.log"), "[NET]") == 3 && CountOf(log(c, "_HFDL_DAT.log"), "[NET]") == 2;
  }, 60000)) << log(c, "_ACARS_RAW.log");
  PumpUntil([] { return false; }, 1000);  // T reads what S sent it meanwhile
  for (const char* kind : {"_ACARS_RAW.log", "_HFDL_DAT.log"}) {
    EXPECT_EQ(Unstamped(log(s, kind)), Unstamped(log(c, kind))) << kind;
    EXPECT_EQ(CountOf(log(c, kind), "ch]"), 0) << kind;
  }
  for (const char* registration : {"JA1234", "JA5678"}) {
    acars_tx::Message m;
    m.registration = registration;
    EXPECT_EQ(CountOf(got, PeerLinkEncodeText(acars_tx::BlockCharacters(m)) + "\x01\x01"), 1) << registration;
  }
  EXPECT_EQ(CountOf(got, std::string("HFDL\x01", 5)), 2);
  EXPECT_TRUE(std::regex_search(got, std::regex("\\[LOOP\\][A-Y]{20}CLIENTA\r\n")));

  // Chat: T's line opens both chat windows; C answers.
  const std::string hello = PeerLinkEncodeText("[CHAT]TESTER>hello\x03");
  t.write(hello.data(), static_cast<qint64>(hello.size()));
  ASSERT_TRUE(Shows(*server, "^Chat window$"));
  ASSERT_TRUE(Shows(*client, "^Chat window$"));
  Xdo({"windowfocus", "--sync", Windows(*client, "^Chat window$")[0]});
  Xdo({"type", "hi from C"});
  Xdo({"key", "Return"});
  const std::string answer = PeerLinkEncodeText("[CHAT]CLIENTA>hi from C\x03");
  EXPECT_TRUE(PumpUntil([&] { return CountOf(got, answer) == 1; }));

  // S goes: C counts down, tries, and counts down again while S is away.
  server->Signal(SIGTERM);
  EXPECT_EQ(server->Wait(30000).exitCode, 0);
  ASSERT_TRUE(Shows(*client, "^Reconnect$"));
  PumpUntil([] { return false; }, 5000);
  EXPECT_FALSE(Windows(*client, "^Reconnect$").empty());
  server = start(s);
  MainWindowOf(*server);
  EXPECT_TRUE(Shows(*server, "^Skarvel\\(Server 1/10 PortNo " + port + "\\)$", 15000));
  EXPECT_TRUE(Windows(*client, "^Reconnect$").empty());
  EXPECT_EQ(Windows(*client, "^Skarvel$").size(), 1u);
  for (RunningProgram* copy : {server.get(), client.get()}) {
    copy->Signal(SIGTERM);
    EXPECT_EQ(copy->Wait(30000).exitCode, 0);
  }
  EXPECT_NE(ReadFile(c.File("skarvel.ini")).find("MaxConnect="), std::string::npos);
  EXPECT_NE(ReadFile(s.File("skarvel.ini")).find("MaxConnect="), std::string::npos);
}

}  // namespace
