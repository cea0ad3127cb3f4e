#include "platform/memory/Windows1252.h"

#include <gtest/gtest.h>

namespace quillet::memory {
namespace {

TEST(Windows1252, WritesTextWhoseEveryCharacterHasAnExactForm) {
  struct Case {
    const char* utf8;
    std::optional<std::string> ansi;
  };
  const Case cases[] = {
      {"", std::string()},
      {"C:\\Program Files\\app.exe", std::string("C:\\Program Files\\app.exe")},
      {"caf\xC3\xA9 \xC3\xBF", std::string("caf\xE9 \xFF")},
      {"\xE2\x82\xAC\xE2\x80\x9A\xC5\xB8", std::string("\x80\x82\x9F")},
      {"\xC2\xA0", std::string("\xA0")},
      {"\xE2\x98\x83", std::nullopt},
      {"a\xC4\x80", std::nullopt},
      {"\xC2\x81", std::nullopt},
      {"\xC2\x8D", std::nullopt},
      {"\xC2\x8F", std::nullopt},
      {"\xC2\x90", std::nullopt},
      {"\xC2\x9D", std::nullopt},
      {"\xC2\x80", std::nullopt},
      {"a\xFF", std::nullopt},
      {"\xEF\xBF\xBD", std::nullopt},
  };
  Windows1252 ansi;
  for (const Case& c : cases) EXPECT_EQ(ansi.FromUtf8(c.utf8), c.ansi) << c.utf8;
}

TEST(Windows1252, ReadsEveryByteAndWritesBackAllButTheUndefinedOnes) {
  Windows1252 ansi;
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    const std::string one(1, static_cast<char>(byte));
    const std::string utf8 = ansi.ToUtf8(one);
    const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    EXPECT_EQ(ansi.FromUtf8(utf8), undefined ? std::nullopt : std::optional<std::string>(one));
  }
  EXPECT_EQ(ansi.ToUtf8("\x80\x81\x9F"), "\xE2\x82\xAC\xC2\x81\xC5\xB8");
}

}  // namespace
}  // namespace quillet::memory
