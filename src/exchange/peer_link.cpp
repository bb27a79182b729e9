#include "exchange/peer_link.h"

// The sockets arrive with the link's windows; until then no link opens and
// nothing is sent.
bool OpenServer(ExchangeState&, const std::string&) { return false; }
void CloseServer(ExchangeState&) {}
bool ConnectToServer(ExchangeState&, const std::string&, const std::string&) { return false; }
void DisconnectFromServer(ExchangeState&, bool) {}
void SendToServer(ExchangeState&, const std::string&) {}
void SendToAllClients(ExchangeState&, const std::string&) {}
