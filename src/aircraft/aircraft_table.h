#pragma once
// The received-aircraft table: what is stored of each aircraft heard and
// its track, and the list window's rows.
#include <string>

#include "acars/position_report.h"
#include "aircraft/aircraft_state.h"

// Stores a report; 1 when stored, 0 when dropped. Time is "HHMM".
int UpdateAircraftRecord(AircraftState& aircraft, const std::string& flightId, const std::string& registration,
                         const std::string& reportId, const AircraftPosition& position, const std::string& time,
                         const std::string& accessStation);
void UpdateTrackAges(AircraftState& aircraft);
// 1 when the record was deleted, 0 when index is not below AircraftCount.
int DeleteAircraft(AircraftState& aircraft, int index);
// The first record whose Age is 0, else 0.
int FindLatestAircraft(const AircraftState& aircraft);

// The received-aircraft list window's rows.
// The 1-based row of a flight, 0 when it has none.
int FindRowByFlight(const AircraftState& aircraft, const std::string& flightId);
// The registration column of a 1-based list row.
std::string RowRegistration(const AircraftState& aircraft, int row);
void RegisterContact(AircraftState& aircraft, const std::string& flightId, const std::string& registration,
                     const std::string& accessStation);
void MarkPositionReceived(AircraftState& aircraft, const std::string& flightId, const std::string& registration);
void ClearPosMark(AircraftState& aircraft, const std::string& registration, const std::string& flightId);
void ClearAllRows(AircraftState& aircraft);
