#pragma once
// Lookups in the reference data files of the data folder, which the user
// keeps with any editor: routes and remarks of flights (flight.csv), airport
// names (airport.csv), aircraft types (aircraft.csv), airline names and
// designators (letter.csv), routes by flight number (D002.dat). Every call
// reads its file afresh, so an edit counts at the next lookup; a missing
// file is an absent result. Texts are bytes in code page 932.
#include <optional>
#include <string>

class Bitmap24;

// The files the aircraft records read, in the program folder.
struct AircraftFiles {
  std::string FlightCsvPath, AirportCsvPath, AircraftCsvPath, LetterCsvPath, D002Path;
  std::string PicsFolder;
};
AircraftFiles AircraftFilesIn(const std::string& programFolder);

struct FlightRoute {
  std::string Route;  // departure code in characters 1-4, destination in 5-8
  std::string Remark;
};

// flight.csv by the flight number, compared whole.
std::optional<FlightRoute> LookupFlightRoute(const AircraftFiles& files, const std::string& flight);
// The route's departure and destination codes, cut short on a short route.
std::string RouteDeparture(const std::string& route);
std::string RouteDestination(const std::string& route);
// The airport's name; the code itself when airport.csv does not list it.
std::string LookupAirportName(const AircraftFiles& files, const std::string& code);
// The aircraft type of a registration (aircraft.csv); false when unknown.
bool LookupAircraftType(const AircraftFiles& files, const std::string& registration, std::string& type);
// The airline name of the two-letter designator that begins text
// (letter.csv); "-" when there is none.
std::string LookupAirline2(const AircraftFiles& files, const std::string& text);
// The two-letter code of the three-letter designator that begins text
// (letter.csv); "--" when there is none.
std::string LookupAirline3(const AircraftFiles& files, const std::string& text);

// The flight number of a flight id (airline code, then characters 3-6),
// with the 3-letter designator of letter.csv in place of the 2-letter code;
// the flight id unchanged when its third character is not a digit or the
// airline is not listed. removeZeros drops the number's leading zeros.
std::string ConvertFlightNumber(const AircraftFiles& files, const std::string& flightId, bool removeZeros);
// The same with the 2-letter code.
std::string FormatFlightNumber(const std::string& flightId, bool removeZeros);
// The route that D002.dat gives a flight number of the 3-letter form without
// leading zeros; "NO INFO" when there is none.
std::string LookupD002Entry(const AircraftFiles& files, const std::string& key);

// pics/<registration>.jpg; a registration from the air names no file
// outside pics/.
std::string PhotoPath(const AircraftFiles& files, const std::string& registration);
std::string NoImagePath(const AircraftFiles& files);
// Reads a JPEG photograph as the information window shows it: a picture
// larger than 200 x 133 fitted into that by nearest pixel, proportions
// kept; false when it is missing or damaged.
bool ReadJpeg(const std::string& path, Bitmap24& picture);
