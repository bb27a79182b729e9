#include "exchange/peer_link.h"

std::function<void(bool toServer, const std::string& text)> PeerLinkSent;

// The sockets arrive with the link's windows; until then no link opens and
// nothing is sent.
bool OpenServer(ExchangeState&, const std::string&) { return false; }
void CloseServer(ExchangeState&) {}
bool ConnectToServer(ExchangeState&, const std::string&, const std::string&) { return false; }
void DisconnectFromServer(ExchangeState&, bool) {}
void SendToServer(ExchangeState&, const std::string& text) {
  if (PeerLinkSent) PeerLinkSent(true, text);
}
void SendToAllClients(ExchangeState&, const std::string& text) {
  if (PeerLinkSent) PeerLinkSent(false, text);
}
