#pragma once
// The received-aircraft list: one row per flight and registration heard,
// completed from the reference files, kept sorted by flight and addressed
// by 1-based position (0: no row). Rows age out, are deleted by the user,
// fill the information window when selected, and each new row adds a line
// to the day's LIST log.
#include <functional>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "platform/date_time.h"

class AircraftLink;
struct AircraftInformation;
struct AircraftState;

struct AircraftListRow {
  std::string Flight;
  std::string Pic;           // the photograph mark
  std::string Registration;  // "unknown" when the message carried none
  std::string Pos;           // the position mark
  std::string Dept, Dest;    // "----" when flight.csv does not list the flight
  std::string Aircraft;      // the type
  std::string Remarks;       // "-" likewise
  std::string AccessStation;
  std::string LastTime;       // "HH:mm:ss" of the last contact
  TDateTime LastContact = 0;  // its date and time, by which the row ages
};

struct AircraftList {
  std::vector<AircraftListRow> Rows;  // row r is Rows[r - 1]
  int Selected = 0;
  // The list window shows the rows anew.
  std::function<void()> Changed;
};

// The marks "X" and "O", "×" and "○" in Japanese (code page 932).
std::string NoMark(bool english);
std::string YesMark(bool english);

// The first row whose flight equals flight and whose registration equals
// registration or is "unknown".
int FindRowByRegAndFlight(const AircraftState& aircraft, const std::string& registration, const std::string& flight);
int FindRowByFlight(const AircraftState& aircraft, const std::string& flight);
// The registration column of a row; "" for no row.
std::string RowRegistration(const AircraftState& aircraft, int row);

// A contact from the air: the row of the flight and registration learns
// its last time and station (and, when it had none, the registration), or
// a new row is added, selected while ShowNew is on, and logged while
// ListLog is on.
void RegisterContact(AircraftState& aircraft, const ListSettings& list, AircraftLink& link, const std::string& flight,
                     const std::string& registration, const std::string& accessStation);
void AddListRow(AircraftState& aircraft, const AircraftLink& link, const std::string& flight,
                const std::string& registration, const std::string& dept, const std::string& dest,
                const std::string& type, const std::string& remark, const std::string& accessStation);
void UpdateRow(AircraftState& aircraft, AircraftLink& link, int row, const std::string& registration,
               const std::string& accessStation);
// The position mark of the flight's row, set with its last time; the
// information window's position label follows when it shows that aircraft.
void MarkPositionReceived(AircraftState& aircraft, AircraftLink& link, const std::string& flight,
                          const std::string& registration);
void ClearPosMark(AircraftState& aircraft, const AircraftLink& link, const std::string& registration,
                  const std::string& flight);
void ClearAllRows(AircraftState& aircraft);

// ---- The list window's actions ----
// Selecting a row shows it in the information window.
void SelectRow(AircraftState& aircraft, AircraftLink& link, int row);
// What the information window shows of a row.
AircraftInformation InformationOf(const AircraftState& aircraft, const AircraftListRow& row, bool english);
// The information window's empty state, with the fallback photograph.
void ResetInformation(AircraftState& aircraft, AircraftLink& link);
// Timer1: rows not heard for more than DeleteTime minutes go, and their
// aircraft with them.
void AgeListRows(AircraftState& aircraft, const ListSettings& list, AircraftLink& link);
// The Delete key: the selected row and its aircraft go after a Yes.
void DeleteSelectedRow(AircraftState& aircraft, AircraftLink& link);
// The double-click: the web flight lookup of the selected row.
void OpenFlightLookup(const AircraftState& aircraft, AircraftLink& link);

// The status panel: the row count and " contacts".
std::string ListStatusText(const AircraftState& aircraft);
// A row's LIST log line, CR LF ended.
std::string ListLogLine(const AircraftListRow& row);
