#pragma once
// Tuning by hand: a cell of the grid of all frequencies, or a frequency
// typed on the keypad.
#include <string>

#include "app/settings_sections.h"
#include "radio/frequency_list.h"
#include "radio/radio_state.h"

struct HfdlReception;

// The grid is shown: its rows are the used stations as they are now (grid
// row r shows GridRowStation[r]; row 0 is the header) and no cell counts as
// chosen yet.
void ShowGrid(RadioState& radio, const HfdlReception& hfdl);
// A cell (column 1..20 is the slot) chosen for GridChannel: its frequency
// (0 for an empty cell) becomes that receiver's target. True when the
// receiver is to be tuned; choosing the same cell again for the same
// receiver does nothing.
bool SelectGridCell(RadioState& radio, const HfdlReception& hfdl, int column, int row);

// The keypad opens for a channel, showing its manual frequency.
void OpenKeypad(RadioState& radio, const RadioSettings& settings, int channel);
// What the keypad's display shows: the digits typed, else the last value.
std::string KeypadDisplay(const RadioState& radio);
// A digit; the fifth presses ENT.
void PressKeypadDigit(RadioState& radio, RadioSettings& settings, FrequencyListLink& link, int digit);
// ENT: 1601 to 29999 kHz becomes the manual frequency and is tuned; other
// values are dropped.
void PressKeypadEnter(RadioState& radio, RadioSettings& settings, FrequencyListLink& link);
// CE: the digits typed are dropped.
void PressKeypadClear(RadioState& radio);
