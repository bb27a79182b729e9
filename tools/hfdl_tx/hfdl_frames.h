#pragma once
// Frames for the test transmitter, built field by field from the HFDL
// frame layouts: squitters, uplink and downlink MPDUs with their LPDUs,
// and the HFNPDUs the program decodes. Octets are returned as sent, each
// least significant bit first on the air; check sequences are computed
// here with the transmitter's own CRC.
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace hfdl_tx {

using Octets = std::vector<uint8_t>;

struct SquitterFields {
  int gsId = 1;
  bool utc = true;
  int changeNote = 0;
  bool iso8208NotSupported = false;
  int version = 0;  // two bits
  int frameIndex = 0;
  int frameOffset = 0;
  std::array<uint8_t, 12> slotAssignments{};
  uint32_t mask1 = 0;  // frequency slot k + 1 in use: bit k
  int gsId2 = 0;
  uint32_t mask2 = 0;
  int gsId3 = 0;
  uint32_t mask3 = 0;
};
Octets BuildSquitter(const SquitterFields& f);

// An LPDU: the octets given (type first) and its check sequence. Its size
// field S is the returned length - 1.
Octets Lpdu(const Octets& body);
// A log-on family LPDU: type, the ICAO address (each octet sent most
// significant bit first), then octet 4 when octet4 >= 0, then the rest. An
// HFNPDU takes the place of octet 4: its type's high octet is 0xFF.
Octets LogonLpdu(uint8_t type, uint32_t icao, int octet4, const Octets& rest = {});
// An Unnumbered Data LPDU (or another type) carrying an HFNPDU.
Octets DataLpdu(const Octets& hfnpdu, uint8_t type = 0x0D);

// HFNPDUs, from their type octets on.
Octets TypeOnlyHfnpdu(uint16_t type);
// Performance (0xFFD1) or Frequency (0xFFD5) Data: flight ID (six octets,
// zero-filled), 20-bit latitude and longitude fields, time in 2 s units.
Octets PositionHfnpdu(uint16_t type, const std::string& flight, uint32_t latField, uint32_t lonField,
                      uint16_t timeUnits);
// An ACARS block: SOH .. ETX (or ETB) with odd parity, its block check
// sequence and DEL.
struct AcarsBlockFields {
  char mode = '2';
  std::string address = ".JA8089";  // seven characters
  char ack = 0x15;
  std::string label = "5Z";
  char blockId = '2';
  std::string msgNo = "M01A";     // downlinks only
  std::string flight = "JL12  ";  // downlinks only
  std::string text = "TEST";
  bool etx = true;
};
Octets AcarsBlock(const AcarsBlockFields& f);
Octets EnvelopedHfnpdu(const Octets& acarsBlock);
// One part of a system table: sequence number, part count - 1, version.
Octets SystemTableHfnpdu(int sequence, int partsMinusOne, int version, const Octets& data);

struct FrequencyEntry {
  std::array<int, 6> digits{};  // 0.1 kHz, 1, 10, 100, 1000, 10000 kHz
  int slotOffset = 0;
};
FrequencyEntry Frequency(int tenthsOfKhz, int slotOffset);
struct StationRecord {
  int gsId = 0;
  bool utc = true;
  uint32_t latField = 0;  // 20-bit two's complement, 524287 = 180 degrees
  uint32_t lonField = 0;
  std::vector<FrequencyEntry> frequencies;
};
Octets SystemTableData(const std::vector<StationRecord>& records);

struct DownlinkMpduFields {
  int gsId = 1;
  bool utc = true;
  int aircraftId = 0xFF;
  int rateCode = 1;
  std::vector<Octets> lpdus;
  bool breakParity = false;
  bool breakHeaderCrc = false;
  std::vector<int> sizes;  // when given, the header's size fields instead of the LPDUs' own
};
Octets BuildDownlinkMpdu(const DownlinkMpduFields& f);

struct UplinkAircraft {
  int aircraftId = 0xFF;
  int rateCode = 1;
  std::vector<Octets> lpdus;
  bool breakParity = false;
};
struct UplinkMpduFields {
  int gsId = 1;
  bool utc = true;
  std::vector<UplinkAircraft> aircraft;
};
Octets BuildUplinkMpdu(const UplinkMpduFields& f);

// The octets a frame of the given size carries, random but with valid
// check sequences: squitters (any GS ID, full masks), uplink and downlink
// MPDUs with LPDU sizes 0-255, some reaching past the frame, and LPDU and
// HFNPDU types weighted toward those the program decodes.
Octets RandomValidFrame(std::mt19937_64& rng, int frameOctets);

// Octets in the hex form of the HFDL relay: low nibble first.
std::string RelayHex(const Octets& octets);

// The frames of the analysis scenario, each sent in the mode (0..7) the
// scenario gives it.
struct ScenarioFrame {
  int mode;
  Octets octets;
};
// A squitter of GS 1 (mode 0).
ScenarioFrame ScenarioSquitter();
// A downlink Log-on Request (Normal) of ICAO 800001 carrying Performance
// Data of the flight (mode 1).
ScenarioFrame ScenarioLogonRequest(const std::string& flight);
// An uplink MPDU of two aircraft, the second a Log-on Confirm allocating
// ID 23 (mode 6).
ScenarioFrame ScenarioLogonConfirm();
// A downlink MPDU carrying an ACARS message of .JA8089, flight JL12 (mode 3).
ScenarioFrame ScenarioAcars();
// Performance Data in a downlink data LPDU (mode 4).
ScenarioFrame ScenarioPerformanceData();
// Frequency Data in an uplink data LPDU (mode 7).
ScenarioFrame ScenarioFrequencyData();
// Part 0, 1 or 2 of system table version 36 (mode 2).
ScenarioFrame ScenarioSystemTablePart(int sequence);
// The whole scenario for a recording: each frame once, the system table
// parts in the order 2, 0, 1.
std::vector<ScenarioFrame> AnalysisScenario();

}  // namespace hfdl_tx
