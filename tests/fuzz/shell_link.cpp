// The shortcut reader on any bytes: no crash, no hang, no read past the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/ShellLinkReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so AddressSanitizer sees any read beyond it.
  const std::vector<char> bytes(data, data + size);
  (void)quillet::ReadShellLinkTarget(std::string_view(bytes.data(), bytes.size()));
  return 0;
}
