#include "acars/airline_position_decoders.h"

#include <cstring>
#include <initializer_list>

#include "acars/position_text.h"

namespace {

enum FieldIndex { kAltitude = 0, kTemperature = 1, kHeading = 2, kWind = 3 };
enum class Conversion { DegMin, Decimal };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOneOf(const char* set, char c) { return c != '\0' && set && std::strchr(set, c); }
bool NorthOrSouth(char c) { return c == 'N' || c == 'S'; }
bool EastOrWest(char c) { return c == 'E' || c == 'W'; }
// The end of a comma field: its comma or the end of the text.
bool FieldEnd(char c) { return c == ',' || c == '\0'; }

// A numeric field's character: its digit; a blank reads as 0; anything
// else is bad.
int NumberChar(char c, bool& ok) {
  if (IsDigit(c)) return c - '0';
  if (c != ' ') ok = false;
  return 0;
}

// The signs a layout's temperature takes in its sign and tens places.
struct TemperatureRule {
  const char* negativeSigns;
  // The other signs it allows (positive); null: any other is positive.
  const char* positiveSigns;
  const char* negativeTens;  // read as 0 and negate
  const char* zeroTens;      // read as 0
  bool blankUnitsBad;
};

constexpr TemperatureRule kMinusSign = {"-", nullptr, "-", " ", false};
constexpr TemperatureRule kMinusOrM = {"-M", nullptr, "-", " ", false};
// J2: an 'M' in the tens place reads as 0 and negates, a 'P' as 0.
constexpr TemperatureRule kJ2Signs = {"M", nullptr, "-M", " P", false};
constexpr TemperatureRule kJ3Signs = {"-", " ", "-", " ", true};
constexpr TemperatureRule kUPSigns = {"M", " P", "-", " ", false};
constexpr TemperatureRule kFXSigns = {"M", "P", "-", " ", false};

// One decoder run over one message.
class Run {
 public:
  Run(PositionDecoding& d, int32_t noHeading) : d_(d), text_(d.Message.Text), noHeading_(noHeading) {
    d_.State.Valid = 0;
  }

  const PositionText& Text() const { return text_; }
  const std::string& Label() const { return d_.Message.Label; }
  const MapSettings& Map() const { return d_.Map; }
  flag& Valid() { return d_.State.Valid; }
  flag FromAcars() const { return d_.State.FromAcars; }

  // A group at its start: every field unread, at its none value.
  PositionGroup NewGroup() {
    for (flag& f : d_.State.FieldValid) f = 0;
    PositionGroup g;
    g.Heading = noHeading_;
    return g;
  }

  // Position digits at the given places: each must be a digit (a blank
  // counts as '0' where the layout says so), else the group is invalid.
  // The places the layout does not fill stay NUL.
  void Digits(char* out, std::initializer_list<long> at, bool blankAsZero = false) {
    size_t k = 0;
    for (long i : at) {
      char c = text_[i];
      if (blankAsZero && c == ' ') c = '0';
      out[k++] = c;
      if (!IsDigit(c)) Valid() = 0;
    }
  }
  void DigitRun(char* out, long from, int count, bool blankAsZero = false) {
    for (int k = 0; k < count; ++k) {
      char c = text_[from + k];
      if (blankAsZero && c == ' ') c = '0';
      out[k] = c;
      if (!IsDigit(c)) Valid() = 0;
    }
  }

  // Five characters of feet, the first weighing 10000; reading stops at
  // the first bad one.
  void Altitude5(PositionGroup& g, long at) {
    Flag(kAltitude) = 1;
    g.Altitude = 0;
    int weight = 10000;
    for (int k = 0; k < 5; ++k, weight /= 10) {
      bool ok = true;
      const int d = NumberChar(text_[at + k], ok);
      if (!ok) {
        Flag(kAltitude) = 0;
        return;
      }
      g.Altitude += d * weight;
    }
  }
  // Three characters weighing 10000, 1000 and 100 feet.
  void AltitudeHundreds(PositionGroup& g, long at, bool blankBad) {
    Flag(kAltitude) = 1;
    bool ok = true;
    for (int k = 0; k < 3; ++k) {
      if (blankBad && text_[at + k] == ' ') ok = false;
    }
    g.Altitude =
        10000 * NumberChar(text_[at], ok) + 1000 * NumberChar(text_[at + 1], ok) + 100 * NumberChar(text_[at + 2], ok);
    if (!ok) Flag(kAltitude) = 0;
  }
  void Temperature(PositionGroup& g, long signAt, long tensAt, long unitsAt, const TemperatureRule& r) {
    Flag(kTemperature) = 1;
    bool ok = true;
    bool negative = false;
    const char sign = text_[signAt];
    if (IsOneOf(r.negativeSigns, sign)) {
      negative = true;
    } else if (r.positiveSigns && !IsOneOf(r.positiveSigns, sign)) {
      ok = false;
    }
    int tens = 0;
    const char t = text_[tensAt];
    if (IsDigit(t)) {
      tens = t - '0';
    } else if (IsOneOf(r.negativeTens, t)) {
      negative = true;
    } else if (!IsOneOf(r.zeroTens, t)) {
      ok = false;
    }
    const char u = text_[unitsAt];
    int units = 0;
    if (IsDigit(u)) {
      units = u - '0';
    } else if (u != ' ' || r.blankUnitsBad) {
      ok = false;
    }
    g.Temperature = (negative ? -1 : 1) * (10 * tens + units);
    if (!ok) Flag(kTemperature) = 0;
  }
  // Hundreds, tens and units.
  int Three(long at, FieldIndex field) {
    bool ok = true;
    const int v = 100 * NumberChar(text_[at], ok) + 10 * NumberChar(text_[at + 1], ok) + NumberChar(text_[at + 2], ok);
    if (!ok) Flag(field) = 0;
    return v;
  }
  // Direction and speed share one flag.
  void Wind(PositionGroup& g, long directionAt, long speedAt) {
    Flag(kWind) = 1;
    g.WindDir = Three(directionAt, kWind);
    g.WindSpeed = Three(speedAt, kWind);
  }
  void Heading(PositionGroup& g, long at) {
    Flag(kHeading) = 1;
    g.Heading = Three(at, kHeading);
  }

  flag& Flag(FieldIndex field) { return d_.State.FieldValid[field]; }

  // A valid group is stored at once; the fields whose flag is clear take
  // their none values, a wind without its flag direction 400 and speed 0.
  bool Store(PositionGroup g, Conversion conversion) {
    if (!Flag(kAltitude)) g.Altitude = 90000;
    if (!Flag(kTemperature)) g.Temperature = 100;
    if (!Flag(kHeading)) g.Heading = noHeading_;
    if (!Flag(kWind)) {
      g.WindDir = 400;
      g.WindSpeed = 0;
    }
    const bool stored = conversion == Conversion::DegMin ? StoreDegMinPosition(d_.State, d_.Link, d_.Message, g)
                                                         : StoreDecimalPosition(d_.State, d_.Link, d_.Message, g);
    d_.State.FromAcars = stored ? 1 : 0;
    return stored;
  }

  // After the last store, when it was accepted: the record keeps the
  // message number and the list row shows its position mark.
  void Complete() {
    const PositionMessage& m = d_.Message;
    if (PositionStored(d_.Link, d_.State.FromAcars != 0, m.FlightId, m.MsgNo)) {
      d_.Link.MarkPositionReceived(m.FlightId, m.Registration);
    }
  }

 private:
  PositionDecoding& d_;
  PositionText text_;
  int32_t noHeading_;
};

// ---- Reports at fixed positions ----

enum class AltitudeForm { Feet5, Hundreds3 };

// Where a fixed-layout report keeps its fields; -1 where it has none.
struct FixedLayout {
  long north, lat;
  int latDigits;  // 4 leaves a NUL in the last place
  long east, lon;
  int lonDigits;  // 5 likewise
  bool blankAsZero;
  long time;
  AltitudeForm altitudeForm;
  long altitude;
  long sign, tens, units;
  const TemperatureRule* temperature;
  long wind, speed;
  long heading;
  int32_t noHeading;
  Conversion conversion;
};

constexpr AltitudeForm kFeet = AltitudeForm::Feet5;
constexpr AltitudeForm kHundreds = AltitudeForm::Hundreds3;
constexpr Conversion kDM = Conversion::DegMin;
constexpr Conversion kDec = Conversion::Decimal;

// Each row: north flag, latitude and its digits; east flag, longitude and
// its digits; blank as 0; time; altitude form and place; sign, tens, units
// and their signs; wind direction and speed; heading and its none value;
// conversion.
// clang-format off
constexpr FixedLayout kJ1    = {31, 32, 5, 37, 38, 6, false, 44, kFeet, 48,     53, 54, 55, &kMinusSign, 56, 59,  69, 400, kDM};
constexpr FixedLayout kJ2    = {14, 15, 5, 20, 21, 6, false, 27, kFeet, 31,     36, 37, 38, &kJ2Signs,   39, 42,  52, 400, kDM};
constexpr FixedLayout kNhPos = {61, 62, 5, 67, 68, 6, true,  74, kFeet, 80,     85, 86, 87, &kMinusOrM,  88, 91,  -1, 900, kDM};
constexpr FixedLayout kNhPo6 = {61, 62, 5, 67, 68, 6, false, 74, kFeet, 81,     86, 87, 88, &kMinusSign, 89, 92,  -1, 900, kDM};
constexpr FixedLayout kNhPo7 = {57, 58, 5, 63, 64, 6, false, 70, kFeet, 76,     81, 82, 83, &kMinusSign, 84, 87,  -1, 900, kDM};
constexpr FixedLayout kUP    = {18, 19, 4, 23, 24, 5, false, 14, kHundreds, 29, 41, 42, 43, &kUPSigns,   32, 35,  -1, 400, kDM};
constexpr FixedLayout kOzE99 = {58, 59, 5, 64, 65, 6, true,  71, kFeet, 78,     84, 85, 86, &kMinusOrM,  -1, -1,  -1, 400, kDec};
constexpr FixedLayout kOzOzr = {71, 72, 5, 77, 78, 6, true,  84, kFeet, 90,     95, 96, 97, &kMinusOrM,  98, 101, -1, 400, kDec};
constexpr FixedLayout kBR    = {63, 64, 5, 69, 70, 6, true,  76, kFeet, 82,     87, 88, 89, &kMinusOrM,  90, 93,  -1, 400, kDM};
// clang-format on

// Reads and stores the one report of a fixed layout. JL keeps Valid set
// after its report; the others clear it.
bool DecodeFixed(PositionDecoding& d, const FixedLayout& l, bool keepValid = false) {
  Run run(d, l.noHeading);
  const PositionText& t = run.Text();
  PositionGroup g = run.NewGroup();
  run.Valid() = 1;
  run.DigitRun(g.Lat, l.lat, l.latDigits, l.blankAsZero);
  run.DigitRun(g.Lon, l.lon, l.lonDigits, l.blankAsZero);
  g.North = t[l.north] == 'N';
  g.East = t[l.east] == 'E';
  if (l.time >= 0) g.Time = t.Slice(l.time, 4);
  if (l.altitudeForm == AltitudeForm::Feet5) {
    run.Altitude5(g, l.altitude);
  } else {
    run.AltitudeHundreds(g, l.altitude, false);
  }
  if (l.temperature) run.Temperature(g, l.sign, l.tens, l.units, *l.temperature);
  if (l.wind >= 0) run.Wind(g, l.wind, l.speed);
  if (l.heading >= 0) run.Heading(g, l.heading);
  if (!run.Valid()) return run.FromAcars();
  run.Store(g, l.conversion);
  run.Complete();
  if (!keepValid) run.Valid() = 0;
  return run.FromAcars();
}

// ---- Reports found by a scan ----

// The JL layout without a "PNT" marker: every group of the text, each with
// its altitude only when two places before it hold a '0'.
bool DecodeJ3(PositionDecoding& d) {
  Run run(d, 900);
  const PositionText& t = run.Text();
  if (run.Map().TenPointPlot && !t.Has(4, "WDC") && !t.Has(4, "WDD")) return run.FromAcars();
  for (long p = 0; p < t.Length(); ++p) {
    if (!NorthOrSouth(t[p]) || !EastOrWest(t[p + 6])) continue;
    PositionGroup g = run.NewGroup();
    run.Valid() = 1;
    run.DigitRun(g.Lat, p + 1, 5);
    run.DigitRun(g.Lon, p + 7, 6);
    g.North = t[p] == 'N';
    g.East = t[p + 6] == 'E';
    g.Time = t.Slice(p + 13, 4);
    for (char c : g.Time) {
      if (!IsDigit(c)) run.Valid() = 0;
    }
    run.Temperature(g, p + 17, p + 18, p + 19, kJ3Signs);
    if (t[p - 2] == '0') run.Altitude5(g, p - 5);
    run.Wind(g, p + 20, p + 23);
    if (run.Valid()) run.Store(g, Conversion::DegMin);
  }
  // The last group examined decides, with the last store.
  if (run.Valid() && run.FromAcars()) run.Complete();
  return run.FromAcars();
}

}  // namespace

bool DecodePositionJL(PositionDecoding& d) {
  const PositionText t(d.Message.Text);
  const std::string& label = d.Message.Label;
  if (label == "H1" && t.Has(4, "PNT")) return DecodeFixed(d, kJ1, true);
  if (label == "10" && t.Has(0, "PNT")) return DecodeFixed(d, kJ2, true);
  if (label == "H1") return DecodeJ3(d);
  d.State.Valid = 0;
  return d.State.FromAcars;
}

bool DecodePositionNH(PositionDecoding& d) {
  const PositionText t(d.Message.Text);
  const std::string& label = d.Message.Label;
  d.State.Valid = 0;
  if (label != "16" && label != "H1") return d.State.FromAcars;
  const FixedLayout* layout = nullptr;
  if (t.Has(4, "POS"))
    layout = &kNhPos;
  else if (t.Has(4, "PO6") || t.Has(4, "PO3"))
    layout = &kNhPo6;
  else if (t.Has(0, "PO7") || t.Has(0, "POQ"))
    layout = &kNhPo7;
  if (!layout) return d.State.FromAcars;
  // Only "PO6" positions are moved (the "PO3" layout is the same).
  d.State.NhCorrection = t.Has(4, "PO6") ? 1 : 0;
  return DecodeFixed(d, *layout);
}

bool DecodePositionFX(PositionDecoding& d) {
  Run run(d, 900);
  const PositionText& t = run.Text();
  if (run.Label() != "H1" || !t.Has(4, "*WT")) return run.FromAcars();
  for (long p = 0; p < t.Length(); ++p) {
    if (!NorthOrSouth(t[p]) || !EastOrWest(t[p + 5])) continue;
    PositionGroup g = run.NewGroup();
    run.Valid() = 1;
    run.DigitRun(g.Lat, p + 1, 4);
    run.DigitRun(g.Lon, p + 6, 5);
    g.North = t[p] == 'N';
    g.East = t[p + 5] == 'E';
    // The report's time stands before its group.
    g.Time = t.Slice(p - 6, 4);
    run.Altitude5(g, p + 12);
    run.Temperature(g, p + 17, p + 18, p + 19, kFXSigns);
    run.Wind(g, p + 21, p + 24);
    if (run.Valid()) run.Store(g, Conversion::DegMin);
  }
  run.Complete();
  run.Valid() = 0;
  return run.FromAcars();
}

bool DecodePositionNW(PositionDecoding& d) {
  Run run(d, 900);
  const PositionText& t = run.Text();
  if (run.Label() != "31") return run.FromAcars();
  // Northern and eastern positions only.
  for (long p = 0; p < t.Length(); ++p) {
    if (t[p] != 'N' || t[p + 6] != 'E') continue;
    PositionGroup g = run.NewGroup();
    run.Valid() = 1;
    run.DigitRun(g.Lat, p + 1, 5);
    run.DigitRun(g.Lon, p + 7, 6);
    g.North = true;
    g.East = true;
    g.Time = t.Slice(p + 13, 4);
    run.AltitudeHundreds(g, p + 17, true);
    // Tens and units without blanks; a value is positive only with its
    // tens at '0'.
    run.Flag(kTemperature) = 1;
    const char tens = t[p + 21], units = t[p + 22];
    if (!IsDigit(tens) || !IsDigit(units) || (t[p + 20] != '-' && tens != '0')) run.Flag(kTemperature) = 0;
    g.Temperature = (t[p + 20] == '-' ? -1 : 1) * (10 * (tens - '0') + (units - '0'));
    run.Wind(g, p + 24, p + 27);
    if (run.Valid()) run.Store(g, Conversion::DegMin);
  }
  run.Complete();
  run.Valid() = 0;
  return run.FromAcars();
}

namespace {

// The first position of the field that the n-th separator of the text
// opens; -1 when the text has fewer.
long AfterSeparator(const PositionText& t, char separator, int n) {
  int seen = 0;
  for (long i = 0; i < t.Length(); ++i) {
    if (t[i] == separator && ++seen == n) return i + 1;
  }
  return -1;
}

// The UA altitude in hundreds of feet, its first three characters: a field
// of one or two scales down once; an empty one has none.
void UaAltitude(Run& run, PositionGroup& g, long at) {
  const PositionText& t = run.Text();
  static constexpr int kWeights[3] = {10000, 1000, 100};
  int sum = 0, read = 0;
  bool ok = true;
  while (read < 3 && !FieldEnd(t[at + read])) {
    const char c = t[at + read];
    if (!IsDigit(c)) ok = false;
    sum += IsDigit(c) ? (c - '0') * kWeights[read] : 0;
    ++read;
  }
  if (read > 0 && read < 3) sum /= 10;
  g.Altitude = sum;
  if (!ok || read == 0) run.Flag(kAltitude) = 0;
}

// Sign, then tens and units; one digit after the sign is the units.
void UaTemperature(Run& run, PositionGroup& g, long at) {
  const PositionText& t = run.Text();
  const bool negative = t[at] == 'M' || t[at] == '-';
  int digits[2] = {0, 0}, read = 0;
  bool ok = true;
  while (read < 2 && !FieldEnd(t[at + 1 + read])) {
    const char c = t[at + 1 + read];
    if (!IsDigit(c)) ok = false;
    digits[read++] = IsDigit(c) ? c - '0' : 0;
  }
  const int value = read == 2 ? 10 * digits[0] + digits[1] : digits[0];
  g.Temperature = negative ? -value : value;
  if (!ok || read == 0) run.Flag(kTemperature) = 0;
}

// Direction in three characters, speed in the next three; a speed cut
// short scales down by ten for each missing digit.
void UaWind(Run& run, PositionGroup& g, long at) {
  const PositionText& t = run.Text();
  int length = 0;
  while (length < 6 && !FieldEnd(t[at + length])) ++length;
  bool ok = true;
  g.WindDir = 0;
  g.WindSpeed = 0;
  for (int k = 0, weight = 100; k < 3 && k < length; ++k, weight /= 10) g.WindDir += weight * NumberChar(t[at + k], ok);
  for (int k = 3, weight = 100; k < length; ++k, weight /= 10) g.WindSpeed += weight * NumberChar(t[at + k], ok);
  for (int k = length < 3 ? 3 : length; k < 6; ++k) g.WindSpeed /= 10;
  if (!ok) run.Flag(kWind) = 0;
}

}  // namespace

bool DecodePositionUA(PositionDecoding& d) {
  Run run(d, 400);
  const PositionText& t = run.Text();
  if (run.Label() != "H1" || !t.Has(3, "BPOS")) return run.FromAcars();
  PositionGroup g = run.NewGroup();
  run.Valid() = 1;
  run.DigitRun(g.Lat, 8, 5);
  run.DigitRun(g.Lon, 14, 6);
  g.North = t[7] == 'N';
  g.East = t[13] == 'E';
  // Commas are counted from the start of the text; the fields a report
  // lacks keep their none values.
  run.Flag(kAltitude) = run.Flag(kTemperature) = run.Flag(kWind) = 1;
  if (const long at = AfterSeparator(t, ',', 2); at >= 0) g.Time = t.Slice(at, 4);
  if (const long at = AfterSeparator(t, ',', 3); at >= 0) UaAltitude(run, g, at);
  if (const long at = AfterSeparator(t, ',', 7); at >= 0) UaTemperature(run, g, at);
  if (const long at = AfterSeparator(t, ',', 8); at >= 0) UaWind(run, g, at);
  if (run.Valid()) {
    run.Store(g, Conversion::DegMin);
    run.Complete();
  }
  run.Valid() = 0;
  return run.FromAcars();
}

bool DecodePositionCA(PositionDecoding& d) {
  Run run(d, 400);
  const PositionText& t = run.Text();
  if (run.Label() != "10" || !t.Has(0, "POS")) return run.FromAcars();
  PositionGroup g = run.NewGroup();
  run.Valid() = 1;
  run.Digits(g.Lat, {6, 7, 9, 10, 11});
  run.Digits(g.Lon, {14, 15, 16, 18, 19, 20});
  g.North = t[4] == 'N';
  g.East = t[13] == 'E';
  // The leading digits, at most five, of the field after the 5th comma.
  if (const long at = AfterSeparator(t, ',', 5); at >= 0) {
    int value = 0, n = 0;
    while (n < 5 && IsDigit(t[at + n])) value = 10 * value + (t[at + n++] - '0');
    run.Flag(kAltitude) = n > 0 && value <= 50000 ? 1 : 0;
    g.Altitude = value;
  }
  if (run.Valid()) {
    run.Store(g, Conversion::Decimal);
    run.Complete();
  }
  run.Valid() = 0;
  return run.FromAcars();
}

bool DecodePositionUP(PositionDecoding& d) {
  const PositionText t(d.Message.Text);
  d.State.Valid = 0;
  if (d.Message.Label != "H1" || !t.Has(5, "POS")) return d.State.FromAcars;
  return DecodeFixed(d, kUP);
}

namespace {

// The slash-field layout: the latitude, longitude and altitude fields by
// label.
struct KeFields {
  const char* label;
  int lat, lon, altitude;
};
constexpr KeFields kKeFields[] = {
    {"40", 12, 13, 14}, {"41", 8, 9, 10}, {"21", 8, 9, 10}, {"23", 8, 9, 10}, {"33", 3, 4, 5}};

// Feet: the digits from at up to the field's closing '/' or the text's
// end, at most five of them. Reading a fixed five characters took a digit
// of the next field into a shorter altitude ("/350/123" read 3501).
void KeAltitude(Run& run, PositionGroup& g, long at) {
  const PositionText& t = run.Text();
  int feet = 0, digits = 0;
  for (long i = at; t[i] != '/' && t[i] != '\0'; ++i) {
    if (!IsDigit(t[i]) || ++digits > 5) return;
    feet = 10 * feet + (t[i] - '0');
  }
  if (digits == 0 || feet > 50000) return;
  run.Flag(kAltitude) = 1;
  g.Altitude = feet;
}

// DD.dd or DDD.dd after the hemisphere; the field's opening '/' at c0.
void KeSlashFields(Run& run, const KeFields& fields) {
  const PositionText& t = run.Text();
  PositionGroup g = run.NewGroup();
  run.Valid() = 1;
  // The first '/' opens field 0.
  const long lat = AfterSeparator(t, '/', fields.lat + 1) - 1;
  const long lon = AfterSeparator(t, '/', fields.lon + 1) - 1;
  const long alt = AfterSeparator(t, '/', fields.altitude + 1) - 1;
  if (lat < 0 || lon < 0) {
    run.Valid() = 0;
    return;
  }
  g.North = t[lat + 1] == 'N';
  if (t[lat + 6] == '.') {
    run.DigitRun(g.Lat, lat + 2, 4);
  } else {
    run.Digits(g.Lat, {lat + 3, lat + 4, lat + 6, lat + 7});
  }
  g.East = t[lon + 1] == 'E';
  if (t[lon + 7] == '.') {
    run.DigitRun(g.Lon, lon + 2, 5);
  } else {
    run.Digits(g.Lon, {lon + 2, lon + 3, lon + 4, lon + 6, lon + 7});
  }
  if (alt >= 0) KeAltitude(run, g, alt + 1);
  if (run.Valid()) run.Store(g, Conversion::Decimal);
}

}  // namespace

bool DecodePositionKE(PositionDecoding& d) {
  Run run(d, 400);
  const PositionText& t = run.Text();
  for (const KeFields& fields : kKeFields) {
    if (run.Label() != fields.label) continue;
    KeSlashFields(run, fields);
    if (run.Valid()) run.Complete();
    run.Valid() = 0;
    return run.FromAcars();
  }
  if (run.Label() != "H2") return run.FromAcars();
  for (long p = 0; p < t.Length(); ++p) {
    if (!NorthOrSouth(t[p]) || !EastOrWest(t[p + 6])) continue;
    PositionGroup g = run.NewGroup();
    run.Valid() = 1;
    run.DigitRun(g.Lat, p + 1, 4);
    run.DigitRun(g.Lon, p + 7, 5);
    g.North = t[p] == 'N';
    g.East = t[p + 6] == 'E';
    if (run.Valid()) run.Store(g, Conversion::Decimal);
  }
  run.Complete();
  run.Valid() = 0;
  return run.FromAcars();
}

bool DecodePositionMU(PositionDecoding& d) {
  Run run(d, 400);
  const PositionText& t = run.Text();
  if (run.Label() != "11" || !t.Has(0, "POS")) return run.FromAcars();
  PositionGroup g = run.NewGroup();
  run.Valid() = 1;
  run.Digits(g.Lat, {19, 20, 22, 23, 24}, true);
  run.Digits(g.Lon, {31, 32, 33, 35, 36, 37}, true);
  g.North = t[17] == 'N';
  g.East = t[30] == 'E';
  // Read backwards from 47: a 'U' or a ',' counts as '0' and shifts the
  // digits before it, and the time, one place to the left.
  run.Flag(kAltitude) = 1;
  g.Altitude = 0;
  int skipped = 0;
  for (int i = 0, weight = 1; i < 5; ++i) {
    const char c = t[47 - i];
    if (c == 'U' || c == ',') {
      ++skipped;
      continue;
    }
    if (!IsDigit(c)) {
      run.Flag(kAltitude) = 0;
      break;
    }
    g.Altitude += (c - '0') * weight;
    weight *= 10;
  }
  g.Time = t.Slice(53 - skipped, 4);
  if (run.Valid()) {
    run.Store(g, Conversion::Decimal);
    run.Complete();
  }
  run.Valid() = 0;
  return run.FromAcars();
}

bool DecodePositionOZ(PositionDecoding& d) {
  const PositionText t(d.Message.Text);
  d.State.Valid = 0;
  if (d.Message.Label != "H1") return d.State.FromAcars;
  if (t.Has(4, "E99")) return DecodeFixed(d, kOzE99);
  if (t.Has(4, "OZR")) return DecodeFixed(d, kOzOzr);
  return d.State.FromAcars;
}

bool DecodePositionBR(PositionDecoding& d) {
  const PositionText t(d.Message.Text);
  d.State.Valid = 0;
  if (d.Message.Label != "H1" || !t.Has(4, "POS")) return d.State.FromAcars;
  return DecodeFixed(d, kBR);
}

bool DecodePositionGeneric(PositionDecoding& d) {
  Run run(d, 400);
  const PositionText& t = run.Text();
  for (long p = 0; p < t.Length(); ++p) {
    if (!NorthOrSouth(t[p])) continue;
    PositionGroup g = run.NewGroup();
    run.Valid() = 1;
    // The first pattern that fits at p: (a) "N3530E13945", (b) "N3530 E13945",
    // (c) "N35 30.0 E139 45.0", (e) "N3530   E13945". In (c) and (e) the
    // latitude's fourth digit is not tested.
    long east = -1;
    if (EastOrWest(t[p + 5])) {
      east = p + 5;
      run.DigitRun(g.Lat, p + 1, 4);
      run.DigitRun(g.Lon, p + 6, 5);
    } else if (EastOrWest(t[p + 6])) {
      east = p + 6;
      run.DigitRun(g.Lat, p + 1, 4);
      run.DigitRun(g.Lon, p + 7, 5);
    } else if (EastOrWest(t[p + 9])) {
      east = p + 9;
      run.Digits(g.Lat, {p + 1, p + 2, p + 4});
      g.Lat[3] = t[p + 5];
      run.Digits(g.Lon, {p + 10, p + 11, p + 12, p + 14, p + 15});
    } else if (t[p] == 'N' && t[p + 8] == 'E') {
      east = p + 8;
      run.DigitRun(g.Lat, p + 1, 3);
      g.Lat[3] = t[p + 4];
      run.DigitRun(g.Lon, p + 9, 5);
    } else {
      run.Valid() = 0;
      continue;
    }
    g.North = t[p] == 'N';
    g.East = t[east] == 'E';
    if (run.Valid()) run.Store(g, Conversion::DegMin);
  }
  run.Complete();
  run.Valid() = 0;
  return run.FromAcars();
}
