#include "hfdl_frames.h"

#include "hfdl_tx.h"

namespace hfdl_tx {

namespace {

// Octets filled field by field, least significant bit first.
class FieldWriter {
 public:
  void Put(uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bits_.push_back(static_cast<uint8_t>((value >> i) & 1));
  }
  void PutOctet(uint8_t value) { Put(value, 8); }
  Octets Take() const {
    Octets out((bits_.size() + 7) / 8, 0);
    for (size_t n = 0; n < bits_.size(); ++n) out[n / 8] |= static_cast<uint8_t>(bits_[n] << (n % 8));
    return out;
  }

 private:
  std::vector<uint8_t> bits_;
};

int Ones(uint32_t v) { return __builtin_popcount(v); }

void AppendCheck(Octets& octets, size_t first) {
  const uint16_t crc = Crc16(octets.data() + first, octets.size() - first);
  octets.push_back(static_cast<uint8_t>(crc & 0xFF));
  octets.push_back(static_cast<uint8_t>(crc >> 8));
}

uint8_t Reversed(uint8_t v) {
  uint8_t r = 0;
  for (int i = 0; i < 8; ++i) r = static_cast<uint8_t>(r | (((v >> i) & 1) << (7 - i)));
  return r;
}

uint8_t WithOddParity(uint8_t c) {
  c &= 0x7F;
  return Ones(c) % 2 ? c : static_cast<uint8_t>(c | 0x80);
}

// The ACARS block check: CRC-16 x^16 + x^12 + x^5 + 1, preset 0, over the
// characters after SOH, sent low octet first.
uint16_t AcarsBlockCheck(const uint8_t* data, size_t count) {
  uint16_t crc = 0;
  for (size_t n = 0; n < count; ++n) {
    crc ^= data[n];
    for (int b = 0; b < 8; ++b)
      crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0x8408) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

uint8_t RandomOctet(std::mt19937_64& rng) { return static_cast<uint8_t>(rng() & 0xFF); }

int Pick(std::mt19937_64& rng, int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); }

Octets RandomOctets(std::mt19937_64& rng, int count) {
  Octets o;
  for (int n = 0; n < count; ++n) o.push_back(RandomOctet(rng));
  return o;
}

// An HFNPDU of a random type, the decoded ones weighted up.
Octets RandomHfnpdu(std::mt19937_64& rng, int octets) {
  static constexpr uint16_t kTypes[] = {0xFFD0, 0xFFD1, 0xFFD5, 0xFFFF, 0xFFD2, 0xFFDE};
  uint16_t type = Pick(rng, 8) == 0 ? static_cast<uint16_t>(rng()) : kTypes[Pick(rng, 6)];
  Octets o = RandomOctets(rng, octets);
  if (o.size() > 0) o[0] = static_cast<uint8_t>(type >> 8);
  if (o.size() > 1) o[1] = static_cast<uint8_t>(type & 0xFF);
  if (type == 0xFFFF && o.size() > 2) o[2] = 0x01;  // SOH
  if (type == 0xFFD0 && o.size() > 4) {
    // Few versions and parts, so that tables complete now and then.
    o[2] = static_cast<uint8_t>(Pick(rng, 2) | Pick(rng, 2) << 4);
    const int version = 36 + Pick(rng, 2);
    o[3] = static_cast<uint8_t>((version & 15) << 4);
    o[4] = static_cast<uint8_t>(version >> 4);
  }
  return o;
}

// An LPDU of size field s: s + 1 octets, the last two its check sequence.
Octets RandomLpdu(std::mt19937_64& rng, int s) {
  if (s < 2) return RandomOctets(rng, s + 1);
  static constexpr uint8_t kTypes[] = {0x0D, 0x1D, 0x8F, 0xBF, 0x9F, 0x4F, 0x5F, 0x2F, 0x3F};
  const uint8_t type = Pick(rng, 10) == 0 ? RandomOctet(rng) : kTypes[Pick(rng, 9)];
  Octets body = {type};
  const int rest = s - 2;
  if (type == 0x0D || type == 0x1D) {
    Octets h = RandomHfnpdu(rng, rest);
    body.insert(body.end(), h.begin(), h.end());
  } else {
    Octets r = RandomOctets(rng, rest);
    // Octet 4 of a log-on is often 0xFF: an HFNPDU follows.
    if (r.size() > 3 && Pick(rng, 2) == 0) {
      r[3] = 0xFF;
      Octets h = RandomHfnpdu(rng, static_cast<int>(r.size()) - 4);
      std::copy(h.begin(), h.end(), r.begin() + 4);
    }
    body.insert(body.end(), r.begin(), r.end());
  }
  return Lpdu(body);
}

int RandomSize(std::mt19937_64& rng) {
  switch (Pick(rng, 6)) {
    case 0:
      return Pick(rng, 256);
    case 1:
      return Pick(rng, 8);
    default:
      return 2 + Pick(rng, 40);
  }
}

}  // namespace

Octets BuildSquitter(const SquitterFields& f) {
  FieldWriter w;
  w.Put(0, 1);  // SPDU
  w.Put(0, 1);
  w.Put(static_cast<uint32_t>(f.version), 2);
  w.Put(0, 1);
  w.Put(f.iso8208NotSupported ? 1 : 0, 1);
  w.Put(static_cast<uint32_t>(f.changeNote), 2);
  w.Put(static_cast<uint32_t>(f.gsId), 7);
  w.Put(f.utc ? 1 : 0, 1);
  w.Put(static_cast<uint32_t>(f.frameIndex), 12);
  w.Put(static_cast<uint32_t>(f.frameOffset), 4);
  for (int n = 0; n < 9; ++n) w.Put(0, 32);  // bits 32..319 are not decoded
  for (uint8_t slot : f.slotAssignments) w.PutOctet(slot);
  w.Put(0, 20);  // bits 416..435
  w.Put(f.mask1, 20);
  w.Put(static_cast<uint32_t>(f.gsId2), 7);
  w.Put(0, 1);
  w.Put(f.mask2, 20);
  w.Put(static_cast<uint32_t>(f.gsId3), 7);
  w.Put(0, 1);
  w.Put(f.mask3, 20);
  Octets o = w.Take();
  o.resize(64, 0);
  AppendCheck(o, 0);
  return o;
}

Octets Lpdu(const Octets& body) {
  Octets o = body;
  AppendCheck(o, 0);
  return o;
}

Octets LogonLpdu(uint8_t type, uint32_t icao, int octet4, const Octets& rest) {
  Octets body = {type, Reversed(static_cast<uint8_t>(icao >> 16)), Reversed(static_cast<uint8_t>(icao >> 8)),
                 Reversed(static_cast<uint8_t>(icao))};
  if (octet4 >= 0) body.push_back(static_cast<uint8_t>(octet4));
  body.insert(body.end(), rest.begin(), rest.end());
  return Lpdu(body);
}

Octets DataLpdu(const Octets& hfnpdu, uint8_t type) {
  Octets body = {type};
  body.insert(body.end(), hfnpdu.begin(), hfnpdu.end());
  return Lpdu(body);
}

Octets TypeOnlyHfnpdu(uint16_t type) { return {static_cast<uint8_t>(type >> 8), static_cast<uint8_t>(type & 0xFF)}; }

Octets PositionHfnpdu(uint16_t type, const std::string& flight, uint32_t latField, uint32_t lonField,
                      uint16_t timeUnits) {
  Octets o = TypeOnlyHfnpdu(type);
  for (size_t n = 0; n < 6; ++n) o.push_back(n < flight.size() ? static_cast<uint8_t>(flight[n]) : 0);
  FieldWriter w;
  w.Put(latField, 20);
  w.Put(lonField, 20);
  w.Put(timeUnits, 16);
  Octets rest = w.Take();
  o.insert(o.end(), rest.begin(), rest.end());
  return o;
}

Octets AcarsBlock(const AcarsBlockFields& f) {
  std::string text;
  text += f.mode;
  text += f.address;
  text += f.ack;
  text += f.label;
  text += f.blockId;
  text += '\x02';
  if (f.mode < 'a') text += f.msgNo + f.flight;
  text += f.text;
  text += f.etx ? '\x03' : '\x17';
  Octets o = {WithOddParity(0x01)};
  for (char c : text) o.push_back(WithOddParity(static_cast<uint8_t>(c)));
  const uint16_t check = AcarsBlockCheck(o.data() + 1, o.size() - 1);
  o.push_back(static_cast<uint8_t>(check & 0xFF));
  o.push_back(static_cast<uint8_t>(check >> 8));
  o.push_back(0x7F);  // DEL
  return o;
}

Octets EnvelopedHfnpdu(const Octets& acarsBlock) {
  Octets o;
  o.reserve(2 + acarsBlock.size());
  o.push_back(0xFF);
  o.push_back(0xFF);
  o.insert(o.end(), acarsBlock.begin(), acarsBlock.end());
  return o;
}

Octets SystemTableHfnpdu(int sequence, int partsMinusOne, int version, const Octets& data) {
  Octets o;
  o.reserve(5 + data.size());
  o.push_back(0xFF);
  o.push_back(0xD0);
  FieldWriter w;
  w.Put(static_cast<uint32_t>(sequence), 4);
  w.Put(static_cast<uint32_t>(partsMinusOne), 4);
  w.Put(0, 4);
  w.Put(static_cast<uint32_t>(version), 12);
  Octets header = w.Take();
  o.insert(o.end(), header.begin(), header.end());
  o.insert(o.end(), data.begin(), data.end());
  return o;
}

FrequencyEntry Frequency(int tenthsOfKhz, int slotOffset) {
  FrequencyEntry e;
  for (int g = 0; g < 6; ++g, tenthsOfKhz /= 10) e.digits[static_cast<size_t>(g)] = tenthsOfKhz % 10;
  e.slotOffset = slotOffset;
  return e;
}

Octets SystemTableData(const std::vector<StationRecord>& records) {
  FieldWriter w;
  for (const StationRecord& r : records) {
    w.Put(static_cast<uint32_t>(r.gsId), 7);
    w.Put(r.utc ? 1 : 0, 1);
    w.Put(r.latField, 20);
    w.Put(r.lonField, 20);
    w.Put(0, 3);
    w.Put(static_cast<uint32_t>(r.frequencies.size()), 5);
    for (const FrequencyEntry& e : r.frequencies) {
      for (int d : e.digits) w.Put(static_cast<uint32_t>(d), 4);
      w.Put(static_cast<uint32_t>(e.slotOffset), 4);
      w.Put(0, 4);
    }
  }
  return w.Take();
}

Octets BuildDownlinkMpdu(const DownlinkMpduFields& f) {
  const int lpdus = static_cast<int>(f.lpdus.size());
  FieldWriter w;
  w.Put(1, 1);  // MPDU
  w.Put(1, 1);  // downlink
  w.Put(static_cast<uint32_t>(lpdus), 4);
  w.Put(0, 1);
  const int ones = 2 + Ones(static_cast<uint32_t>(lpdus));
  w.Put((ones % 2 == 0) != f.breakParity ? 1 : 0, 1);  // octet 0 holds an odd number of ones
  w.Put(static_cast<uint32_t>(f.gsId), 7);
  w.Put(f.utc ? 1 : 0, 1);
  w.Put(static_cast<uint32_t>(f.aircraftId), 8);
  w.Put(0, 8);
  w.Put(static_cast<uint32_t>(f.rateCode), 3);
  w.Put(0, 13);
  for (int k = 0; k < lpdus; ++k) {
    const int size = k < static_cast<int>(f.sizes.size()) ? f.sizes[k] : static_cast<int>(f.lpdus[k].size()) - 1;
    w.Put(static_cast<uint32_t>(size), 8);
  }
  Octets o = w.Take();
  AppendCheck(o, 0);
  if (f.breakHeaderCrc) o.back() ^= 0x10;
  for (const Octets& l : f.lpdus) o.insert(o.end(), l.begin(), l.end());
  return o;
}

Octets BuildUplinkMpdu(const UplinkMpduFields& f) {
  const int aircraft = static_cast<int>(f.aircraft.size());
  FieldWriter w;
  w.Put(1, 1);  // MPDU
  w.Put(0, 1);  // uplink
  w.Put(0, 2);
  w.Put(static_cast<uint32_t>(aircraft - 1), 3);
  w.Put(Ones(static_cast<uint32_t>(aircraft - 1)) % 2 == 0 ? 0 : 1, 1);  // with bit 0: odd
  w.Put(static_cast<uint32_t>(f.gsId), 7);
  w.Put(f.utc ? 1 : 0, 1);
  for (const UplinkAircraft& a : f.aircraft) {
    const int lpdus = static_cast<int>(a.lpdus.size());
    w.Put(static_cast<uint32_t>(a.aircraftId), 8);
    const int ones = Ones(static_cast<uint32_t>(a.rateCode)) + Ones(static_cast<uint32_t>(lpdus));
    w.Put((ones % 2 == 0) != a.breakParity ? 1 : 0, 1);
    w.Put(static_cast<uint32_t>(a.rateCode), 3);
    w.Put(static_cast<uint32_t>(lpdus), 4);
    for (const Octets& l : a.lpdus) w.Put(static_cast<uint32_t>(l.size() - 1), 8);
  }
  Octets o = w.Take();
  AppendCheck(o, 0);
  for (const UplinkAircraft& a : f.aircraft) {
    for (const Octets& l : a.lpdus) o.insert(o.end(), l.begin(), l.end());
  }
  return o;
}

Octets RandomValidFrame(std::mt19937_64& rng, int frameOctets) {
  Octets frame;
  const int kind = Pick(rng, 10);
  if (kind < 2) {
    SquitterFields f;
    f.gsId = Pick(rng, 128);
    f.utc = Pick(rng, 2);
    f.changeNote = Pick(rng, 4);
    f.iso8208NotSupported = Pick(rng, 2);
    f.version = Pick(rng, 4);
    f.frameIndex = Pick(rng, 4096);
    f.frameOffset = Pick(rng, 16);
    for (uint8_t& s : f.slotAssignments) s = RandomOctet(rng);
    const bool full = Pick(rng, 3) == 0;
    f.mask1 = full ? 0xFFFFF : static_cast<uint32_t>(rng() & 0xFFFFF);
    f.gsId2 = Pick(rng, 128);
    f.mask2 = full ? 0xFFFFF : static_cast<uint32_t>(rng() & 0xFFFFF);
    f.gsId3 = Pick(rng, 128);
    f.mask3 = static_cast<uint32_t>(rng() & 0xFFFFF);
    frame = BuildSquitter(f);
  } else if (kind < 6) {
    DownlinkMpduFields f;
    f.gsId = Pick(rng, 128);
    f.aircraftId = RandomOctet(rng);
    f.rateCode = Pick(rng, 8);
    const int lpdus = Pick(rng, 16);
    for (int k = 0; k < lpdus; ++k) f.lpdus.push_back(RandomLpdu(rng, RandomSize(rng)));
    frame = BuildDownlinkMpdu(f);
  } else {
    UplinkMpduFields f;
    f.gsId = Pick(rng, 128);
    const int aircraft = 1 + Pick(rng, 8);
    for (int a = 0; a < aircraft; ++a) {
      UplinkAircraft u;
      u.aircraftId = RandomOctet(rng);
      u.rateCode = Pick(rng, 8);
      const int lpdus = Pick(rng, 16);
      for (int k = 0; k < lpdus; ++k) u.lpdus.push_back(RandomLpdu(rng, RandomSize(rng)));
      f.aircraft.push_back(u);
    }
    frame = BuildUplinkMpdu(f);
  }
  // The rest of the frame is noise; a frame that is too long is cut, so
  // that its sizes reach past the end.
  while (static_cast<int>(frame.size()) < frameOctets) frame.push_back(RandomOctet(rng));
  frame.resize(static_cast<size_t>(frameOctets));
  return frame;
}

std::string RelayHex(const Octets& octets) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t o : octets) {
    hex += kDigits[o & 15];
    hex += kDigits[o >> 4];
  }
  return hex;
}

ScenarioFrame ScenarioSquitter() {
  SquitterFields f;
  f.gsId = 1;
  f.utc = true;
  f.changeNote = 2;
  f.iso8208NotSupported = true;
  f.version = 1;
  f.frameIndex = 1234;
  f.frameOffset = 5;
  f.slotAssignments = {0, 254, 255, 0x1A, 0x23, 0x01, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  f.mask1 = (1u << 1) | (1u << 4);  // slots 2 and 5
  f.gsId2 = 7;
  f.mask2 = 0;
  f.gsId3 = 0;
  f.mask3 = 0;
  return {0, BuildSquitter(f)};
}

ScenarioFrame ScenarioLogonRequest(const std::string& flight) {
  DownlinkMpduFields f;
  f.gsId = 2;
  f.aircraftId = 0xFF;
  f.rateCode = 2;
  f.lpdus = {LogonLpdu(0x8F, 0x800001, -1, PositionHfnpdu(0xFFD1, flight, 0x1C71C, 0xC0000, 0x0708))};
  return {1, BuildDownlinkMpdu(f)};
}

ScenarioFrame ScenarioLogonConfirm() {
  UplinkMpduFields f;
  f.gsId = 2;
  f.aircraft = {{0x05, 3, {DataLpdu(TypeOnlyHfnpdu(0xFFD2))}, false},
                {0xFF, 1, {LogonLpdu(0x9F, 0x800001, 0x23)}, false}};
  return {6, BuildUplinkMpdu(f)};
}

ScenarioFrame ScenarioAcars() {
  DownlinkMpduFields f;
  f.gsId = 7;
  f.aircraftId = 0x23;
  f.rateCode = 4;
  f.lpdus = {DataLpdu(EnvelopedHfnpdu(AcarsBlock(AcarsBlockFields())))};
  return {3, BuildDownlinkMpdu(f)};
}

ScenarioFrame ScenarioPerformanceData() {
  DownlinkMpduFields f;
  f.gsId = 7;
  f.utc = false;
  f.aircraftId = 0x41;
  f.rateCode = 1;
  f.lpdus = {DataLpdu(PositionHfnpdu(0xFFD1, "NH0205", 0x0B60B, 0x3E8FA, 0x4650))};
  return {4, BuildDownlinkMpdu(f)};
}

ScenarioFrame ScenarioFrequencyData() {
  UplinkMpduFields f;
  f.gsId = 1;
  f.aircraft = {{0x00, 4, {DataLpdu(PositionHfnpdu(0xFFD5, "JAL007", 0, 0x55555, 0))}, false}};
  return {7, BuildUplinkMpdu(f)};
}

ScenarioFrame ScenarioSystemTablePart(int sequence) {
  std::vector<StationRecord> records(3);
  records[0] = {1, true, 0x7FFFF, 0x80000, {Frequency(4541, 3), Frequency(219340, 0)}};
  records[1] = {25, false, 0x1C71C, 0xE38E4, {Frequency(55080, 5)}};
  records[2] = {9, true, 0x50000, 0x2AAAA, {}};
  // Twenty-two frequencies: the table keeps twenty.
  const int khz[22] = {21937, 21928, 17934, 17919, 11354, 10093, 10027, 8936, 8927, 6646, 5544,
                       5538,  5529,  4687,  4654,  3497,  3007,  2992,  2944, 2998, 3016, 3455};
  for (int j = 0; j < 22; ++j) records[2].frequencies.push_back(Frequency(10 * khz[j], j % 16));
  const Octets table = SystemTableData(records);  // 15 + 11 + 95 octets
  const size_t starts[4] = {0, 40, 80, table.size()};
  const Octets part(table.begin() + static_cast<long>(starts[sequence]),
                    table.begin() + static_cast<long>(starts[sequence + 1]));
  UplinkMpduFields f;
  f.gsId = 3;
  f.aircraft = {{0xFF, 3, {DataLpdu(SystemTableHfnpdu(sequence, 2, 36, part))}, false}};
  return {2, BuildUplinkMpdu(f)};
}

std::vector<ScenarioFrame> AnalysisScenario() {
  return {
      ScenarioSquitter(),        ScenarioLogonRequest("JL123 "), ScenarioLogonConfirm(),     ScenarioAcars(),
      ScenarioPerformanceData(), ScenarioFrequencyData(),        ScenarioSystemTablePart(2), ScenarioSystemTablePart(0),
      ScenarioSystemTablePart(1)};
}

}  // namespace hfdl_tx
