#pragma once
// Lookups in the reference data files of the data folder.
#include <string>

class Bitmap24;

// The two-letter code of the three-letter airline designator that begins
// flightId (letter.csv); "--" when there is none.
std::string LookupAirline3(const std::string& flightId);
// The aircraft type of a registration (aircraft.csv); false when unknown.
bool LookupAircraftType(const std::string& registration, std::string& type);
// Reads a JPEG photograph; false when it cannot.
bool ReadJpeg(const std::string& path, Bitmap24& picture);
