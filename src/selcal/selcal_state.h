#pragma once
// SELCAL decoding's state.
#include "audio/fft_tables.h"

struct SelcalState {
  FftTables SelcalFft;
};
