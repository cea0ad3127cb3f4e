// The floor of a registry walk: every key below KEY opened below its parent's handle, every
// value read with its data by RegEnumValueW, every subkey listed by RegEnumKeyExW, and nothing
// else. Prints the keys, the values and the seconds.
//   bench-registry-floor KEY
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "platform/win32/ToolArguments.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"

namespace {

using namespace quillet;

uint64_t gKeys = 0;
uint64_t gValues = 0;
uint64_t gBytes = 0;

void Walk(HKEY key) {
  ++gKeys;
  DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  std::wstring name(std::max(longestName, longestSubkey) + 1, L'\0');
  std::vector<BYTE> data(std::max<DWORD>(longestData, 1));
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
      break;
    }
    ++gValues;
    gBytes += size;
  }
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    if (::RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    win32::UniqueKey child;
    if (::RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS) Walk(child.get());
  }
}

}  // namespace

int main() {
  const std::vector<std::string> args = win32::ToolArguments();
  const std::string full = args.empty() ? std::string() : args[0];
  const size_t separator = full.find('\\');
  const std::optional<RootKey> root = ParseRootName(full.substr(0, separator));
  if (!root) {
    std::fprintf(stderr, "usage: bench-registry-floor HKEY_...\\KEY\n");
    return 2;
  }
  const std::string path = separator == std::string::npos ? std::string() : full.substr(separator + 1);
  const auto started = std::chrono::steady_clock::now();
  win32::UniqueKey key;
  if (::RegOpenKeyExW(win32::RootHandle(*root), win32::ToWide(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    std::fprintf(stderr, "bench-registry-floor: %s does not open\n", full.c_str());
    return 1;
  }
  Walk(key.get());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("keys %llu, values %llu, data bytes %llu, seconds %.3f\n", static_cast<unsigned long long>(gKeys),
              static_cast<unsigned long long>(gValues), static_cast<unsigned long long>(gBytes), seconds);
  return 0;
}
