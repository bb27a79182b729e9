#pragma once
// Operations of ACARS decoding that other subsystems call.
#include <cstddef>
#include <cstdint>
#include <string>

struct Form1State;

// Where an ACARS block comes from. Links, imports and DDE are Vhf.
enum class AcarsSource { Vhf = 0, Hfdl = 1 };
// How the block ends: ETX ends a message, ETB announces more blocks.
enum class AcarsEndFlag { Etb = 0, Etx = 1 };

class AcarsServices {
 public:
  virtual ~AcarsServices() = default;

  // Demodulates elements 0..511 of the channel's AudioBlock row in place and
  // feeds the framer.
  virtual void DemodulateAcarsBlock(Form1State& form, int channel);
  // Parses one block held one bit per byte (bitsSize bytes available).
  virtual void ParseAcarsBlock(Form1State& form, const uint8_t* bits, size_t bitsSize, int bitCount,
                               AcarsEndFlag endFlag, AcarsSource source);
  // Trims TextBuffers[kind] from the front to MaxBytes and refreshes the
  // received-text window when it shows that kind.
  virtual void TrimTextBuffer(Form1State& form, int kind);
  // The first record whose Age is 0, else 0.
  virtual int FindLatestAircraft(Form1State& form);
  // The framer is inside a block on this channel (the waterfall's marker).
  virtual bool InBlock(const Form1State& form, int channel);
  // The ACARS part of a channel reset: leaves the block, lamp black.
  virtual void ResetAcarsChannel(Form1State& form, int channel);

  // Matches a message against the listed search texts (TForm28). The first
  // argument is the flight id of a downlink, the station name of an uplink.
  virtual void SearchAcarsMessage(Form1State& form, const std::string& flightOrStation, const std::string& address,
                                  const std::string& text);
  // Runs the airline's position decoder over a downlink text; true when
  // this message stored a position.
  virtual bool DispatchPositionDecoder(Form1State& form, const std::string& text, const std::string& flightId,
                                       const std::string& registration, const std::string& label,
                                       const std::string& msgNo, const std::string& accessStation);
  // The parser's AcarsDownlink flag, which the HFDL flight-ID extraction
  // sets for the block it examines.
  virtual void SetAcarsDownlink(Form1State& form, bool downlink);
};

AcarsServices& DefaultAcarsServices();

// Start-up: the demodulator constants and the block stores.
void InitAcarsDemodulator(Form1State& form);
void InitAcarsStores(Form1State& form);
