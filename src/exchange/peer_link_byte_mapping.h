#pragma once
// The byte mapping of the link between copies: it keeps the value 0 off the
// wire, so that every frame is a NUL-terminated text.
#include <cstdint>
#include <string>
#include <string_view>

// Byte b travels as b + 1 while that fits in 7 bits, else as 382 - b
// (so the ACARS character DEL, 127, travels as 0xFF). 255 has no wire form:
// it becomes 0, which ends a text.
inline char PeerLinkEncodeByte(uint8_t b) {
  const int t = (b + 1) & 0xFF;
  return static_cast<char>(t <= 127 ? t : (127 - t) & 0xFF);
}

// The receiver's side, on the wire byte read as a signed value. A byte sent
// unmapped (1..127) reads back as its value minus 1.
inline uint8_t PeerLinkDecodeByte(char w) {
  const int c = static_cast<int8_t>(w);
  return static_cast<uint8_t>(c >= 0 ? c - 1 : 126 - c);
}

inline void AppendPeerLinkEncoded(std::string& out, uint8_t b) { out.push_back(PeerLinkEncodeByte(b)); }

inline std::string PeerLinkEncodeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendPeerLinkEncoded(out, static_cast<uint8_t>(c));
  return out;
}
