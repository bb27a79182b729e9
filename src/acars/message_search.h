#pragma once
// The message-text search over every whole ACARS message.
#include <string>

// Matches a message against the listed search texts. flightOrStation is the
// flight id of a downlink, the station name of an uplink.
void SearchAcarsMessage(const std::string& flightOrStation, const std::string& address, const std::string& text);
