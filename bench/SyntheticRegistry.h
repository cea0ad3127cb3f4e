#pragma once

#include <cstdint>
#include <string>

#include "platform/RegistryStore.h"

// A deterministic synthetic registry of a real system's size, for the scan benchmarks and for
// the test that the scan's speed-ups change no row. The same shape and seed always give the same
// keys, values and files, on every build (integer arithmetic only, its own random numbers).
//
// The mix follows a real HKEY_LOCAL_MACHINE\Software and HKEY_CURRENT_USER: class registrations
// with wide fan-out (CLSID, TypeLib, file extensions), vendor and product trees of varying depth,
// values of every kind in realistic shares, a fifth of the strings path-like (quoted and unquoted
// command lines with arguments, %SystemRoot% and %ProgramFiles% forms, folders, programs named
// without their extension, rundll32 lines), and a few percent of those naming files or folders
// that do not exist. Text is ASCII.
namespace quillet::bench {

struct SyntheticShape {
  uint64_t seed = 1;
  uint64_t keys = 700000;
  uint64_t values = 1200000;
  // Empty: the machine part goes under HKEY_LOCAL_MACHINE\Software, the user part under
  // HKEY_CURRENT_USER and the default user's under HKEY_USERS\.DEFAULT. Otherwise all three go
  // under this key (a long root name and a path) as its subkeys Machine, User and DefaultUser.
  std::string baseKey;
};

// Receives the generated registry and file tree.
class SyntheticOutput {
 public:
  virtual ~SyntheticOutput() = default;
  // Every file the registry refers to and that exists, before any key; folders are implied.
  virtual void File(const std::string& path) = 0;
  // Keys arrive parents first (full paths with the long root name), each followed by its values.
  virtual void Key(const std::string& fullPath) = 0;
  virtual void Value(const RegistryValue& value) = 0;
};

struct SyntheticSummary {
  uint64_t keys = 0;
  uint64_t values = 0;
  uint64_t stringValues = 0;  // string and expandable string
  uint64_t pathValues = 0;    // of those, the path-like ones
  uint64_t missingReferences = 0;
  uint64_t files = 0;
  uint32_t maxDepth = 0;      // below the part's own key
  uint64_t depthSum = 0;      // over all keys, for the mean depth
};

SyntheticSummary GenerateSyntheticRegistry(const SyntheticShape& shape, SyntheticOutput& out);

// The environment the path forms assume, as on Windows and in Wine.
inline constexpr const char* kSyntheticSystemRoot = "C:\\Windows";
inline constexpr const char* kSyntheticProgramFiles = "C:\\Program Files";

}  // namespace quillet::bench
