#pragma once
// The ground-station table (names and frequency tables from freqs.csv, the
// version of the system table held) and the reassembly of System Table
// HFNPDUs into a new table, shown in TForm23 and saved to system.txt and
// freqs.csv.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct FrameWalk;
struct HfdlReception;
struct HfdlSystemTablePart;

constexpr int kGroundStations = 20;  // GS IDs 0..19 have a row

// The parts of the system table being received, one slot per sequence
// number. PartOctets 0 means the part is missing.
struct SystemTableAssembly {
  static constexpr int kParts = 16;
  static constexpr int kPartOctets = 300;
  uint8_t Octets[kParts][kPartOctets] = {};
  int32_t PartOctets[kParts] = {};
  int32_t PartCount = 0;
  int32_t Version = 0;
};

// TForm23's memo: the last complete system table as text.
struct SystemTableMemo {
  std::vector<std::string> Lines;
  std::function<void()> Changed;  // set by the window that shows it
};

bool GsIdInTable(int gsId);
// The station's name; "" for an ID past the table (the field has 7 bits).
const std::string& GsName(const HfdlReception& hfdl, int gsId);

// Clears names and frequencies and fills them from FreqsCsvPath; a missing
// file leaves the table empty.
void LoadHfdlSystemTable(HfdlReception& hfdl);
// The same from the file's bytes.
void ReadFreqsCsv(HfdlReception& hfdl, std::string_view bytes);
// Writes FreqsCsvPath from the table and SystemVer.
void SaveHfdlSystemTable(const HfdlReception& hfdl);
std::string FreqsCsvText(const HfdlReception& hfdl);

// data/system.txt into the memo (LF or CR LF); a missing file leaves it empty.
void LoadSystemTableText(HfdlReception& hfdl);

// A System Table HFNPDU in the uplink LPDU at octet p of size s: stored,
// and when it completes a table of a new version, the table is decoded,
// shown in the memo and saved to system.txt and freqs.csv.
HfdlSystemTablePart HandleSystemTableHfnpdu(FrameWalk& walk, long p, int s);
// The memo lines of an assembled table; stores the frequencies in
// GsFrequencies. Records that do not fit are dropped.
std::vector<std::string> DecodeSystemTable(HfdlReception& hfdl, const std::vector<uint8_t>& octets, int version);
