// The system's ANSI code page against the host's Windows-1252 model of it.
#include "platform/win32/Win32AnsiCodePage.h"

#include <gtest/gtest.h>

#include "platform/memory/Windows1252.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

class Win32AnsiCodePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "the test prefix's ANSI code page is " << ::GetACP();
  }
  win32::Win32AnsiCodePage system_;
  memory::Windows1252 model_;
};

TEST_F(Win32AnsiCodePageTest, ReadsEveryByteAsTheModelDoes) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(system_.ToUtf8(one), model_.ToUtf8(one)) << "byte " << byte;
  }
  EXPECT_EQ(system_.ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(Win32AnsiCodePageTest, WritesTextAsTheModelDoes) {
  const char* texts[] = {"", "C:\\Program Files\\app.exe", "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8",
                         "\xE2\x98\x83", "\xC4\x80" /* best fit would give "A" */, "a\xFF" /* not UTF-8 */,
                         "\xEF\xBF\xBD"};
  for (const char* text : texts) EXPECT_EQ(system_.FromUtf8(text), model_.FromUtf8(text)) << text;
  for (int byte = 0; byte < 256; ++byte) {
    const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    if (undefined) continue;  // the system writes their C1 controls back; the model has no text for them
    const std::string utf8 = model_.ToUtf8(std::string(1, static_cast<char>(byte)));
    EXPECT_EQ(system_.FromUtf8(utf8), model_.FromUtf8(utf8)) << "byte " << byte;
  }
}

}  // namespace
}  // namespace quillet::testing
