#pragma once
// The TCP link between copies of the program: one server, clients.
#include <functional>
#include <string>

struct ExchangeState;

// Starts listening as a server; false on any failure, without a message.
bool OpenServer(ExchangeState& exchange, const std::string& port);
void CloseServer(ExchangeState& exchange);
// Starts a client connection; false when the attempt failed at once.
bool ConnectToServer(ExchangeState& exchange, const std::string& host, const std::string& port);
void DisconnectFromServer(ExchangeState& exchange, bool withMessage);
void SendToServer(ExchangeState& exchange, const std::string& text);
void SendToAllClients(ExchangeState& exchange, const std::string& text);

// The sockets are not built yet: what would be sent (to the server, or to
// every client) is handed here instead, so that a test can see the relay.
extern std::function<void(bool toServer, const std::string& text)> PeerLinkSent;
