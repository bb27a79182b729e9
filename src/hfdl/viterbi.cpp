#include "hfdl/viterbi.h"

namespace {

// The branch-metric index of butterfly i for the branch i -> 2i.
constexpr int kButterflyMetric[32] = {0, 1, 3, 2, 3, 2, 0, 1, 0, 1, 3, 2, 3, 2, 0, 1,
                                      2, 3, 1, 0, 1, 0, 2, 3, 2, 3, 1, 0, 1, 0, 2, 3};

// The step at which bit 31 of a path register first holds a decided bit.
constexpr int32_t kDecisionDepth = 37;

}  // namespace

void ViterbiInit(ViterbiDecoder& d) {
  d.pairToggle = 1;
  d.started = 0;
  d.outputValid = 0;
  d.previousSoft = 0;
  for (ViterbiDecoder::StateTable& t : d.tables) {
    for (int s = 0; s < 64; ++s) {
      t.path[s] = 0;
      t.metric[s] = -999999;
    }
  }
  d.current = &d.tables[0];
  d.next = &d.tables[1];
  d.stepCounter = 0;
  d.bestState = 0;
  for (int64_t& m : d.branchMetrics) m = 0;
}

void ViterbiReset(ViterbiDecoder& d) {
  ViterbiInit(d);
  for (int s = 0; s < 64; ++s) d.current->metric[s] = -999999;
  d.current->path[0] = 0;
}

void ViterbiButterfly(ViterbiDecoder& d, int i, int k) {
  const ViterbiDecoder::StateTable& old = *d.current;
  ViterbiDecoder::StateTable& now = *d.next;
  const int64_t low = old.metric[i];
  const int64_t high = old.metric[i + 32];
  const int64_t same = d.branchMetrics[k];
  const int64_t other = d.branchMetrics[k ^ 3];
  // Ties go to the predecessor i + 32.
  int64_t fromLow = low + same, fromHigh = high + other;
  if (fromHigh >= fromLow) {
    now.metric[2 * i] = fromHigh;
    now.path[2 * i] = (old.path[i + 32] << 1) | 1u;
  } else {
    now.metric[2 * i] = fromLow;
    now.path[2 * i] = old.path[i] << 1;
  }
  fromLow = low + other;
  fromHigh = high + same;
  if (fromHigh >= fromLow) {
    now.metric[2 * i + 1] = fromHigh;
    now.path[2 * i + 1] = (old.path[i + 32] << 1) | 1u;
  } else {
    now.metric[2 * i + 1] = fromLow;
    now.path[2 * i + 1] = old.path[i] << 1;
  }
}

int ViterbiStep(ViterbiDecoder& d, int64_t a, int64_t b) {
  d.branchMetrics[0] = a + b;
  d.branchMetrics[1] = a - b;
  d.branchMetrics[2] = b - a;
  d.branchMetrics[3] = -(a + b);
  for (int i = 0; i < 32; ++i) ViterbiButterfly(d, i, kButterflyMetric[i]);
  ViterbiDecoder::StateTable* t = d.current;
  d.current = d.next;
  d.next = t;
  if (d.stepCounter == kDecisionDepth) d.started = 1;
  int best = 0;
  for (int s = 1; s < 64; ++s) {
    if (d.current->metric[s] > d.current->metric[best]) best = s;
  }
  d.bestState = best;
  d.stepCounter += 1;
  return static_cast<int>(d.current->path[best] >> 31);
}

int ViterbiFeed(ViterbiDecoder& d, int64_t soft) {
  d.pairToggle ^= 1;
  int out = 0;
  if (d.pairToggle == 1) out = ViterbiStep(d, d.previousSoft, soft);
  d.previousSoft = soft;
  if (d.started) d.outputValid = d.pairToggle;
  return out;
}
