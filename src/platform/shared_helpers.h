#pragma once
// Small helpers that every subsystem shares.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/color.h"

// x + 0.5 truncated toward zero. NaN gives 0; values beyond the int64 range
// saturate (the cast alone would be undefined there).
int64_t RoundToInt64(double x);

// v in fixed notation with this many decimals (at most 20), "." whatever
// the locale: printf follows the locale once the toolkit has set it. "nan"
// and "inf" as the values are.
std::string FormatFixed(double v, int decimals);

// Character n of a one-bit-per-byte stream: bytes 8n..8n+6, the first the
// least significant; the eighth (parity) byte is not read.
int BitsToAscii7(const uint8_t* bits, int n);

// Length of a NUL-terminated text, at most 1001 (1001 for any longer text).
int BoundedStrLen(const char* text);

// The settings file's colour text: six hex digits, blue, green, red from the
// left. Nothing when the text is shorter than six characters or one of its
// first six is not a hex digit (either case).
std::optional<TColor> ParseColorText(std::string_view text);
// As ParseColorText, with the key's default for an unreadable text.
TColor HexTextToColor(std::string_view text, TColor def);
// Six upper-case hex digits of the colour value.
std::string ColorToHexText(TColor colour);
