#pragma once
// Airline position reports for the tests, as their layouts place them.
#include <initializer_list>
#include <string>
#include <utility>

// L blanks with each part written from its index.
inline std::string PositionText(int length, std::initializer_list<std::pair<int, std::string>> parts) {
  std::string t(static_cast<size_t>(length), ' ');
  for (const auto& [at, s] : parts) t.replace(static_cast<size_t>(at), s.size(), s);
  return t;
}

// JL, label H1: one report after "PNT", at 35.5 N 139.75 E, 35000 ft.
inline const std::string kJ1Report = "0001PNT/HND/NRT/ABCDEFGHIJKLMNON35300E139450123435000-452701200000000090";

// JL, label H1 without "PNT": two groups, at 36.0 N 140.0 E 35000 ft and
// 36.5 N 140.5 E 37000 ft.
inline std::string J3Report() {
  return PositionText(79, {{4, "WDC"}, {12, "35000"}, {17, "N36000E140000"}, {30, "1240"}, {34, "-45270120"},
                           {47, "37000"}, {52, "N36300E140300"}, {65, "1250"}, {69, "-50260100"}});
}

// NH "POS", label 16 or H1, at the given "N35300E139450" group.
inline std::string NhPosReport(const std::string& group = "N35300E139450") {
  return PositionText(94, {{4, "POS"}, {61, group}, {74, "1234"}, {80, "35000"}, {85, "M45"}, {88, "270120"}});
}

// UA, label H1, at the given group.
inline std::string UaReport(const std::string& group = "N35300E139450") {
  return "XXXBPOS" + group + ",KAGIS,1234,350,A,B,C,M45,270120";
}
