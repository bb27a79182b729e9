#pragma once
// A position report, whichever road brought it: an HFDL frame's
// performance or frequency data, or an airline's position report in a
// downlink ACARS message. The received-aircraft table stores it; the map
// draws what was stored.
#include <string>

// The values a position report carries besides its place. The HFDL road has
// none and passes these no-value markers.
struct AircraftPosition {
  double Lat = 0.0;
  double Lon = 0.0;
  int Heading = 900;
  int Altitude = 100000;
  int Temperature = 900;
  int WindDir = 900;
  int WindSpeed = 900;
};

enum class PositionOrigin { Hfdl, Acars };

struct PositionReport {
  PositionOrigin Origin = PositionOrigin::Hfdl;
  std::string FlightId;
  // From HFDL: "NO DATA" when neither the log-on nor the registration table
  // named the aircraft; the aircraft list may know it by its flight.
  std::string Registration;
  std::string ReportId;       // "XXXX" from HFDL, the message number from ACARS
  std::string Time;           // "HHMM" as reported
  std::string AccessStation;  // the ground station's name; "ACARS:" + name from ACARS
  std::string Label;          // the ACARS label; empty from HFDL
  AircraftPosition Position;
  // Which of altitude, temperature, heading and wind the report carried.
  bool FieldValid[4] = {};
};
