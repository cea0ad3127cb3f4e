#pragma once

#include <cstdint>
#include <string>

// The wall clock, in the user's local time, and the user's way of writing a moment.
namespace quillet {

struct LocalDateTime {
  int year = 2000;
  int month = 1;   // 1 to 12
  int day = 1;     // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // A moment (seconds since 1970-01-01 UTC) in local time, written in the user's short date
  // format, a blank and the user's long time format.
  virtual std::string FormatDateTime(int64_t utcSeconds) = 0;
};

}  // namespace quillet
