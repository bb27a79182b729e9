#include "aircraft/received_aircraft_table.h"

#include <cstring>

AircraftRecord::AircraftRecord() {
  for (char* text : {FlightId, Registration, LastReportId, LastTime}) std::memcpy(text, "-------", 8);
}

void ReceivedAircraftTable::Allocate(int maxMapPlot, int maxPlotData) {
  Records.assign(static_cast<size_t>(maxMapPlot), AircraftRecord());
  for (AircraftRecord& r : Records) r.Points.assign(static_cast<size_t>(maxPlotData), TrackPoint());
}

void ReceivedAircraftTable::Free() { Records.clear(); }
