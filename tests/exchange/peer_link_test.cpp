// The link between copies over a fake transport and clock: the byte mapping,
// a connection's scanner, the participant list, a server's relay rules, the
// client's keep-alive and reconnect, the packet test and the log import.
#include <gtest/gtest.h>

#include <unistd.h>

#include <regex>
#include <tuple>

#include "app/link_wiring.h"
#include "exchange/acars_item_framing.h"
#include "exchange/chat.h"
#include "exchange/peer_link_byte_mapping.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"
#include "support/fake_link.h"
#include "support/reception_rig.h"

namespace {

using namespace testing_support;

std::string Wire(const std::string& characters) { return PeerLinkEncodeText(characters); }
std::string Probe(const std::string& token, const std::string& name) { return "[LOOP]" + token + name + "\r\n"; }
const std::string kToken = "ABCDEFGHIJKLMNOPQRST";
const std::string kBlock = LinkBlock(".JA", 8089), kDigits(3780, '7');

TEST(PeerLinkMapping, KnownBytesAndRoundTrip) {
  for (int b = 0; b <= 254; ++b) EXPECT_EQ(PeerLinkDecodeByte(PeerLinkEncodeByte(static_cast<uint8_t>(b))), b);
  EXPECT_EQ(PeerLinkEncodeByte(255), '\0');
  EXPECT_EQ(Wire("\x7F\x80\xFE"), "\xFF\xFE\x80");
  EXPECT_EQ(ChatLine("JA", "hi"), "\x5C\x44\x49\x42\x55\x5E\x4B\x42\x3F\x69\x6A\x04");
  EXPECT_EQ(TestLine(0).substr(TestLine(0).size() - 4), "\x5B\x3F\x31\x04");
}

// A connection's scanner over a client's state.
class PeerLinkScanner : public ::testing::Test {
 protected:
  PeerLinkScanner() { net.RecvVHF = net.RecvHF = 1, txt.MaxBytes = 10000; }
  // What the reads gave, as one text to compare runs by.
  std::string Scan(const std::vector<std::string>& reads) {
    state = ExchangeState();
    state.LoopProbeToken = token;
    effects = RecordingScannerEffects();
    ::PeerLinkScanner scanner(state, net, txt, effects);
    for (const std::string& r : reads) scanner.Feed(r);
    std::string found;
    for (const AcarsBlock& b : effects.blocks) found += "A" + b.Characters + b.CheckSequence + b.SourceTag + "|";
    for (const std::string& h : effects.hfdl) found += "H" + std::to_string(h.size()) + "|";
    for (const std::string& p : state.Participants.Entries) found += "P" + p + "|";
    return found + "C" + state.ChatLog;
  }
  ExchangeState state;
  NetSettings net;
  TxtSettings txt;
  RecordingScannerEffects effects;
  std::string token;
};

const std::string kStream = "[RAW]2026/12/06 14:03:07>" + Wire(kBlock.substr(0, kBlock.size() - 1) + "\x17") +
                            "xx" + Wire("[CHAT]JA>hi\x03") + "HFDL\x01" + kDigits + "\x03" + Probe(kToken, "BOB") +
                            TestLine(7);

TEST_F(PeerLinkScanner, FindsEachKindOfFrameAmongOtherBytes) {
  // SOH through ETB, then the two zero characters of the 16 extra bits.
  EXPECT_EQ(Scan({kStream}), "A" + kBlock.substr(4, kBlock.size() - 5) + "\x17" + std::string(2, '\0') +
                                 "NET|H3780|PBOB |CJA>hi\r\n");
  EXPECT_EQ(effects.blocks[0].End, AcarsEndFlag::Etb);
  EXPECT_EQ(effects.hfdl[0], kDigits);
  EXPECT_EQ(effects.emptied, 1);
  EXPECT_TRUE(effects.relayed.empty());  // a client relays nothing
}

// HFDL frames follow the HF switch and ACARS blocks the VHF switch, each
// kind its own; chat lines and probes follow neither.
TEST_F(PeerLinkScanner, EachKindOfFrameFollowsItsOwnReceptionSwitch) {
  const std::string block = "A" + kBlock.substr(4, kBlock.size() - 5) + "\x17" + std::string(2, '\0') + "NET|";
  for (const auto& [vhf, hf, found] : {std::tuple{1, 0, block}, {0, 1, std::string("H3780|")}, {0, 0, std::string()}}) {
    net.RecvVHF = vhf, net.RecvHF = hf;
    EXPECT_EQ(Scan({kStream}), found + "PBOB |CJA>hi\r\n") << vhf << hf;
  }
}

TEST_F(PeerLinkScanner, FramesPastTheirCapsAreDroppedAndTheNextOneArrives) {
  const std::string next = Wire(LinkBlock(".JA", 9));
  // 510 characters are a frame, 511 are not.
  const std::string longest = kBlock.substr(0, 5) + std::string(504, 'A') + "\x03";
  Scan({Wire(longest), Wire(longest.substr(0, 5) + "B" + longest.substr(5)), next});
  ASSERT_EQ(effects.blocks.size(), 2u);
  EXPECT_EQ(effects.blocks[0].Characters.size(), 506u);
  EXPECT_EQ(Scan({"HFDL\x01" + kDigits + "7\x03", next}), "A" + LinkBlock(".JA", 9).substr(4) + std::string(2, '\0') + "NET|C");
  // A frame cut off by a text's terminator, or by the next frame's start
  // (a log line written only in part, then the next run's lines).
  EXPECT_EQ(Scan({Wire(kBlock.substr(0, 20)), std::string(1, '\0'), next}), Scan({next}));
  EXPECT_EQ(Scan({Wire(kBlock.substr(0, 6) + "\r\n[Lch]x>"), next}), Scan({next}));
  EXPECT_EQ(Scan({"HFDL\x01\x03HFDL\x01" "7A\n[Rch]x>HFDL\x01" + kDigits + "\x03"}), "H3780|C");
  EXPECT_EQ(Scan({"HFDL\x01" "a7\x03"}), "H2|C");
}

TEST_F(PeerLinkScanner, AClientsOwnProbeAnswersItsKeepAlive) {
  token = kToken;
  Scan({Probe("BBBBBBBBBBBBBBBBBBBB", "BOB"), Probe(kToken.substr(0, 19), "")});
  EXPECT_EQ(state.Participants.Entries, std::deque<std::string>{"BOB "});
  state.LoopProbePending = 1;
  state.LoopProbeRetries = 2;
  ::PeerLinkScanner(state, net, txt, effects).Feed(Probe(kToken, "ME"));
  EXPECT_TRUE(state.LoopProbePending == 0 && state.LoopProbeRetries == 0);
  EXPECT_EQ(state.Participants.Entries, std::deque<std::string>{"BOB"});  // swept
}

TEST(AcarsItem, ValuesEndAtTheirNulWhateverTheWrites) {
  std::vector<std::string> values;
  const auto take = [&](const std::string& v) { values.push_back(v); };
  for (const std::vector<std::string>& connection :
       std::vector<std::vector<std::string>>{{std::string("one\0two\0", 8)}, {"th", "re", std::string("e\0", 2)},
                                             {"no end"}, {std::string(kMaxAcarsItemValue + 1, 'x'), std::string("\0next\0", 6)}}) {
    AcarsItemFraming framing;
    for (const std::string& write : connection) framing.Feed(write, take);
    framing.Finish(take);  // the sender disconnects
  }
  EXPECT_EQ(values, (std::vector<std::string>{"one", "two", "three", "no end", "next"}));
}

// Names live from probe to sweep; a flood pushes out the oldest and the
// list stays bounded.
TEST(ChatList, EntriesLiveFromProbeToSweepAndAFloodStaysBounded) {
  ChatParticipants list;
  for (const char* name : {"A", "B", "DefaultName", "Jo Ann"}) ChatListAdd(list, kToken + name);
  ChatListCheck(list);
  EXPECT_EQ(list.Entries, (std::deque<std::string>{"A", "B", "JoAnn"}));
  for (const char* name : {"A", "Jo Ann"}) ChatListAdd(list, kToken + name);
  ChatListCheck(list);
  EXPECT_EQ(list.Entries, (std::deque<std::string>{"A", "JoAnn"}));
  EXPECT_FALSE(ChatListAdd(list, kToken.substr(1)));

  list = ChatParticipants();
  const auto name = [](size_t n) { return "N" + std::to_string(n); };
  for (size_t n = 0; n < kMaxParticipants + 10; ++n) ChatListAdd(list, kToken + name(n));
  ASSERT_EQ(list.Entries.size(), kMaxParticipants);
  EXPECT_EQ(list.Entries.front(), name(10) + " ");
  EXPECT_EQ(list.Entries.back(), name(kMaxParticipants + 9) + " ");
  // After a sweep: one heard again is marked in its place; one that gave
  // way comes back last and pushes out the oldest.
  ChatListCheck(list);
  EXPECT_TRUE(ChatListAdd(list, kToken + name(20)));
  EXPECT_FALSE(ChatListAdd(list, kToken + name(20)));
  EXPECT_EQ(list.Entries[10], name(20) + " ");
  EXPECT_TRUE(ChatListAdd(list, kToken + name(0)));
  ASSERT_EQ(list.Entries.size(), kMaxParticipants);
  EXPECT_EQ(list.Entries.front(), name(11));
  ChatListCheck(list);
  EXPECT_EQ(list.Entries, (std::deque<std::string>{name(20), name(0)}));
}

// The program's road and link over a fake transport and clock.
class LinkRig : public ::testing::Test {
 protected:
  LinkRig() {
    f.exchange.PeerClients.Slots.resize(2);
    f.Net.ReconnectTimer = 5;
  }
  void Serve() {
    f.Net.Server = 1;
    ASSERT_TRUE(link.OpenServer("50000"));
    a = transport.Accept();
    b = transport.Accept();
  }
  ::PeerLink& Client() {
    l = std::make_unique<::PeerLink>(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
    f.exchange.Connecting = 1;
    EXPECT_TRUE(l->ConnectToServer("server", "50000"));
    transport.ConnectSucceeds();
    return *l;
  }

  MessageBoxRecorder boxes;
  ReceptionRig rig;
  Form1State& f = rig.form();
  FakePeerTransport transport;
  FakeLinkTimers timers;
  LinkWiring wiring{f, rig.effects(), rig.wiring(), &transport, &timers};
  ::PeerLink& link = wiring.Link();
  RecordingLinkHost host;
  std::unique_ptr<::PeerLink> l;  // a link of its own on host
  ConnectionId a = 0, b = 0;
};
using PeerLinkRelay = LinkRig;
using PeerLink = LinkRig;
using LogImport = LinkRig;

// Each frame reaches each client once by the relay rules and nothing else
// does, whatever the link state and the duplicate and VHF switches; an item
// value too, sent by nothing but the scanner's rules.
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
    s.exchange.NetConnected = connected, s.Net.DupCheckSend = dup, s.Net.RecvVHF = vhf;
    const std::string block = Wire(kBlock), chat = Wire("[CHAT]A>x\x03"), hfdl = "HFDL\x01" + kDigits + "\x03";
    w.Link().ProcessReceivedData("no frame here", "RAW");  // its tag labels nothing after it
    t.Arrive(from, "noise" + block + chat + hfdl + Probe(kToken, "A") + TestLine(1));
    const std::string item = Wire(LinkBlock(".JD", 4));
    w.Link().ACARSChange(item);
    const std::string own = LinkBlock(".JB", 2);
    for (int twice = 0; twice < 2; ++twice) r.ReceiveAcars(own + "\x11\x22", true);
    r.ReceiveAcars(LinkBlock(".JC", 3) + "\x11\x22", true, AcarsBearer::Hfdl);  // travels in its frame
    const int byParser = dup && vhf ? 1 : 0, once = (connected && !(dup && vhf) ? 1 : 0) + byParser;
    for (ConnectionId id : {from, other}) {
      SCOPED_TRACE(bits);
      const std::string& got = t.written[id];
      EXPECT_EQ(CountOf(got, block), once);
      EXPECT_EQ(CountOf(got, block + "\x01\x01"), byParser);
      EXPECT_EQ(CountOf(got, chat), once);
      EXPECT_EQ(CountOf(got, item), once);
      EXPECT_EQ(CountOf(got, hfdl), connected ? 1 : 0);
      EXPECT_EQ(CountOf(got, Probe(kToken, "A")), 1);
      // Own blocks: new ones after the duplicate check, else every one.
      EXPECT_EQ(CountOf(got, Wire(own)), dup ? 1 : connected ? 2 : 0);
      EXPECT_EQ(CountOf(got, Wire(LinkBlock(".JC", 3))), 0);
      EXPECT_EQ(CountOf(got, "noise") + CountOf(got, TestLine(1)), 0);
    }
    std::string tags;
    for (const AcarsMessage& m : r.sink().blocks) tags += m.Block.SourceTag + " ";
    EXPECT_EQ(tags, vhf ? "NET DDE Lch Lch Lch " : "Lch Lch Lch ");
  }
}

TEST_F(PeerLink, LostLinkCountsDownAndKeepsTryingWhileTheServerIsDown) {
  ::PeerLink& c = Client();
  transport.PeerCloses(transport.lastConnect);
  EXPECT_TRUE(host.countdownOpen && !host.buttonDown);
  EXPECT_EQ(f.exchange.CountdownReason, "Disconnected");
  timers.Advance(4000);
  EXPECT_EQ(f.exchange.Countdown, 1);
  timers.Advance(1000);
  EXPECT_EQ(transport.connects.size(), 2u);
  transport.ConnectFails();
  EXPECT_TRUE(host.countdownOpen);
  EXPECT_EQ(f.exchange.CountdownReason, "Connection failed");
  c.CountdownCancel();
  timers.Advance(10000);
  EXPECT_TRUE(transport.connects.size() == 2u && !host.countdownOpen);
}

TEST_F(PeerLink, AConnectThatNeverEndsTimesOutAndRefusalsRaiseOneBox) {
  ::PeerLink c(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
  f.exchange.Connecting = 1;
  c.ConnectToServer("10.255.255.1", "50000");
  timers.Advance(19999);
  EXPECT_TRUE(host.boxes.empty());
  timers.Advance(1);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"Can not connect"});
  f.Net.Server = 1;
  f.exchange.PeerClients.Slots.resize(1);
  c.OpenServer("50000");
  for (int i = 0; i < 21; ++i) transport.Accept();
  EXPECT_EQ(host.boxes, (std::vector<std::string>{"Can not connect", "Acceptance failed(maximum connections)"}));
  EXPECT_EQ(host.beeps, 19);
  EXPECT_EQ(host.caption, "Skarvel(Server 1/10 PortNo 49505)");
  for (const auto& ok : host.open) ok();
  transport.Accept();
  EXPECT_EQ(host.boxes.size(), 3u);
}

// A client that leaves gives its slot back and the caption counts it out.
TEST_F(PeerLink, AServersCaptionCountsItsClientsAsTheyComeAndGo) {
  ::PeerLink c(f.exchange, f.Net, f.Txt, f.app.UseEnglish, host, transport, timers);
  f.Net.Server = 1;
  ASSERT_TRUE(c.OpenServer("50000"));
  const ConnectionId first = transport.Accept();
  transport.Accept();
  transport.PeerCloses(first);
  EXPECT_EQ(host.caption, "Skarvel(Server 1/10 PortNo 49505)");
  transport.Accept();
  EXPECT_EQ(host.caption, "Skarvel(Server 2/10 PortNo 49505)");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PeerLink, ChatComesBackAndTestLinesGoOutAtTheirIntervalAndAreReadAsNothing) {
  ::PeerLink& c = Client();
  c.SendChatLine("ME", "hi");
  EXPECT_EQ(f.exchange.ChatLog, "");  // a client logs its line when it comes back
  transport.Arrive(transport.lastConnect, transport.written[transport.lastConnect]);
  EXPECT_EQ(f.exchange.ChatLog, "ME>hi\r\n");
  EXPECT_FALSE(c.StartPacketTest("0x32"));
  ASSERT_TRUE(c.StartPacketTest("50"));
  timers.Advance(1000);
  c.StopPacketTest();
  timers.Advance(1000);
  EXPECT_EQ(f.exchange.Packets.SentPackets, 21);
  const std::string lines = transport.written[transport.lastConnect].substr(ChatLine("ME", "hi").size());
  EXPECT_EQ(CountOf(lines, TestLine(19)), 1);
  Serve();
  transport.Arrive(a, lines);
  EXPECT_EQ(f.exchange.Packets.ReceivedPackets, 2);
  EXPECT_EQ(f.exchange.ChatLog, "ME>hi\r\n");
}

TEST_F(LogImport, RecordsTurnBackIntoWireText) {
  EXPECT_EQ(RawLogRecordToWire("a<VF>b<DEL>"), "\x62\x0B\x63\xFF");
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

// Today's logs imported again through a linked logs folder: each record
// comes back as it was, retagged, into the twin, never into the file read;
// the message an HFDL frame carries goes to the RAW log once its import is
// over.
TEST_F(LogImport, TodaysLogsComeBackWholeThroughALinkedFolder) {
  const std::string real = rig.folder() + "/elsewhere";
  ASSERT_TRUE(platform::EnsureFolder(real));
  ASSERT_EQ(symlink(real.c_str(), (rig.folder() + "/logs").c_str()), 0);
  std::string etb = LinkBlock(".JA", 1);
  etb.back() = '\x17';
  rig.ReceiveAcars(etb + "\x11\x22", false);
  rig.ReceiveAcars(LinkBlock(".JA", 2) + "\x11\x22", true);
  const hfdl_tx::ScenarioFrame frame = hfdl_tx::ScenarioAcars();
  rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  const std::string raw = rig.Log("ACARS_RAW"), dat = rig.Log("HFDL_DAT");
  ASSERT_EQ(CountOf(raw, "<SOH>"), 3);
  timers.msPerReading = 20;  // every read takes a turn's time
  for (const char* kind : {"ACARS_RAW", "HFDL_DAT"}) {
    rig.effects().importPath = real + "/20261206_" + kind + ".log";
    kind[0] == 'A' ? wiring.Import().ImportRawLog() : wiring.Import().ImportDatLog();
    for (int turn = 0; turn < 100 && timers.RunNext(); ++turn) {
    }
    EXPECT_FALSE(wiring.Import().Running());
  }
  const auto retagged = [](const std::string& log, const char* tag) {
    return std::regex_replace(log, std::regex(R"(\[[LR]ch\])"), tag);
  };
  EXPECT_EQ(rig.Log("ACARS_RAW_c"), retagged(raw, "[RAW]"));
  EXPECT_EQ(rig.Log("HFDL_DAT_c"), retagged(dat, "[NET]"));
  EXPECT_EQ(rig.Log("HFDL_DAT").substr(0, dat.size()), dat);
  const std::string added = rig.Log("ACARS_RAW").substr(raw.size());
  EXPECT_EQ(CountOf(added, "[NET]"), 1) << added;
}

TEST_F(LogImport, CancelStopsAnImportAndClosesItsWindow) {
  std::string log;
  for (int i = 1000; i < 1200; ++i) {
    log += "[Lch]>+*<SYN><SYN><SOH>2.JA" + std::to_string(i) + "<NAK>H11<STX>M00AJL0012X<ETX>\n";
  }
  WriteFile(rig.folder() + "/old.log", log);
  rig.effects().importPath = rig.folder() + "/old.log";
  timers.msPerReading = 20;  // every read takes a turn's time
  wiring.Import().ImportRawLog();
  EXPECT_EQ(f.controls.N16Enabled, 0);
  timers.RunNext();
  const size_t read = rig.sink().messages.size();
  EXPECT_TRUE(read > 0u && read < 200u) << read;
  wiring.Import().Cancel();
  timers.RunPosted();
  EXPECT_EQ(rig.sink().messages.size(), read);
  EXPECT_EQ(f.text.ImportPath(), "");
  EXPECT_EQ(rig.effects().closedForms.back(), 16);
  EXPECT_EQ(f.controls.MapImagesEnabled, 1);
}

}  // namespace
