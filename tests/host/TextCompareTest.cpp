#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/TextCompare.h"

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

// The comparisons skip the copies when one side is ASCII; they must still mean exactly
// "upper-case both sides, then compare".
TEST(TextCompare, ComparisonsMeanUpperCasingBothSides) {
  const std::vector<std::string> texts{"",       "a",          "A",         "\\hp",     "ab\\HPc",   "élan",
                                       "ÉLAN",   "xÉlan",      "e\xCC\x81", "\xC3",      "\xC3\xA9", "Ü\\hp",
                                       "привет", "ПРИВЕТ exe", "app.EXE",   ".exe",      "Run",      "RUN"};
  for (const std::string& a : texts) {
    for (const std::string& b : texts) {
      SCOPED_TRACE("\"" + a + "\" and \"" + b + "\"");
      const std::string upperA = UpperCase(a);
      const std::string upperB = UpperCase(b);
      EXPECT_EQ(SameText(a, b), upperA == upperB);
      for (size_t from : {size_t{0}, size_t{1}, a.size(), a.size() + 1}) {
        EXPECT_EQ(FindText(a, b, from), upperA.find(upperB, from)) << "from " << from;
      }
      EXPECT_EQ(ContainsText(a, b), upperA.find(upperB) != std::string::npos);
      EXPECT_EQ(StartsWithText(a, b), upperA.starts_with(upperB));
      EXPECT_EQ(EndsWithText(a, b), upperA.ends_with(upperB));
    }
  }
}

}  // namespace
}  // namespace quillet
