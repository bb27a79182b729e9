#pragma once
// The 16-bit HDLC frame check sequence (CRC-16/X-25) over whole octets of a
// one-bit-per-byte array, octets least significant bit first.
#include <cstddef>
#include <cstdint>

// True when the 16 bits after octets F..F+K-1 are their check sequence.
// False, reading nothing, when K < 0 or the octets and the check bits do
// not lie inside the size bytes of bits: F and K come from untrusted headers.
bool CheckCrc16Bits(const uint8_t* bits, size_t size, int firstOctet, int octetCount);
