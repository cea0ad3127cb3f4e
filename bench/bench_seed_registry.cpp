// Seeds the synthetic registry into the live registry and its files into the file system
// (SyntheticLiveSeeder: the registry functions directly, faster than importing a .reg file).
//   bench-seed-registry [--keys N] [--values N] [--seed S] KEY
// KEY (a long root name and a path) receives the parts Machine, User and DefaultUser. A marker
// value on KEY names the shape; when it matches, nothing is done. Otherwise KEY is replaced.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "SyntheticLiveSeeder.h"
#include "SyntheticRegistry.h"
#include "platform/win32/ToolArguments.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"

namespace {

using namespace quillet;
using win32::ToWide;

constexpr wchar_t kMarker[] = L"QuilletBenchShape";

std::pair<HKEY, std::string> SplitRoot(const std::string& fullPath) {
  const size_t separator = fullPath.find('\\');
  const std::optional<RootKey> root = ParseRootName(fullPath.substr(0, separator));
  if (!root) return {nullptr, {}};
  return {win32::RootHandle(*root), separator == std::string::npos ? std::string() : fullPath.substr(separator + 1)};
}

}  // namespace

int main() {
  bench::SyntheticShape shape;
  std::string base;
  const std::vector<std::string> args = win32::ToolArguments();
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--keys" && hasValue) {
      shape.keys = std::stoull(args[++i]);
    } else if (args[i] == "--values" && hasValue) {
      shape.values = std::stoull(args[++i]);
    } else if (args[i] == "--seed" && hasValue) {
      shape.seed = std::stoull(args[++i]);
    } else {
      base = args[i];
    }
  }
  auto [root, path] = SplitRoot(base);
  if (!root || path.empty()) {
    std::fprintf(stderr, "usage: bench-seed-registry [--keys N] [--values N] [--seed S] HKEY_...\\KEY\n");
    return 2;
  }
  shape.baseKey = base;
  const std::wstring marker = ToWide("keys=" + std::to_string(shape.keys) + " values=" + std::to_string(shape.values) +
                                     " seed=" + std::to_string(shape.seed));
  {
    win32::UniqueKey existing;
    wchar_t found[128] = {};
    DWORD size = sizeof(found) - sizeof(wchar_t);
    if (::RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, existing.put()) == ERROR_SUCCESS &&
        ::RegQueryValueExW(existing.get(), kMarker, nullptr, nullptr, reinterpret_cast<BYTE*>(found), &size) ==
            ERROR_SUCCESS &&
        marker == found) {
      std::printf("already seeded: %s\n", base.c_str());
      return 0;
    }
  }
  ::RegDeleteTreeW(root, ToWide(path).c_str());
  ::RegDeleteKeyW(root, ToWide(path).c_str());

  const auto started = std::chrono::steady_clock::now();
  bench::SyntheticLiveSeeder seeder;
  const bench::SyntheticSummary summary = bench::GenerateSyntheticRegistry(shape, seeder);
  seeder.CloseKeys();
  if (seeder.Failures() > 0) {
    std::fprintf(stderr, "bench-seed-registry: %llu keys or values could not be written\n",
                 static_cast<unsigned long long>(seeder.Failures()));
    return 1;
  }
  win32::UniqueKey top;
  if (::RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_SET_VALUE, top.put()) == ERROR_SUCCESS) {
    ::RegSetValueExW(top.get(), kMarker, 0, REG_SZ, reinterpret_cast<const BYTE*>(marker.c_str()),
                     static_cast<DWORD>((marker.size() + 1) * sizeof(wchar_t)));
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("seeded %s: %llu keys, %llu values (%llu strings, %llu path-like), %llu files in %.1f s\n", base.c_str(),
              static_cast<unsigned long long>(summary.keys), static_cast<unsigned long long>(summary.values),
              static_cast<unsigned long long>(summary.stringValues),
              static_cast<unsigned long long>(summary.pathValues), static_cast<unsigned long long>(summary.files),
              seconds);
  return 0;
}
