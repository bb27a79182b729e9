// The link, the ACARS item and the log import in the real program: a server
// among hostile peers, a block from the item's command, and the logs of a
// real run imported again.
#include <gtest/gtest.h>
#include <signal.h>

#include <QLabel>
#include <QLocalSocket>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <map>
#include <random>
#include <regex>

#include "acars_tx/acars_test_transmitter.h"
#include "app/main_window_fixture.h"
#include "exchange/peer_link_byte_mapping.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"
#include "platform/acars_item_server.h"
#include "platform/date_time.h"
#include "support/fake_audio_devices.h"

namespace {

using namespace testing_support;

std::string Today() { return platform::FormatDateCompact(platform::Now()); }

// A downlink of registration prefix + 4 digits of n, numbered by n.
std::string Block(const std::string& prefix, int n) {
  char id[16];
  std::snprintf(id, sizeof id, "%s%04dM0%dA", prefix.c_str(), n % 10000, n / 10000 % 10);
  const std::string s(id);
  return "+*\x16\x16\x01" "2" + s.substr(0, 7) + "\x15H11\x02" + s.substr(7) + "JL0012TEXT\x03";
}
std::string Wire(const std::string& block) { return PeerLinkEncodeText(block); }

int Count(const std::string& all, const std::string& part) {
  int n = 0;
  for (size_t at = all.find(part); at != std::string::npos; at = all.find(part, at + 1)) ++n;
  return n;
}

// A program folder whose skarvel runs offscreen without a sound card.
struct Folder {
  explicit Folder(const std::string& ini) {
    CopyProgramFolder(dir.path());
    WriteFile(dir.File("skarvel.ini"), ini);
    WriteFile(dir.File("empty-alsa.conf"), "");
  }
  std::vector<std::string> Env() const {
    return {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")};
  }
  std::string Log(const std::string& kind) const { return ReadFile(dir.File("logs/" + Today() + "_" + kind + ".log")); }
  TempDir dir;
};

TEST(AcarsItem, ValuesEndAtTheirNulWhateverTheWrites) {
  TempDir dir;
  std::vector<std::string> values;
  AcarsItemServer item(AcarsItemSocketPath(dir.path()), [&](const std::string& v) { values.push_back(v); });
  ASSERT_EQ(item.Listen(), AcarsItemServer::Start::Listening);
  AcarsItemServer second(AcarsItemSocketPath(dir.path()), [](const std::string&) {});
  EXPECT_EQ(second.Listen(), AcarsItemServer::Start::OwnedByAnotherCopy);
  const auto send = [&](const std::vector<std::string>& writes) {
    QLocalSocket s;
    s.connectToServer(QString::fromStdString(item.Path()));
    ASSERT_TRUE(s.waitForConnected(5000));
    for (const std::string& w : writes) {
      s.write(w.data(), static_cast<qint64>(w.size()));
      s.waitForBytesWritten(5000);
      PumpUntil([] { return false; }, 30);
    }
  };
  send({std::string("one\0two\0", 8)});
  send({"th", "re", std::string("e\0", 2)});
  send({"no end"});
  send({std::string(kMaxAcarsItemValue + 1, 'x'), std::string("\0next\0", 6)});
  ASSERT_TRUE(PumpUntil([&] { return values.size() >= 5; }));
  EXPECT_EQ(values, (std::vector<std::string>{"one", "two", "three", "no end", "next"}));
}

TEST(AcarsItem, TheCommandHandsABlockToTheCopyOfItsFolder) {
  Folder s("[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  const std::string send = s.dir.File("skarvel-acars-send");
  const std::string block = "+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST<ETX>";
  const ProcessResult alone = RunProgram(send, {block}, {}, 10000);
  EXPECT_EQ(alone.exitCode, 1);
  EXPECT_NE(alone.standardError.find("skarvel-ACARS-"), std::string::npos);
  EXPECT_EQ(RunProgram(send, {"--bad"}, {}, 10000).exitCode, 2);
  auto copy = StartProgram(s.dir.File("skarvel"), {}, s.Env());
  ASSERT_TRUE(PumpUntil([&] { return RunProgram(send, {block}, {}, 10000).exitCode == 0; }, 30000));
  ASSERT_TRUE(PumpUntil([&] { return s.Log("ACARS_RAW").find("[DDE]") != std::string::npos; }));
  EXPECT_NE(s.Log("ACARS_RAW").find(">" + block), std::string::npos);
  copy->Signal(SIGTERM);
  EXPECT_EQ(copy->Wait(30000).exitCode, 0);
}

// Each line with its tag and time stamp as one mark, and the tags seen.
std::string Bodies(const std::string& log, std::set<std::string>* tags = nullptr) {
  static const std::regex stamp(R"(^\[(\w+)\]\d{4}/\d\d/\d\d \d\d:\d\d:\d\d>)");
  std::string out;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (tags && std::regex_search(line, m, stamp)) tags->insert(m[1]);
    out += std::regex_replace(line, stamp, "[]") + "\n";
  }
  return out;
}

using LogImport = MainWindowTest;

TEST_F(LogImport, ReplaysARealRun) {
  CopyProgramFolder(dir_.path());
  const std::string ini = "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n[Wave]\r\nDual=2\r\nDecoderL=0\r\nDecoderR=1\r\n";
  WriteFile(dir_.File("skarvel.ini"), ini);
  WriteFile(dir_.File("empty-alsa.conf"), "");
  acars_tx::Options options;
  options.sampleRate = 44100;
  std::vector<acars_tx::Burst> bursts(3);
  for (int i = 0; i < 3; ++i) bursts[i].message.msgNo = "M0" + std::to_string(i + 1) + "A";
  ASSERT_TRUE(acars_tx::WriteWave(dir_.File("acars.wav"), acars_tx::Transmit(bursts, options)));
  std::vector<hfdl_tx::Burst> frames;
  for (const hfdl_tx::ScenarioFrame& f : hfdl_tx::AnalysisScenario()) frames.push_back({f.mode, f.octets, false});
  std::string error;
  ASSERT_TRUE(hfdl_tx::WriteWave(dir_.File("hfdl.wav"), {hfdl_tx::Render(frames, {})}, 11025, error)) << error;
  for (const char* wave : {"acars.wav", "hfdl.wav"}) {
    const ProcessResult run = RunProgram(dir_.File("skarvel"), {"--audio-file", dir_.File(wave), "--fast"},
                                         {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir_.File("empty-alsa.conf")},
                                         120000);
    ASSERT_EQ(run.exitCode, 0) << run.standardError;
  }
  const std::string raw = dir_.File("logs/" + Today() + "_ACARS_RAW.log");
  const std::string dat = dir_.File("logs/" + Today() + "_HFDL_DAT.log");
  const std::string rawRun = ReadFile(raw), datRun = ReadFile(dat);
  ASSERT_EQ(Count(rawRun, "<SOH>"), 4);  // three blocks, one carried by HFDL

  TForm1& w = Start(ini);
  for (const std::string& log : {raw, dat}) {
    w.ChooseImportPath = [&] { return log; };
    w.MenuItem(log == raw ? "N16" : "DATLOG1")->trigger();
    EXPECT_FALSE(w.MenuItem("DATLOG1")->isEnabled());
    EXPECT_FALSE(w.Image(2)->isEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !w.Link().Import().Running(); }, 30000));
  }
  std::set<std::string> rawTags, datTags;
  EXPECT_EQ(Bodies(ReadFile(dir_.File("logs/" + Today() + "_ACARS_RAW_c.log")), &rawTags), Bodies(rawRun));
  EXPECT_EQ(Bodies(ReadFile(dir_.File("logs/" + Today() + "_HFDL_DAT_c.log")), &datTags), Bodies(datRun));
  EXPECT_EQ(rawTags, std::set<std::string>{"RAW"});
  EXPECT_EQ(datTags, std::set<std::string>{"NET"});
  // The message the DAT import's frame carries: the RAW import is over.
  const std::string added = ReadFile(raw).substr(rawRun.size());
  EXPECT_EQ(Count(added, "[NET]"), 1) << added;
  EXPECT_TRUE(w.MenuItem("N16")->isEnabled());
  EXPECT_EQ(w.State().text.ImportPath(), "");
  Close();
}

// A peer of the test's own on the server's port, reading all it is sent.
struct Peer {
  explicit Peer(uint16_t port, bool reads = true) {
    if (!reads) {
      socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
      socket.setReadBufferSize(1);
    }
    socket.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(socket.waitForConnected(5000));
    if (reads) QObject::connect(&socket, &QTcpSocket::readyRead, [this] { got += socket.readAll().toStdString(); });
  }
  void Send(const std::string& bytes) { socket.write(bytes.data(), static_cast<qint64>(bytes.size())); }
  QTcpSocket socket;
  std::string got;
};

// A port the program takes (49152..65535) that no one holds, above the
// system's ephemeral ports.
uint16_t FreePort() {
  std::mt19937 rng(static_cast<unsigned>(::getpid()));
  for (;;) {
    const auto port = static_cast<uint16_t>(61000 + rng() % 4500);
    QTcpServer probe;
    if (probe.listen(QHostAddress::AnyIPv4, port)) return port;
  }
}

// The blocks of a RAW log tagged [NET], by registration and number.
std::map<std::string, int> NetBlocks(const std::string& log) {
  std::map<std::string, int> seen;
  std::istringstream lines(log);
  for (std::string l; std::getline(lines, l);) {
    const size_t at = l.find("<SOH>2."), stx = l.find("<STX>");
    if (l.rfind("[NET]", 0) == 0 && at != std::string::npos && stx != std::string::npos) {
      ++seen[l.substr(at + 7, 6) + l.substr(stx + 5, 4)];
    }
  }
  return seen;
}

TEST(LinkProgram, HostilePeers) {
  const uint16_t port = FreePort();
  Folder s("[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n[Net]\r\nServer=1\r\nServerDec=0\r\nMaxConnect=60\r\nServerPortNo=" +
           std::to_string(port) + "\r\n");
  auto server = StartProgram(s.dir.File("skarvel"), {}, s.Env());
  ASSERT_TRUE(PumpUntil([&] {
    QTcpSocket up;
    up.connectToHost(QHostAddress::LocalHost, port);
    return up.waitForConnected(1000);
  }, 20000));
  auto w = std::make_unique<Peer>(port);
  const std::string probe = "[LOOP]WWWWWWWWWWWWWWWWWWWWW\r\n";
  // W: a block every 30 ms and a probe every second, all through the run.
  int wSent = 0, tick = 0;
  QTimer wTimer;
  QObject::connect(&wTimer, &QTimer::timeout, [&] {
    if (wSent < 300) w->Send(Wire(Block(".JW", wSent++)));
    if (++tick % 33 == 0) w->Send(probe);
  });
  wTimer.start(30);
  Peer noise(port), halves(port), stalled(port, false), flood(port);
  std::mt19937 rng(7);
  std::string random(1 << 20, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  noise.Send(random);
  // 50 blocks, each in two halves 200 ms apart.
  int half = 0;
  QTimer halfTimer;
  QObject::connect(&halfTimer, &QTimer::timeout, [&] {
    const std::string b = Wire(Block(".JH", half / 2));
    if (half < 100) halves.Send(half % 2 ? b.substr(20) : b.substr(0, 20));
    ++half;
  });
  halfTimer.start(200);
  // 200 connections, one after another, each breaking a frame off.
  int broken = 0;
  QTimer brokenTimer;
  QObject::connect(&brokenTimer, &QTimer::timeout, [&] {
    if (broken >= 200) return;
    QTcpSocket b;
    b.connectToHost(QHostAddress::LocalHost, port);
    if (!b.waitForConnected(2000)) return;
    const std::string part = Wire(Block(".JX", broken++)).substr(0, 30);
    b.write(part.data(), static_cast<qint64>(part.size()));
    b.waitForBytesWritten(2000);
    b.abort();
  });
  brokenTimer.start(20);
  // 50 clients at once, 10 blocks each, then all gone together.
  {
    std::vector<std::unique_ptr<Peer>> many;
    for (int c = 0; c < 50; ++c) many.push_back(std::make_unique<Peer>(port));
    for (int c = 0; c < 50; ++c) {
      for (int k = 0; k < 10; ++k) many[c]->Send(Wire(Block(".JC", c * 10 + k)));
    }
    PumpUntil([] { return false; }, 1500);
    for (auto& p : many) p->socket.abort();
  }
  std::string flooded;
  for (int i = 0; i < 100000; ++i) flooded += Wire(Block(".JF", i));
  flood.Send(flooded);
  const int expected = 300 + 50 + 500 + 100000;
  QElapsedTimer sinceRead;
  sinceRead.start();
  std::string log;
  ASSERT_TRUE(PumpUntil([&] {
    if (sinceRead.elapsed() < 1000) return false;
    sinceRead.restart();
    log = s.Log("ACARS_RAW");
    return Count(log, "[NET]") >= expected && broken == 200 && half >= 100;
  }, 300000)) << Count(log, "[NET]");
  wTimer.stop();
  const std::map<std::string, int> seen = NetBlocks(log);
  EXPECT_EQ(seen.size(), static_cast<size_t>(expected));
  for (const auto& [block, times] : seen) EXPECT_EQ(times, 1) << block;
  EXPECT_EQ(Count(log, ".JX"), 0);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(Count(w->got, Wire(Block(".JW", i)) + "\x01\x01"), 1) << i;
  // Every slot is free again: 59 newcomers and W fill them all.
  for (Peer* hostile : {&noise, &halves, &stalled, &flood}) hostile->socket.abort();
  w->got.clear();
  PumpUntil([] { return false; }, 1000);
  std::vector<std::unique_ptr<Peer>> newcomers;
  for (int c = 0; c < 59; ++c) newcomers.push_back(std::make_unique<Peer>(port));
  PumpUntil([] { return false; }, 500);
  w->Send(Wire(Block(".JW", 300)) + probe);
  const std::string next = Wire(Block(".JW", 300));
  EXPECT_TRUE(PumpUntil([&] {
    for (auto& p : newcomers) {
      if (Count(p->got, next) != 1) return false;
    }
    return Count(w->got, probe) == 1;
  }, 20000));
  server->Signal(SIGTERM);
  EXPECT_EQ(server->Wait(60000).exitCode, 0);
}

}  // namespace
