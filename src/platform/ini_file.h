#pragma once
// The settings file format: sections and keys found case-insensitively, every
// line kept as read (its bytes, order and line end), values as raw bytes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile {
 public:
  static constexpr size_t kMaxValueBytes = 2047;

  IniFile() = default;

  // Reads the file; a missing or unreadable file leaves an empty one (every
  // read then gives its default). Returns whether the file was read.
  bool Load(const std::string& path);
  void LoadFromBytes(std::string_view bytes);
  std::string ToBytes() const;
  // Writes the whole file through a temporary file in the same folder and a
  // rename, so a failed write leaves the old file as it was.
  bool Save(const std::string& path) const;

  // The text after the first '=' without surrounding blanks, cut to 2047
  // bytes; nothing when the section or key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  int ReadInt(std::string_view section, std::string_view key, int def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  double ReadFloat(std::string_view section, std::string_view key, double def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInt(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteFloat(std::string_view section, std::string_view key, double value);

  // Section names as the file spells them, in file order (for tests and tools).
  std::vector<std::string> SectionNames() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string eol;   // "\r\n", "\n" or "" for a last line without one
  };

  int FindSection(std::string_view section) const;
  int SectionEnd(int header) const;
  int FindKey(int header, std::string_view key) const;
  std::string NewLineEnd() const;

  std::string bom_;
  std::vector<Line> lines_;
};

// Number rules shared with the other readers of settings-like text.
namespace ini_numbers {
// Whole text (blanks trimmed) as an optional sign and decimal digits, or
// "0x"/"0X" and hex digits, within int32.
std::optional<int> ParseInt(std::string_view text);
// Decimal with "." or "," as separator; finite values only.
std::optional<double> ParseFloat(std::string_view text);
// General format with up to 15 significant digits and ".".
std::string FormatFloat(double value);
}  // namespace ini_numbers
