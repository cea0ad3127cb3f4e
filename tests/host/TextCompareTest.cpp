#include <gtest/gtest.h>

#include "settings/TextCompare.h"

namespace quillet {
namespace {

TEST(TextCompare, UpperCasesAsciiAndAccentedLetters) {
  EXPECT_EQ(UpperCase("c:\\program files\\app.exe"), "C:\\PROGRAM FILES\\APP.EXE");
  EXPECT_EQ(UpperCase("straße élan"), "STRAßE ÉLAN");
  EXPECT_EQ(UpperCase("привет ÿ"), "ПРИВЕТ Ÿ");
  EXPECT_EQ(UpperCase("123-_%\\"), "123-_%\\");
}

TEST(TextCompare, KeepsByteLengthSoPositionsCarryOver) {
  for (std::string text : {"ÿ", "ı", "ß", "ǅ", "\xC3", "a\xE2\x82\xAC" "b"}) {
    EXPECT_EQ(UpperCase(text).size(), text.size()) << text;
  }
}

TEST(TextCompare, ComparesAndSearchesWithoutRegardToCase) {
  EXPECT_TRUE(SameText("HKEY_LOCAL_MACHINE", "hkey_local_machine"));
  EXPECT_FALSE(SameText("Run", "RunOnce"));
  EXPECT_TRUE(ContainsText("C:\\Windows\\System32\\x.dll", "system32"));
  EXPECT_FALSE(ContainsText("C:\\Windows", "system32"));
  EXPECT_EQ(FindText("a\\hp\\b\\HP", "\\hp", 2), 6u);
  EXPECT_EQ(FindText("abc", "d"), std::string::npos);
  EXPECT_TRUE(StartsWithText("Software\\Microsoft", "SOFTWARE\\"));
  EXPECT_TRUE(EndsWithText("app.EXE", ".exe"));
  EXPECT_FALSE(EndsWithText("exe", "app.exe"));
}

}  // namespace
}  // namespace quillet
