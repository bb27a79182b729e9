#pragma once
// The link between copies and the log import, as far as the rest of the
// program reads them. The file being imported is ReceivedText's
// (ImportPath), where the log writers look for it.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "exchange/peer_client_table.h"

// The chat window's participant list: names in code page 932 in the order
// they were first heard; a trailing space marks an entry heard since the
// last sweep. ChatListAdd and ChatListCheck keep Index in step: a name's
// entry is Entries[Index[name] - Dropped], Dropped counting the entries
// that gave way since the last sweep.
struct ChatParticipants {
  std::deque<std::string> Entries;
  // Ordered: a peer that picks its names cannot slow a look-up down, as it
  // could with colliding hashes.
  std::map<std::string, uint64_t> Index;
  uint64_t Dropped = 0;
};

// The packet-test window's counters.
struct PacketCounters {
  int32_t SentPackets = 0;      // sends by client or server that went out
  int32_t ReceivedPackets = 0;  // socket reads, client or server
  int32_t ClientBlocked = 0;
  int32_t ClientErrors = 0;
  int32_t ServerBlocked = 0;
  int32_t ServerErrors = 0;
  int32_t TestSequence = 0;     // number of the next test line
};

struct ExchangeState {
  flag NetConnected = 0;
  // An attempt whose failure is reported; an attempt that reconnects
  // automatically; the connection dialog's OK.
  flag Connecting = 0;
  flag ConnectRequested = 0;
  flag Reconnecting = 0;
  // The client's keep-alive: the token of its outstanding probe.
  std::string LoopProbeToken;
  flag LoopProbePending = 0;
  int32_t LoopProbeRetries = 0;
  int32_t NetClientCount = 0;
  PeerClientTable PeerClients;
  std::string ChatLog;  // code page 932, lines name ">" text CR LF
  ChatParticipants Participants;
  PacketCounters Packets;
  // The reconnect countdown window: its reason and the seconds left.
  std::string CountdownReason;
  int32_t Countdown = 0;
  flag ImportAbort = 0;
  flag TextWindowClosed = 0;
};
