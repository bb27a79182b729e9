#pragma once
// The aircraft heard.
#include <cstdint>

#include "aircraft/received_aircraft_table.h"

struct AircraftState {
  int32_t AircraftCount = 0;
  ReceivedAircraftTable Aircraft;
};
