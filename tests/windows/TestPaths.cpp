#include "TestPaths.h"

#include "platform/win32/Win32.h"

namespace quillet::testing {

std::wstring BuildFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring QuilletExePath() { return BuildFolder() + L"quillet.exe"; }

}  // namespace quillet::testing
