#include "platform/log_name_part.h"

#include "platform/cp932.h"

std::string LogNamePart(std::string_view cp932Name) {
  std::string name = platform::Cp932ToUtf8(cp932Name);
  bool allDots = true;
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '/':
      case '\\':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        c = '_';
        break;
      default:
        if (u < 0x20 || u == 0x7F) c = '_';
    }
    if (c != '.') allDots = false;
  }
  if (allDots) return "_";
  return name;
}
