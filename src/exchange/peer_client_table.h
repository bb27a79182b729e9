#pragma once
// The server's client slots.
#include <cstdint>
#include <vector>

struct PeerClientSlot {
  int32_t Socket = 0;       // the slot's connection; 0 none
  int32_t PeerAddress = 0;  // IPv4 as received
  int32_t PeerPort = 0;     // network byte order, as received
  int32_t InUse = 0;
};

struct PeerClientTable {
  std::vector<PeerClientSlot> Slots;  // MaxConnect slots, every field 0 at start
};
