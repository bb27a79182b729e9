#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hfdl/crc.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

std::vector<uint8_t> Bits(const std::vector<uint8_t>& octets) {
  std::vector<uint8_t> bits;
  for (uint8_t o : octets)
    for (int b = 0; b < 8; ++b) bits.push_back((o >> b) & 1);
  return bits;
}

std::vector<uint8_t> CheckString(uint8_t first, uint8_t second) {
  std::string digits = "123456789";
  std::vector<uint8_t> octets(digits.begin(), digits.end());
  octets.push_back(first);
  octets.push_back(second);
  return Bits(octets);
}

TEST(HfdlCrc, CheckValueSentLowOctetFirst) {
  std::vector<uint8_t> good = CheckString(0x6E, 0x90);
  EXPECT_TRUE(CheckCrc16Bits(good.data(), good.size(), 0, 9));
  std::vector<uint8_t> swapped = CheckString(0x90, 0x6E);
  EXPECT_FALSE(CheckCrc16Bits(swapped.data(), swapped.size(), 0, 9));
  good[3] ^= 1;
  EXPECT_FALSE(CheckCrc16Bits(good.data(), good.size(), 0, 9));
}

TEST(HfdlCrc, AgreesWithTheTransmittersFrames) {
  std::mt19937_64 rng(2);
  std::vector<uint8_t> squitter = Bits(hfdl_tx::BuildSquitter(rng));
  EXPECT_TRUE(CheckCrc16Bits(squitter.data(), squitter.size(), 0, 64));
  // An LPDU in the middle of a frame: F is not 0.
  std::vector<uint8_t> mpdu = Bits(hfdl_tx::BuildDownlinkMpdu(134, rng));
  EXPECT_TRUE(CheckCrc16Bits(mpdu.data(), mpdu.size(), 0, 7));
  EXPECT_TRUE(CheckCrc16Bits(mpdu.data(), mpdu.size(), 9, 123));
}

TEST(HfdlCrc, RangesOutsideTheArrayAreRefused) {
  // Exactly sized, so that a read past the end shows under the sanitizer.
  std::vector<uint8_t> bits = CheckString(0x6E, 0x90);
  const size_t size = bits.size();
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), size, 0, 10));
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), size, 1, 9));
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), size, 0, -1));
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), size, -1, 9));
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), size, 2000000000, 2000000000));
  EXPECT_FALSE(CheckCrc16Bits(bits.data(), 0, 0, 0));
}

}  // namespace
