#include "platform/win32/Win32Profile.h"

#include "platform/win32/Win32.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {
namespace {

constexpr DWORD kValueBuffer = 2048;  // values of at most 2047 characters, as the program always read them

}  // namespace

std::string Win32Profile::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                     std::string_view defaultValue) {
  std::wstring buffer(kValueBuffer, L'\0');
  DWORD length = ::GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(defaultValue).c_str(),
                                            buffer.data(), kValueBuffer, ToWide(file).c_str());
  buffer.resize(length);
  return ToUtf8(buffer);
}

int Win32Profile::ReadInteger(std::string_view file, std::string_view section, std::string_view key,
                              int defaultValue) {
  return static_cast<int>(
      ::GetPrivateProfileIntW(ToWide(section).c_str(), ToWide(key).c_str(), defaultValue, ToWide(file).c_str()));
}

std::vector<std::string> Win32Profile::ReadSectionKeys(std::string_view file, std::string_view section) {
  const std::wstring wideSection = ToWide(section);
  const std::wstring wideFile = ToWide(file);
  std::wstring buffer(4096, L'\0');
  DWORD length = 0;
  for (;;) {
    // A null key name lists the section's keys, each ended by a NUL; size - 2 means it was cut.
    length = ::GetPrivateProfileStringW(wideSection.c_str(), nullptr, L"", buffer.data(),
                                        static_cast<DWORD>(buffer.size()), wideFile.c_str());
    if (length + 2 < buffer.size()) break;
    buffer.assign(buffer.size() * 2, L'\0');
  }
  std::vector<std::string> keys;
  size_t start = 0;
  while (start < length) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring::npos || end > length) end = length;
    if (end > start) keys.push_back(ToUtf8(std::wstring_view(buffer).substr(start, end - start)));
    start = end + 1;
  }
  return keys;
}

bool Win32Profile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                               std::string_view value) {
  return ::WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(value).c_str(),
                                      ToWide(file).c_str()) != 0;
}

}  // namespace quillet::win32
