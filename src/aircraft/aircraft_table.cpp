#include "aircraft/aircraft_table.h"

#include <algorithm>

// Storing, ageing, deleting and the list's rows arrive with the table's
// window; until then nothing is stored and the list stays empty.
int UpdateAircraftRecord(AircraftState&, const std::string&, const std::string&, const std::string&,
                         const AircraftPosition&, const std::string&, const std::string&) {
  return 0;
}

void UpdateTrackAges(AircraftState&) {}

int DeleteAircraft(AircraftState&, int) { return 0; }

int FindLatestAircraft(const AircraftState& aircraft) {
  const int count = std::min<int>(aircraft.AircraftCount, static_cast<int>(aircraft.Aircraft.Records.size()));
  for (int i = 0; i < count; ++i) {
    if (aircraft.Aircraft.Records[static_cast<size_t>(i)].Age == 0) return i;
  }
  return 0;
}

int FindRowByFlight(const AircraftState&, const std::string&) { return 0; }

std::string RowRegistration(const AircraftState&, int) { return ""; }

void RegisterContact(AircraftState&, const std::string&, const std::string&, const std::string&) {}

void MarkPositionReceived(AircraftState&, const std::string&, const std::string&) {}

void ClearPosMark(AircraftState&, const std::string&, const std::string&) {}

void ClearAllRows(AircraftState&) {}
