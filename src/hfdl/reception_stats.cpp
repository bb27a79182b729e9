#include "hfdl/reception_stats.h"

#include <charconv>


namespace {

struct RowCode {
  const char* caption;
  int code;
};

// The window's own captions, two blanks where the columns line up.
constexpr RowCode kRowCodes[ReceptionStats::kRows - 1] = {
    {"BPSK 300bits/s  1.8s", 0},  {"BPSK 600bits/s  1.8s", 1},  {"QPSK 1200bits/s 1.8s", 2},
    {"8PSK 1800bits/s 1.8s", 3},  {"BPSK 300bits/s  4.2s", 10}, {"BPSK 600bits/s  4.2s", 11},
    {"QPSK 1200bits/s 4.2s", 12}, {"8PSK 1800bits/s 4.2s", 13}, {"MSK  2400bits/s (VHF)", 30}};

// "%0.3f" of the per cent of good items; nothing counted shows 0.000.
std::string RatioText(int64_t received, int64_t error) {
  const double ratio =
      received > 0 ? static_cast<double>(received - error) / static_cast<double>(received) * 100.0 : 0.0;
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, ratio, std::chars_format::fixed, 3);
  return ec == std::errc() ? std::string(buf, end) : std::string("0.000");
}

}  // namespace

ReceptionStats::ReceptionStats() {
  for (int r = 0; r < kRows - 1; ++r) Rows[static_cast<size_t>(r)].Caption = kRowCodes[r].caption;
  Rows[kTotalRow].Caption = "Total";
}

std::array<std::string, 4> ReceptionStats::Texts(int row) const {
  int64_t received = 0, error = 0;
  if (row == kTotalRow) {
    for (int r = 0; r < kTotalRow; ++r) {
      received += Rows[static_cast<size_t>(r)].Received;
      error += Rows[static_cast<size_t>(r)].Error;
    }
  } else {
    received = Rows.at(static_cast<size_t>(row)).Received;
    error = Rows.at(static_cast<size_t>(row)).Error;
  }
  return {Rows.at(static_cast<size_t>(row)).Caption, std::to_string(received), std::to_string(error),
          RatioText(received, error)};
}

void CountFrame(ReceptionStats& stats, int modeCode, bool failed) {
  for (int r = 0; r < ReceptionStats::kTotalRow; ++r) {
    if (kRowCodes[r].code != modeCode) continue;
    ReceptionStatsRow& row = stats.Rows[static_cast<size_t>(r)];
    row.Received += 1;
    if (failed) row.Error += 1;
    if (stats.Changed) stats.Changed();
    return;
  }
}
