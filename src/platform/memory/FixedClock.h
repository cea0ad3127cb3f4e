#pragma once

#include <mutex>

#include "platform/Clock.h"

namespace quillet {

// A clock for host tests: it shows the time it was set to (7 March 2026, 09:05:03 unless told
// otherwise) and moves only when told. Its user lives at a fixed distance from UTC (none unless
// told) and writes moments as "2014-01-02 08:00:00".
class FixedClock : public Clock {
 public:
  FixedClock& set(LocalDateTime time);
  FixedClock& utcOffsetMinutes(int minutes);
  LocalDateTime Now() override;
  std::string FormatDateTime(int64_t utcSeconds) override;

 private:
  std::mutex mutex_;
  LocalDateTime now_{2026, 3, 7, 9, 5, 3};
  int offsetMinutes_ = 0;
};

}  // namespace quillet
