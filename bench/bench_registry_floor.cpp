// The floor of a registry walk: every key below KEY opened below its parent's handle, every
// value read with its data by RegEnumValueW, every subkey listed by RegEnumKeyExW, each key
// measured once by RegQueryInfoKeyW for the counts, and nothing else. Prints the keys, the values
// and the seconds.
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

// One name and one data buffer for the whole walk, grown when the system reports more data. Each
// key is measured once, and its counts end the two enumerations: one call per key instead of
// the two that would only report the ends.
std::wstring gName(256, L'\0');
std::vector<BYTE> gData(4096);

void Walk(HKEY key) {
  ++gKeys;
  DWORD subkeys = 0, values = 0;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (DWORD index = 0; index < values;) {
    DWORD nameLength = static_cast<DWORD>(gName.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(gData.size());
    const LONG result = ::RegEnumValueW(key, index, gName.data(), &nameLength, nullptr, &type, gData.data(), &size);
    if (result == ERROR_MORE_DATA) {
      if (size > gData.size()) {
        gData.resize(size);
      } else {
        gName.resize(gName.size() * 2);
      }
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    ++gValues;
    gBytes += size;
    ++index;
  }
  for (DWORD index = 0; index < subkeys; ++index) {
    DWORD nameLength = static_cast<DWORD>(gName.size());
    if (::RegEnumKeyExW(key, index, gName.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    win32::UniqueKey child;
    if (::RegOpenKeyExW(key, gName.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS) Walk(child.get());
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
