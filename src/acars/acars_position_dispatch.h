#pragma once
// Airline position reports: the dispatcher picks an airline's decoder by the
// flight id's first two characters; the decoder finds the position groups
// of its layout in the downlink message's text, and each group becomes a
// PositionReport that is handed over to be stored at once. A message whose
// last store was accepted completes: its message number goes to the
// aircraft's record, the map follows, the list row shows its position mark.
#include <cstdint>
#include <string>

#include "acars/position_report.h"
#include "app/settings_sections.h"

// What the position decoders ask of the program around them.
class PositionLink {
 public:
  virtual ~PositionLink() = default;
  // Hands a report over to the received-aircraft table; true when stored.
  virtual bool StorePosition(const PositionReport& report) = 0;
  // After the message's last store was accepted: the record of the flight
  // keeps the message number, so that the message is not stored twice...
  virtual void SetAircraftReportId(const std::string& flightId, const std::string& reportId) = 0;
  // ...the map keeps its view, selects the newest aircraft while it
  // follows the newest, and redraws the aircraft...
  virtual void FollowStoredPosition() = 0;
  // ...and the list row of the flight shows its position mark.
  virtual void MarkPositionReceived(const std::string& flightId, const std::string& registration) = 0;
};

// What the decoders keep between groups and messages.
struct AcarsPositionState {
  flag Valid = 0;           // a group with valid digits was found
  flag FieldValid[4] = {};  // altitude, temperature, heading, wind
  flag NhCorrection = 0;    // an NH "PO6" report: its position is moved
  flag FromAcars = 0;       // the message's last store was accepted
};

// The dispatcher's inputs, as every decoder takes them.
struct PositionMessage {
  std::string Text;  // the message text; it ends at its first NUL
  std::string FlightId, Registration, Label, MsgNo;
  std::string AccessStation;  // "ACARS:" and the station name
};

// Runs at most one decoder over a whole downlink message's text; true when
// its last store was accepted (FromAcars). The access station is "ACARS:"
// and the ground-station name.
bool DispatchPositionDecoder(AcarsPositionState& state, const MapSettings& map, PositionLink& link,
                             const std::string& text, const std::string& flightId, const std::string& registration,
                             const std::string& label, const std::string& msgNo, const std::string& accessStation);

// One position group as a decoder read it: the digit strings of latitude
// (5) and longitude (6) with a NUL in the places a layout does not fill,
// the hemispheres, the time "HHMM" as sent ("-" for none) and the other
// values with their none values where FieldValid is clear.
struct PositionGroup {
  char Lat[5] = {};
  char Lon[6] = {};
  bool North = false;
  bool East = false;
  std::string Time = "-";
  int32_t Altitude = 90000;
  int32_t Temperature = 100;
  int32_t Heading = 400;
  int32_t WindDir = 400;
  int32_t WindSpeed = 0;
};

// Degrees and minutes (DDMMm, DDDMMm) or decimal degrees (DDddd, DDDddd)
// into a stored report; true when the table accepted it. A position of
// exactly 0 in either coordinate stores nothing.
bool StoreDegMinPosition(const AcarsPositionState& state, PositionLink& link, const PositionMessage& message,
                         const PositionGroup& group);
bool StoreDecimalPosition(const AcarsPositionState& state, PositionLink& link, const PositionMessage& message,
                          const PositionGroup& group);
// The completion of a message whose last store was accepted (stored):
// true then, false and nothing done otherwise.
bool PositionStored(PositionLink& link, bool stored, const std::string& flightId, const std::string& reportId);
