#pragma once
// The 16-bit HDLC frame check sequence (CRC-16/X-25) over whole octets,
// octets least significant bit first as they are sent.
#include <cstddef>
#include <cstdint>

// True when the two octets after octets F..F+K-1 are their check sequence.
// False, reading nothing, when F or K is negative or the octets and the
// check sequence do not lie inside the bitCount bits of the frame: F and K
// come from untrusted headers.
bool CheckCrc16(const uint8_t* octets, size_t bitCount, long firstOctet, long octetCount);
