#pragma once
// Everything HFDL reception keeps: both channels' demodulators and frames,
// the ground-station table, the system table being assembled, the
// reception statistics and the registrations.
#include <array>
#include <cstdint>
#include <string>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_channel_state.h"
#include "hfdl/fec_decode.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"
#include "platform/date_time.h"

struct HfdlReception {
  HfdlChannelState Channels[2];
  HfdlBlockSymbolList HfdlBlockSymbols[2];
  HfdlSoftSymbolStore HfdlSoftSymbols[2];
  // The decoder's output, one byte per bit.
  std::array<uint8_t, kHfdlFrameBits> HfdlDecodedBits = {};
  std::array<std::string, 2> ErrorRatioText;

  // The ground-station table (SystemVer is a setting).
  std::array<std::string, 20> GsNames;
  int32_t GsFrequencies[20][20] = {};
  int32_t GsActiveFreqs[20][6] = {};
  std::array<TDateTime, 20> GsCheckedTime = {};

  // The version of the system table held (saved as Etc/SystemVer), and
  // the parts of a newer one being received.
  int32_t SystemVer = 0;
  ::SystemTableAssembly SystemTableAssembly;
  SystemTableMemo SystemTableText;  // TForm23's memo, also data/system.txt
  ReceptionStats HfdlReceptionStats;
  HfdlRegistrationTable HfdlRegistrations;
  Icao24File Icao24Cache;

  std::string Icao24CsvPath, FreqsCsvPath, SystemTxtPath;
};
