// IniProfile beyond the shared contract: what Windows keeps that Wine's rewrite does not, the
// code page of ANSI files, and a failing file system.
#include <gtest/gtest.h>

#include "platform/AnsiCodePage.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"

namespace quillet {
namespace {

constexpr const char* kFile = "C:\\Data\\test.ini";

class IniProfileTest : public ::testing::Test {
 protected:
  IniProfileTest() { fs.fixedDrive('c').folder("C:\\Data"); }
  MemoryFileSystem fs;
  IniProfile profile{fs};
};

// Windows edits the file in place; Wine rewrites it from what it parsed and drops blank lines
// and spacing, so this holds for IniProfile and the system but not for Wine.
TEST_F(IniProfileTest, WritesKeepBlankLinesSpacingAndLineEnds) {
  fs.file(kFile, "; settings\n[A]\n  One = 1\n\n\n[B]\r\nTwo=2\r\n");
  ASSERT_TRUE(profile.WriteString(kFile, "A", "Added", "x"));
  ASSERT_TRUE(profile.WriteString(kFile, "B", "two", "22"));
  EXPECT_EQ(fs.ReadFile(kFile), std::string("; settings\n[A]\n  One = 1\nAdded=x\r\n\n\n[B]\r\nTwo=22\r\n"));
}

TEST_F(IniProfileTest, KeysBeforeAnySectionBelongToTheUnnamedSection) {
  fs.file(kFile, "top=1\r\n[S]\r\nK=2\r\n");
  EXPECT_EQ(profile.ReadString(kFile, "", "top", "d"), "1");
  EXPECT_EQ(profile.ReadString(kFile, "S", "top", "d"), "d");
}

TEST_F(IniProfileTest, OnlyTheFirstOfTwoSectionsWithOneNameIsRead) {
  fs.file(kFile, "[S]\r\nA=1\r\n[T]\r\n[s]\r\nB=2\r\n");
  EXPECT_EQ(profile.ReadString(kFile, "S", "B", "d"), "d");
  ASSERT_TRUE(profile.WriteString(kFile, "S", "B", "3"));
  EXPECT_EQ(fs.ReadFile(kFile), std::string("[S]\r\nA=1\r\nB=3\r\n[T]\r\n[s]\r\nB=2\r\n"));
}

TEST_F(IniProfileTest, CharactersOutsideTheCodePageAreWrittenAsQuestionMarks) {
  ASSERT_TRUE(profile.WriteString(kFile, "S", "K", "\xE2\x82\xAC \xC3\xA9 \xD0\x96"));  // € é Ж
  EXPECT_EQ(fs.ReadFile(kFile), std::string("[S]\r\nK=\x80 \xE9 ?\r\n"));
}

TEST_F(IniProfileTest, UsesTheGivenCodePageForAnsiFiles) {
  // A code page where every byte reads as the Cyrillic letter Ж.
  class AllZhe : public AnsiCodePage {
   public:
    std::optional<std::string> FromUtf8(std::string_view utf8) override {
      if (utf8 == "\xD0\x96") return std::string("\xC6");
      std::string out;
      for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        out += c;
      }
      return out;
    }
    std::string ToUtf8(std::string_view ansi) override {
      std::string out;
      for (char c : ansi) out += static_cast<unsigned char>(c) >= 0x80 ? std::string("\xD0\x96") : std::string(1, c);
      return out;
    }
  } ansi;
  IniProfile cyrillic(fs, &ansi);
  fs.file(kFile, "[S]\r\nK=\xC6\r\n");
  EXPECT_EQ(cyrillic.ReadString(kFile, "S", "K", ""), "\xD0\x96");
  ASSERT_TRUE(cyrillic.WriteString(kFile, "S", "J", "\xD0\x96\xC3\xA9"));
  EXPECT_EQ(fs.ReadFile(kFile), std::string("[S]\r\nK=\xC6\r\nJ=\xC6?\r\n"));
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

struct UntouchedCase {
  const char* name;
  std::string before;
  std::string after;  // once S/K=2 is written
};

void PrintTo(const UntouchedCase& c, std::ostream* out) { *out << c.name; }

class UntouchedBytesTest : public IniProfileTest, public ::testing::WithParamInterface<UntouchedCase> {};

// Bytes the code page leaves undefined, and an unpaired surrogate, stay in the lines a write
// does not touch.
TEST_P(UntouchedBytesTest, AWriteChangesOnlyItsOwnLine) {
  fs.file(kFile, GetParam().before);
  ASSERT_TRUE(profile.WriteString(kFile, "S", "K", "2"));
  EXPECT_EQ(fs.ReadFile(kFile), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UntouchedBytesTest,
    ::testing::Values(
        UntouchedCase{"NineByteFileWhoseOnlyKeyIsAnUndefinedByte", "[S]\r\n\x81=1\n", "[S]\r\n\x81=1\nK=2\r\n"},
        UntouchedCase{"EveryUndefinedByteOfTheCodePage", "[S]\r\nA=\x81\x8D\x8F\x90\x9D\r\nK=1\r\n",
                      "[S]\r\nA=\x81\x8D\x8F\x90\x9D\r\nK=2\r\n"},
        UntouchedCase{"TheKeyLineKeepsItsOwnSpellingUpToTheEquals", "[S]\r\nk\x81=0\r\n k =1\r\n",
                      "[S]\r\nk\x81=0\r\n k =2\r\n"},
        UntouchedCase{"UnpairedSurrogateInUtf16", Utf16Le(u"[S]\r\nA=\xD800x\r\n"),
                      Utf16Le(u"[S]\r\nA=\xD800x\r\nK=2\r\n")},
        // No character, but a byte of the file: it stays last, and the lines added keep their alignment.
        UntouchedCase{"LoneLastByteOfAUtf16File", Utf16Le(u"[T]\r\n") + "A", Utf16Le(u"[T]\r\n[S]\r\nK=2\r\n") + "A"}),
    [](const ::testing::TestParamInfo<UntouchedCase>& info) { return std::string(info.param.name); });

TEST_F(IniProfileTest, AFailedWriteReportsFalseAndLeavesTheFile) {
  fs.file(kFile, "[S]\r\nK=1\r\n").failWrites();
  EXPECT_FALSE(profile.WriteString(kFile, "S", "K", "2"));
  EXPECT_EQ(profile.ReadString(kFile, "S", "K", ""), "1");
}

TEST_F(IniProfileTest, EachCallReadsTheFileAfresh) {
  fs.file(kFile, "[S]\r\nK=1\r\n");
  EXPECT_EQ(profile.ReadInteger(kFile, "S", "K", 0), 1);
  fs.file(kFile, "[S]\r\nK=2\r\n");
  EXPECT_EQ(profile.ReadInteger(kFile, "S", "K", 0), 2);
  EXPECT_EQ(fs.ReadCount(), 2u);
}

}  // namespace
}  // namespace quillet
