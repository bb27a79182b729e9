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

struct Form1State;
class FrameAnalysis;

constexpr int kGroundStations = 20;  // GS IDs 0..19 have a row

// The parts of the system table being received, one slot per sequence
// number. PartOctets 0 means the part is missing.
struct SystemTableAssembly {
  static constexpr int kParts = 16;
  static constexpr int kPartBits = 2400;
  uint8_t Bits[kParts][kPartBits] = {};
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
const std::string& GsName(const Form1State& form, int gsId);

// Clears names and frequencies and fills them from FreqsCsvPath; a missing
// file leaves the table empty.
void LoadHfdlSystemTable(Form1State& form);
// The same from the file's bytes.
void ReadFreqsCsv(Form1State& form, std::string_view bytes);
// Writes FreqsCsvPath from the table and SystemVer.
void SaveHfdlSystemTable(Form1State& form);
std::string FreqsCsvText(const Form1State& form);

// data/system.txt into the memo (LF or CR LF); a missing file leaves it empty.
void LoadSystemTableText(Form1State& form);

// A System Table HFNPDU in the uplink LPDU at octet p of size s.
void HandleSystemTableHfnpdu(FrameAnalysis& frame, long p, int s);
// The memo lines of an assembled table of T octets (one bit per byte);
// stores the frequencies in GsFrequencies. Records that do not fit are
// dropped.
std::vector<std::string> DecodeSystemTable(Form1State& form, const std::vector<uint8_t>& bits, int version);
