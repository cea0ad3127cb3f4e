#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/memory/MemoryRegistry.h"

// Loads registry editor files into the in-memory registry, so host tools and tests can work on
// a registry exported from a real system.
//
// Two forms are read: "REGEDIT4" files in the ANSI code page, and "Windows Registry Editor
// Version 5.00" files in UTF-16LE with a byte-order mark. Strings are stored as the registry
// stores them (UTF-16LE with a NUL); in REGEDIT4 the bytes of hex(1), hex(2) and hex(7) are ANSI
// text and are converted the same way (the registry editor does so too), in version 5.00 every hex(N) is taken as raw bytes.
namespace quillet::memory {

struct RegFileProblem {
  int line = 0;  // 1 for the first line; 0 when the file could not be read at all
  std::string message;
};

// A key line that loaded, in file order: where it stands and the key it names.
struct RegFileSection {
  int line = 0;
  RootKey root = RootKey::CurrentUser;
  std::string path;  // below the root
};

// "line 12: unknown root key "HKEY_NOWHERE"".
std::string Describe(const RegFileProblem& problem);

// Malformed lines are skipped and reported; the lines around them still load.
// With sections, the file's key lines are listed there as they load.
std::vector<RegFileProblem> ReadRegFile(std::string_view fileBytes, AnsiCodePage& ansi, MemoryRegistry& registry,
                                        std::vector<RegFileSection>* sections = nullptr);
std::vector<RegFileProblem> ReadRegFileFromPath(const std::string& path, AnsiCodePage& ansi,
                                                MemoryRegistry& registry);

}  // namespace quillet::memory
