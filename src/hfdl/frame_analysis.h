#pragma once
// The entry of HFDL frame analysis: a squitter (SPDU) or a data frame
// (MPDU) is checked and taken apart layer by layer into an HfdlFrame. The
// analysis keeps HFDL's own tables as it goes, in the order the frame
// carries things (a later LPDU reads what an earlier one registered): the
// ground stations' frequencies in use, the system table being assembled
// and the registrations. Everything else is done by the sinks of the value.
#include <string>

#include "app/settings_sections.h"
#include "hfdl/hfdl_frame.h"

struct HfdlReception;

// What the analysis asks of the aircraft reference data.
class HfdlLookups {
 public:
  virtual ~HfdlLookups() = default;
  // The two-letter code of the three-letter airline designator that
  // begins flightId; "--" when there is none.
  virtual std::string LookupAirline3(const std::string& flightId) const = 0;
  // The aircraft type of a registration; false when unknown.
  virtual bool LookupAircraftType(const std::string& registration, std::string& type) const = 0;
};

// The tables a data file cannot answer from: no airline codes, no types.
const HfdlLookups& NoHfdlLookups();

// One frame: the input's bits (8 x the mode's octet count for own
// reception, 4 x the hex digits for a frame from a linked copy). Nothing is
// read past them. PassList and the flight-id conversions come from etc.
HfdlFrame AnalyzeHfdlFrame(HfdlReception& hfdl, const EtcSettings& etc, const HfdlLookups& lookups,
                           HfdlFrameInput input);

// The analysis line of an uplink data rate code.
std::string DataRateLine(int code);
// "UTC Link = Synchronized" or "... Not synchronized".
std::string UtcLine(bool synchronized);
