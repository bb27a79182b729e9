#include "platform/control_char_name.h"

namespace {

// The name of 10 is "<VF>", not "<LF>".
constexpr const char* kNames[32] = {"<NUL>", "<SOH>", "<STX>", "<ETX>", "<EOT>", "<ENQ>", "<ACK>", "<BEL>",
                                    "<BS>",  "<HT>",  "<VF>",  "<VT>",  "<FF>",  "<CR>",  "<SO>",  "<SI>",
                                    "<DLE>", "<DC1>", "<DC2>", "<DC3>", "<DC4>", "<NAK>", "<SYN>", "<ETB>",
                                    "<CAN>", "<EM>",  "<SUB>", "<ESC>", "<FS>",  "<GS>",  "<RS>",  "<US>"};

}  // namespace

std::string ControlCharName(uint8_t value) {
  if (value < 32) return kNames[value];
  if (value == 127) return "<DEL>";
  return std::string(1, static_cast<char>(value));
}

std::optional<uint8_t> ControlCharValue(std::string_view name) {
  for (int i = 0; i < 32; ++i) {
    if (name == kNames[i]) return static_cast<uint8_t>(i);
  }
  if (name == "<DEL>") return 127;
  return std::nullopt;
}
