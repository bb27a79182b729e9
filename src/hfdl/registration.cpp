#include "hfdl/registration.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>

#include "acars/acars_parser.h"
#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_reception.h"
#include "platform/csv_reader.h"
#include "platform/file_io.h"

namespace {

constexpr uint8_t kKeptLength[5] = {6, 3, 3, 7, 63};
constexpr int kAddressField = 0;
constexpr int kRegistrationField = 3;

void NotifyRow(HfdlRegistrationTable& table, int row) {
  if (table.Changed) table.Changed(row);
}

int GsColumnValue(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

std::string_view Icao24File::FieldOf(const Entry& e, int field) const {
  size_t start = e.offset;
  for (int f = 0; f < field; ++f) start += e.length[f];
  return std::string_view(pool_).substr(start, e.length[field]);
}

Icao24Record Icao24File::RecordOf(const Entry& e) const {
  Icao24Record r;
  r.Address = FieldOf(e, 0);
  r.ShortCode = FieldOf(e, 1);
  r.Operator = FieldOf(e, 2);
  r.Registration = FieldOf(e, 3);
  r.Description = FieldOf(e, 4);
  return r;
}

void Icao24File::Parse(std::string_view bytes) {
  pool_.clear();
  entries_.clear();
  byAddress_.clear();
  byRegistration_.clear();
  // A byte 0xFF reads as the end of the file.
  bytes = bytes.substr(0, bytes.find('\xFF'));
  // Read as this file always was: cut at the byte count, even inside a
  // character, and the CR of a CR LF kept as text of the last field.
  platform::CsvReader reader(bytes, {std::begin(kKeptLength), std::end(kKeptLength)}, {false, false});
  while (reader.Next()) {
    const std::vector<std::string_view>& fields = reader.Fields();
    // Only a line with a comma after its address or registration can match.
    const bool addressClosed = fields.size() > kAddressField + 1u;
    const bool registrationClosed = fields.size() > kRegistrationField + 1u;
    if (!addressClosed && !registrationClosed) continue;
    Entry entry;
    entry.offset = static_cast<uint32_t>(pool_.size());
    for (size_t f = 0; f < fields.size(); ++f) {
      pool_ += fields[f];
      entry.length[f] = static_cast<uint8_t>(fields[f].size());
    }
    const auto number = static_cast<uint32_t>(entries_.size());
    entries_.push_back(entry);
    if (addressClosed) byAddress_.push_back(number);
    if (registrationClosed) byRegistration_.push_back(number);
  }
  auto sortBy = [this](std::vector<uint32_t>& index, int f) {
    std::stable_sort(index.begin(), index.end(),
                     [this, f](uint32_t a, uint32_t b) { return FieldOf(entries_[a], f) < FieldOf(entries_[b], f); });
  };
  sortBy(byAddress_, kAddressField);
  sortBy(byRegistration_, kRegistrationField);
}

bool Icao24File::Refresh(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    present_ = false;
    path_.clear();
    Parse({});
    return false;
  }
  const int64_t mtime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  const int64_t size = static_cast<int64_t>(st.st_size);
  if (present_ && path == path_ && mtime == mtimeNs_ && size == size_) return true;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    present_ = false;
    path_.clear();
    Parse({});
    return false;
  }
  Parse(bytes);
  present_ = true;
  path_ = path;
  mtimeNs_ = mtime;
  size_ = size;
  return true;
}

bool Icao24File::Find(const std::vector<uint32_t>& index, int field, std::string_view key, Icao24Record& record) const {
  auto it = std::lower_bound(index.begin(), index.end(), key,
                             [this, field](uint32_t e, std::string_view k) { return FieldOf(entries_[e], field) < k; });
  if (it == index.end() || FieldOf(entries_[*it], field) != key) return false;
  record = RecordOf(entries_[*it]);
  return true;
}

bool Icao24File::FindByAddress(std::string_view address, Icao24Record& record) const {
  return Find(byAddress_, kAddressField, address, record);
}

bool Icao24File::FindByRegistration(std::string_view registration, Icao24Record& record) const {
  return Find(byRegistration_, kRegistrationField, registration, record);
}

std::string LookupIcao24File(HfdlReception& hfdl, const std::string& address, Icao24Record& record) {
  if (hfdl.Icao24Cache.Refresh(hfdl.Icao24CsvPath) && hfdl.Icao24Cache.FindByAddress(address, record)) {
    return record.Registration;
  }
  return "NO DATA";
}

std::string LookupIcao24ByRegistration(HfdlReception& hfdl, const std::string& registration, Icao24Record& record) {
  if (!hfdl.Icao24Cache.Refresh(hfdl.Icao24CsvPath)) return "------";
  if (hfdl.Icao24Cache.FindByRegistration(registration, record)) return record.Address;
  record.Operator = "--";
  record.ShortCode = "---";
  record.Description = "-";
  return "------";
}

std::string LookupIcao24Description(HfdlReception& hfdl, const std::string& registration) {
  Icao24Record record;
  if (hfdl.Icao24Cache.Refresh(hfdl.Icao24CsvPath) && hfdl.Icao24Cache.FindByRegistration(registration, record)) {
    return record.Description;
  }
  return "NO DATA";
}

void AddRegistrationRow(HfdlRegistrationTable& table, const std::string& id, int gs, const std::string& source,
                        const std::string& lt, const std::string& registration, const std::string& aircraft,
                        const std::string& address) {
  table.Rows.push_back({id, std::to_string(gs), address, registration, lt, aircraft, source});
  NotifyRow(table, static_cast<int>(table.Rows.size()) - 1);
}

int FindRowByIcao24(const HfdlRegistrationTable& table, const std::string& address) {
  const auto& rows = table.Rows;
  for (size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].Icao24 == address) return static_cast<int>(r);
  }
  return -1;
}

void UpdateRegistrationRow(HfdlRegistrationTable& table, int row, const std::string& id, const std::string& source,
                           const std::string&, const std::string& registration, const std::string& aircraft,
                           const std::string&) {
  auto& rows = table.Rows;
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  HfdlRegistrationRow& r = rows[static_cast<size_t>(row)];
  if (id != "-" && id != "FF") r.Id = id;
  if (r.Aircraft == "-" && aircraft != "-") r.Aircraft = aircraft;
  if (r.RegNo == "-" && registration != "-") r.RegNo = registration;
  r.Souce = source;
  NotifyRow(table, row);
}

int FindRowByIdAndGs(const HfdlRegistrationTable& table, const std::string& id, int gs, const std::string& prefix) {
  if (id == "FF") return -1;
  const auto& rows = table.Rows;
  const std::string wanted = prefix.substr(0, 2);
  for (size_t r = rows.size(); r-- > 0;) {
    if (rows[r].Id == id && GsColumnValue(rows[r].Gs) == gs && rows[r].Lt.substr(0, 2) == wanted) {
      return static_cast<int>(r) + 1;
    }
  }
  return 0;
}

std::string GetRegistrationByRow(const HfdlRegistrationTable& table, int row) {
  const auto& rows = table.Rows;
  if (row < 1 || row > static_cast<int>(rows.size())) return "NO DATA";
  return rows[static_cast<size_t>(row - 1)].RegNo;
}

void ClearRegistrationRows(HfdlRegistrationTable& table) {
  table.Rows.clear();
  NotifyRow(table, -1);
}

void OnHfdlLogon(HfdlReception& hfdl, const HfdlLookups& lookups, const std::string& id, const std::string& address,
                 const std::string& source, const std::string& lt, const std::string& registration,
                 const std::string& aircraft, int gs) {
  HfdlRegistrationTable& table = hfdl.HfdlRegistrations;
  const int row = FindRowByIcao24(table, address);
  if (row >= 0 && table.Rows[static_cast<size_t>(row)].Id == id) {
    UpdateRegistrationRow(table, row, id, source, lt, registration, aircraft, address);
    return;
  }
  Icao24Record record;
  record.Operator = "-";
  const std::string found = LookupIcao24File(hfdl, address, record);
  std::string type;
  if (!lookups.LookupAircraftType(found, type)) {
    type = found != "NO DATA" ? record.Description : "NO DATA";
  }
  AddRegistrationRow(table, id, gs, "HFDL", record.Operator, found, type, address);
}

void OnHfdlAcars(HfdlReception& hfdl, const HfdlLookups& lookups, const AcarsBlock& block, const std::string& id,
                 int gs) {
  std::string registration;
  for (int n = 6; n <= 12; ++n) {
    const char c = AcarsCharacter(block, n);
    if (c == 0) break;
    registration += c;
  }
  while (!registration.empty() && registration.front() == '.') registration.erase(0, 1);
  // A missing file leaves the record as a present file without the
  // registration would.
  Icao24Record record;
  record.Operator = "--";
  record.ShortCode = "---";
  record.Description = "-";
  const std::string address = LookupIcao24ByRegistration(hfdl, registration, record);
  std::string type;
  if (!lookups.LookupAircraftType(registration, type)) type = record.Description;
  HfdlRegistrationTable& table = hfdl.HfdlRegistrations;
  const int row = FindRowByIdAndGs(table, id, gs, record.Operator);
  if (row == 0 || (row > 0 && GetRegistrationByRow(table, row) != registration)) {
    AddRegistrationRow(table, id, gs, "ACARS", record.Operator, registration, type, address);
  }
}
