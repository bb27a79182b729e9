// The link on real sockets on 127.0.0.1: a server and clients, each a copy
// of its own (state, road and link) in this one process, and raw peers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/link_wiring.h"
#include "exchange/chat.h"
#include "exchange/peer_link_byte_mapping.h"
#include "support/fake_audio_devices.h"
#include "support/reception_rig.h"

namespace {

using testing_support::PumpUntil;

uint16_t FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// A downlink from "+" through ETX, its registration and number from n.
std::string Block(int n) {
  char id[16];
  std::snprintf(id, sizeof id, ".JB%04dM0%dA", n % 10000, n / 10000 % 10);
  return std::string("+*\x16\x16\x01" "2") + std::string(id, 7) + "\x15H11\x02" + std::string(id + 7, 4) +
         "JL0012FLOOD\x03";
}

// One copy of the program's link: a server on port, or its client.
struct Copy {
  Copy(bool server, uint16_t port, int maxConnect = 10) {
    Form1State& f = rig.form();
    f.Net.Server = server;
    f.Net.MaxConnect = maxConnect;
    f.Net.ServerPortNo = f.Net.ClientPortNo = std::to_string(port);
    f.exchange.PeerClients.Slots.resize(static_cast<size_t>(maxConnect));
    if (server) {
      EXPECT_TRUE(Link().OpenServer(f.Net.ServerPortNo));
      f.exchange.NetConnected = 1;
    } else {
      f.exchange.Connecting = 1;
      EXPECT_TRUE(Link().ConnectToServer("127.0.0.1", f.Net.ClientPortNo));
      EXPECT_TRUE(PumpUntil([&] { return f.exchange.NetConnected != 0; }));
    }
  }
  PeerLink& Link() { return wiring.Link(); }
  Form1State& State() { return rig.form(); }
  size_t Parsed() const { return const_cast<Copy*>(this)->rig.sink().delivered; }

  testing_support::ReceptionRig rig;
  LinkWiring wiring{rig.form(), rig.effects(), rig.wiring()};
};

// A peer of our own: no link, just bytes.
std::unique_ptr<QTcpSocket> Peer(uint16_t port) {
  auto socket = std::make_unique<QTcpSocket>();
  socket->connectToHost(QHostAddress::LocalHost, port);
  EXPECT_TRUE(socket->waitForConnected(5000));
  return socket;
}

class PeerLinkTcp : public ::testing::Test {
 protected:
  testing_support::MessageBoxRecorder boxes;
  uint16_t port = FreePort();
};

TEST_F(PeerLinkTcp, ServerKeepsMaxConnectClientsAndFreesTheirSlots) {
  Copy s(true, port, 2);
  auto a = std::make_unique<Copy>(false, port);
  Copy b(false, port);
  ASSERT_TRUE(PumpUntil([&] { return s.State().exchange.NetClientCount == 2; }));
  auto third = Peer(port);
  ASSERT_TRUE(PumpUntil([&] { return third->state() != QAbstractSocket::ConnectedState; }));
  EXPECT_EQ(boxes.Texts().back(), "Acceptance failed(maximum connections)");
  EXPECT_EQ(s.State().controls.Caption, "Skarvel(Server 2/2 PortNo " + std::to_string(port) + ")");
  a.reset();
  ASSERT_TRUE(PumpUntil([&] { return s.State().exchange.NetClientCount == 1; }));
  EXPECT_EQ(s.State().controls.Caption, "Skarvel(Server 1/2 PortNo " + std::to_string(port) + ")");
}

TEST_F(PeerLinkTcp, AClientsBlockIsParsedOnceEverywhere) {
  for (int dup : {0, 1}) {
    const uint16_t p = FreePort();
    Copy s(true, p), a(false, p), b(false, p);
    s.State().Net.DupCheckSend = dup;
    a.rig.ReceiveAcars(Block(1) + "\x11\x22", true);
    ASSERT_TRUE(PumpUntil([&] { return a.Parsed() == 1 && b.Parsed() == 1; })) << dup;
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(s.Parsed(), 1u);
    EXPECT_EQ(a.Parsed(), 1u);
    EXPECT_EQ(b.Parsed(), 1u);
    EXPECT_EQ(a.rig.sink().messages[0].Block.SourceTag, "NET");
  }
}

TEST_F(PeerLinkTcp, AClientThatStopsReadingHoldsUpNoOther) {
  Copy s(true, port);
  s.State().Net.RecvHF = 0;
  auto stalled = std::make_unique<QTcpSocket>();
  stalled->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
  stalled->setReadBufferSize(1);
  stalled->connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(stalled->waitForConnected(5000));
  auto reader = Peer(port), writer = Peer(port);
  const std::string frame = "HFDL\x01" + std::string(3780, 'A') + "\x03";
  constexpr int kFrames = 4000;
  for (int i = 0; i < kFrames; ++i) writer->write(frame.data(), static_cast<qint64>(frame.size()));
  QByteArray got;
  ASSERT_TRUE(PumpUntil([&] { got += reader->readAll(); return got.count("HFDL") >= kFrames; }, 30000));
  EXPECT_EQ(got.count("HFDL"), kFrames);
  EXPECT_GT(s.State().exchange.Packets.ServerBlocked, 0);
}

TEST_F(PeerLinkTcp, AFloodDelaysOthersByASliceNotByTheFlood) {
  Copy s(true, port);
  s.State().Txt.TxtLog = 0;
  s.rig.sink().keep = false;
  Copy a(false, port);
  constexpr int kFlood = 100000;
  size_t parsedAtTick = 0, ticksDuringFlood = 0, ownAt = 0;
  s.rig.sink().onMessage = [&](const AcarsMessage& m) {
    if (m.Fields.Address == "JA8089") ownAt = s.Parsed();
  };
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    parsedAtTick = s.Parsed();
    if (parsedAtTick > 0 && parsedAtTick < kFlood) ++ticksDuringFlood;
  });
  tick.start(10);
  std::string flood;
  for (int i = 0; i < kFlood; ++i) flood += PeerLinkEncodeText(Block(i));
  auto flooder = Peer(port);
  flooder->write(flood.data(), static_cast<qint64>(flood.size()));
  ASSERT_TRUE(PumpUntil([&] { return s.Parsed() > 0; }, 10000));
  a.rig.ReceiveAcars(std::string("+*\x16\x16\x01" "2.JA8089\x15H11\x02M09ZJL0012OWN\x03\x11\x22"), true);
  ASSERT_TRUE(PumpUntil([&] { return s.Parsed() == kFlood + 1; }, 120000)) << s.Parsed();
  EXPECT_GT(ticksDuringFlood, 0u);
  EXPECT_GT(ownAt, 0u);
  EXPECT_LT(ownAt, static_cast<size_t>(kFlood));
}

TEST_F(PeerLinkTcp, ChatComesBackAndTestLinesCountWithoutChatting) {
  Copy s(true, port), a(false, port);
  a.Link().SendChatLine("A", "hi");
  EXPECT_EQ(a.State().exchange.ChatLog, "");
  ASSERT_TRUE(PumpUntil([&] { return a.State().exchange.ChatLog == "A>hi\r\n"; }));
  EXPECT_EQ(s.State().exchange.ChatLog, "A>hi\r\n");
  const PacketCounters before = s.State().exchange.Packets;
  ASSERT_TRUE(a.Link().StartPacketTest("50"));
  PumpUntil([] { return false; }, 1000);
  a.Link().StopPacketTest();
  PumpUntil([] { return false; }, 200);
  EXPECT_GE(a.State().exchange.Packets.SentPackets, 15);
  EXPECT_GT(s.State().exchange.Packets.ReceivedPackets, before.ReceivedPackets);
  EXPECT_EQ(a.State().exchange.ChatLog, "A>hi\r\n");
  EXPECT_EQ(s.State().exchange.ChatLog, "A>hi\r\n");
}

}  // namespace
