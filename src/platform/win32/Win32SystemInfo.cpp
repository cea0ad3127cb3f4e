#include "platform/win32/Win32SystemInfo.h"

#include "platform/win32/Win32.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {

OsVersion Win32SystemInfo::GetOsVersion() {
  // Without a manifest that names newer systems, Windows 8.1 and later report 6.2 here; the
  // classification is made for the systems that answered truthfully.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  OsVersion version;
  if (!::GetVersionExW(&info)) return version;
  version.platform = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? PlatformId::WindowsNt : PlatformId::Windows9x;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  return version;
}

std::optional<bool> Win32SystemInfo::QueryWow64Process() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32");
  if (!kernel) return std::nullopt;
  auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "IsWow64Process")));
  if (!isWow64Process) return std::nullopt;
  BOOL wow64 = FALSE;
  if (!isWow64Process(::GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
}

std::string Win32SystemInfo::ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.assign(path.size() * 2, L'\0');
  }
  return ToUtf8(path.substr(0, path.find_last_of(L'\\') + 1));
}

}  // namespace quillet::win32
