#include "acars/acars_framer.h"

bool AcarsCrcIsZero(const uint8_t* bits, int from, int to) {
  uint8_t reg[16] = {};
  uint8_t next[16];
  for (int n = from; n < to; ++n) {
    const uint8_t f = reg[15];
    next[0] = f ^ bits[n];
    for (int i = 1; i < 16; ++i) next[i] = (i == 5 || i == 12) ? reg[i - 1] ^ f : reg[i - 1];
    for (int i = 0; i < 16; ++i) reg[i] = next[i];
  }
  for (uint8_t b : reg) {
    if (b) return false;
  }
  return true;
}
