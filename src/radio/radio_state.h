#pragma once
// Receiver control's state: the frequency list, the targets and the port's
// state of both receivers, the send log, and what the grid and the keypad
// remember. Text is bytes in code page 932.
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "radio/receiver_commands.h"

// One row of the frequency list: a used ground station.
struct FrequencyRow {
  int stationId = 0;
  std::string name;
  std::string checkedTime = "--:--:--";
  std::array<std::string, 3> frequencies = {"-", "-", "-"};  // "8942kHz" or "-"
};

// A grid cell acted on, with the receiver it tuned.
struct GridCell {
  int channel = -1;
  int column = -1;
  int row = -1;
  bool operator==(const GridCell& o) const { return channel == o.channel && column == o.column && row == o.row; }
};

// The tuning in progress: its steps go out one by one from the event loop.
struct TuningJob {
  enum class Phase { Idle, Writing, Pausing, Draining };
  Phase phase = Phase::Idle;
  int channel = 0;
  int32_t target = 0;
  std::string port;
  std::vector<TuningStep> steps;
  // Why the steps hold no frequency command; empty when they do.
  std::string frequencyLeftOut;
  size_t step = 0;          // the step being sent
  int64_t unconfirmed = 0;  // its bytes the driver has not taken yet
};

struct RadioState {
  // The frequency list (TForm20's rows); its window follows RowsChanged.
  std::vector<FrequencyRow> FrequencyRows;
  std::function<void()> RowsChanged;

  int32_t TargetFreqL = 0, TargetFreqR = 0;
  uint8_t PortBusy = 0;
  // The last target a tuning was started for, per channel; 0 after a
  // failure, so that the same target can be tried again.
  std::array<int32_t, 2> LastSentFreq = {};
  // A channel whose tuning found the port busy waits for Timer2.
  std::array<bool, 2> TunePending = {};
  TuningJob Job;

  // The serial ports found at start-up; ComNoL/ComNoR index them.
  std::vector<std::string> Ports;
  // "channel|port|reason" of failures already reported on standard error
  // and the status bar; forgotten when the port opens again.
  std::set<std::string> ReportedFailures;

  // The send log (TForm24's Memo1); its window follows SendLogAdded.
  std::vector<std::string> SendLog;
  std::function<void(const std::string& line)> SendLogAdded;
  // TForm20's caption once an ALINCO receiver was tuned.
  std::string FreqListCaption;
  std::function<void()> CaptionChanged;

  // The grid (TForm25): the receiver a chosen cell tunes, the station id of
  // each grid row (row 0 is the header) and the last cell acted on.
  int32_t GridChannel = 0;
  std::vector<int32_t> GridRowStation;
  GridCell LastGridCell;

  // The keypad (TForm29).
  int32_t KeypadChannel = 0;
  std::string KeypadEntry;
  std::string KeypadLastValue;
};
