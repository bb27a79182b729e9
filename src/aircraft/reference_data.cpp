#include "aircraft/reference_data.h"

#include <algorithm>
#include <vector>

#include "platform/csv_reader.h"
#include "platform/file_io.h"
#include "platform/jpeg_loader.h"
#include "platform/log_name_part.h"
#include "platform/paths.h"

namespace {

// The information window's picture frame.
constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 133;

using Line = std::vector<std::string>;
using platform::CsvReader;
using platform::kUncut;

// The fields (with their byte capacities) of each file.
const std::vector<size_t> kFlightFields = {7, 8, 127};
const std::vector<size_t> kAirportFields = {4, 62};
const std::vector<size_t> kAircraftFields = {7, 31};
const std::vector<size_t> kLetterFields = {3, 3, 63, 63};
const std::vector<size_t> kD002Fields = {7, 63, 1};

std::vector<std::string> CutFields(const std::vector<std::string_view>& fields, const std::vector<size_t>& capacities) {
  std::vector<std::string> out;
  for (size_t i = 0; i < fields.size(); ++i) {
    out.emplace_back(platform::CutWholeCharacters(fields[i], capacities[std::min(i, capacities.size() - 1)]));
  }
  return out;
}

// The first line whose key field equals key, its fields cut to their
// capacities. The key field is compared whole, before any cut, so a key
// longer than the field's capacity never matches; a line without a comma
// after its key field never matches either. allFields reads every field,
// the further ones at the last capacity.
std::optional<Line> FindLine(const std::string& path, size_t keyField, const std::string& key,
                             const std::vector<size_t>& capacities, bool allFields = false) {
  if (key.size() > capacities[keyField]) return std::nullopt;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return std::nullopt;
  std::vector<size_t> reading = capacities;
  reading[keyField] = kUncut;
  CsvReader reader(bytes, reading, {true, true, allFields});
  while (reader.Next()) {
    const std::vector<std::string_view>& fields = reader.Fields();
    if (fields.size() >= keyField + 2 && fields[keyField] == key) return CutFields(fields, capacities);
  }
  return std::nullopt;
}

// A missing value field reads as empty.
std::string FieldOf(const Line& line, size_t field) { return field < line.size() ? line[field] : std::string(); }

std::string NumberPart(const std::string& flightId, bool removeZeros) {
  std::string number = flightId.size() > 2 ? flightId.substr(2, 4) : std::string();
  if (removeZeros) number.erase(0, number.find_first_not_of('0'));
  return number;
}

std::string WithoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '"') out += c;
  }
  return out;
}

}  // namespace

AircraftFiles AircraftFilesIn(const std::string& programFolder) {
  auto at = [&](const char* name) { return platform::JoinPath(programFolder, name); };
  return {at("data/flight.csv"), at("data/airport.csv"), at("data/aircraft.csv"),
          at("data/letter.csv"), at("data/D002.dat"),    at("pics")};
}

std::optional<FlightRoute> LookupFlightRoute(const AircraftFiles& files, const std::string& flight) {
  const std::optional<Line> line = FindLine(files.FlightCsvPath, 0, flight, kFlightFields);
  if (!line) return std::nullopt;
  return FlightRoute{FieldOf(*line, 1), FieldOf(*line, 2)};
}

std::string RouteDeparture(const std::string& route) { return route.substr(0, 4); }

std::string RouteDestination(const std::string& route) { return route.size() > 4 ? route.substr(4, 4) : std::string(); }

std::string LookupAirportName(const AircraftFiles& files, const std::string& code) {
  // Every field after the code replaces the name: the name is the last one.
  const std::optional<Line> line = FindLine(files.AirportCsvPath, 0, code, kAirportFields, true);
  return line ? line->back() : code;
}

bool LookupAircraftType(const AircraftFiles& files, const std::string& registration, std::string& type) {
  const std::optional<Line> line = FindLine(files.AircraftCsvPath, 0, registration, kAircraftFields, true);
  if (!line) return false;
  type = line->back();
  return true;
}

std::string LookupAirline2(const AircraftFiles& files, const std::string& text) {
  const std::optional<Line> line = FindLine(files.LetterCsvPath, 0, text.substr(0, 2), kLetterFields);
  return line ? FieldOf(*line, 3) : "-";
}

std::string LookupAirline3(const AircraftFiles& files, const std::string& text) {
  const std::optional<Line> line = FindLine(files.LetterCsvPath, 1, text.substr(0, 3), kLetterFields);
  return line ? FieldOf(*line, 0) : "--";
}

std::string ConvertFlightNumber(const AircraftFiles& files, const std::string& flightId, bool removeZeros) {
  if (flightId.size() < 3 || flightId[2] < '0' || flightId[2] > '9') return flightId;
  const std::optional<Line> line = FindLine(files.LetterCsvPath, 0, flightId.substr(0, 2), kLetterFields);
  if (!line) return flightId;
  return FieldOf(*line, 2) + NumberPart(flightId, removeZeros);
}

std::string FormatFlightNumber(const std::string& flightId, bool removeZeros) {
  return flightId.substr(0, 2) + NumberPart(flightId, removeZeros);
}

std::string LookupD002Entry(const AircraftFiles& files, const std::string& key) {
  const std::string kNoInfo = "NO INFO";
  std::string bytes;
  if (!platform::ReadWholeFile(files.D002Path, bytes)) return kNoInfo;
  // The route of the last line that gave one: a continuation line (the
  // number alone, after the 3-letter code) takes it over.
  std::string held;
  CsvReader reader(bytes, {kUncut, kUncut, kD002Fields[2]});
  while (reader.Next()) {
    const std::vector<std::string_view>& fields = reader.Fields();
    if (fields.size() < 2) continue;
    const std::string first = WithoutQuotes(fields[0]);
    // Compared whole: a key longer than the field never matches.
    bool match = key.size() <= kD002Fields[0] && first == key;
    if (!match && held.size() >= 3 && key.size() >= 3 && held.compare(0, 3, key, 0, 3) == 0 &&
        key.compare(3, std::string::npos, first) == 0) {
      match = true;
      held.erase(0, 3);
    }
    // A route replaces the held one whole; an empty field leaves it.
    const std::string value = WithoutQuotes(fields[1]);
    if (!value.empty()) held = std::string(platform::CutWholeCharacters(value, kD002Fields[1]));
    if (match) return held;
  }
  return kNoInfo;
}

std::string PhotoPath(const AircraftFiles& files, const std::string& registration) {
  return platform::JoinPath(files.PicsFolder, LogNamePart(registration) + ".jpg");
}

std::string NoImagePath(const AircraftFiles& files) { return platform::JoinPath(files.PicsFolder, "noimage.jpg"); }

bool ReadJpeg(const std::string& path, Bitmap24& picture) {
  std::optional<Bitmap24> loaded = platform::LoadJpeg(path, kPictureWidth, kPictureHeight);
  if (!loaded) return false;
  picture = *loaded;
  return true;
}
