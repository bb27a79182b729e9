#pragma once
// Everything HFDL reception keeps: both channels' demodulators and frames,
// the ground-station table, the system table being assembled, the
// reception statistics and the registrations.
#include <array>
#include <cstdint>
#include <string>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_channel_state.h"
#include "hfdl/hfnpdu.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"
#include "platform/date_time.h"

struct HfdlReception {
  HfdlChannelState Channels[2];
  HfdlBlockSymbolList HfdlBlockSymbols[2];
  HfdlSoftSymbolStore HfdlSoftSymbols[2];
  std::array<uint8_t, kHfdlFrameBits> HfdlDecodedBits = {};
  std::array<uint8_t, kHfdlFrameBits> HfdlNetworkBits = {};  // a frame from a linked copy
  std::array<std::string, 2> ErrorRatioText;

  // The ground-station table (SystemVer is a setting).
  std::array<std::string, 20> GsNames;
  int32_t GsFrequencies[20][20] = {};
  int32_t GsActiveFreqs[20][6] = {};
  std::array<TDateTime, 20> GsCheckedTime = {};

  int32_t HfdlFrameOctets = 0;  // the current LPDU's octet; at the end, the DAT line's octets
  ::SystemTableAssembly SystemTableAssembly;
  SystemTableMemo SystemTableText;  // TForm23's memo, also data/system.txt
  ReceptionStats HfdlReceptionStats;
  HfdlRegistrationTable HfdlRegistrations;
  Icao24File Icao24Cache;
  std::array<uint8_t, kHfdlAcarsBitsSize> HfdlAcarsBits = {};

  std::string Icao24CsvPath, FreqsCsvPath, SystemTxtPath;
};
