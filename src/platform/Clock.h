#pragma once

// The wall clock, in the user's local time.
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
};

}  // namespace quillet
