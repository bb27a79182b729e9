#include "platform/date_time.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <cstdio>

namespace platform {
namespace {

std::function<TDateTime()>& ClockOverride() {
  static std::function<TDateTime()> clock;
  return clock;
}

// 30 December 1899, built at compile time: a date-time encoded while
// another file's statics are set up must not meet an epoch not yet made.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019);

}  // namespace

TDateTime Now() {
  if (ClockOverride()) return ClockOverride()();
  return FromQDateTime(QDateTime::currentDateTime());
}

void SetClockForTests(std::function<TDateTime()> clock) { ClockOverride() = std::move(clock); }

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<double>(kEpoch.daysTo(QDate(year, month, day)));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  return EncodeDate(year, month, day) + EncodeTime(hour, minute, second);
}

void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute, int& second) {
  double whole = std::floor(t);
  // Round to the millisecond first so that 0.999999 of a second is not lost.
  long long ms = std::llround((t - whole) * 86400000.0);
  if (ms >= 86400000LL) {
    ms -= 86400000LL;
    whole += 1;
  }
  QDate d = kEpoch.addDays(static_cast<qint64>(whole));
  year = d.year();
  month = d.month();
  day = d.day();
  long long s = ms / 1000;
  hour = static_cast<int>(s / 3600);
  minute = static_cast<int>((s / 60) % 60);
  second = static_cast<int>(s % 60);
}

TDateTime FromQDateTime(const QDateTime& dt) {
  QDate d = dt.date();
  QTime t = dt.time();
  return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

QDateTime ToQDateTime(TDateTime t) {
  int y, mo, d, h, mi, s;
  DecodeDateTime(t, y, mo, d, h, mi, s);
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

std::string FormatDateTime(TDateTime t) {
  int y, mo, d, h, mi, s;
  DecodeDateTime(t, y, mo, d, h, mi, s);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

std::string FormatTime(TDateTime t) {
  int y, mo, d, h, mi, s;
  DecodeDateTime(t, y, mo, d, h, mi, s);
  char buf[20];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, mi, s);
  return buf;
}

std::string FormatDateCompact(TDateTime t) {
  int y, mo, d, h, mi, s;
  DecodeDateTime(t, y, mo, d, h, mi, s);
  char buf[20];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, mo, d);
  return buf;
}

}  // namespace platform
