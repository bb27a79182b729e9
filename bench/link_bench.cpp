// A flood of keep-alive probes, each with a name of its own, read by a
// server: every probe is relayed and its name looked up in the participant
// list (a client that receives the relay looks each one up as well).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "exchange/peer_link_scanner.h"

namespace {

class QuietEffects : public ScannerEffects {
 public:
  void EnterAcarsBlock(const AcarsBlock&) override {}
  void EnterHfdlFrame(const std::string&) override {}
  void EmptyHfdlAnalysis() override {}
  void LightNetworkLamp() override {}
  void RelayToClients(const std::string& wire) override { benchmark::DoNotOptimize(wire.data()); }
  void ChatLineAdded() override {}
  void ParticipantsChanged() override {}
};

std::string ProbeFlood(int names) {
  std::string flood;
  char name[16];
  for (int i = 0; i < names; ++i) {
    std::snprintf(name, sizeof name, "NAME%07d", i);
    flood += std::string("[LOOP]ABCDEFGHIJKLMNOPQRST") + name + "\r\n";
  }
  return flood;
}

void BM_ServerReadsProbeFlood(benchmark::State& state) {
  const std::string flood = ProbeFlood(static_cast<int>(state.range(0)));
  NetSettings net;
  net.Server = 1;
  TxtSettings txt;
  QuietEffects effects;
  for (auto _ : state) {
    ExchangeState exchange;
    PeerLinkScanner scanner(exchange, net, txt, effects);
    // As the socket hands it over: 4096 bytes a read.
    for (size_t at = 0; at < flood.size(); at += 4096) scanner.Feed(std::string_view(flood).substr(at, 4096));
    benchmark::DoNotOptimize(exchange.Participants.Entries.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ServerReadsProbeFlood)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
