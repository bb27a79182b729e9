#pragma once
// Frame synchronisation: finds the preamble and the mode in the stream of
// hard bits, collects the frame's symbols, has them decoded and hands the
// frame to the receiver's link.
#include <cstdint>

class HfdlReceiverLink;
struct HfdlReception;

void ProcessHfdlSymbol(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, int bit, int32_t i, int32_t q);

// The octets a frame of the mode (4 x interleave + rate) is relayed with.
int HfdlModeOctets(int modeIndex);
