#pragma once
// Text in the program is bytes in code page 932 (Shift-JIS with the NEC and
// IBM rows). It becomes Unicode only where a widget shows it.
#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Bad or cut sequences (a buffer trimmed in mid-character) become U+FFFD.
QString Cp932ToQString(std::string_view bytes);
// Characters code page 932 cannot hold become '?'.
std::string QStringToCp932(const QString& text);

std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);

// Mail text: code page 932 as ISO-2022-JP, ASCII with JIS X 0208 in
// two-byte mode, ending in ASCII mode. The six characters that code page
// 932 and JIS X 0208 give different Unicode values are taken as the same
// character, half-width katakana become full-width, and anything else
// ISO-2022-JP cannot hold becomes "〓".
std::string Cp932ToIso2022Jp(std::string_view cp932);
// ISO-2022-JP (ASCII included) as UTF-8, for showing mail text; bytes that
// do not decode become U+FFFD.
std::string Iso2022JpToUtf8(std::string_view bytes);

// The first byte of a two-byte character. Its trail byte (0x40-0xFC) may
// look like ASCII, never like a control character or a comma.
inline bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace platform
