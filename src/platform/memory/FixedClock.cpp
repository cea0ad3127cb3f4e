#include "platform/memory/FixedClock.h"

namespace quillet {

FixedClock& FixedClock::set(LocalDateTime time) {
  std::lock_guard lock(mutex_);
  now_ = time;
  return *this;
}

LocalDateTime FixedClock::Now() {
  std::lock_guard lock(mutex_);
  return now_;
}

}  // namespace quillet
