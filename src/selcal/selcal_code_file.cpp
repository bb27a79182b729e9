#include "selcal/selcal_code_file.h"

#include "platform/csv_reader.h"
#include "platform/file_io.h"

std::string LookupSelcalCode(const std::string& codeFilePath, const std::string& code) {
  if (code == "----") return "";
  std::string bytes;
  if (!platform::ReadWholeFile(codeFilePath, bytes)) return "";
  // The code field whole, so that "ABCDE" is no "ABCD"; the registration
  // cut at 7 bytes.
  platform::CsvReader reader(bytes, {platform::kUncut, 7});
  while (reader.Next()) {
    const auto& fields = reader.Fields();
    if (fields.size() < 2 || fields[0] != code) continue;
    std::string registration(fields[1]);
    // A last line that ends in CR without its LF.
    if (!registration.empty() && registration.back() == '\r') registration.pop_back();
    return registration;
  }
  return "";
}
