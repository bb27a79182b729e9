#pragma once
// The ACARS block framer: finds SYN SYN SOH in the bit stream, collects the
// block, checks each character's odd parity and the block's CRC.
#include <cstdint>

// "+", "*", SYN, SYN, SOH with odd parity, least significant bit first:
// the first 40 bits of every block.
constexpr uint8_t AcarsPreambleBits[40] = {
    1, 1, 0, 1, 0, 1, 0, 1,  // "+"
    0, 1, 0, 1, 0, 1, 0, 0,  // "*"
    0, 1, 1, 0, 1, 0, 0, 0,  // SYN
    0, 1, 1, 0, 1, 0, 0, 0,  // SYN
    1, 0, 0, 0, 0, 0, 0, 0,  // SOH
};

constexpr int kAcarsBlockBitsSize = 2000;
// EndPos while no terminator has been seen.
constexpr int kAcarsNoEnd = 1936;

struct AcarsFramerState {
  uint8_t SyncWindow[24] = {};  // oldest first
  int SyncScore = 0;
  uint8_t InBlock = 0;
  int BitPos = 0;
  int EndPos = kAcarsNoEnd;
  uint8_t EtxFlag = 0;
  uint8_t CrcOk = 0;
};

// The block check over bits[from .. to-1]: CRC-16 x^16 + x^12 + x^5 + 1,
// preset 0, one bit at a time in the order the bits were sent. Over a block
// and its own BCS the register ends at zero.
bool AcarsCrcIsZero(const uint8_t* bits, int from, int to);
