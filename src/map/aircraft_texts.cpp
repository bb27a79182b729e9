#include "map/aircraft_texts.h"

#include <cmath>
#include <cstdio>

#include "platform/shared_helpers.h"

const char kNotAvailableText[] = "N/A";

namespace {

std::string PadLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string Signed(int value) { return (value >= 0 ? "+" : "") + std::to_string(value); }

}  // namespace

std::string LatLonText(double degrees) {
  // Not printf: it follows the locale once the toolkit has set it.
  const std::string text = FormatFixed(degrees, 6);
  return degrees < 0 ? text.substr(0, 7) : "+" + text.substr(0, 6);
}

std::string BoxAltitudeText(int altitude) {
  return altitude < 80001 ? ListAltitudeText(altitude) + "ft" : kNotAvailableText;
}

std::string ListAltitudeText(int altitude) {
  return altitude < 80001 ? PadLeft(std::to_string(altitude), 5) : kNotAvailableText;
}

std::string BoxTemperatureText(int temperature) {
  return temperature <= 99 ? ListTemperatureText(temperature) + "degC" : kNotAvailableText;
}

std::string ListTemperatureText(int temperature) {
  return temperature <= 99 ? PadLeft(Signed(temperature), 3) : kNotAvailableText;
}

std::string WindText(int direction, int speed) {
  if (direction >= 361) return kNotAvailableText;
  char text[32];
  std::snprintf(text, sizeof text, "%3d/%3d", direction, speed);
  return text;
}

std::string HeadingText(int heading) {
  if (heading >= 361) return kNotAvailableText;
  return std::to_string(heading < 0 ? int64_t{heading} + 360 : heading) + "deg";
}

std::string TimeOfDayText(TDateTime time) {
  long long ms = 0;
  if (std::isfinite(time)) {
    ms = std::llround((time - std::floor(time)) * 86400000.0);
    if (ms >= 86400000LL || ms < 0) ms = 0;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%02lld:%02lld", ms / 3600000, (ms / 60000) % 60);
  return text;
}

std::string CutBoxText(const std::string& text) { return text.size() > 25 ? text.substr(0, 22) + "..." : text; }
