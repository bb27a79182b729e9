#include "hfdl/ground_stations.h"

#include <charconv>

#include "hfdl/frame_walk.h"
#include "hfdl/hfdl_frame.h"
#include "hfdl/hfdl_reception.h"
#include "platform/csv_reader.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "platform/write_failure.h"

namespace {

constexpr int kFileStations = 19;  // lines 1..19 hold GS IDs 1..19
constexpr int kFrequencyColumns = 20;
constexpr size_t kMaxNameBytes = 63;
constexpr size_t kMaxNumberBytes = 15;

// A decimal integer in the int range, else 0: a damaged file still loads.
int FrequencyValue(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

int Signed20(uint32_t v) { return v > 0x7FFFF ? static_cast<int>(v) - 0x100000 : static_cast<int>(v); }

// 524287, not 524288: the largest value is exactly 180 degrees.
double Degrees(uint32_t field) { return Signed20(field) * 180.0 / 524287.0; }

std::string FormatDegrees(double degrees) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, degrees, std::chars_format::general, 15);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

// "%0.1f" of tenths / 10, padded on the left to 7 characters.
std::string FrequencyText(long tenths) {
  std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  if (text.size() < 7) text.insert(0, 7 - text.size(), ' ');
  return text;
}

bool SaveMemo(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return platform::ReportWriteOutcome(path, platform::ReplaceFileAtomically(path, text));
}

void StorePart(SystemTableAssembly& assembly, const FrameBits& bits, long p, int s, int sequence) {
  // The part's octets follow its six-octet header; a part longer than its
  // slot is cut (the size field reaches 255).
  const int octets = std::min(s - 7, SystemTableAssembly::kPartOctets);
  if (sequence >= assembly.PartCount || assembly.PartOctets[sequence] != 0 || octets <= 0) return;
  for (int n = 0; n < octets; ++n) assembly.Octets[sequence][n] = static_cast<uint8_t>(bits.Octet(p + 6 + n));
  assembly.PartOctets[sequence] = octets;
}

void CompleteSystemTable(HfdlReception& hfdl, int version) {
  SystemTableAssembly& assembly = hfdl.SystemTableAssembly;
  std::vector<uint8_t> table;
  for (int k = 0; k < assembly.PartCount; ++k) {
    table.insert(table.end(), assembly.Octets[k], assembly.Octets[k] + assembly.PartOctets[k]);
  }
  std::vector<std::string> memo = DecodeSystemTable(hfdl, table, version);
  hfdl.SystemVer = version;
  hfdl.SystemTableText.Lines = std::move(memo);
  if (hfdl.SystemTableText.Changed) hfdl.SystemTableText.Changed();
  SaveMemo(hfdl.SystemTxtPath, hfdl.SystemTableText.Lines);
  SaveHfdlSystemTable(hfdl);
}

}  // namespace

bool GsIdInTable(int gsId) { return gsId >= 0 && gsId < kGroundStations; }

const std::string& GsName(const HfdlReception& hfdl, int gsId) {
  static const std::string kNone;
  return GsIdInTable(gsId) ? hfdl.GsNames[static_cast<size_t>(gsId)] : kNone;
}

void ReadFreqsCsv(HfdlReception& hfdl, std::string_view bytes) {
  std::vector<size_t> capacities(1 + kFrequencyColumns, kMaxNumberBytes);
  capacities[0] = platform::kUncut;  // the name is cut once its '"' characters are gone
  platform::CsvReader reader(bytes, std::move(capacities));
  for (int line = 0; line < kFileStations && reader.Next(); ++line) {
    const std::vector<std::string_view>& fields = reader.Fields();
    std::string name;
    for (char c : fields[0]) {
      if (c != '"') name += c;
    }
    hfdl.GsNames[static_cast<size_t>(line + 1)] = platform::CutWholeCharacters(name, kMaxNameBytes);
    for (size_t f = 1; f < fields.size(); ++f) hfdl.GsFrequencies[line + 1][f - 1] = FrequencyValue(fields[f]);
  }
}

void LoadHfdlSystemTable(HfdlReception& hfdl) {
  for (int id = 0; id < kGroundStations; ++id) {
    hfdl.GsNames[static_cast<size_t>(id)].clear();
    for (int32_t& f : hfdl.GsFrequencies[id]) f = 0;
  }
  std::string bytes;
  if (platform::ReadWholeFile(hfdl.FreqsCsvPath, bytes)) ReadFreqsCsv(hfdl, bytes);
}

std::string FreqsCsvText(const HfdlReception& hfdl) {
  std::string text;
  for (int id = 1; id <= kFileStations; ++id) {
    text += hfdl.GsNames[static_cast<size_t>(id)];
    for (int32_t f : hfdl.GsFrequencies[id]) text += "," + std::to_string(f);
    text += "\r\n";
  }
  text += "System Table Version = " + std::to_string(hfdl.SystemVer) + "  Update " +
          platform::FormatDateTime(platform::Now()) + "\r\n";
  return text;
}

void SaveHfdlSystemTable(const HfdlReception& hfdl) {
  platform::ReportWriteOutcome(hfdl.FreqsCsvPath,
                               platform::ReplaceFileAtomically(hfdl.FreqsCsvPath, FreqsCsvText(hfdl)));
}

void LoadSystemTableText(HfdlReception& hfdl) {
  std::string bytes;
  std::vector<std::string>& lines = hfdl.SystemTableText.Lines;
  lines.clear();
  if (platform::ReadWholeFile(hfdl.SystemTxtPath, bytes)) {
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      start = end + 1;
    }
  }
  if (hfdl.SystemTableText.Changed) hfdl.SystemTableText.Changed();
}

std::vector<std::string> DecodeSystemTable(HfdlReception& hfdl, const std::vector<uint8_t>& octets, int version) {
  FrameBits table(octets);
  std::vector<std::string> memo = {"System Table Version = " + std::to_string(version),
                                   "Received at " + platform::FormatDateTime(platform::Now())};
  const long total = table.Octets();
  long q = 0;
  // A record is used only when it lies whole inside the table.
  while (q + 7 <= total) {
    const long base = 8 * q;
    const int count = static_cast<int>(table.Field(base + 51, 5));
    if (q + 7 + 4 * count > total) break;
    const int gsId = static_cast<int>(table.Field(base, 7));
    const bool inTable = GsIdInTable(gsId);
    memo.push_back(std::string(60, '.'));
    memo.push_back("Ground Station ID = " + std::to_string(gsId));
    memo.push_back("Ground Station Name = " + GsName(hfdl, gsId));
    memo.push_back(UtcLine(table.Bit(base + 7)));
    memo.push_back("Latitude = " + FormatDegrees(Degrees(table.Field(base + 8, 20))));
    memo.push_back("Longitude = " + FormatDegrees(Degrees(table.Field(base + 28, 20))));
    memo.push_back("Number of Frequencys = " + std::to_string(count));
    for (int j = 0; j < count; ++j) {
      const long entry = base + 56 + 32 * j;
      long tenths = 0, weight = 1;
      for (int g = 0; g < 6; ++g, weight *= 10) tenths += static_cast<long>(table.Field(entry + 4 * g, 4)) * weight;
      const std::string index = j < 9 ? "0" + std::to_string(j + 1) : std::to_string(j + 1);
      memo.push_back("Frequency[" + index + "] = " + FrequencyText(tenths) + " [kHz] " + "Master Frame Slot Offset " +
                     std::to_string(table.Field(entry + 24, 4)));
      if (inTable && j < kFrequencyColumns) hfdl.GsFrequencies[gsId][j] = static_cast<int32_t>(tenths / 10);
    }
    if (inTable) {
      for (int j = count; j < kFrequencyColumns; ++j) hfdl.GsFrequencies[gsId][j] = 0;
    }
    q += 7 + 4 * count;
  }
  return memo;
}

HfdlSystemTablePart HandleSystemTableHfnpdu(FrameWalk& walk, long p, int s) {
  HfdlReception& hfdl = walk.hfdl;
  const long base = 8 * p;
  HfdlSystemTablePart part;
  part.Sequence = static_cast<int>(walk.bits.Field(base + 24, 4));
  part.Parts = static_cast<int>(walk.bits.Field(base + 28, 4));
  part.Version = static_cast<int>(walk.bits.Field(base + 36, 12));
  if (part.Version == hfdl.SystemVer) {
    part.Outcome = SystemTableOutcome::AlreadyReceived;
    return part;
  }
  SystemTableAssembly& assembly = hfdl.SystemTableAssembly;
  part.Outcome = SystemTableOutcome::Buffered;
  if (part.Version == assembly.Version) {
    StorePart(assembly, walk.bits, p, s, part.Sequence);
    bool complete = true;
    for (int k = 0; k < assembly.PartCount; ++k) complete = complete && assembly.PartOctets[k] != 0;
    if (complete) {
      CompleteSystemTable(hfdl, part.Version);
      part.Outcome = SystemTableOutcome::Completed;
    }
  } else {
    // A new version: its first part is only stored, so a one-part table
    // completes when that part comes again.
    for (auto& slot : assembly.Octets) std::fill(std::begin(slot), std::end(slot), uint8_t{0});
    std::fill(std::begin(assembly.PartOctets), std::end(assembly.PartOctets), 0);
    assembly.PartCount = part.Parts + 1;
    assembly.Version = part.Version;
    StorePart(assembly, walk.bits, p, s, part.Sequence);
  }
  return part;
}
