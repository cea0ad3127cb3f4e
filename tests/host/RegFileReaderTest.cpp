#include "platform/memory/RegFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/RegistryDump.h"
#include "platform/memory/Windows1252.h"

namespace quillet::memory {
namespace {

constexpr const char* kFixtureKey = "Software\\QuilletTests\\RegFile";

// What both every-form fixtures load to, through the store's own enumeration.
constexpr const char* kEveryFormDump =
    "[.]\n"
    "@ = REG_SZ \"default text\"\n"
    "\"Path\" = REG_SZ \"C:\\Program Files\\App\\app.exe\"\n"
    "\"Quote\" = REG_SZ \"say \"hi\" \\\" end\"\n"
    "\"Caf\xC3\xA9\" = REG_SZ \"\xE2\x82\xAC 5 caf\xC3\xA9\"\n"
    "\"Count\" = REG_DWORD 0x0000000A\n"
    "\"Negative\" = REG_DWORD 0xFFFFFFFF\n"
    "\"Blob\" = REG_BINARY hex: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B "
    "1C 1D\n"
    "\"Empty\" = REG_BINARY hex:\n"
    "\"Expand\" = REG_EXPAND_SZ \"%TEMP%\\\xC3\xA9\"\n"
    "\"Multi\" = REG_MULTI_SZ [\"one\", \"tw\xE2\x82\xAC\"]\n"
    "\"Qword\" = REG_QWORD 0x0102030405060708\n"
    "\"None\" = REG_NONE hex:\n"
    "\"Odd\" = type 0x100 hex: 01 02 03\n"
    "[.\\Deep]\n"
    "[.\\Deep\\Deeper]\n"
    "[.\\Deep\\Deeper\\Deepest]\n"
    "\"Name\" = REG_SZ \"created with its parents\"\n"
    "[.\\Sub]\n"
    "\"Name\" = REG_SZ \"say \"hi\"\"\n";

std::string FixturePath(const char* name) { return std::string(QUILLET_TEST_DATA) + "/" + name; }

std::string FixtureBytes(const char* name) {
  std::ifstream file(FixturePath(name), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string Described(const std::vector<RegFileProblem>& problems) {
  std::string text;
  for (const RegFileProblem& problem : problems) text += Describe(problem) + "\n";
  return text;
}

class EveryFormFixture : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryFormFixture, LoadsEveryFormOfTheFile) {
  Windows1252 ansi;
  MemoryRegistry reg;
  auto problems = ReadRegFileFromPath(FixturePath(GetParam()), ansi, reg);
  EXPECT_EQ(Described(problems), "");
  EXPECT_EQ(DumpRegistryTree(reg, RootKey::CurrentUser, kFixtureKey), kEveryFormDump) << reg.Dump();
}

INSTANTIATE_TEST_SUITE_P(BothEncodings, EveryFormFixture,
                         ::testing::Values("every-form-regedit4.reg", "every-form-version5.reg"));

TEST(RegFileReader, StoresStringsAsTheRegistryDoes) {
  Windows1252 ansi;
  MemoryRegistry reg;
  ASSERT_EQ(Described(ReadRegFile("REGEDIT4\n[HKEY_USERS\\K]\n\"S\"=\"\xE9\"\n\"E\"=hex(2):e9,00\n\"H\"=hex(1):e9,00\n", ansi, reg)), "");
  auto cursor = reg.NewCursor();
  cursor->SetRoot(RootKey::Users);
  ASSERT_TRUE(cursor->OpenKey("K"));
  const std::vector<uint8_t> utf16 = {0xE9, 0x00, 0x00, 0x00};
  EXPECT_EQ(cursor->ReadRawValue("S")->data, utf16);
  EXPECT_EQ(cursor->ReadRawValue("E")->data, utf16);
  EXPECT_EQ(cursor->ReadRawValue("H")->data, utf16);
}

TEST(RegFileReader, TakesHexOfVersion5FilesAsRawBytes) {
  Windows1252 ansi;
  MemoryRegistry reg;
  std::string text = "Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\K]\r\n\"E\"=hex(2):e9,00\r\n";
  ASSERT_EQ(Described(ReadRegFile(text, ansi, reg)), "");
  auto cursor = reg.NewCursor();
  cursor->SetRoot(RootKey::Users);
  ASSERT_TRUE(cursor->OpenKey("K"));
  EXPECT_EQ(cursor->ReadRawValue("E")->data, (std::vector<uint8_t>{0xE9, 0x00}));
}

// Each row is one line of the file; the file is the rows in order, so a row's line number is
// its index + 1. Rows with a message must be reported with it; the others load.
TEST(RegFileReader, ReportsEachMalformedLineWithItsNumberAndKeepsGoing) {
  struct Row {
    const char* line;
    const char* problem;
  };
  const Row rows[] = {
      {"REGEDIT4", ""},
      {"\"Early\"=\"x\"", "value line before any key line"},
      {"[HKEY_CURRENT_USER\\E]", ""},
      {"\"Good\"=\"kept\"", ""},
      {"\"Unterminated", "value name without a closing quote"},
      {"\"NoEquals\" \"x\"", "\"=\" expected after the value name"},
      {"\"Str\"=\"open", "string without a closing quote"},
      {"\"Junk\"=\"a\"b", "text after the closing quote"},
      {"\"D\"=dword:123456789", "dword needs 1 to 8 hexadecimal digits"},
      {"\"D2\"=dword:", "dword needs 1 to 8 hexadecimal digits"},
      {"\"H\"=hex:00,0g", "byte \"0g\" is not 1 or 2 hexadecimal digits"},
      {"\"H2\"=hex:00,,01", "byte \"\" is not 1 or 2 hexadecimal digits"},
      {"\"H3\"=hex(zz):00", "hex(N) needs 1 to 8 hexadecimal digits and \"):\""},
      {"\"U\"=unknown", "unknown data \"unknown\""},
      {"[HKEY_NOWHERE\\X]", "unknown root key \"HKEY_NOWHERE\""},
      {"\"Skipped\"=\"values of a bad key are passed over\"", ""},
      {"[HKEY_CURRENT_USER\\E\\Open", "key line without a closing \"]\""},
      {"[-HKEY_CURRENT_USER]", "a root key cannot be deleted"},
      {"garbage", "unexpected line \"garbage\""},
      {"  ; an indented comment", ""},
      {"[HKEY_CURRENT_USER\\E]", ""},
      {"\"AfterErrors\" = \"kept\"", ""},
      {"\"Tail\"=hex:00,\\", "hex data continues past the end of the file"},
  };
  std::string file;
  std::string expected;
  for (size_t i = 0; i < std::size(rows); ++i) {
    file += std::string(rows[i].line) + (i + 1 < std::size(rows) ? "\r\n" : "");
    if (*rows[i].problem) expected += "line " + std::to_string(i + 1) + ": " + rows[i].problem + "\n";
  }
  Windows1252 ansi;
  MemoryRegistry reg;
  EXPECT_EQ(Described(ReadRegFile(file, ansi, reg)), expected);
  EXPECT_EQ(DumpRegistryTree(reg, RootKey::CurrentUser, "E"),
            "[.]\n\"Good\" = REG_SZ \"kept\"\n\"AfterErrors\" = REG_SZ \"kept\"\n");
}

// The registry holds 512 levels below a root. A deeper key line is refused with its line number
// and creates nothing; the lines after it still load.
TEST(RegFileReader, RefusesAKeyDeeperThanTheRegistryAllows) {
  const auto path = [](size_t levels) {
    std::string text = "E";
    for (size_t i = 1; i < levels; ++i) text += "\\k";
    return text;
  };
  const std::string file = "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + path(512) + "]\r\n[HKEY_CURRENT_USER\\" + path(513) +
                           "]\r\n\"Lost\"=\"x\"\r\n[-HKEY_CURRENT_USER\\" + path(50000) + "]\r\n[HKEY_CURRENT_USER\\" +
                           path(50000) + "]\r\n[HKEY_CURRENT_USER\\E]\r\n\"After\"=\"kept\"\r\n";
  Windows1252 ansi;
  MemoryRegistry reg;
  const std::vector<RegFileProblem> problems = ReadRegFile(file, ansi, reg);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(Describe(problems[0]),
            "line 3: key \"HKEY_CURRENT_USER\\E\\k\\k\\k\\k\\k\\k\\k\\k\\k\\k\\...\" is deeper than the 512 levels the "
            "registry allows");
  EXPECT_EQ(problems[1].line, 5);
  EXPECT_EQ(problems[2].line, 6);
  auto cursor = reg.NewCursor();
  cursor->SetRoot(RootKey::CurrentUser);
  EXPECT_TRUE(cursor->KeyExists(path(512)));
  EXPECT_FALSE(cursor->KeyExists(path(513)));
  EXPECT_TRUE(cursor->OpenKey("E"));
  EXPECT_EQ(cursor->ReadString("After"), "kept");
}

TEST(RegFileReader, RefusesAFileWithoutTheHeader) {
  const std::string inputs[] = {"", "REGEDIT5\n[HKEY_CURRENT_USER\\X]\n", "\xEF\xBB\xBFREGEDIT4\n",
                                std::string("\xFF\xFE", 2) + "REGEDIT4"};
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    Windows1252 ansi;
    MemoryRegistry reg;
    auto problems = ReadRegFile(input, ansi, reg);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 1);
    EXPECT_EQ(reg.Dump(), "");
  }
}

TEST(RegFileReader, ReportsAFileThatCannotBeOpened) {
  Windows1252 ansi;
  MemoryRegistry reg;
  auto problems = ReadRegFileFromPath(FixturePath("no-such-file.reg"), ansi, reg);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].line, 0);
  EXPECT_NE(problems[0].message.find("no-such-file.reg"), std::string::npos);
}

size_t LineCount(std::string_view bytes) {
  // Every line break, decoded from ANSI or UTF-16, takes one 0x0A byte: this bounds the lines.
  return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
}

::testing::AssertionResult LoadsWithinBounds(std::string_view bytes) {
  Windows1252 ansi;
  MemoryRegistry reg;
  auto problems = ReadRegFile(bytes, ansi, reg);
  const size_t lines = LineCount(bytes);
  for (const RegFileProblem& problem : problems) {
    if (problem.line < 1 || static_cast<size_t>(problem.line) > lines || problem.message.empty()) {
      return ::testing::AssertionFailure() << Describe(problem) << " in a file of " << lines << " lines";
    }
  }
  reg.Dump();
  return ::testing::AssertionSuccess();
}

TEST(RegFileReader, SurvivesEveryTruncationOfTheFixtures) {
  for (const char* name : {"every-form-regedit4.reg", "every-form-version5.reg"}) {
    const std::string bytes = FixtureBytes(name);
    ASSERT_FALSE(bytes.empty()) << name;
    for (size_t length = 0; length <= bytes.size(); ++length) {
      ASSERT_TRUE(LoadsWithinBounds(std::string_view(bytes).substr(0, length))) << name << " cut at " << length;
    }
  }
}

TEST(RegFileReader, SurvivesRandomDamage) {
  std::mt19937 random(20240611);
  const std::string alphabet = "[]\"\\=@-:,;()hexdwordHKEY_CURRENT_USER0123456789abcdefABCDEF \t\r\n\xE9\x80";
  const std::string originals[] = {FixtureBytes("every-form-regedit4.reg"), FixtureBytes("every-form-version5.reg")};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = originals[round % 2];
    if (round % 5 == 4) {
      // Pure noise after a valid header.
      bytes = round % 10 == 4 ? "REGEDIT4\r\n" : "Windows Registry Editor Version 5.00\n";
      for (int i = 0; i < 200; ++i) bytes += alphabet[random() % alphabet.size()];
    } else {
      for (int edit = 0; edit < 8; ++edit) {
        size_t at = random() % (bytes.size() + 1);
        switch (random() % 3) {
          case 0: bytes.insert(at, 1, alphabet[random() % alphabet.size()]); break;
          case 1: if (at < bytes.size()) bytes.erase(at, 1); break;
          default: if (at < bytes.size()) bytes[at] = static_cast<char>(random()); break;
        }
      }
    }
    ASSERT_TRUE(LoadsWithinBounds(bytes)) << "round " << round;
  }
}

}  // namespace
}  // namespace quillet::memory
