#pragma once
// The command sets of the five receiver families, as bytes. Nothing here
// touches a port: the tuning writes what these build.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A receiver family (TypeL/TypeR); values outside 0..4 come from the
// settings file and send nothing.
enum class RadioType : int32_t { Icom = 0, Yaesu = 1, Aor = 2, Kenwood = 3, Alinco = 4 };

// The target as the MHz text of the command sets: kHz / 1000, then "." and
// the remainder's digits without trailing zeros (8942 "8.942", 5000 "5").
std::string MhzText(int32_t kHz);
// The frequency in Hz as decimal digits, left-padded with '0' to width.
std::string HzDigits(int32_t kHz, size_t width);
// The ICOM address byte: two hexadecimal digits, either case; one digit
// reads with a leading 0; empty or not hexadecimal reads as FF.
uint8_t IcomAddress(const std::string& text);

// Each returns its bytes; a frequency builder returns none for a target
// below 1 kHz or one whose digits do not fit the family's field.
Bytes CivSetFrequency(int32_t kHz, uint8_t address);
Bytes CivSetModeUsb(uint8_t address);
Bytes YaesuCommand00();
Bytes YaesuSetFrequency(int32_t kHz);
Bytes YaesuSetModeUsb();
Bytes YaesuCommand80();
Bytes AorSetFrequency(int32_t kHz);
Bytes AorSetModeUsb();
Bytes KenwoodSetFrequency(int32_t kHz);
Bytes KenwoodSetModeUsb();
Bytes AlincoSetModeUsb();
Bytes AlincoSetAgc();
Bytes AlincoSetFrequency(int32_t kHz);

// One command and the pause that follows it.
struct TuningStep {
  Bytes bytes;
  int pauseAfterMs = 0;
};

struct TuningPlan {
  int stopBits = 2;
  std::vector<TuningStep> steps;
  // The frequency list's caption after an ALINCO tuning: its 8 Hz digits.
  std::string caption;
  // Why the frequency command was left out ("YAESU takes below
  // 1000000kHz"); empty when the plan sends it.
  std::string frequencyLeftOut;
};

// What tuning a receiver of the family to kHz sends, in order.
TuningPlan BuildTuningPlan(RadioType type, int32_t kHz, const std::string& address);
