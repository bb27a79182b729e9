#pragma once
// File names made of received text: a flight, a registration or a station
// name must never lead out of the folder it names a file in.
#include <string>
#include <string_view>

// A file-name part made of received text (code page 932): UTF-8, with
// characters no file name may hold and control bytes as "_"; an empty or
// all-dots name becomes "_". Ordinary flights and registrations stay as
// they are.
std::string LogNamePart(std::string_view cp932Name);
