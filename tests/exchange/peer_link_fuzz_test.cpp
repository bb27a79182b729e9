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
  for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(lowest + static_cast<int>(rng() % (256 - lowest))));
  return s;
}

// Valid frames of every kind, at lengths around their caps, among garbage.
std::string Mixture() {
  std::string s;
  while (s.size() < 30000) {
    switch (rng() % 6) {
      case 0: s += Random(rng() % 200); break;
      case 1: s += PeerLinkEncodeText("+*\x16\x16\x01" + Random(rng() % 520, 1) + "\x03"); break;
      case 2: s += PeerLinkEncodeText("[CHAT]" + Random(rng() % 520, 1) + "\x03"); break;
      case 3: s += "HFDL\x01" + std::string(rng() % 3800, 'A') + "\x03"; break;
      case 4: s += "[LOOP]" + Random(rng() % 600, 14) + "\r\n"; break;
      default: s += TestLine(static_cast<int>(rng() % 1000)); break;
    }
  }
  return s;
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
  for (size_t at = 0; at < bytes.size();) {
    const size_t n = cut ? 1 + rng() % 5000 : bytes.size();
    scanner.Feed(std::string_view(bytes).substr(at, n));
    at += n;
  }
  std::string found;
  for (const AcarsBlock& b : effects.blocks) {
    EXPECT_LE(b.Characters.size() + 4, 510u);
    found += b.Characters + "|";
  }
  for (const std::string& h : effects.hfdl) {
    EXPECT_LE(h.size(), 3780u);
    found += h + "|";
  }
  for (const std::string& r : effects.relayed) found += r + "|";
  for (const std::string& p : state.Participants.Entries) EXPECT_LE(p.size(), 127u);
  EXPECT_LT(state.ChatLog.size(), 1000u);
  return found + state.ChatLog;
}

TEST(PeerLinkFuzz, AnyBytesCutAnywhereReadAsWhole) {
  for (int run = 0; run < 60; ++run) {
    const bool server = run % 2;
    const std::string bytes = run % 3 ? Mixture() : Random(30000);
    EXPECT_EQ(Scan(bytes, true, server), Scan(bytes, false, server)) << run;
    // One whole text, as an item value or an import record is read.
    RecordingLinkHost host;
    FakePeerTransport transport;
    FakeLinkTimers timers;
    ExchangeState state;
    NetSettings net;
    TxtSettings txt;
    flag english = 1;
    PeerLink link(state, net, txt, english, host, transport, timers);
    link.ProcessReceivedData(bytes, "RAW");
    for (const AcarsBlock& b : host.blocks) EXPECT_EQ(b.SourceTag, "RAW");
  }
}

TEST(PeerLinkFuzz, ImportRecordsAndItemValuesOfAnyBytes) {
  static const char* const kParts[] = {"<SOH>", "<ETX>", "<ETB>", "<DEL>", "<VF>", "<", ">", "<ET", "X"};
  for (int run = 0; run < 200; ++run) {
    std::string log;
    while (log.size() < 5000) log += rng() % 3 ? kParts[rng() % 9] : Random(rng() % 50);
    const auto split = [&](bool cut) {
      std::vector<std::string> records;
      LogRecordSplitter splitter;
      const auto take = [&](const std::string& r) {
        EXPECT_LE(r.size(), kMaxImportRecord);
        records.push_back(RawLogRecordToWire(r) + DatLogRecordToWire(r));
      };
      for (size_t at = 0; at < log.size();) {
        const size_t n = cut ? 1 + rng() % 700 : log.size();
        splitter.Feed(std::string_view(log).substr(at, n), take);
        at += n;
      }
      splitter.Finish(take);
      return records;
    };
    EXPECT_EQ(split(true), split(false));
    const auto values = [&](bool cut) {
      std::vector<std::string> out;
      AcarsItemFraming framing;
      const auto take = [&](const std::string& v) { out.push_back(v); };
      for (size_t at = 0; at < log.size();) {
        const size_t n = cut ? 1 + rng() % 700 : log.size();
        framing.Feed(std::string_view(log).substr(at, n), take);
        at += n;
      }
      framing.Finish(take);
      return out;
    };
    EXPECT_EQ(values(true), values(false));
  }
}

}  // namespace
