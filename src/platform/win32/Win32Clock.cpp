#include "platform/win32/Win32Clock.h"

#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::win32 {
namespace {

// The formats of the user's locale; empty when the system cannot write this moment.
std::wstring UserDate(const SYSTEMTIME& time) {
  wchar_t text[128];
  const int length = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 128);
  return length > 0 ? std::wstring(text) : std::wstring();
}

std::wstring UserLongTime(const SYSTEMTIME& time) {
  wchar_t text[128];
  const int length = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 128);
  return length > 0 ? std::wstring(text) : std::wstring();
}

}  // namespace

LocalDateTime Win32Clock::Now() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::string Win32Clock::FormatDateTime(int64_t utcSeconds) {
  constexpr int64_t kTicksTo1970 = 116444736000000000LL;  // 100 ns ticks from 1601 to 1970
  const auto ticks = static_cast<uint64_t>(utcSeconds * 10000000LL + kTicksTo1970);
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME universal{};
  SYSTEMTIME local{};
  // The time zone's rule for that date, so a summer file shows summer time in winter too.
  if (!::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    return {};
  }
  return ToUtf8(UserDate(local) + L" " + UserLongTime(local));
}

}  // namespace quillet::win32
