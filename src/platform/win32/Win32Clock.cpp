#include "platform/win32/Win32Clock.h"

#include "platform/win32/Win32.h"

namespace quillet::win32 {

LocalDateTime Win32Clock::Now() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace quillet::win32
