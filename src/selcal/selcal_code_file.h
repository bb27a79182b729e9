#pragma once
// The SELCAL code file (data/selcal.csv): lines of "code,registration" in
// code page 932, kept by the user.
#include <string>

// The registration of the first line whose code field is exactly code (4
// bytes, compared byte for byte), at most 7 bytes and never half a two-byte
// character; "" for "----", a missing file or a code not listed. A third
// field is ignored; the last line counts without a line feed.
std::string LookupSelcalCode(const std::string& codeFilePath, const std::string& code);
