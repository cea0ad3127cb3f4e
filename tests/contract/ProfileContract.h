#pragma once

// What every Profile must do, written once: IniProfile on the host, the system's profile
// functions under Wine. Expected values are what the system's functions answer.
//
// An environment type Env gives each test a scratch folder of its own:
//   Profile& profile();
//   std::string path(name);                 // full path of a file in the scratch folder
//   void put(path, bytes);                  // writes the file's bytes directly
//   std::optional<std::string> get(path);   // reads them back directly

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "settings/IgnoreEntryText.h"

namespace quillet::contract {

template <typename Env>
class ProfileContract : public ::testing::Test {
 protected:
  Profile& profile() { return env.profile(); }
  Env env;
};

TYPED_TEST_SUITE_P(ProfileContract);

struct ReadCase {
  const char* section;
  const char* key;
  const char* defaultValue;
  const char* expected;
};

TYPED_TEST_P(ProfileContract, ReadStringTrimsUnquotesAndIgnoresCase) {
  const std::string file = this->env.path("read.ini");
  this->env.put(file,
                "[Main]\r\n"
                "Plain=value\r\n"
                "  Spaced  =   padded value   \r\n"
                "\tTabbed\t=\tx\t\r\n"
                "Double=\"quoted\"\r\n"
                "Single='single'\r\n"
                "Padded=\"  kept inside  \"\r\n"
                "Mismatch=\"half'\r\n"
                "Lone=\"\r\n"
                "Inner=a \"b\" c\r\n"
                "NoEquals\r\n"
                "Dup=first\r\n"
                "dup=second\r\n"
                ";Commented=hidden\r\n"
                "Empty=\r\n"
                "Equals=a=b\r\n"
                "[ Other ]\r\n"
                "Plain=other\r\n"
                "[Unix]\n"
                "Line=ends\n");
  const ReadCase cases[] = {
      {"Main", "Plain", "d", "value"},
      {"MAIN", "plain", "d", "value"},
      {" Main ", " Plain ", "d", "value"},
      {"Main", "Spaced", "d", "padded value"},
      {"Main", "Tabbed", "d", "x"},
      {"Main", "Double", "d", "quoted"},
      {"Main", "Single", "d", "single"},
      {"Main", "Padded", "d", "  kept inside  "},
      {"Main", "Mismatch", "d", "\"half'"},
      {"Main", "Lone", "d", "\""},
      {"Main", "Inner", "d", "a \"b\" c"},
      {"Main", "NoEquals", "d", "d"},
      {"Main", "Dup", "d", "first"},
      {"Main", "Commented", "d", "d"},
      {"Main", "Empty", "d", ""},
      {"Main", "Equals", "d", "a=b"},
      {"Main", "Missing", "fallback", "fallback"},
      {"Main", "Missing", "trailing blanks  ", "trailing blanks"},
      {"Other", "Plain", "d", "other"},
      {"Unix", "Line", "d", "ends"},
      {"Absent", "Plain", "d", "d"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(this->profile().ReadString(file, c.section, c.key, c.defaultValue), c.expected)
        << "[" << c.section << "] " << c.key;
  }
}

TYPED_TEST_P(ProfileContract, MissingFileGivesTheDefaults) {
  const std::string file = this->env.path("absent.ini");
  EXPECT_EQ(this->profile().ReadString(file, "S", "K", "default"), "default");
  EXPECT_EQ(this->profile().ReadInteger(file, "S", "K", 42), 42);
  EXPECT_TRUE(this->profile().ReadSectionKeys(file, "S").empty());
}

TYPED_TEST_P(ProfileContract, ValuesAreCutAt2047Characters) {
  const std::string file = this->env.path("long.ini");
  std::string value;
  for (int i = 0; i < 3000; ++i) value += static_cast<char>('a' + i % 26);
  this->env.put(file, "[L]\r\nv=" + value + "\r\n");
  EXPECT_EQ(this->profile().ReadString(file, "L", "v", ""), value.substr(0, 2047));
}

struct IntegerCase {
  const char* text;
  int expected;
};

TYPED_TEST_P(ProfileContract, ReadIntegerParsesLikeTheSystem) {
  const std::string file = this->env.path("ints.ini");
  const IntegerCase cases[] = {
      {"12", 12},
      {" -7", -7},
      {"+5", 5},
      {"0x10", 16},
      {"0X10", 0},
      {"-0x10", -16},
      {"\" 0x1F\"", 31},
      {"0b101", 5},
      {"0o17", 15},
      {"010", 10},
      {"abc", 0},
      {"12abc", 12},
      {"TRUE", 0},
      {"-", 0},
      {"\"8\"", 8},
      {"", -99},
      {"99999999999", 1215752191},
      {"4294967295", -1},
      {"-2147483648", -2147483647 - 1},
      {"123456789012345678901234567890", 1849262357},
  };
  auto keyOf = [](size_t i) {
    std::string key = "k";
    key += std::to_string(i);
    return key;
  };
  std::string text = "[Ints]\r\n";
  for (size_t i = 0; i < std::size(cases); ++i) text += keyOf(i) + "=" + cases[i].text + "\r\n";
  this->env.put(file, text);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(this->profile().ReadInteger(file, "ints", keyOf(i), -99), cases[i].expected)
        << cases[i].text;
  }
  EXPECT_EQ(this->profile().ReadInteger(file, "Ints", "missing", -99), -99);
}

TYPED_TEST_P(ProfileContract, ReadSectionKeysListsKeysInFileOrder) {
  const std::string file = this->env.path("keys.ini");
  this->env.put(file,
                "[First]\r\n"
                "One=1\r\n"
                ";Note=comment\r\n"
                "  Two = 2\r\n"
                "Bare\r\n"
                "one=again\r\n"
                "Empty=\r\n"
                "[Second]\r\n"
                "Three=3\r\n");
  using Strings = std::vector<std::string>;
  EXPECT_EQ(this->profile().ReadSectionKeys(file, "first"), (Strings{"One", "Two", "one", "Empty"}));
  EXPECT_EQ(this->profile().ReadSectionKeys(file, "SECOND"), (Strings{"Three"}));
  EXPECT_TRUE(this->profile().ReadSectionKeys(file, "Third").empty());
}

struct WriteCase {
  const char* name;
  const char* section;
  const char* key;
  const char* value;
  const char* expected;
};

TYPED_TEST_P(ProfileContract, WriteStringChangesOneLineAndKeepsTheOthers) {
  const char* original = "[A]\r\nOne=1\r\n;note\r\nTwo=2\r\n[B]\r\nThree=3\r\n";
  const WriteCase cases[] = {
      {"replaces in place", "A", "Two", "22", "[A]\r\nOne=1\r\n;note\r\nTwo=22\r\n[B]\r\nThree=3\r\n"},
      {"keeps the file's spelling", "a", "TWO", "x", "[A]\r\nOne=1\r\n;note\r\nTwo=x\r\n[B]\r\nThree=3\r\n"},
      {"appends to its section", "A", "New", "n", "[A]\r\nOne=1\r\n;note\r\nTwo=2\r\nNew=n\r\n[B]\r\nThree=3\r\n"},
      {"appends to the last section", "B", "Four", "4", "[A]\r\nOne=1\r\n;note\r\nTwo=2\r\n[B]\r\nThree=3\r\nFour=4\r\n"},
      {"adds a section", "C", "K", "v", "[A]\r\nOne=1\r\n;note\r\nTwo=2\r\n[B]\r\nThree=3\r\n[C]\r\nK=v\r\n"},
      {"writes ANSI", "B", "Three", "\xC3\xA9t\xC3\xA9", "[A]\r\nOne=1\r\n;note\r\nTwo=2\r\n[B]\r\nThree=\xE9t\xE9\r\n"},
  };
  for (const auto& c : cases) {
    const std::string file = this->env.path("write.ini");
    this->env.put(file, original);
    EXPECT_TRUE(this->profile().WriteString(file, c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(this->env.get(file), std::string(c.expected)) << c.name;
  }
}

TYPED_TEST_P(ProfileContract, WriteStringCreatesTheFileAndReadsBack) {
  const std::string file = this->env.path("new.ini");
  EXPECT_TRUE(this->profile().WriteString(file, "Sec", "K", "v"));
  EXPECT_EQ(this->env.get(file), std::string("[Sec]\r\nK=v\r\n"));
  EXPECT_TRUE(this->profile().WriteString(file, "Sec", "Path", "C:\\Program Files\\App"));
  EXPECT_EQ(this->profile().ReadString(file, "sec", "path", ""), "C:\\Program Files\\App");

  const std::string unterminated = this->env.path("unterminated.ini");
  this->env.put(unterminated, "[S]\r\nA=1");
  EXPECT_TRUE(this->profile().WriteString(unterminated, "S", "B", "2"));
  EXPECT_EQ(this->env.get(unterminated), std::string("[S]\r\nA=1\r\nB=2\r\n"));
}

TYPED_TEST_P(ProfileContract, WriteStringFailsWhenTheFileCannotBeWritten) {
  EXPECT_FALSE(this->profile().WriteString(this->env.path("NoFolder\\x.ini"), "S", "K", "v"));
}

TYPED_TEST_P(ProfileContract, ReadsFilesWithByteOrderMarksAndAnsiFiles) {
  const std::string utf16 = this->env.path("utf16.ini");
  this->env.put(utf16, std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\xAC\x20\r\0\n\0", 24));
  EXPECT_EQ(this->profile().ReadString(utf16, "S", "K", ""), "\xC3\xA9\xE2\x82\xAC");

  const std::string utf8 = this->env.path("utf8.ini");
  this->env.put(utf8, "\xEF\xBB\xBF[S]\r\nK=\xC3\xA9\r\n");
  EXPECT_EQ(this->profile().ReadString(utf8, "S", "K", ""), "\xC3\xA9");

  const std::string ansi = this->env.path("ansi.ini");
  this->env.put(ansi, "[S]\r\nK=\xE9\x80\r\n");
  EXPECT_EQ(this->profile().ReadString(ansi, "S", "K", ""), "\xC3\xA9\xE2\x82\xAC");
}

TYPED_TEST_P(ProfileContract, WritingAUtf16FileKeepsItUtf16) {
  const std::string file = this->env.path("utf16.ini");
  this->env.put(file, std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\r\0\n\0", 22));
  EXPECT_TRUE(this->profile().WriteString(file, "S", "J", "1"));
  EXPECT_EQ(this->env.get(file), std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\r\0\n\0J\0=\0001\0\r\0\n\0", 32));
}

// The form options.ini gives an ignore entry: what the reading would trim or unquote goes in
// quotes, and every entry comes back exactly as it was.
TYPED_TEST_P(ProfileContract, IgnoreEntriesInTheirFileFormReadBackExactly) {
  const std::string entries[] = {"HKEY_CURRENT_USER\\Software\\Trailing  ", "  leading", "\"quoted\"", "'single'",
                                 "\"open", "close'", "\tTabs\t", "Ctrl+Z\x1A", "\x1A", "=;[x]", "a \"b\" c", "",
                                 std::string(2047, 'x'), " " + std::string(2043, 'y') + " "};
  const std::string file = this->env.path("ignore.ini");
  for (size_t i = 0; i < std::size(entries); ++i) {
    ASSERT_TRUE(this->profile().WriteString(file, "IgnoreValue", "Value" + std::to_string(i + 1),
                                            IgnoreEntryFileText(entries[i])));
  }
  for (size_t i = 0; i < std::size(entries); ++i) {
    EXPECT_EQ(this->profile().ReadString(file, "IgnoreValue", "Value" + std::to_string(i + 1), "<missing>"),
              entries[i])
        << "entry " << i + 1;
  }
}

REGISTER_TYPED_TEST_SUITE_P(ProfileContract, ReadStringTrimsUnquotesAndIgnoresCase, MissingFileGivesTheDefaults,
                            ValuesAreCutAt2047Characters, ReadIntegerParsesLikeTheSystem,
                            ReadSectionKeysListsKeysInFileOrder, WriteStringChangesOneLineAndKeepsTheOthers,
                            WriteStringCreatesTheFileAndReadsBack, WriteStringFailsWhenTheFileCannotBeWritten,
                            ReadsFilesWithByteOrderMarksAndAnsiFiles, WritingAUtf16FileKeepsItUtf16,
                            IgnoreEntriesInTheirFileFormReadBackExactly);

}  // namespace quillet::contract
