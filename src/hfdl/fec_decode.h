#pragma once
// From the stored symbols of a frame to its bits: descrambling, soft values
// per constellation, deinterleaving and Viterbi decoding into
// HfdlDecodedBits (first half the information bits, second half the flush).
#include <array>
#include <cstdint>

#include "hfdl/hfdl_channel_state.h"

// Each decode starts from zeroed bits; a channel that names no interleaver
// decodes nothing.
void DecodeHfdlBpsk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits);
void DecodeHfdlQpsk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits);
void DecodeHfdl8psk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits);

// The three soft values of a descrambled 8PSK symbol, in the order they are
// fed: positive for a code bit whose table value is +1, 0 when the nearest
// points of either value are equally near.
std::array<int64_t, 3> Hfdl8pskSoftValues(double i, double q);
// Puts stream[0..40N-1] through the deinterleaver of the given table index
// (0..5, in the order of kInterleaverColumns) into out.
void DeinterleaveHfdl(const int64_t* stream, int tableIndex, int64_t* out);
// The average of a 300 bit/s pair, truncated toward zero.
int64_t HfdlPairAverage(int64_t a, int64_t b);
