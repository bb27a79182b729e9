#include "radio/receiver_commands.h"

namespace {

// Targets at or above these do not fit the family's frequency field.
constexpr int32_t kIcomLimitKhz = 2000000;       // ten Hz digits
constexpr int32_t kYaesuLimitKhz = 1000000;      // eight digits of 10 Hz
constexpr int32_t kKenwoodLimitKhz = 100000000;  // eleven Hz digits
constexpr int32_t kAlincoLimitKhz = 100000;      // eight Hz digits
constexpr int kAlincoPauseMs = 100;

int DigitValue(char c) {
  const int v = c - '0';
  return v <= 9 ? v : c - 55;
}

// A pair of hexadecimal (or BCD) characters as one byte, first in the high
// nibble.
uint8_t PairByte(char first, char second) { return static_cast<uint8_t>(16 * DigitValue(first) + DigitValue(second)); }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace

std::string MhzText(int32_t kHz) {
  std::string text = std::to_string(kHz / 1000);
  int remainder = kHz % 1000;
  if (remainder < 0) remainder = -remainder;
  if (remainder == 0) return text;
  std::string digits = std::to_string(1000 + remainder).substr(1);
  while (digits.back() == '0') digits.pop_back();
  return text + "." + digits;
}

std::string HzDigits(int32_t kHz, size_t width) {
  std::string digits = std::to_string(static_cast<int64_t>(kHz) * 1000);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

uint8_t IcomAddress(const std::string& text) {
  std::string digits;
  for (char c : text.substr(0, 2)) digits += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  if (digits.size() == 1) digits.insert(0, "0");
  if (digits.empty() || !IsHexDigit(digits[0]) || !IsHexDigit(digits[1])) return 0xFF;
  return PairByte(digits[0], digits[1]);
}

Bytes CivSetFrequency(int32_t kHz, uint8_t address) {
  if (kHz < 1 || kHz >= kIcomLimitKhz) return {};
  const std::string d = HzDigits(kHz, 10);
  // Five BCD bytes, the 1 Hz and 10 Hz digits first.
  const Bytes bcd = {PairByte(d[8], d[9]), PairByte(d[6], d[7]), PairByte(d[4], d[5]), PairByte(d[2], d[3]),
                     PairByte(d[0], d[1])};
  Bytes frame = {0xFE, 0xFE, address, 0xE0, 0x05};
  frame.insert(frame.end(), bcd.begin(), bcd.end());
  frame.push_back(0xFD);
  return frame;
}

Bytes CivSetModeUsb(uint8_t address) { return {0xFE, 0xFE, address, 0xE0, 0x06, 0x01, 0xFD}; }

Bytes YaesuCommand00() { return {0x00, 0x00, 0x00, 0x00, 0x00}; }

Bytes YaesuSetFrequency(int32_t kHz) {
  if (kHz < 1 || kHz >= kYaesuLimitKhz) return {};
  // Tens of Hz, most significant first.
  std::string d = HzDigits(kHz, 9);
  d.pop_back();
  return {PairByte(d[0], d[1]), PairByte(d[2], d[3]), PairByte(d[4], d[5]), PairByte(d[6], d[7]), 0x01};
}

Bytes YaesuSetModeUsb() { return {0x01, 0x00, 0x00, 0x00, 0x07}; }

Bytes YaesuCommand80() { return {0x00, 0x00, 0x00, 0x00, 0x80}; }

Bytes AorSetFrequency(int32_t kHz) {
  if (kHz < 1) return {};
  return Text("RF" + MhzText(kHz) + "\r\n");
}

Bytes AorSetModeUsb() { return Text("MD3\r\n"); }

Bytes KenwoodSetFrequency(int32_t kHz) {
  if (kHz < 1 || kHz >= kKenwoodLimitKhz) return {};
  return Text("FA" + HzDigits(kHz, 11) + ";");
}

Bytes KenwoodSetModeUsb() { return Text("MD2;"); }

Bytes AlincoSetModeUsb() { return Text("AL~RW_RFM00\r\n"); }

Bytes AlincoSetAgc() { return Text("AL~RW_AGC00\r\n"); }

Bytes AlincoSetFrequency(int32_t kHz) {
  if (kHz < 1 || kHz >= kAlincoLimitKhz) return {};
  return Text("AL~RW_RXF" + HzDigits(kHz, 8) + "\r\n");
}

TuningPlan BuildTuningPlan(RadioType type, int32_t kHz, const std::string& address) {
  TuningPlan plan;
  plan.stopBits = (type == RadioType::Kenwood || type == RadioType::Alinco) ? 1 : 2;
  std::vector<TuningStep>& steps = plan.steps;
  auto add = [&steps](Bytes bytes, int pauseAfterMs = 0) { steps.push_back({std::move(bytes), pauseAfterMs}); };
  // A frequency command that does not fit is left out, and said so; the
  // rest still goes.
  auto addFrequency = [&](Bytes bytes, const char* family, int32_t limitKhz) {
    if (!bytes.empty()) {
      add(std::move(bytes));
    } else if (kHz < 1) {
      plan.frequencyLeftOut = "below 1kHz";
    } else {
      plan.frequencyLeftOut = std::string(family) + " takes below " + std::to_string(limitKhz) + "kHz";
    }
  };
  switch (type) {
    case RadioType::Icom:
      addFrequency(CivSetFrequency(kHz, IcomAddress(address)), "ICOM", kIcomLimitKhz);
      add(CivSetModeUsb(IcomAddress(address)));
      break;
    case RadioType::Yaesu:
      add(YaesuCommand00());
      addFrequency(YaesuSetFrequency(kHz), "YAESU", kYaesuLimitKhz);
      add(YaesuSetModeUsb());
      add(YaesuCommand80());
      break;
    case RadioType::Aor:
      // Any target from 1 kHz fits its text.
      addFrequency(AorSetFrequency(kHz), "AOR", 0);
      add(AorSetModeUsb());
      break;
    case RadioType::Kenwood:
      addFrequency(KenwoodSetFrequency(kHz), "KENWOOD", kKenwoodLimitKhz);
      add(KenwoodSetModeUsb());
      break;
    case RadioType::Alinco:
      add(AlincoSetModeUsb(), kAlincoPauseMs);
      add(AlincoSetAgc(), kAlincoPauseMs);
      addFrequency(AlincoSetFrequency(kHz), "ALINCO", kAlincoLimitKhz);
      if (kHz >= 1 && kHz < kAlincoLimitKhz) plan.caption = HzDigits(kHz, 8);
      break;
    default:
      plan.frequencyLeftOut = "receiver type " + std::to_string(static_cast<int32_t>(type)) + " is not 0..4";
      break;
  }
  return plan;
}
