#include "aircraft/information_search.h"

#include "aircraft/aircraft_list.h"
#include "aircraft/aircraft_state.h"

std::string NormaliseFlightSearch(const std::string& text) {
  std::string code = text.substr(0, 2);
  std::string number = text.size() > 2 ? text.substr(2) : std::string();
  if (code.size() + number.size() < 6) number.insert(0, 6 - code.size() - number.size(), '0');
  for (char& c : code) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u > 'Z' && u <= 127) c = static_cast<char>(u - 32);
  }
  return code + number;
}

bool SearchFlightInList(AircraftState& aircraft, AircraftLink& link, const std::string& flight) {
  const int row = FindRowByFlight(aircraft, flight);
  if (row < 1) return false;
  SelectRow(aircraft, link, row);
  // The list window shows the row selected.
  if (aircraft.List.Changed) aircraft.List.Changed();
  return true;
}

std::string FlightStatusQuery(const std::string& flight) {
  if (flight.size() < 6) return {};
  int number = 0;
  for (size_t i = 2; i < 6; ++i) {
    if (flight[i] < '0' || flight[i] > '9') return {};
    number = number * 10 + (flight[i] - '0');
  }
  return "airline=%28" + flight.substr(0, 2) + "%29&flightNumber=" + std::to_string(number);
}

std::string PhotoSearchQuery(const std::string& registration) { return "regsearch=" + registration; }
