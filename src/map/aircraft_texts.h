#pragma once
// The value texts of the map's information boxes and the side list. The
// markers of "no value" differ on purpose: an altitude is drawn below
// 80000 ft but shown up to 80000; a temperature above 99, a heading or
// wind direction from 361 read "N/A".
#include <string>

#include "platform/date_time.h"

extern const char kNotAvailableText[];  // "N/A"

// "%0.6f" of the value, cut: a negative value keeps its first 7
// characters, any other gets "+" and its first 6 (35.6789: "+35.678").
std::string LatLonText(double degrees);
// Feet padded to 5 and "ft" below 80001; the side list leaves out "ft".
std::string BoxAltitudeText(int altitude);
std::string ListAltitudeText(int altitude);
// The temperature with its sign ("+" from 0) padded to 3, and "degC" in
// the boxes; at most 99.
std::string BoxTemperatureText(int temperature);
std::string ListTemperatureText(int temperature);
// "%3d/%3d" of direction and speed below 361.
std::string WindText(int direction, int speed);
// Degrees and "deg" below 361, a negative heading first turned by 360.
std::string HeadingText(int heading);
// "hh:nn" of a time of day.
std::string TimeOfDayText(TDateTime time);
// A box line of more than 25 bytes: its first 22 and "...". A cut may
// split a two-byte character, which then shows as a replacement mark.
std::string CutBoxText(const std::string& text);
