#pragma once
// How logs and displays write a byte of ACARS text: control characters as
// their names ("<SOH>", "<ETX>", "<VF>" for 10), anything else as itself.
// The log import turns the 33 names back into bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

std::string ControlCharName(uint8_t value);
// The byte a name stands for ("<SOH>" -> 1), or nothing for other text.
std::optional<uint8_t> ControlCharValue(std::string_view name);
