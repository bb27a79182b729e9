#include "hfdl/crc.h"

bool CheckCrc16Bits(const uint8_t* bits, size_t size, int firstOctet, int octetCount) {
  if (firstOctet < 0 || octetCount < 0) return false;
  const size_t first = static_cast<size_t>(firstOctet) * 8;
  const size_t end = first + static_cast<size_t>(octetCount) * 8;
  if (end + 16 > size) return false;
  // r0..r15 as bits 0..15; r15 is the cell that feeds back.
  uint32_t r = 0xFFFF;
  for (size_t n = first; n < end; ++n) {
    uint32_t feedback = ((r >> 15) ^ bits[n]) & 1u;
    r = (r << 1) & 0xFFFF;
    if (feedback) r ^= (1u << 0) | (1u << 5) | (1u << 12);
  }
  for (int i = 0; i < 16; ++i) {
    uint32_t expected = ((r >> (15 - i)) & 1u) ^ 1u;
    if ((bits[end + i] & 1u) != expected) return false;
  }
  return true;
}
