// The link and the ACARS item in the real program: a server among hostile
// peers, a client's keep-alive on a link that died, and blocks handed over
// by the item's command.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "support/main_window_fixture.h"
#include "exchange/peer_link_byte_mapping.h"
#include "platform/acars_item_server.h"
#include "platform/date_time.h"
#include "support/fake_audio_devices.h"
#include "support/fake_link.h"

namespace {

using namespace testing_support;

std::string Today() { return platform::FormatDateCompact(platform::Now()); }

std::string Wire(const std::string& block) { return PeerLinkEncodeText(block); }

// A program folder whose skarvel runs offscreen without a sound card.
std::vector<std::string> Prepare(const TempDir& dir, const std::string& ini) {
  CopyProgramFolder(dir.path());
  WriteFile(dir.File("skarvel.ini"), ini);
  WriteFile(dir.File("empty-alsa.conf"), "");
  return {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")};
}
std::string Log(const TempDir& dir, const std::string& kind) {
  return ReadFile(dir.File("logs/" + Today() + "_" + kind + ".log"));
}
// A copy serving the link on port, once it takes connections.
std::unique_ptr<RunningProgram> StartServer(const TempDir& dir, uint16_t port, const std::string& more = "") {
  const std::string ini = "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n[Net]\r\nServer=1\r\nServerPortNo=";
  auto server = StartProgram(dir.File("skarvel"), {}, Prepare(dir, ini + std::to_string(port) + "\r\n" + more));
  EXPECT_TRUE(PumpUntil([&] {
    QTcpSocket up;
    up.connectToHost(QHostAddress::LocalHost, port);
    return up.waitForConnected(1000);
  }, 20000));
  return server;
}

// The blocks of a RAW log with a tag ("[NET]"), each once.
std::set<std::string> TaggedBlocks(const std::string& log, const std::string& tag) {
  std::set<std::string> seen;
  std::istringstream lines(log);
  for (std::string l; std::getline(lines, l);) {
    if (l.rfind(tag, 0) == 0) seen.insert(l.substr(l.find('>')));
  }
  return seen;
}

TEST(AcarsItem, TheCommandHandsABlockToTheCopyOfItsFolder) {
  TempDir s;
  const std::vector<std::string> env = Prepare(s, "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n");
  const std::string send = s.File("skarvel-acars-send");
  const std::string block = "+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST<ETX>";
  const ProcessResult alone = RunProgram(send, {block}, {}, 10000);
  EXPECT_EQ(alone.exitCode, 1);
  EXPECT_NE(alone.standardError.find("skarvel-ACARS-"), std::string::npos);
  EXPECT_EQ(RunProgram(send, {"--bad"}, {}, 10000).exitCode, 2);
  auto copy = StartProgram(s.File("skarvel"), {}, env);
  ASSERT_TRUE(PumpUntil([&] { return RunProgram(send, {"no block"}, {}, 10000).exitCode == 0; }, 30000));
  // A second copy of the folder runs without the item, says that it will
  // not save its settings, and leaves them to the first, which keeps the item.
  const std::string settings = ReadFile(s.File("skarvel.ini"));
  auto second = StartProgram(s.File("skarvel"), {}, env);
  PumpUntil([] { return false; }, 3000);
  second->Signal(SIGTERM);
  const ProcessResult secondRun = second->Wait(30000);
  EXPECT_EQ(secondRun.exitCode, 0);
  EXPECT_NE(secondRun.standardError.find("runs without it"), std::string::npos);
  EXPECT_NE(secondRun.standardError.find("the settings of this one will not be saved"), std::string::npos);
  EXPECT_EQ(ReadFile(s.File("skarvel.ini")), settings);
  EXPECT_EQ(RunProgram(send, {block}, {}, 10000).exitCode, 0);
  ASSERT_TRUE(PumpUntil([&] { return Log(s, "ACARS_RAW").find("[DDE]") != std::string::npos; }));
  EXPECT_NE(Log(s, "ACARS_RAW").find(">" + block), std::string::npos);
  copy->Signal(SIGTERM);
  EXPECT_EQ(copy->Wait(30000).exitCode, 0);
  EXPECT_NE(ReadFile(s.File("skarvel.ini")).find("[Map]\r\n"), std::string::npos);
}

// The command against a copy played by the test: one that takes each block
// slowly, then one that goes away in the middle of a hand-over.
TEST(AcarsItem, ALargeHandOverIsReadInTurnsAndTheCommandSaysWhenTheCopyStops) {
  TempDir s;
  CopyProgramFolder(s.path());
  const auto send = [&](const std::string& values) {
    WriteFile(s.File("values"), values);
    return StartProgram("/bin/sh", {"-c", s.File("skarvel-acars-send") + " --wire < " + s.File("values")}, {});
  };
  const auto finish = [](RunningProgram& p) {
    EXPECT_TRUE(PumpUntil([&] { return p.Pid() == 0; }, 30000));
    return p.Wait(1000);
  };
  std::string values;
  std::vector<std::string> expected;
  for (int i = 0; i < 1000; ++i) {
    expected.push_back("value " + std::to_string(i) + std::string(90, 'x'));
    values += expected.back() + '\0';
  }
  // The tick comes once a turn of the event loop: the values between two
  // ticks were handed on in one turn.
  int turn = 0;
  QTimer ticks;
  QObject::connect(&ticks, &QTimer::timeout, [&] { ++turn; });
  ticks.start(0);
  std::vector<std::string> got;
  std::map<int, int> perTurn;
  {
    AcarsItemServer copy(AcarsItemSocketPath(s.path()), [&](const std::string& v) {
      got.push_back(v);
      ++perTurn[turn];
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    ASSERT_EQ(copy.Listen(), AcarsItemServer::Start::Listening);
    auto sender = send(values);
    EXPECT_EQ(finish(*sender).exitCode, 0);
    ASSERT_TRUE(PumpUntil([&] { return got.size() >= expected.size(); }, 30000));
  }
  EXPECT_EQ(got, expected);
  int most = 0;
  for (const auto& [t, n] : perTurn) most = std::max(most, n);
  EXPECT_LT(most, 100);

  // A copy that closes halfway has stopped taking blocks: it did run.
  QLocalServer gone;
  QLocalServer::removeServer(QString::fromStdString(AcarsItemSocketPath(s.path())));
  ASSERT_TRUE(gone.listen(QString::fromStdString(AcarsItemSocketPath(s.path()))));
  QObject::connect(&gone, &QLocalServer::newConnection, [&] {
    QLocalSocket* c = gone.nextPendingConnection();
    QObject::connect(c, &QLocalSocket::readyRead, c, [c] { c->readAll(), c->abort(); });
  });
  std::string many;
  while (many.size() < (4u << 20)) many += values;
  auto sender = send(many);
  const ProcessResult stopped = finish(*sender);
  EXPECT_EQ(stopped.exitCode, 3);
  EXPECT_NE(stopped.standardError.find("stopped taking blocks"), std::string::npos) << stopped.standardError;
}

// A copy closed as soon as the command says its blocks were handed over
// works through all of them before it ends.
TEST(AcarsItem, ACopyThatClosesLogsEveryBlockTheCommandHandedOver) {
  TempDir s;
  auto copy = StartProgram(s.File("skarvel"), {}, Prepare(s, "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n"));
  const std::string send = s.File("skarvel-acars-send");
  ASSERT_TRUE(PumpUntil([&] { return RunProgram(send, {"--wire"}, {}, 10000, std::string()).exitCode == 0; }, 30000));
  constexpr int kBlocks = 20000;
  std::string values;
  for (int i = 0; i < kBlocks; ++i) values += Wire(LinkBlock(".JD", i)) + '\0';
  ASSERT_EQ(RunProgram(send, {"--wire"}, {}, 30000, values).exitCode, 0);
  copy->Signal(SIGTERM);
  EXPECT_EQ(copy->Wait(60000).exitCode, 0);
  const std::string log = Log(s, "ACARS_RAW");
  EXPECT_EQ(CountOf(log, "[DDE]"), kBlocks);
  EXPECT_EQ(TaggedBlocks(log, "[DDE]").size(), static_cast<size_t>(kBlocks));
}

// How much of one write to a local socket whose reader reads nothing the
// system takes at once.
size_t SystemTakesOfOneWrite(const std::string& bytes) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 0;
  const ssize_t n = ::send(pair[0], bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
  ::close(pair[0]);
  ::close(pair[1]);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

// A copy stopped while the command writes gets only what the system took
// of the command's first write, which here ends right after a block's last
// byte, before its NUL. The copy then reads it all only as it closes:
// while commands still wait (so cutting them off), behind another's
// hand-over that keeps it at work for longer than a command waits for a
// copy that takes nothing; or once the command has given up and gone.
// Either way it logs as many blocks as each command says it handed over,
// and a command cut off learns so at once. The input is wire text whose
// last block has no NUL: it is one of the blocks all the same.
TEST(AcarsItem, ACopyStoppedInAHandOverLogsAsManyBlocksAsTheCommandSaysItHandedOver) {
  constexpr int kBlocks = 3000;
  // The first three blocks longer by pad in all, each below the longest.
  const auto blocks = [](const std::string& prefix, size_t pad) {
    std::string values;
    for (int i = 0; i < kBlocks; ++i) {
      const size_t longer = i < 3 ? pad / 3 + (static_cast<size_t>(i) < pad % 3) : 0;
      values += Wire(LinkBlock(prefix, i, std::string(200 + longer, 'T'))) + '\0';
    }
    values.pop_back();
    return values;
  };
  const size_t taken = SystemTakesOfOneWrite(blocks(".JS", 0));
  ASSERT_TRUE(taken > 0 && taken < blocks(".JS", 0).size() / 2) << taken;
  // The k-th NUL lies at k * size + pad - 1: at the byte after the cut.
  const size_t size = (blocks(".JS", 0).size() + 1) / kBlocks;
  const size_t pad = (taken + 1) % size;
  const int k = static_cast<int>((taken + 1 - pad) / size);
  ASSERT_EQ(blocks(".JS", pad)[taken], '\0');
  ASSERT_NE(blocks(".JS", pad)[taken - 1], '\0');
  for (const bool closedWhileTheyWait : {true, false}) {
    SCOPED_TRACE(closedWhileTheyWait ? "closed while the commands wait" : "closed once the command has gone");
    TempDir s;
    auto copy = StartProgram(s.File("skarvel"), {}, Prepare(s, "[Etc]\r\nLanguage=1\r\n[Txt]\r\nLog=1\r\n"));
    const std::string send = s.File("skarvel-acars-send");
    ASSERT_TRUE(PumpUntil([&] { return RunProgram(send, {"--wire"}, {}, 10000, std::string()).exitCode == 0; }, 30000));
    constexpr int kAhead = 30000;
    if (closedWhileTheyWait) {
      std::string ahead;
      for (int i = 0; i < kAhead; ++i) ahead += Wire(LinkBlock(".JC", i)) + '\0';
      ASSERT_EQ(RunProgram(send, {"--wire"}, {}, 60000, ahead).exitCode, 0);
    }
    copy->Signal(SIGSTOP);
    const std::vector<std::string> prefixes =
        closedWhileTheyWait ? std::vector<std::string>{".JS", ".JT", ".JU"} : std::vector<std::string>{".JS"};
    std::vector<std::unique_ptr<RunningProgram>> senders;
    for (const std::string& prefix : prefixes) {
      WriteFile(s.File("values" + prefix), blocks(prefix, pad));
      senders.push_back(StartProgram("/bin/sh", {"-c", send + " --wire < " + s.File("values" + prefix)}, {}));
    }
    const auto allReturned = [&] {
      return std::all_of(senders.begin(), senders.end(), [](auto& sender) { return sender->Pid() == 0; });
    };
    PumpUntil([&] { return !closedWhileTheyWait && allReturned(); }, closedWhileTheyWait ? 2000 : 30000);
    copy->Signal(SIGTERM);
    copy->Signal(SIGCONT);
    EXPECT_TRUE(PumpUntil(allReturned, 30000));
    if (closedWhileTheyWait) {
      EXPECT_NE(copy->Pid(), 0) << "the commands returned only as the copy ended";
    }
    EXPECT_EQ(copy->Wait(90000).exitCode, 0);
    const std::string log = Log(s, "ACARS_RAW");
    EXPECT_EQ(TaggedBlocks(log, "[DDE]").size(), static_cast<size_t>(CountOf(log, "[DDE]")));
    if (closedWhileTheyWait) {
      EXPECT_EQ(CountOf(log, ".JC"), kAhead);
    }
    const int handed = closedWhileTheyWait ? k - 1 : k;
    for (size_t i = 0; i < senders.size(); ++i) {
      SCOPED_TRACE(prefixes[i]);
      const ProcessResult sent = senders[i]->Wait(1000);
      EXPECT_EQ(sent.exitCode, 3);
      const std::string said = "(" + std::to_string(handed) + " of " + std::to_string(kBlocks) + " handed over)";
      EXPECT_NE(sent.standardError.find(said), std::string::npos) << sent.standardError;
      EXPECT_EQ(CountOf(log, prefixes[i]), handed);
    }
  }
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

TEST(LinkProgram, HostilePeers) {
  const uint16_t port = FreeLinkPort();
  TempDir s;
  auto server = StartServer(s, port, "ServerDec=0\r\nMaxConnect=60\r\n");
  auto w = std::make_unique<Peer>(port);
  const std::string probe = "[LOOP]WWWWWWWWWWWWWWWWWWWWW\r\n";
  Peer noise(port), halves(port), stalled(port, false), flood(port);
  std::mt19937 rng(7);
  std::string random(1 << 20, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  noise.Send(random);
  // Every 20 ms all through the run: W's next block (and each second a
  // probe); the next half of 50 blocks, halves 200 ms apart; the next of
  // 200 connections, one after another, that each break a frame off.
  int tick = 0, wSent = 0, half = 0, broken = 0;
  QTimer every;
  QObject::connect(&every, &QTimer::timeout, [&] {
    if (++tick % 2 == 0 && wSent < 300) w->Send(Wire(LinkBlock(".JW", wSent++)));
    if (tick % 50 == 0) w->Send(probe);
    if (tick % 10 == 0 && half < 100) {
      const std::string b = Wire(LinkBlock(".JH", half / 2));
      halves.Send(half++ % 2 ? b.substr(20) : b.substr(0, 20));
    }
    if (broken >= 200) return;
    QTcpSocket b;
    b.connectToHost(QHostAddress::LocalHost, port);
    b.waitForConnected(2000);
    b.write(Wire(LinkBlock(".JX", broken++)).substr(0, 30).c_str());
    b.waitForBytesWritten(2000);
    b.abort();
  });
  every.start(20);
  // 50 clients at once, 10 blocks each, then all gone together.
  {
    std::vector<std::unique_ptr<Peer>> many;
    for (int c = 0; c < 50; ++c) many.push_back(std::make_unique<Peer>(port));
    for (int k = 0; k < 500; ++k) many[k / 10]->Send(Wire(LinkBlock(".JC", k)));
    PumpUntil([] { return false; }, 1500);
    for (auto& p : many) p->socket.abort();
  }
  std::string flooded;
  for (int i = 0; i < 100000; ++i) flooded += Wire(LinkBlock(".JF", i));
  flood.Send(flooded);
  const int expected = 300 + 50 + 500 + 100000;
  std::string log;
  ASSERT_TRUE(PumpUntil([&] {
    PumpUntil([] { return false; }, 1000);  // the log is long: read it now and then
    log = Log(s, "ACARS_RAW");
    return CountOf(log, "[NET]") >= expected && broken == 200 && half >= 100;
  }, 300000)) << CountOf(log, "[NET]");
  every.stop();
  EXPECT_EQ(TaggedBlocks(log, "[NET]").size(), static_cast<size_t>(expected));
  EXPECT_EQ(CountOf(log, "[NET]"), expected);
  EXPECT_EQ(CountOf(log, ".JX"), 0);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(CountOf(w->got, Wire(LinkBlock(".JW", i)) + "\x01\x01"), 1) << i;
  // Every slot is free again: 59 newcomers and W fill them all.
  for (Peer* hostile : {&noise, &halves, &stalled, &flood}) hostile->socket.abort();
  w->got.clear();
  PumpUntil([] { return false; }, 1000);
  std::vector<std::unique_ptr<Peer>> newcomers;
  for (int c = 0; c < 59; ++c) newcomers.push_back(std::make_unique<Peer>(port));
  PumpUntil([] { return false; }, 500);
  // W's probe of every second may still be coming back when the long wait
  // ends (a busy server answers it late) and arrive after the clear: this
  // one differs from it, so that one copy is this probe relayed once.
  const std::string lastProbe = "[LOOP]VVVVVVVVVVVVVVVVVVVVW\r\n";
  w->Send(Wire(LinkBlock(".JW", 300)) + lastProbe);
  const std::string next = Wire(LinkBlock(".JW", 300));
  EXPECT_TRUE(PumpUntil([&] {
    return CountOf(w->got, lastProbe) == 1 &&
           std::all_of(newcomers.begin(), newcomers.end(), [&](auto& p) { return CountOf(p->got, next) == 1; });
  }, 20000));
  server->Signal(SIGTERM);
  EXPECT_EQ(server->Wait(60000).exitCode, 0);
}

// Between a client and the server: passes bytes both ways until told to
// swallow them, as a link that died without a word does; connections that
// come later pass again.
class Proxy {
 public:
  Proxy() {
    listener_.listen(QHostAddress::LocalHost, port = FreeLinkPort());
    QObject::connect(&listener_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* in = listener_.nextPendingConnection()) {
        auto* out = new QTcpSocket(in);
        out->connectToHost(QHostAddress::LocalHost, serverPort);
        const size_t n = toClient.size();
        toClient.emplace_back();
        dead.push_back(false);
        QObject::connect(in, &QTcpSocket::readyRead, [this, in, out, n] {
          const QByteArray bytes = in->readAll();
          if (!dead[n]) out->write(bytes);
        });
        QObject::connect(out, &QTcpSocket::readyRead, [this, in, out, n] {
          const QByteArray bytes = out->readAll();
          if (dead[n]) return;
          in->write(bytes);
          toClient[n] += bytes.toStdString();
        });
      }
    });
  }
  void KillLinks() { dead.assign(dead.size(), true); }
  uint16_t port = 0, serverPort = 0;
  std::vector<std::string> toClient;  // per connection, as it came
  std::vector<bool> dead;

 private:
  QTcpServer listener_;
};

using KeepAlive = MainWindowTest;

// Every command refreshes the main window's buttons; the keep-alive must
// tick on regardless, or a dead link is never found while the user works.
TEST_F(KeepAlive, AClientFindsADeadLinkWhileTheUserClicksAndReconnects) {
  TempDir s;
  Proxy proxy;  // its port first: the server's is another
  auto server = StartServer(s, proxy.serverPort = FreeLinkPort());
  constexpr int kIntervalMs = 1000;
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Net]\r\nServer=0\r\nServerName=127.0.0.1\r\nName=BUSY\r\n"
                    "LoopBackInterval=1\r\nClientPortNo=" + std::to_string(proxy.port) + "\r\n");
  ModalCloser modals;
  modals.inspect = [&](QWidget&) { w.State().exchange.ConnectRequested = 1; };
  w.SpeedButton(1)->click();
  const auto answered = [&](size_t connection) {
    return proxy.toClient.size() > connection && CountOf(proxy.toClient[connection], "BUSY\r\n") > 0;
  };
  ASSERT_TRUE(PumpUntil([&] { return answered(0); }, 10000));

  proxy.KillLinks();
  QTimer clicks;
  QObject::connect(&clicks, &QTimer::timeout, [&] { w.MenuItem("N11")->trigger(); });
  clicks.start(kIntervalMs / 4);
  // A probe at the next tick, found unanswered at the one after (and a
  // second to spare on a busy machine); then a new connection.
  EXPECT_TRUE(PumpUntil([&] { return proxy.toClient.size() == 2; }, 2 * kIntervalMs + 1000));
  EXPECT_TRUE(PumpUntil([&] { return answered(1); }, 3 * kIntervalMs));
  EXPECT_TRUE(w.SpeedButton(1)->isChecked());
  const std::vector<std::string> told = boxes_.Texts();
  EXPECT_EQ(std::count(told.begin(), told.end(), "Connected"), 1);  // the new connection is silent
  clicks.stop();
  Close();
  server->Signal(SIGTERM);
  EXPECT_EQ(server->Wait(30000).exitCode, 0);
}

}  // namespace
