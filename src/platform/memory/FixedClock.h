#pragma once

#include <mutex>

#include "platform/Clock.h"

namespace quillet {

// A clock for host tests: it shows the time it was set to (7 March 2026, 09:05:03 unless told
// otherwise) and moves only when told.
class FixedClock : public Clock {
 public:
  FixedClock& set(LocalDateTime time);
  LocalDateTime Now() override;

 private:
  std::mutex mutex_;
  LocalDateTime now_{2026, 3, 7, 9, 5, 3};
};

}  // namespace quillet
