#pragma once
// A received frame read through its length. Frames come from the air and
// from linked copies, and their header sizes may point anywhere: every read
// past the frame gives 0 bits instead of touching memory beyond it.
// Octets go least significant bit first, as they were sent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FrameBits {
 public:
  // bitCount bits of the octets (a frame from a linked copy may end in the
  // middle of an octet).
  FrameBits(const uint8_t* octets, size_t bitCount) : octets_(octets), size_(bitCount) {}
  explicit FrameBits(const std::vector<uint8_t>& octets) : octets_(octets.data()), size_(8 * octets.size()) {}

  const uint8_t* Data() const { return octets_; }
  size_t Size() const { return size_; }
  // Whole octets the frame holds.
  long Octets() const { return static_cast<long>(size_ / 8); }

  int Bit(long n) const {
    return n >= 0 && static_cast<size_t>(n) < size_ ? (octets_[n >> 3] >> (n & 7)) & 1 : 0;
  }
  // Bits first .. first+width-1, the first one least significant.
  uint32_t Field(long first, int width) const {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v |= static_cast<uint32_t>(Bit(first + i)) << i;
    return v;
  }
  int Octet(long k) const { return static_cast<int>(Field(8 * k, 8)); }
  // An octet whose first bit is its most significant (the ICAO address).
  int OctetMsbFirst(long k) const {
    int v = 0;
    for (int i = 0; i < 8; ++i) v = (v << 1) | Bit(8 * k + i);
    return v;
  }
  // The check sequence over octets first..first+count-1, refused outside
  // the frame.
  bool CrcHolds(long firstOctet, long octetCount) const;

 private:
  const uint8_t* octets_;
  size_t size_;
};

// Upper-case hex, zero-padded to digits.
std::string HexText(uint32_t value, int digits);
