#pragma once
// What the program learns about each (aircraft ID, ground station) pair:
// the ICAO address from log-ons, the registration, operator code and type
// from ICAO24.csv, and whether a log-on or an ACARS block told it. Also the
// ICAO24.csv lookups that other subsystems use.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "acars/acars_message.h"

class HfdlLookups;
struct HfdlReception;

// One row of the registration window, all texts.
struct HfdlRegistrationRow {
  std::string Id;        // aircraft ID, two hex digits
  std::string Gs;        // ground-station ID, decimal
  std::string Icao24;    // six hex digits, "-" or "------"
  std::string RegNo;     // registration, "NO DATA" or "-"
  std::string Lt;        // operator code
  std::string Aircraft;  // type or description (code page 932)
  std::string Souce;     // "HFDL" or "ACARS"
};

struct HfdlRegistrationTable {
  std::vector<HfdlRegistrationRow> Rows;
  // Set by the window that shows the rows: the 0-based row that was added
  // or changed, -1 when all rows went.
  std::function<void(int row)> Changed;
};

// One line of ICAO24.csv, each field cut to its kept length.
struct Icao24Record {
  std::string Address;       // 6
  std::string ShortCode;     // 3
  std::string Operator;      // 3, shown as LT
  std::string Registration;  // 7
  std::string Description;   // 63, a CR before the line feed included
};

// ICAO24.csv parsed once, and again when its modification time or size
// changes: address lists run to tens of megabytes and a lookup happens at
// every log-on and ACARS block.
class Icao24File {
 public:
  // The file's records; false when it cannot be read (no match then).
  bool Refresh(const std::string& path);
  void Parse(std::string_view bytes);
  // The first line whose address (registration) is followed by a comma.
  bool FindByAddress(std::string_view address, Icao24Record& record) const;
  bool FindByRegistration(std::string_view registration, Icao24Record& record) const;

 private:
  struct Entry {
    uint32_t offset = 0;
    uint8_t length[5] = {};
  };
  std::string_view FieldOf(const Entry& e, int field) const;
  Icao24Record RecordOf(const Entry& e) const;
  bool Find(const std::vector<uint32_t>& index, int field, std::string_view key, Icao24Record& record) const;

  std::string path_;
  bool present_ = false;
  int64_t mtimeNs_ = -1;
  int64_t size_ = -1;
  std::string pool_;  // the kept field texts, one entry after the other
  std::vector<Entry> entries_;
  // Entry numbers sorted by field, file order kept among equals.
  std::vector<uint32_t> byAddress_, byRegistration_;
};

// Registration of an address, "NO DATA" when unlisted or no file. A match
// fills the record; otherwise it stays as it was.
std::string LookupIcao24File(HfdlReception& hfdl, const std::string& address, Icao24Record& record);
// Address of a registration. No match in a present file: "------" with
// the operator "--", short code "---" and description "-"; no file:
// "------" and the record as it was.
std::string LookupIcao24ByRegistration(HfdlReception& hfdl, const std::string& registration, Icao24Record& record);
// Description of a registration, "NO DATA" when unlisted or no file.
std::string LookupIcao24Description(HfdlReception& hfdl, const std::string& registration);

void AddRegistrationRow(HfdlRegistrationTable& table, const std::string& id, int gs, const std::string& source,
                        const std::string& lt, const std::string& registration, const std::string& aircraft,
                        const std::string& address);
// 0-based index of the first row with the address, -1 when none.
int FindRowByIcao24(const HfdlRegistrationTable& table, const std::string& address);
void UpdateRegistrationRow(HfdlRegistrationTable& table, int row, const std::string& id, const std::string& source,
                           const std::string& lt, const std::string& registration, const std::string& aircraft,
                           const std::string& address);
// 1-based index of the last row of the ID and station whose operator code
// starts with the prefix's two characters; 0 when none, -1 for ID "FF".
int FindRowByIdAndGs(const HfdlRegistrationTable& table, const std::string& id, int gs, const std::string& prefix);
// Registration of a 1-based row, "NO DATA" for no row.
std::string GetRegistrationByRow(const HfdlRegistrationTable& table, int row);
void ClearRegistrationRows(HfdlRegistrationTable& table);

// A log-on that allocated aircraft ID id to the address.
void OnHfdlLogon(HfdlReception& hfdl, const HfdlLookups& lookups, const std::string& id, const std::string& address, const std::string& source,
                 const std::string& lt, const std::string& registration, const std::string& aircraft, int gs);
// An ACARS block carried by aircraft ID id.
void OnHfdlAcars(HfdlReception& hfdl, const HfdlLookups& lookups, const AcarsBlock& block, const std::string& id,
                 int gs);
