// How many SELCAL calls the tone decoder reports exactly, and how many
// wrong codes it reports, from the test transmitter's audio fed block by
// block: 100 random valid codes per row (pairs of 0.75-1.25 s, gaps of
// 0.1-0.3 s, one call every 8 s), at three tone amplitudes, against noise
// and against a mistuned receiver; then the codes found in an hour of
// noise alone. Fixed seeds; exits 1 when a target is missed.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/fft_tables.h"
#include "selcal/selcal_decoder.h"
#include "selcal/selcal_state.h"
#include "selcal_tx/selcal_tx.h"

namespace {

constexpr int kCalls = 100;
constexpr double kSpacing = 8.0;
constexpr double kBlockSeconds = 512.0 / 11025.0;
constexpr double kAmplitudes[3] = {500.0, 1500.0, 3000.0};
// Targets at 10 dB: exact and wrong, in per cent.
constexpr int kLeastExact = 96;
constexpr int kMostWrong = 1;

struct Heard {
  std::string code;
  double time;
};

class Collecting : public SelcalReceiverLink {
 public:
  void CallDecoded(const SelcalCall& call) override { heard.push_back({call.Code, now}); }
  double now = 0.0;
  std::vector<Heard> heard;
};

// Decodes a stream made in stretches; each starts where the last
// ended, so the decoder sees one continuous signal.
class Receiver {
 public:
  Receiver() : state_(std::make_unique<SelcalState>()) {
    state_->SelcalFft = BuildFftTables();
    InitSelcalWeights(*state_);
  }
  void Feed(std::vector<double> samples) {
    pending_.insert(pending_.end(), samples.begin(), samples.end());
    size_t at = 0;
    for (; at + 512 <= pending_.size(); at += 512) {
      ++blocks_;
      link_.now = blocks_ * kBlockSeconds;
      DecodeSelcalBlock(*state_, 0, pending_.data() + at, link_);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(at));
  }
  const std::vector<Heard>& Reports() const { return link_.heard; }

 private:
  std::unique_ptr<SelcalState> state_;
  Collecting link_;
  std::vector<double> pending_;
  long blocks_ = 0;
};

struct Score {
  int exact = 0;
  int wrong = 0;
};

// Each call in an 8-s stretch of its own; a report counts for the call whose
// end lies within 0.5 s before it.
Score Calls(double snrDb, double freqError, double amplitude, uint64_t seed) {
  std::mt19937_64 rng(seed);
  const std::vector<selcal_tx::Call> calls = selcal_tx::RandomCalls(kCalls, 0.0, kSpacing, true, rng);
  Receiver rx;
  std::vector<double> ends;
  for (size_t i = 0; i < calls.size(); ++i) {
    selcal_tx::Call c = calls[i];
    c.start = 1.0 + (c.start - i * kSpacing);
    selcal_tx::Options o;
    o.amplitude = amplitude;
    o.snrDb = snrDb;
    o.freqErrorHz = freqError;
    o.randomPhases = true;
    o.seed = seed * 1000 + i;
    o.length = kSpacing;
    o.tail = 0.0;
    const selcal_tx::Signal s = selcal_tx::Transmit({c}, o);
    ends.push_back(i * kSpacing + s.sent[0].end);
    rx.Feed(s.samples);
  }
  Score score;
  std::vector<bool> found(calls.size(), false);
  for (const Heard& h : rx.Reports()) {
    const size_t i = static_cast<size_t>(std::max(0.0, std::floor(h.time / kSpacing)));
    const bool onTime = i < calls.size() && h.time >= ends[i] && h.time <= ends[i] + 0.5;
    if (onTime && h.code == calls[i].code && !found[i]) {
      found[i] = true;
      ++score.exact;
    } else {
      ++score.wrong;
    }
  }
  return score;
}

// Codes reported in minutes of noise of this RMS.
int CodesInNoise(double rms, int minutes, uint64_t seed) {
  Receiver rx;
  for (int m = 0; m < minutes; ++m) {
    selcal_tx::Options o;
    o.noiseRms = rms;
    o.length = 60.0;
    o.seed = seed * 1000 + static_cast<uint64_t>(m);
    rx.Feed(selcal_tx::Transmit({}, o).samples);
  }
  return static_cast<int>(rx.Reports().size());
}

struct Row {
  std::string label;
  double snr = 0.0, freqError = 0.0;
  bool target = false;
  Score scores[3];
};

// Runs job(i) for i = 0..count-1 on every core.
template <typename Job>
void OnAllCores(size_t count, Job job) {
  std::atomic<size_t> next{0};
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
    workers.emplace_back([&] {
      for (size_t i; (i = next++) < count;) job(i);
    });
  }
  for (std::thread& w : workers) w.join();
}

}  // namespace

int main() {
  std::vector<Row> rows;
  for (double snr : {0.0, 3.0, 6.0, 10.0, 15.0, 20.0, 30.0}) {
    rows.push_back({std::to_string(static_cast<int>(snr)) + " dB", snr, 0.0, snr == 10.0, {}});
  }
  for (int error = -20; error <= 20; error += 5) {
    char label[32];
    std::snprintf(label, sizeof label, "20 dB, %+d Hz", error);
    rows.push_back({label, 20.0, static_cast<double>(error), false, {}});
  }
  OnAllCores(rows.size() * 3, [&rows](size_t job) {
    Row& r = rows[job / 3];
    const size_t a = job % 3;
    r.scores[a] = Calls(r.snr, r.freqError, kAmplitudes[a], 100 + job);
  });
  const double rmsLevels[3] = {200.0, 1000.0, 5000.0};
  int noiseCodes[3] = {};
  OnAllCores(3, [&](size_t i) { noiseCodes[i] = CodesInNoise(rmsLevels[i], 60, 900 + i); });

  bool met = true;
  std::printf("SELCAL: %d random calls per cell, exact / wrong codes (%% of calls), tone amplitude\n\n", kCalls);
  std::printf("%-18s %13s %13s %13s %8s\n", "SNR in 3 kHz", "500", "1500", "3000", "target");
  for (const Row& r : rows) {
    std::printf("%-18s", r.label.c_str());
    bool rowMet = true;
    for (const Score& s : r.scores) {
      std::printf(" %6d / %-4d", s.exact * 100 / kCalls, s.wrong * 100 / kCalls);
      rowMet = rowMet && s.exact * 100 >= kLeastExact * kCalls && s.wrong * 100 <= kMostWrong * kCalls;
    }
    std::printf(" %8s\n", r.target ? (rowMet ? "met" : "MISSED") : "-");
    met = met && (!r.target || rowMet);
  }
  std::printf("\n%-18s %8s %8s\n", "noise alone", "minutes", "codes");
  for (int i = 0; i < 3; ++i) {
    std::printf("RMS %-14.0f %8d %8d\n", rmsLevels[i], 60, noiseCodes[i]);
    met = met && noiseCodes[i] == 0;
  }
  std::printf(met ? "All sensitivity targets met.\n" : "A sensitivity target was missed.\n");
  return met ? 0 : 1;
}
