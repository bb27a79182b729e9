#pragma once
// A VHF ACARS transmitter for tests, written from the air interface alone
// (it shares nothing with the decoder, so a shared mistake cannot hide):
// pre-key, "+" "*" SYN SYN SOH, the block, its BCS and DEL, as MSK audio.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace acars_tx {

struct Message {
  char mode = '2';
  std::string registration = "JA8089";  // right-justified in 7, filled with dots
  char ack = 0x15;                      // NAK
  std::string label = "H1";
  char blockId = '1';
  bool downlink = true;                 // downlinks carry msgNo and flightId after STX
  std::string msgNo = "M01A";
  std::string flightId = "JL0012";
  std::string text;
  bool etx = true;                      // false: ETB, more blocks follow
};

// The characters from the mode through ETX or ETB (7-bit values).
std::string BlockBody(const Message& m);
// "+" "*" SYN SYN SOH and the body: what the receiver should hand on.
std::string BlockCharacters(const Message& m);
// Bit 7 set when needed for an odd number of ones.
uint8_t WithOddParity(uint8_t c);
// CRC-16 x^16 + x^12 + x^5 + 1 as the block check: reflected, preset 0, no
// final inversion, over the given bytes.
uint16_t BlockCheck(const std::string& bytes);
// Every bit on air in order: pre-key ones, the characters least
// significant bit first with odd parity, the BCS low byte first, DEL.
std::vector<int> OnAirBits(const Message& m, int preKeyBits = 128);

struct Burst {
  Message message;
  int channel = 0;           // in a stereo signal
  double gapBefore = 0.05;   // seconds of silence before the burst on its channel
};

struct Options {
  int sampleRate = 11025;
  bool stereo = false;
  double startPhase = 0.0;   // radians, of every burst's first sample
  double rateOffset = 0.0;   // bit rate and tones scaled by 1 + rateOffset
  double snrDb = std::numeric_limits<double>::infinity();  // in 2.4 kHz
  uint32_t seed = 1;
  int preKeyBits = 128;
  double amplitude = 0.25;
  double tailSeconds = 0.5;
};

struct Signal {
  int sampleRate = 11025;
  int channels = 1;
  std::vector<double> samples;        // interleaved when stereo
  std::vector<std::string> sent;      // BlockCharacters of each burst, in order
  std::vector<double> channel(int c) const;
};

Signal Transmit(const std::vector<Burst>& bursts, const Options& options);
// 16-bit PCM wave file through libsndfile; false on failure.
bool WriteWave(const std::string& path, const Signal& signal);
// Reads a wave file as doubles (-1..1), interleaved.
bool ReadWave(const std::string& path, Signal& signal);

}  // namespace acars_tx
