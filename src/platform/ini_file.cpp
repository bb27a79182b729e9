#include "platform/ini_file.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/cp932.h"
#include "platform/file_io.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII-only case folding; the trail byte of a double-byte character is
// compared as it is, since it may look like a letter.
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool trail = false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (trail) {
      if (x != y) return false;
      trail = false;
      continue;
    }
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
    trail = platform::IsCp932Lead(x);
  }
  return true;
}

bool IsComment(std::string_view line) {
  std::string_view t = Trim(line);
  return !t.empty() && t.front() == ';';
}

// The section name of a header line, or nothing.
std::optional<std::string_view> HeaderName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key name and the raw value text of a key line, or nothing.
bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  if (IsComment(line) || HeaderName(line)) return false;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

bool IniFile::Load(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    LoadFromBytes({});
    return false;
  }
  LoadFromBytes(bytes);
  return true;
}

void IniFile::LoadFromBytes(std::string_view bytes) {
  bom_.clear();
  lines_.clear();
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bom_ = "\xEF\xBB\xBF";
    bytes.remove_prefix(3);
  }
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t lf = bytes.find('\n', pos);
    Line line;
    if (lf == std::string_view::npos) {
      line.text = std::string(bytes.substr(pos));
      pos = bytes.size();
    } else {
      size_t end = lf;
      if (end > pos && bytes[end - 1] == '\r') {
        --end;
        line.eol = "\r\n";
      } else {
        line.eol = "\n";
      }
      line.text = std::string(bytes.substr(pos, end - pos));
      pos = lf + 1;
    }
    lines_.push_back(std::move(line));
  }
}

std::string IniFile::ToBytes() const {
  std::string out = bom_;
  for (const Line& l : lines_) {
    out += l.text;
    out += l.eol;
  }
  return out;
}

bool IniFile::Save(const std::string& path) const { return platform::ReplaceFileAtomically(path, ToBytes()); }

int IniFile::FindSection(std::string_view section) const {
  std::string_view want = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = HeaderName(lines_[i].text);
    if (name && NamesEqual(*name, want)) return static_cast<int>(i);
  }
  return -1;
}

int IniFile::SectionEnd(int header) const {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < lines_.size() && !HeaderName(lines_[i].text)) ++i;
  return static_cast<int>(i);
}

int IniFile::FindKey(int header, std::string_view key) const {
  std::string_view want = Trim(key);
  int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (SplitKeyLine(lines_[i].text, k, v) && NamesEqual(k, want)) return i;
  }
  return -1;
}

std::string IniFile::NewLineEnd() const {
  if (lines_.empty() || lines_.front().eol.empty()) return "\r\n";
  return lines_.front().eol;
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  int header = FindSection(section);
  if (header < 0) return std::nullopt;
  int line = FindKey(header, key);
  if (line < 0) return std::nullopt;
  std::string_view k, v;
  SplitKeyLine(lines_[line].text, k, v);
  return std::string(v.substr(0, kMaxValueBytes));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = Read(section, key);
  return v ? *v : std::string(def);
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int def) const {
  auto v = Read(section, key);
  if (!v) return def;
  auto n = ini_numbers::ParseInt(*v);
  return n ? *n : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInt(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
  auto v = Read(section, key);
  if (!v) return def;
  auto n = ini_numbers::ParseFloat(*v);
  return n ? *n : def;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  int header = FindSection(section);
  if (header < 0) {
    std::string eol = NewLineEnd();
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
    lines_.push_back({"[" + std::string(Trim(section)) + "]", eol});
    lines_.push_back({std::string(Trim(key)) + "=" + std::string(value), eol});
    return;
  }
  int line = FindKey(header, key);
  if (line >= 0) {
    std::string_view k, v;
    SplitKeyLine(lines_[line].text, k, v);
    // A value longer than a read returns is unchanged when the program writes
    // back what it read; only a real change rewrites the line.
    bool unchanged = v == value || (v.size() > kMaxValueBytes && v.substr(0, kMaxValueBytes) == value);
    if (unchanged) return;
    lines_[line].text = std::string(k) + "=" + std::string(value);
    return;
  }
  int end = SectionEnd(header);
  int last = header;
  for (int i = header + 1; i < end; ++i) {
    if (!Trim(lines_[i].text).empty()) last = i;
  }
  std::string eol = NewLineEnd();
  if (lines_[last].eol.empty()) lines_[last].eol = eol;
  lines_.insert(lines_.begin() + last + 1, Line{std::string(Trim(key)) + "=" + std::string(value), eol});
}

void IniFile::WriteInt(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, ini_numbers::FormatFloat(value));
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& l : lines_) {
    if (auto n = HeaderName(l.text)) names.emplace_back(*n);
  }
  return names;
}

namespace ini_numbers {

std::optional<int> ParseInt(std::string_view text) {
  std::string_view t = Trim(text);
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return std::nullopt;
  long long magnitude = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
  if (ec != std::errc() || end != t.data() + t.size() || magnitude < 0) return std::nullopt;
  long long v = negative ? -magnitude : magnitude;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

std::optional<double> ParseFloat(std::string_view text) {
  std::string t(Trim(text));
  if (t.empty()) return std::nullopt;
  for (char& c : t) {
    if (c == ',') c = '.';
  }
  for (char c : t) {
    // from_chars would also take "inf" and "nan"; settings never hold them.
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return std::nullopt;
  }
  const char* begin = t.data();
  if (*begin == '+') ++begin;
  double v = 0;
  auto [end, ec] = std::from_chars(begin, t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

std::string FormatFloat(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buf, end);
}

}  // namespace ini_numbers
