#pragma once
// The aircraft heard: the received-aircraft table with its tracks, the
// received-aircraft list, what the information window shows, and the
// reference files they read.
#include <cstdint>

#include "aircraft/aircraft_information.h"
#include "aircraft/aircraft_list.h"
#include "aircraft/received_aircraft_table.h"
#include "aircraft/reference_data.h"

struct AircraftState {
  int32_t AircraftCount = 0;
  ReceivedAircraftTable Aircraft;
  AircraftList List;
  AircraftInformation Information;
  AircraftFiles Files;
};
