#pragma once

#include "platform/Clock.h"

namespace quillet::win32 {

// The system's local time. Stateless.
class Win32Clock : public Clock {
 public:
  LocalDateTime Now() override;
  std::string FormatDateTime(int64_t utcSeconds) override;
};

}  // namespace quillet::win32
