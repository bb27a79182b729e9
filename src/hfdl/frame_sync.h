#pragma once
// Frame synchronisation: finds the preamble and the mode in the stream of
// hard bits, collects the frame's symbols, has them decoded and passes the
// frame on by the link state.
#include <cstdint>
#include <string>

struct Form1State;

void ProcessHfdlSymbol(Form1State& form, int channel, int bit, int32_t i, int32_t q);

// "Frequency Error = +7.3083 Hz", with "." in every locale.
std::string FrequencyErrorLine(double freqError);
// "ErrorRatio = 0.00000".
std::string ErrorRatioLine(double ratio);
// The octets a frame of the mode (4 x interleave + rate) is relayed with.
int HfdlModeOctets(int modeIndex);
