#pragma once
// The map-scale list of ComboBox1.
#include <array>
#include <string>
#include <vector>

constexpr std::array<double, 27> ZoomFactors = {1.0, 1.2, 1.4, 1.6, 1.8, 2,   2.5, 3,   4,   5,   6,   8,   10, 15,
                                                20,  25,  30,  40,  50,  60,  80,  100, 150, 200, 300, 400, 500};

// "x1.0" .. "x8.0", then "x10" .. "x500".
std::vector<std::string> ZoomListItems();
