#pragma once
// The watch list of registrations and flight numbers.
#include <string>

struct AircraftState;

// A downlink of this registration or flight was heard.
void CheckSearchHit(AircraftState& aircraft, const std::string& registration, const std::string& flightId);
