#pragma once
// The received-aircraft table: each aircraft whose position was received,
// with its identity, route, type and a short track of reports, oldest
// first. Reports come from the ACARS position decoders and the HFDL
// analysis; the list window removes records and brings in types and
// registrations; the block pipeline ages the points. Flight ids and
// registrations are stored and compared by their first 7 characters.
#include <string>

#include "acars/position_report.h"
#include "aircraft/aircraft_link.h"
#include "aircraft/aircraft_state.h"
#include "app/settings_sections.h"
#include "platform/date_time.h"

// Stores a report ("HHMM" in UTC, or text beginning '-' for none, turned
// local by LocalHourOffset): a further point of a known aircraft, a new
// record, or, with the table full, the record heard least recently
// replaced. 1 when stored; 0 for a repeat of the record's last report id
// (not "XXXX") or the same position as its last point, which change
// nothing.
int UpdateAircraftRecord(AircraftState& aircraft, const EtcSettings& etc, AircraftLink& link,
                         const std::string& flightId, const std::string& registration, const std::string& reportId,
                         const AircraftPosition& position, const std::string& time, const std::string& accessStation);
// The records of the flight keep the id of the report just stored.
void SetAircraftReportId(AircraftState& aircraft, const std::string& flightId, const std::string& reportId);
// The 1-based number of the flight's first record, 0 when it has none.
int FindAircraftByFlightId(const AircraftState& aircraft, const std::string& flightId);
// 1 when the record with this 0-based index was deleted, 0 when the index
// is not in use. The map's selection stays on the same aircraft.
int DeleteAircraft(AircraftState& aircraft, AircraftLink& link, int index);
// The flight's record takes the registration and the type of list row
// (1-based) that learned them.
void SetAircraftTypeAndReg(AircraftState& aircraft, AircraftLink& link, const std::string& registration,
                           const std::string& flightId, int row);
// The flight's first record's points in the order of their report times; a
// step back of 12 hours or more is a midnight wrap and stays.
void SortAircraftTrackByTime(AircraftState& aircraft, const std::string& flightId);
// The fading class of every point by its age at blockTime, in steps of
// TimeAdjustMin minutes.
void UpdateTrackAges(AircraftState& aircraft, const MapSettings& map, AircraftLink& link, TDateTime blockTime);
// The first record whose Age is 0 (heard last), else 0.
int FindLatestAircraft(const AircraftState& aircraft);

// "HH:MM" of a report time "HHMM" in local time; "--:--" when it is not
// four digits or no time of day.
std::string ReportTimeText(const std::string& time, int localHourOffset);
// A record's 7-character field as text.
std::string RecordText(const char* field);
