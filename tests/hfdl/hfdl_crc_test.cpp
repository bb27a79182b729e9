// The frame check sequence over octets, and its bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hfdl/crc.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

std::vector<uint8_t> CheckString(uint8_t first, uint8_t second) {
  const std::string digits = "123456789";
  std::vector<uint8_t> octets(digits.begin(), digits.end());
  octets.push_back(first);
  octets.push_back(second);
  return octets;
}

bool Holds(const std::vector<uint8_t>& octets, long first, long count) {
  return CheckCrc16(octets.data(), 8 * octets.size(), first, count);
}

TEST(HfdlCrc, CheckValueSentLowOctetFirst) {
  std::vector<uint8_t> good = CheckString(0x6E, 0x90);
  EXPECT_TRUE(Holds(good, 0, 9));
  EXPECT_FALSE(Holds(CheckString(0x90, 0x6E), 0, 9));
  good[3] ^= 1;
  EXPECT_FALSE(Holds(good, 0, 9));
}

TEST(HfdlCrc, AgreesWithTheTransmittersFrames) {
  std::mt19937_64 rng(2);
  EXPECT_TRUE(Holds(hfdl_tx::BuildSquitter(rng), 0, 64));
  // An LPDU in the middle of a frame: F is not 0.
  const std::vector<uint8_t> mpdu = hfdl_tx::BuildDownlinkMpdu(134, rng);
  EXPECT_TRUE(Holds(mpdu, 0, 7));
  EXPECT_TRUE(Holds(mpdu, 9, 123));
}

TEST(HfdlCrc, RangesOutsideTheFrameAreRefused) {
  // Exactly sized, so that a read past the end shows under the sanitizer.
  const std::vector<uint8_t> octets = CheckString(0x6E, 0x90);
  EXPECT_FALSE(Holds(octets, 0, 10));
  EXPECT_FALSE(Holds(octets, 1, 9));
  EXPECT_FALSE(Holds(octets, 0, -1));
  EXPECT_FALSE(Holds(octets, -1, 9));
  EXPECT_FALSE(Holds(octets, 2000000000, 2000000000));
  EXPECT_FALSE(CheckCrc16(octets.data(), 0, 0, 0));
  // A frame relayed with an odd number of digits ends inside an octet.
  EXPECT_FALSE(CheckCrc16(octets.data(), 8 * octets.size() - 4, 0, 9));
}

}  // namespace
