#pragma once
// The byte mapping of the link between copies: it keeps the value 0 off the
// wire, so that every frame is a NUL-terminated text.
#include <cstdint>
#include <string>

// Byte b travels as b + 1 while that fits in 7 bits, else as 382 - b
// (so the ACARS character DEL, 127, travels as 0xFF).
inline char PeerLinkEncodeByte(uint8_t b) {
  const int t = (b + 1) & 0xFF;
  return static_cast<char>(t <= 127 ? t : (127 - t) & 0xFF);
}

inline void AppendPeerLinkEncoded(std::string& out, uint8_t b) { out.push_back(PeerLinkEncodeByte(b)); }
