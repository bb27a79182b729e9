#pragma once
// A test transmitter for HFDL bursts, written from the air-interface rules
// alone: sequences, encoder, interleaver, mapping, scrambler, pulse shaping
// and a minimal frame builder with its own CRC. It shares nothing with the
// receiver, so that the two check each other.
#include <complex>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace hfdl_tx {

// Modes in the order 300, 600, 1200, 1800 bit/s at 1.8 s, then at 4.2 s.
constexpr int kModeCount = 8;
int InformationBits(int mode);
// The largest payload that leaves at least six zero bits to end the code.
int MaxPayloadOctets(int mode);
int InterleaverColumns(int mode);
int Segments(int mode);  // 72 or 168
const char* ModeName(int mode);

// Each sequence built by its own rule.
std::vector<uint8_t> SequenceA();          // 127 bits
std::vector<uint8_t> SequenceM1();         // 127 bits
std::vector<uint8_t> ModeBits(int mode);   // 142 bits: M1 then M2
std::vector<uint8_t> SequenceT();          // 15 bits
std::vector<uint8_t> ScramblerBits();      // 120 bits

// Rate 1/2, K = 7, from state 0: per bit the 133 then the 171 output.
std::vector<uint8_t> Encode(const std::vector<uint8_t>& bits);
// The order the code bits are sent in.
std::vector<uint8_t> Interleave(const std::vector<uint8_t>& codeBits, int columns, int k);
// Payload octets, least significant bit first, padded with zeros.
std::vector<uint8_t> InformationBitsOf(const std::vector<uint8_t>& payload, int mode);

// All symbols of a burst as unit phasors, prekey first.
std::vector<std::complex<double>> BurstSymbols(int mode, const std::vector<uint8_t>& payload, bool invert = false);
constexpr int kPrekeySymbols = 448;

struct SignalOptions {
  bool noise = false;
  double snrDb = 30.0;     // in 3 kHz
  double offsetHz = 0.0;   // carrier offset from 1440 Hz
  double clockPpm = 0.0;   // sample clock error
  double rolloff = 0.35;
  int sampleRate = 11025;
  double rms = 3000.0;     // of the noiseless burst over preamble and data
  uint64_t seed = 1;
};

struct Burst {
  int mode = 0;
  std::vector<uint8_t> payload;
  bool invert = false;
};

// Audio of the bursts, each preceded and followed by 1 s of noise (or
// silence). Samples are not clipped: WriteWave refuses what would clip.
std::vector<double> Render(const std::vector<Burst>& bursts, const SignalOptions& options);

// 16-bit PCM through libsndfile; one vector per channel, equal lengths.
bool WriteWave(const std::string& path, const std::vector<std::vector<double>>& channels, int sampleRate,
               std::string& error);

// CRC-16/X-25 of the octets.
uint16_t Crc16(const uint8_t* data, size_t count);
// A 66-octet squitter with its CRC.
std::vector<uint8_t> BuildSquitter(std::mt19937_64& rng);
// A downlink MPDU of exactly octets octets: header with the LPDU sizes and
// its CRC, then LPDUs each ending in its check sequence.
std::vector<uint8_t> BuildDownlinkMpdu(int octets, std::mt19937_64& rng);
// What the sensitivity run sends in a mode: squitters at 300 bit/s 1.8 s,
// otherwise MPDUs filling the payload.
std::vector<uint8_t> BuildFrameForMode(int mode, std::mt19937_64& rng);

}  // namespace hfdl_tx
