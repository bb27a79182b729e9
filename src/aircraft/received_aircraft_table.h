#pragma once
// The aircraft heard, each with a short track of position reports.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/date_time.h"

struct TrackPoint {
  double Lat = 0.0;
  double Lon = 0.0;
  int32_t Heading = 0;
  int32_t Altitude = 100000;  // 90000 or more: no altitude
  int32_t Temperature = 100;
  int32_t WindDir = 400;
  int32_t WindSpeed = 0;
  TDateTime ReportTime = 0;  // time of day; 0 when the report had none
  TDateTime ReceiveTime = 0;
  int32_t AgeClass = 0;
};

struct AircraftRecord {
  AircraftRecord();

  char FlightId[8];      // 7 characters and NUL
  char Registration[8];
  char LastReportId[8];
  char LastTime[8];      // "HH:MM"; readers take the first 5 characters
  int32_t Age = 1;
  int32_t FlightLevel = 0;
  uint8_t Visible = 1;
  int32_t TagPos = 0;
  int32_t AltTrend = 0;
  int32_t LastPoint = 0;
  std::string Route3, Route4, AircraftType, FlightNo7, FlightNo7Alt, FlightNo6, FlightNo6Alt, AccessStation;
  std::vector<TrackPoint> Points;
};

struct ReceivedAircraftTable {
  // MaxMapPlot records of MaxPlotData points each, at their start values.
  void Allocate(int maxMapPlot, int maxPlotData);
  void Free();

  std::vector<AircraftRecord> Records;
};
