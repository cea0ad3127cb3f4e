// The host profile on any file: reads never crash, and a write sets its key and changes no byte
// of the file before the line it writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  constexpr const char* kFile = "C:\\fuzz.ini";
  const std::string before(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem files;
  files.fixedDrive('c').file(kFile, before);
  IniProfile profile(files);
  for (const std::string& section : {std::string(), std::string("S"), std::string("Fuzz")}) {
    for (const std::string& key : profile.ReadSectionKeys(kFile, section)) {
      (void)profile.ReadString(kFile, section, key, "");
      (void)profile.ReadInteger(kFile, section, key, 0);
    }
  }

  FUZZ_CHECK(profile.WriteString(kFile, "Fuzz", "K", "value"));
  FUZZ_CHECK(profile.ReadString(kFile, "Fuzz", "K", "") == "value");
  const std::string after = files.ReadFile(kFile).value_or("");
  // The file up to the first byte the write changed is the old file; what follows the written
  // part ends as the old file ended.
  size_t same = 0;
  while (same < before.size() && same < after.size() && before[same] == after[same]) ++same;
  size_t tail = 0;
  while (tail < before.size() - same && tail < after.size() - same &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  FUZZ_CHECK(after.size() >= same + tail);
  // The write adds or replaces one key line and, for a new section, its header: at most a few
  // lines' worth of bytes differ.
  FUZZ_CHECK(after.size() - same - tail <= 64);
  return 0;
}
