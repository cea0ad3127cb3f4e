// The text conversions on any bytes: UTF-8, UTF-16 and the host's Windows-1252 model.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "base/Utf16.h"
#include "platform/memory/Windows1252.h"

namespace {

// The five bytes Windows-1252 leaves without a character.
bool HasUndefinedByte(std::string_view bytes) {
  return bytes.find_first_of(std::string_view("\x81\x8D\x8F\x90\x9D")) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Whatever the bytes, UTF-16LE decoded and encoded again decodes to the same text.
  const std::string fromUtf16 = Utf8FromUtf16Le(data, size, false);
  const std::vector<uint8_t> again = Utf16LeBytes(fromUtf16, false);
  FUZZ_CHECK(Utf8FromUtf16Le(again.data(), again.size(), false) == fromUtf16);

  // UTF-8 through UTF-16 and back is stable after the first pass, which mends malformed input.
  const std::string once = Utf16ToUtf8(Utf8ToUtf16(bytes));
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(once)) == once);

  // Every defined Windows-1252 byte has one character and comes back as itself.
  memory::Windows1252 ansi;
  const std::string utf8 = ansi.ToUtf8(bytes);
  if (!HasUndefinedByte(bytes)) FUZZ_CHECK(ansi.FromUtf8(utf8) == std::string(bytes));
  return 0;
}
