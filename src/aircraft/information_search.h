#pragma once
// What the aircraft information window works out without a widget: the
// flight search's normal form, the search itself through the list, and the
// queries of the flight-status and photo pages. Texts are code page 932
// bytes.
#include <string>

class AircraftLink;
struct AircraftState;

// The search field's text as the search normalises it: the two code bytes
// from 0x5B to 0x7F lowered by 32, zeros in front of the number until the
// text has 6 bytes (jl12 becomes JL0012; JL12345 stays).
std::string NormaliseFlightSearch(const std::string& text);

// The list row of the flight is selected, which fills the information
// window; false when the list has no such flight.
bool SearchFlightInList(AircraftState& aircraft, AircraftLink& link, const std::string& flight);

// "airline=%28JL%29&flightNumber=12" for JL0012; empty unless characters 3
// to 6 are digits (a cleared window's "------" opens nothing).
std::string FlightStatusQuery(const std::string& flight);
// "regsearch=" and the registration.
std::string PhotoSearchQuery(const std::string& registration);
