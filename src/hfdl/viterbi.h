#pragma once
// Viterbi decoding of the rate-1/2, constraint-length-7 code (generators 133
// and 171 octal), 64 states, soft values in pairs: the first of each pair
// belongs to 133, the second to 171; code bit 0 is a positive value.
#include <cstdint>

struct ViterbiDecoder {
  struct StateTable {
    uint32_t path[64];
    // 64-bit: metrics are never renormalised and a long frame of large soft
    // values passes the int32 range.
    int64_t metric[64];
  };

  uint8_t pairToggle = 1;
  uint8_t started = 0;
  uint8_t outputValid = 0;
  int64_t previousSoft = 0;
  StateTable tables[2] = {};
  StateTable* current = &tables[0];
  StateTable* next = &tables[1];
  int32_t stepCounter = 0;
  int32_t bestState = 0;
  int64_t branchMetrics[4] = {};

  ViterbiDecoder() = default;
  ViterbiDecoder(const ViterbiDecoder&) = delete;
  ViterbiDecoder& operator=(const ViterbiDecoder&) = delete;
};

// Start values: every metric -999999 (no state favoured), registers 0.
void ViterbiInit(ViterbiDecoder& d);
void ViterbiReset(ViterbiDecoder& d);
// Takes one soft value; d.outputValid tells whether the result is a bit.
int ViterbiFeed(ViterbiDecoder& d, int64_t soft);
int ViterbiStep(ViterbiDecoder& d, int64_t a, int64_t b);
void ViterbiButterfly(ViterbiDecoder& d, int i, int k);
