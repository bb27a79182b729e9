// The link between copies without sockets: the byte mapping, the scanner
// of a connection, the participant list, the relay rules of a server, the
// client's keep-alive and reconnect, and the log import.
#include <gtest/gtest.h>

#include <random>

#include "app/link_wiring.h"
#include "exchange/chat.h"
#include "exchange/peer_link_byte_mapping.h"
#include "support/fake_link.h"
#include "support/reception_rig.h"

namespace {

using namespace testing_support;

std::string Hex(const std::string& bytes) {
  std::string out;
  char b[4];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out.substr(0, out.size() - 1);
}

// A downlink of JA8089 with this message number, from "+" through ETX.
std::string Block(const std::string& msgNo = "M01A", char end = '\x03') {
  return std::string("+*\x16\x16\x01" "2.JA8089\x15H11\x02") + msgNo + "JL0012HELLO" + end;
}
std::string Wire(const std::string& characters) { return PeerLinkEncodeText(characters); }
std::string Probe(const std::string& token, const std::string& name) { return "[LOOP]" + token + name + "\r\n"; }
const std::string kToken = "ABCDEFGHIJKLMNOPQRST";

TEST(PeerLinkMapping, KnownBytesAndRoundTrip) {
  for (int b = 0; b <= 254; ++b) EXPECT_EQ(PeerLinkDecodeByte(PeerLinkEncodeByte(static_cast<uint8_t>(b))), b);
  EXPECT_EQ(PeerLinkEncodeByte(255), '\0');
  EXPECT_EQ(Hex(Wire(std::string("\x7F\x80\xFE", 3))), "FF FE 80");
  EXPECT_EQ(Hex(ChatLine("JA", "hi")), "5C 44 49 42 55 5E 4B 42 3F 69 6A 04");
  EXPECT_EQ(Hex(TestLine(0).substr(TestLine(0).size() - 4)), "5B 3F 31 04");
}

// A connection's scanner over a client's state, and what its frames did.
class ScannerRig : public ::testing::Test {
 protected:
  ScannerRig() { net.RecvVHF = net.RecvHF = 1, txt.MaxBytes = 10000; }
  // Everything found, as one text to compare runs by.
  std::string Scan(const std::vector<std::string>& reads) {
    ExchangeState fresh;
    state = fresh;
    effects = RecordingScannerEffects();
    ::PeerLinkScanner scanner(state, net, txt, effects);
    for (const std::string& r : reads) scanner.Feed(r);
    std::string found;
    for (const AcarsBlock& b : effects.blocks) found += "A" + b.Characters + b.CheckSequence + b.SourceTag + "|";
    for (const std::string& h : effects.hfdl) found += "H" + std::to_string(h.size()) + h.substr(0, 8) + "|";
    for (const std::string& p : state.Participants.Entries) found += "P" + p + "|";
    return found + "C" + state.ChatLog;
  }
  ExchangeState state;
  NetSettings net;
  TxtSettings txt;
  RecordingScannerEffects effects;
};
using PeerLinkScanner = ScannerRig;

const std::string kDigits = std::string(3780, '7');
const std::string kStream = "[RAW]2026/12/06 14:03:07>" + Wire(Block("M01A", '\x17')) + "xx" +
                            Wire("[CHAT]JA>hi\x03") + "HFDL\x01" + kDigits + "\x03" + Probe(kToken, "BOB") +
                            TestLine(7);

TEST_F(PeerLinkScanner, FindsEachKindOfFrameAmongOtherBytes) {
  const std::string whole = Scan({kStream});
  ASSERT_EQ(effects.blocks.size(), 1u);
  const AcarsBlock& b = effects.blocks[0];
  // SOH through ETB, then the two zero characters of the 16 extra bits.
  EXPECT_EQ(b.Characters, Block("M01A", '\x17').substr(4));
  EXPECT_EQ(b.CheckSequence, std::string(2, '\0'));
  EXPECT_EQ(b.End, AcarsEndFlag::Etb);
  EXPECT_EQ(b.SourceTag, "NET");
  EXPECT_EQ(effects.hfdl, std::vector<std::string>{kDigits});
  EXPECT_EQ(effects.emptied, 1);
  EXPECT_EQ(state.ChatLog, "JA>hi\r\n");
  EXPECT_EQ(state.Participants.Entries, std::vector<std::string>{"BOB "});
  EXPECT_TRUE(effects.relayed.empty());  // a client relays nothing

  // Cut anywhere, into two reads or into random pieces: the same frames.
  for (size_t cut = 0; cut <= kStream.size(); ++cut) {
    ASSERT_EQ(Scan({kStream.substr(0, cut), kStream.substr(cut)}), whole) << cut;
  }
  std::mt19937 rng(5);
  for (int run = 0; run < 50; ++run) {
    std::vector<std::string> pieces;
    for (size_t at = 0; at < kStream.size();) {
      const size_t n = 1 + rng() % 300;
      pieces.push_back(kStream.substr(at, n));
      at += n;
    }
    ASSERT_EQ(Scan(pieces), whole);
  }
}

TEST_F(PeerLinkScanner, FramesPastTheirCapsAreDroppedAndTheNextOneArrives) {
  const std::string next = Wire(Block("M09Z"));
  // 510 characters are a frame, 511 are not.
  const std::string longest = Block().substr(0, 5) + std::string(504, 'A') + "\x03";
  Scan({Wire(longest), Wire(longest.substr(0, 5) + "B" + longest.substr(5)), next});
  ASSERT_EQ(effects.blocks.size(), 2u);
  EXPECT_EQ(effects.blocks[0].Characters.size(), 506u);
  EXPECT_EQ(effects.blocks[1].Characters, Block("M09Z").substr(4));
  Scan({"HFDL\x01" + kDigits + "7\x03", next});
  EXPECT_TRUE(effects.hfdl.empty());
  EXPECT_EQ(effects.blocks.size(), 1u);
  // A frame cut off by the terminator of a text.
  Scan({Wire(Block().substr(0, 20)), std::string(1, '\0'), next});
  ASSERT_EQ(effects.blocks.size(), 1u);
  EXPECT_EQ(effects.blocks[0].Characters, Block("M09Z").substr(4));
}

TEST_F(PeerLinkScanner, AClientsOwnProbeAnswersItsKeepAlive) {
  Scan({});
  state.LoopProbeToken = kToken;
  state.LoopProbePending = 1;
  state.LoopProbeRetries = 2;
  state.Participants.Entries = {"BOB "};
  ::PeerLinkScanner scanner(state, net, txt, effects);
  scanner.Feed(Probe(kToken.substr(0, 19), ""));
  EXPECT_EQ(state.LoopProbePending, 1);
  EXPECT_EQ(state.Participants.Entries, std::vector<std::string>{"BOB "});
  scanner.Feed(Probe(kToken, "ME"));
  EXPECT_EQ(state.LoopProbePending, 0);
  EXPECT_EQ(state.LoopProbeRetries, 0);
  EXPECT_EQ(state.Participants.Entries, std::vector<std::string>{"BOB"});  // swept
  scanner.Feed(Probe("BBBBBBBBBBBBBBBBBBBB", "ANN"));
  EXPECT_EQ(state.Participants.Entries, (std::vector<std::string>{"BOB", "ANN "}));
}

TEST(ChatList, EntriesLiveFromProbeToSweep) {
  ChatParticipants list;
  ChatListAdd(list, kToken + "A");
  ChatListAdd(list, kToken + "B");
  ChatListAdd(list, kToken + "DefaultName");
  ChatListAdd(list, kToken + "Jo Ann");
  ChatListCheck(list);
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"A", "B", "JoAnn"}));
  ChatListAdd(list, kToken + "A");
  ChatListAdd(list, kToken + "Jo Ann");
  ChatListCheck(list);
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"A", "JoAnn"}));
  EXPECT_FALSE(ChatListAdd(list, kToken.substr(1)));
}

// The program's road and link over a fake transport: a server with two
// clients, or a client of a server.
class LinkRig : public ::testing::Test {
 protected:
  LinkRig() {
    f.exchange.PeerClients.Slots.resize(2);
    f.Net.ReconnectTimer = 5;
    f.Net.ServerName = "server";
  }
  ::PeerLink& link() { return wiring.Link(); }
  void Serve() {
    f.Net.Server = 1;
    ASSERT_TRUE(link().OpenServer("50000"));
    a = transport.Accept();
    b = transport.Accept();
  }
  void ConnectClient() {
    f.exchange.Connecting = 1;
    ASSERT_TRUE(link().ConnectToServer("server", "50000"));
    transport.ConnectSucceeds();
    host.boxes.clear();
  }
  // How often a client got these bytes.
  static int Count(const std::string& all, const std::string& bytes) {
    int n = 0;
    for (size_t at = all.find(bytes); at != std::string::npos; at = all.find(bytes, at + 1)) ++n;
    return n;
  }
  int Got(ConnectionId id, const std::string& bytes) { return Count(transport.written[id], bytes); }

  MessageBoxRecorder boxes;
  ReceptionRig rig;
  Form1State& f = rig.form();
  FakePeerTransport transport;
  FakeLinkTimers timers;
  LinkWiring wiring{f, rig.effects(), rig.wiring(), &transport, &timers};
  RecordingLinkHost host;  // for the link built on it alone
  ConnectionId a = 0, b = 0;
};
using PeerLinkRelay = LinkRig;
using PeerLink = LinkRig;
using LogImport = LinkRig;

// Each frame reaches each client once under the relay rules, and nothing
// else does, whatever the link state and the duplicate and VHF switches.
TEST_F(PeerLinkRelay, ServerRelaysEachFrameOnceByTheRules) {
  for (int bits = 0; bits < 8; ++bits) {
    ReceptionRig r;
    FakePeerTransport t;
    LinkWiring w(r.form(), r.effects(), r.wiring(), &t, &timers);
    Form1State& s = r.form();
    s.Net.Server = 1;
    s.exchange.PeerClients.Slots.resize(2);
    ASSERT_TRUE(w.Link().OpenServer("50000"));
    const ConnectionId from = t.Accept(), other = t.Accept();
    const bool connected = bits & 1, dup = bits & 2, vhf = bits & 4;
    s.exchange.NetConnected = connected;
    s.Net.DupCheckSend = dup;
    s.Net.RecvVHF = vhf;
    const std::string block = Wire(Block()), chat = Wire("[CHAT]A>x\x03"), hfdl = "HFDL\x01" + kDigits + "\x03";
    t.Arrive(from, "noise" + block + chat + hfdl + Probe(kToken, "A") + TestLine(1));
    r.ReceiveAcars(Block("M02B") + "\x11\x22", true);
    const std::string own = Wire(Block("M02B"));
    const int byRule = connected && !(dup && vhf) ? 1 : 0;
    const int byParser = dup && vhf ? 1 : 0;
    const int once = byRule + byParser;
    for (ConnectionId id : {from, other}) {
      SCOPED_TRACE(bits);
      const std::string& got = t.written[id];
      EXPECT_EQ(Count(got, block), once);
      EXPECT_EQ(Count(got, block + "\x01\x01"), byParser);
      EXPECT_EQ(Count(got, chat), once);
      EXPECT_EQ(Count(got, hfdl), connected ? 1 : 0);
      EXPECT_EQ(Count(got, Probe(kToken, "A")), 1);
      EXPECT_EQ(Count(got, own), dup || connected ? 1 : 0);
      EXPECT_EQ(got.find("noise"), std::string::npos);
      EXPECT_EQ(got.find(TestLine(1)), std::string::npos);
    }
    EXPECT_EQ(r.sink().blocks.size(), vhf ? 2u : 1u);
    // A block carried by HFDL travels in its frame only.
    const size_t before = t.written[other].size();
    r.ReceiveAcars(Block("M03C") + "\x11\x22", true, AcarsBearer::Hfdl);
    EXPECT_EQ(t.written[other].size(), before);
  }
}

TEST_F(PeerLinkRelay, ServerItemValueReachesEachClientOnce) {
  Serve();
  f.Net.DupCheckSend = 0;
  link().ACARSChange(Wire(Block()));
  EXPECT_EQ(Got(a, Wire(Block())), 1);
  EXPECT_EQ(Got(b, Wire(Block())), 1);
  ASSERT_EQ(rig.sink().blocks.size(), 1u);
  EXPECT_EQ(rig.sink().blocks[0].Block.SourceTag, "DDE");
  // A tag given for one text labels nothing after it.
  link().ProcessReceivedData("no frame here", "RAW");
  transport.Arrive(a, Wire(Block("M05E")));
  EXPECT_EQ(rig.sink().blocks.back().Block.SourceTag, "NET");
}

TEST_F(PeerLinkRelay, ClientSendsOwnReceptionAndParsesItOnlyWhenRelayedBack) {
  ConnectClient();
  const ConnectionId server = transport.lastConnect;
  rig.ReceiveAcars(Block() + "\x11\x22", true);
  link().ACARSChange(Wire(Block("M02B")));
  EXPECT_EQ(transport.written[server], Wire(Block()) + Wire(Block("M02B")));
  EXPECT_TRUE(rig.sink().blocks.empty());
  transport.Arrive(server, Wire(Block()) + "\x01\x01");
  EXPECT_EQ(rig.sink().blocks.size(), 1u);
  EXPECT_EQ(transport.written[server].size(), Wire(Block()).size() * 2);  // a client relays nothing
}

TEST_F(PeerLink, UnansweredProbeReconnectsSilentlyAtTheSecondTick) {
  f.Net.LoopBackInterval = 1;
  ::PeerLink l(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
  f.exchange.Connecting = 1;
  l.ConnectToServer("server", "50000");
  transport.ConnectSucceeds();
  EXPECT_EQ(host.boxes, std::vector<std::string>{"Connected"});
  l.Timer3Timer();
  EXPECT_EQ(transport.written[transport.lastConnect].substr(0, 6), "[LOOP]");
  l.Timer3Timer();
  EXPECT_EQ(transport.connects.size(), 2u);
  EXPECT_TRUE(host.buttonDown);
  transport.ConnectSucceeds();
  EXPECT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(f.exchange.NetConnected, 1);
  EXPECT_FALSE(host.countdownOpen);
}

TEST_F(PeerLink, LostLinkCountsDownAndKeepsTryingWhileTheServerIsDown) {
  ::PeerLink l(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
  f.exchange.Connecting = 1;
  l.ConnectToServer("server", "50000");
  transport.ConnectSucceeds();
  transport.PeerCloses(transport.lastConnect);
  EXPECT_TRUE(host.countdownOpen);
  EXPECT_EQ(f.exchange.CountdownReason, "Disconnected");
  EXPECT_FALSE(host.buttonDown);
  timers.Advance(4000);
  EXPECT_EQ(f.exchange.Countdown, 1);
  timers.Advance(1000);
  EXPECT_FALSE(host.countdownOpen);
  EXPECT_EQ(transport.connects.size(), 2u);
  transport.ConnectFails();
  EXPECT_TRUE(host.countdownOpen);
  EXPECT_EQ(f.exchange.CountdownReason, "Connection failed");
  l.CountdownCancel();
  EXPECT_FALSE(host.countdownOpen);
  timers.Advance(10000);
  EXPECT_EQ(transport.connects.size(), 2u);
}

TEST_F(PeerLink, AConnectThatNeverEndsTimesOutAndRefusalsRaiseOneBox) {
  ::PeerLink l(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
  f.exchange.Connecting = 1;
  l.ConnectToServer("10.255.255.1", "50000");
  timers.Advance(19999);
  EXPECT_TRUE(host.boxes.empty());
  timers.Advance(1);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"Can not connect"});
  EXPECT_FALSE(transport.open.count(transport.lastConnect));

  f.Net.Server = 1;
  f.exchange.PeerClients.Slots.resize(1);
  l.OpenServer("50000");
  transport.Accept();
  for (int i = 0; i < 20; ++i) transport.Accept();
  EXPECT_EQ(host.boxes.back(), "Acceptance failed(maximum connections)");
  EXPECT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.beeps, 19);
  host.CloseBoxes();
  transport.Accept();
  EXPECT_EQ(host.boxes.size(), 3u);
  EXPECT_EQ(host.caption, "Skarvel(Server 1/10 PortNo 49505)");
}

TEST_F(LogImport, RecordsTurnBackIntoWireText) {
  EXPECT_EQ(Hex(RawLogRecordToWire("a<VF>b<DEL>")), "62 0B 63 FF");
  EXPECT_EQ(RawLogRecordToWire("<<SOH>"), Wire("<\x01"));
  EXPECT_EQ(RawLogRecordToWire("<XYZ><"), Wire("<XYZ><"));
  EXPECT_EQ(DatLogRecordToWire("[NET]x>HFDL<SOH>1A<STX><ETX>"), "[NET]x>HFDL\x01" "1A<STX>\x03");
  std::vector<std::string> records;
  LogRecordSplitter split;
  const auto take = [&](const std::string& r) { records.push_back(r); };
  split.Feed("a<ETX>b<ET", take);
  split.Feed("B>" + std::string(kMaxImportRecord, 'x') + "<ETX>c", take);
  split.Finish(take);
  EXPECT_EQ(records, (std::vector<std::string>{"a<ETX>", "b<ETB>", "c"}));
}

TEST_F(LogImport, CancelStopsAnImportAndClosesItsWindow) {
  std::string log;
  for (int i = 0; i < 200; ++i) log += "[Lch]2026/12/06 14:03:07>" + std::string("+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M") +
                                      std::to_string(100 + i) + "JL0012HELLO<ETX>\n";
  WriteFile(rig.folder() + "/old.log", log);
  rig.effects().importPath = rig.folder() + "/old.log";
  timers.msPerReading = 20;  // every read takes a turn's time
  wiring.Import().ImportRawLog();
  EXPECT_EQ(f.text.ImportPath(), rig.folder() + "/old.log");
  EXPECT_EQ(f.controls.N16Enabled, 0);
  timers.RunNext();
  const size_t read = rig.sink().messages.size();
  EXPECT_GT(read, 0u);
  EXPECT_LT(read, 200u);
  EXPECT_EQ(rig.sink().messages[0].Block.SourceTag, "RAW");
  wiring.Import().Cancel();
  timers.RunPosted();
  EXPECT_EQ(rig.sink().messages.size(), read);
  EXPECT_EQ(f.text.ImportPath(), "");
  EXPECT_EQ(rig.effects().closedForms.back(), 16);
  EXPECT_EQ(f.controls.MapImagesEnabled, 1);
  EXPECT_FALSE(wiring.Import().Running());
}

}  // namespace
