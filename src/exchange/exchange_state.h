#pragma once
// The link between copies and the log import, as far as the rest of the
// program reads them.
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "exchange/peer_client_table.h"

struct ExchangeState {
  flag NetConnected = 0;
  flag Connecting = 0;
  flag ConnectRequested = 0;
  flag Reconnecting = 0;
  std::string ChatLog;
  std::string LoopPayload;
  flag LoopProbePending = 0;
  int32_t LoopProbeRetries = 0;
  int32_t NetClientCount = 0;
  int32_t NetClientState = 0;
  PeerClientTable PeerClients;
  flag ImportAbort = 0;
  flag TextWindowClosed = 0;
};
