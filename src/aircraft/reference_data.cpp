#include "aircraft/reference_data.h"

// The data files are read once their lookups are built; until then every
// lookup answers "not found".
std::string LookupAirline3(const std::string&) { return "--"; }

bool LookupAircraftType(const std::string&, std::string&) { return false; }

bool ReadJpeg(const std::string&, Bitmap24&) { return false; }
