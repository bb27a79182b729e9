#include "aircraft/watch_list.h"

// Matching arrives with the watch list's window.
void CheckSearchHit(AircraftState&, const std::string&, const std::string&) {}
