#include "platform/memory/FixedClock.h"

#include <cstdio>

namespace quillet {
namespace {

// The civil date of a day number counted from 1970-01-01 (proleptic Gregorian calendar).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

FixedClock& FixedClock::set(LocalDateTime time) {
  std::lock_guard lock(mutex_);
  now_ = time;
  return *this;
}

FixedClock& FixedClock::utcOffsetMinutes(int minutes) {
  std::lock_guard lock(mutex_);
  offsetMinutes_ = minutes;
  return *this;
}

LocalDateTime FixedClock::Now() {
  std::lock_guard lock(mutex_);
  return now_;
}

std::string FixedClock::FormatDateTime(int64_t utcSeconds) {
  int64_t local = utcSeconds;
  {
    std::lock_guard lock(mutex_);
    local += int64_t{offsetMinutes_} * 60;
  }
  const int64_t days = (local >= 0 ? local : local - 86399) / 86400;
  const int64_t secondOfDay = local - days * 86400;
  int year = 0, month = 0, day = 0;
  CivilFromDays(days, year, month, day);
  char text[32];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", year, month, day,
                static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                static_cast<int>(secondOfDay % 60));
  return text;
}

}  // namespace quillet
