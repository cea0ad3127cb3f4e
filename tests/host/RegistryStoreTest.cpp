#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include "platform/RegistryDump.h"
#include "base/Utf16.h"

namespace quillet {
namespace {

TEST(RegistryStore, ParsesRootNamesInAnyCase) {
  struct Case {
    const char* text;
    std::optional<RootKey> longOnly;
    std::optional<RootKey> withShortForms;
  };
  const Case cases[] = {
      {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot, RootKey::ClassesRoot},
      {"hkey_current_user", RootKey::CurrentUser, RootKey::CurrentUser},
      {"Hkey_Local_Machine", RootKey::LocalMachine, RootKey::LocalMachine},
      {"HKEY_USERS", RootKey::Users, RootKey::Users},
      {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig, RootKey::CurrentConfig},
      {"HKLM", std::nullopt, RootKey::LocalMachine},
      {"hkcu", std::nullopt, RootKey::CurrentUser},
      {"HKU", std::nullopt, RootKey::Users},
      {"HKCR", std::nullopt, RootKey::ClassesRoot},
      {"HKCC", std::nullopt, RootKey::CurrentConfig},
      {"HKEY_PERFORMANCE_DATA", std::nullopt, std::nullopt},
      {"HKEY_LOCAL_MACHINE\\Software", std::nullopt, std::nullopt},
      {" HKEY_USERS", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseRootName(c.text), c.longOnly);
    EXPECT_EQ(ParseRootNameOrShortForm(c.text), c.withShortForms);
  }
}

TEST(RegistryStore, ErrorMessagesNameTheValue) {
  EXPECT_EQ(InvalidDataTypeMessage("Path"), "Invalid data type for 'Path'");
  EXPECT_EQ(FailedToGetDataMessage(""), "Failed to get data for ''");
  EXPECT_EQ(FailedToGetDataMessage("100%s"), "Failed to get data for '100%s'");
}

TEST(Utf16, ConvertsBothWaysAndReplacesWhatIsMalformed) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case roundTrips[] = {
      {"", u""},
      {"C:\\app.exe", u"C:\\app.exe"},
      {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00E9 \u20AC"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : roundTrips) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong form";
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogate";
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD") << "cut short";
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx") << "unpaired surrogate";
}

TEST(Utf16, RegistryStringBytesAreLittleEndianWithOneNul) {
  EXPECT_EQ(Utf16LeBytes("A\xC3\xA9"), (std::vector<uint8_t>{0x41, 0, 0xE9, 0, 0, 0}));
  EXPECT_EQ(Utf16LeBytes("A", false), (std::vector<uint8_t>{0x41, 0}));
  const uint8_t data[] = {0x41, 0, 0x42, 0, 0, 0, 0x43, 0, 0x44};
  EXPECT_EQ(Utf8FromUtf16Le(data, sizeof(data)), "AB");
  EXPECT_EQ(Utf8FromUtf16Le(data, sizeof(data), false), std::string("AB\0C", 4)) << "odd last byte dropped";
}

TEST(RegistryDump, ShowsTextOnlyWhenTheBytesAreExactlyThatText) {
  struct Case {
    RegistryValue value;
    const char* shown;
  };
  const Case cases[] = {
      {{"", regtype::kString, Utf16LeBytes("x")}, "@ = REG_SZ \"x\""},
      {{"N", regtype::kString, Utf16LeBytes("x", false)}, "\"N\" = REG_SZ hex: 78 00"},
      {{"N", regtype::kString, {}}, "\"N\" = REG_SZ hex:"},
      {{"N", regtype::kExpandString, {0x78, 0, 0, 0, 0, 0}}, "\"N\" = REG_EXPAND_SZ hex: 78 00 00 00 00 00"},
      {{"N", regtype::kMultiString, {0x61, 0, 0, 0, 0, 0}}, "\"N\" = REG_MULTI_SZ [\"a\"]"},
      {{"N", regtype::kMultiString, {0, 0}}, "\"N\" = REG_MULTI_SZ []"},
      {{"N", regtype::kMultiString, {0x61, 0, 0, 0}}, "\"N\" = REG_MULTI_SZ hex: 61 00 00 00"},
      {{"N", regtype::kMultiString, {0x61, 0, 0, 0, 0, 0, 0, 0}}, "\"N\" = REG_MULTI_SZ hex: 61 00 00 00 00 00 00 00"},
      {{"N", regtype::kDword, {1, 0, 0}}, "\"N\" = REG_DWORD hex: 01 00 00"},
      {{"N", regtype::kQword, {1, 0, 0, 0, 0, 0, 0, 0x80}}, "\"N\" = REG_QWORD 0x8000000000000001"},
      {{"N", regtype::kDwordBigEndian, {0, 0, 0, 1}}, "\"N\" = REG_DWORD_BIG_ENDIAN hex: 00 00 00 01"},
      {{"N", 12, {}}, "\"N\" = type 0xC hex:"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatRegistryValue(c.value), c.shown);
}

}  // namespace
}  // namespace quillet
