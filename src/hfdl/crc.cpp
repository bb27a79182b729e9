#include "hfdl/crc.h"

bool CheckCrc16(const uint8_t* octets, size_t bitCount, long firstOctet, long octetCount) {
  if (firstOctet < 0 || octetCount < 0) return false;
  const size_t first = static_cast<size_t>(firstOctet);
  const size_t end = first + static_cast<size_t>(octetCount);
  if (end < first || end + 2 > bitCount / 8) return false;
  // The register shifts toward bit 0 because octets go least significant
  // bit first; the sender sends the complement, low octet first.
  uint32_t r = 0xFFFF;
  for (size_t n = first; n < end; ++n) {
    r ^= octets[n];
    for (int b = 0; b < 8; ++b) r = (r & 1u) ? (r >> 1) ^ 0x8408u : r >> 1;
  }
  r ^= 0xFFFF;
  return octets[end] == (r & 0xFF) && octets[end + 1] == (r >> 8);
}
