#pragma once
// Date-time values as the program keeps them: days since 1899-12-30 as a
// double, the fraction being the time of day. A time of day alone has no
// whole part, and 0 stands for "no time". Differences are plain subtraction.
#include <functional>
#include <string>

class QDateTime;

using TDateTime = double;

namespace platform {

// The local date and time now. Tests fix it with SetClockForTests.
TDateTime Now();
void SetClockForTests(std::function<TDateTime()> clock);  // empty restores the system clock

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute, int& second);

TDateTime FromQDateTime(const QDateTime& dt);
QDateTime ToQDateTime(TDateTime t);

// "yyyy/MM/dd HH:mm:ss" in every locale.
std::string FormatDateTime(TDateTime t);
// "HH:mm:ss".
std::string FormatTime(TDateTime t);
// "yyyymmdd".
std::string FormatDateCompact(TDateTime t);

}  // namespace platform
