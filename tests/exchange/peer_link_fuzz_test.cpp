// Whatever a peer, an imported log or the ACARS item sends: the readers stay
// within their caps, and bytes cut anywhere read as when whole. Run under
// the sanitizers.
#include <gtest/gtest.h>

#include <random>

#include "exchange/acars_item_framing.h"
#include "exchange/chat.h"
#include "exchange/log_import.h"
#include "exchange/peer_link_byte_mapping.h"
#include "support/fake_link.h"

namespace {

using namespace testing_support;

std::mt19937 rng(17);

std::string Random(size_t n, int lowest = 0) {
  std::string s;
  while (s.size() < n) s.push_back(static_cast<char>(lowest + static_cast<int>(rng() % (256 - lowest))));
  return s;
}

// Frames of every kind at lengths around their caps among garbage, or
// garbage alone; fed whole, or cut into random pieces.
std::string Bytes(int run) {
  std::string s;
  while (s.size() < 30000) {
    switch (run % 3 ? rng() % 6 : 0) {
      case 0: s += Random(rng() % 200); break;
      case 1: s += PeerLinkEncodeText("+*\x16\x16\x01" + Random(rng() % 520, 1) + "\x03"); break;
      case 2: s += PeerLinkEncodeText("[CHAT]" + Random(rng() % 520, 1) + "\x03"); break;
      case 3: s += "HFDL\x01" + std::string(rng() % 3800, 'A') + "\x03"; break;
      case 4: s += "[LOOP]" + Random(rng() % 600, 14) + "\r\n"; break;
      default: s += TestLine(static_cast<int>(rng() % 99));
    }
  }
  return s;
}
template <typename Reader>
void Feed(const std::string& bytes, bool cut, Reader read) {
  for (size_t at = 0, n = 0; at < bytes.size(); at += n) read(std::string_view(bytes).substr(at, n = cut ? 1 + rng() % 5000 : bytes.size()));
}

std::string Scan(const std::string& bytes, bool cut, bool server) {
  ExchangeState state;
  state.LoopProbeToken = "ABCDEFGHIJKLMNOPQRST";
  state.NetConnected = server;
  NetSettings net;
  net.Server = server;
  net.RecvVHF = net.RecvHF = net.DupCheckSend = 1;
  TxtSettings txt;
  txt.MaxBytes = 1000;
  RecordingScannerEffects effects;
  PeerLinkScanner scanner(state, net, txt, effects);
  Feed(bytes, cut, [&](std::string_view piece) { scanner.Feed(piece); });
  std::string found = state.ChatLog;
  EXPECT_LT(state.ChatLog.size(), 1000u);
  for (const AcarsBlock& b : effects.blocks) found += "|" + b.Characters + (b.Characters.size() > 506 ? "TOO LONG" : "");
  for (const std::string& h : effects.hfdl) found += "|" + h + (h.size() > 3780 ? "TOO LONG" : "");
  for (const std::string& r : effects.relayed) found += "|" + r;
  for (const std::string& p : state.Participants.Entries) EXPECT_LE(p.size(), 127u);
  EXPECT_EQ(found.find("TOO LONG"), std::string::npos);
  return found;
}

TEST(PeerLinkFuzz, AnyBytesCutAnywhereReadAsWhole) {
  for (int run = 0; run < 60; ++run) {
    const std::string bytes = Bytes(run);
    EXPECT_EQ(Scan(bytes, true, run % 2), Scan(bytes, false, run % 2)) << run;
    // One whole text, as an item value or an import record is read.
    RecordingLinkHost host;
    FakePeerTransport transport;
    FakeLinkTimers timers;
    ExchangeState state;
    NetSettings net;
    TxtSettings txt;
    PeerLink(state, net, txt, flag{1}, host, transport, timers).ProcessReceivedData(bytes, "RAW");
    for (const AcarsBlock& b : host.blocks) EXPECT_EQ(b.SourceTag, "RAW");
  }
}

TEST(PeerLinkFuzz, ImportRecordsAndItemValuesOfAnyBytes) {
  static const char* const kParts[] = {"<SOH>", "<ETX>", "<ETB>", "<DEL>", "<VF>", "<", ">", "<ET", "X"};
  for (int run = 0; run < 200; ++run) {
    std::string log;
    while (log.size() < 5000) log += rng() % 3 ? kParts[rng() % 9] : Random(rng() % 50);
    const auto read = [&](bool cut) {
      std::vector<std::string> records, values;
      LogRecordSplitter splitter;
      AcarsItemFraming framing;
      const auto record = [&](const std::string& r) { records.push_back(RawLogRecordToWire(r) + DatLogRecordToWire(r)); };
      const auto value = [&](const std::string& v) { values.push_back(v); };
      Feed(log, cut, [&](std::string_view piece) { splitter.Feed(piece, record), framing.Feed(piece, value); });
      splitter.Finish(record);
      framing.Finish(value);
      return std::make_pair(records, values);
    };
    EXPECT_EQ(read(true), read(false));
  }
}

}  // namespace
