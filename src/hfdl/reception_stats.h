#pragma once
// The reception statistics: per decoder mode the frames received and those
// that failed their checks, with the share of good ones, and a total.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct ReceptionStatsRow {
  const char* Caption = "";
  int64_t Received = 0;
  int64_t Error = 0;
};

struct ReceptionStats {
  static constexpr int kRows = 10;  // eight HFDL modes, VHF ACARS, the total
  static constexpr int kTotalRow = 9;
  ReceptionStats();
  std::array<ReceptionStatsRow, kRows> Rows;
  std::function<void()> Changed;  // set by the window that shows them

  // The four texts the window shows for a row: caption, received, error
  // and the per cent of good items with three decimals. The total row
  // holds the sums of rows 0..8.
  std::array<std::string, 4> Texts(int row) const;
};

// Counts one frame or ACARS block: mode codes 0..3 and 10..13 (HFDL), 30
// (VHF ACARS); a frame from a linked copy (20) and any other code count
// nowhere.
void CountFrame(ReceptionStats& stats, int modeCode, bool failed);
