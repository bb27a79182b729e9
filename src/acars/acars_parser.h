#pragma once
// The ACARS block parser: the single entry of every ACARS block, whatever
// its road (VHF, HFDL, a linked copy, an import, the DDE item).
#include <cstddef>
#include <cstdint>
#include <string>

#include "acars/acars_fields.h"
#include "acars/acars_services.h"

struct Form1State;

// Places 2..5 of a flight id: two or three digits right-justified, blanks
// as "0", then the JD -> JL and 00 -> JC conversions. Six characters in,
// six out.
std::string NormaliseFlightId(std::string id, bool convJD, bool convJC);
// The digit test on places 2..5: each a digit or an upper-case letter.
bool FlightIdPlausible(const std::string& id);

class AcarsParser {
 public:
  // bits holds bitsSize bytes, one bit each; bitCount is 8 x (index of the
  // terminator) + 24. A count outside 0..bitsSize ends the parse as a short
  // block does. SourceTag is empty afterwards, whatever happened.
  void ParseAcarsBlock(Form1State& form, const uint8_t* bits, size_t bitsSize, int bitCount, AcarsEndFlag endFlag,
                       AcarsSource source);

  std::string AcarsRawText;    // the last block's RAW text
  std::string AcarsModeName;   // ground-station name of the last mode letter
  uint8_t AcarsDownlink = 0;   // the last block was a downlink
  std::string NetAcarsText;    // the last relayed block, mapped for the link

 private:
  void Downlink(Form1State& form, const uint8_t* bits, int n, int bitCount, AcarsEndFlag endFlag, AcarsSource source);
  void Uplink(Form1State& form, const uint8_t* bits, int n, int bitCount, AcarsEndFlag endFlag, AcarsSource source);
  void Relay(Form1State& form, const uint8_t* bits, int bitCount, AcarsSource source);
  void SetModeName(const Form1State& form, char mode);

  AcarsFields fields_;
  std::string assembledDown_;
  std::string assembledUp_;
};
