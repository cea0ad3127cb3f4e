#include <gtest/gtest.h>

#include "platform/memory/PathRules.h"

namespace quillet::pathrules {
namespace {

struct PatternCase {
  const char* name;
  const char* pattern;
  bool matches;
};

TEST(PathRules, PatternsMatchLikeADirectorySearch) {
  const PatternCase cases[] = {
      {"app.exe", "*", true},          {"app.exe", "*.*", true},       {"readme", "*.*", true},
      {"readme", "readme.*", true},    {"readme", "readme.", true},    {"app.exe", "APP.EXE", true},
      {"app.exe", "a?p.exe", true},    {"app.exe", "*p.e*", true},     {"ab.txt", "*?.txt", true},
      {"aaa.txt", "*a.txt", true},     {"Élan.txt", "élan.*", true},   {"Ωmega", "?mega", true},
      {"app.exe", "app.ex", false},    {"app.exe", "a?.exe", false},   {"app.exe", "*.dll", false},
      {"app.exe", "app.exe?", false},  {"app", "app?", false},         {"ab.txt", "a*.t", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
  }
}

struct ParseCase {
  const char* path;
  bool valid;
  char drive;
  std::vector<std::string> parts;
  bool trailingSeparator;
};

TEST(PathRules, DrivePathsAreNormalisedAsTheSystemDoes) {
  const ParseCase cases[] = {
      {"C:\\Dir\\File.txt", true, 'C', {"Dir", "File.txt"}, false},
      {"c:/dir//file", true, 'C', {"dir", "file"}, false},
      {"C:", true, 'C', {}, false},
      {"C:\\", true, 'C', {}, false},
      {"d:\\Dir\\", true, 'D', {"Dir"}, true},
      {"C:\\A\\.\\B\\..\\C", true, 'C', {"A", "C"}, false},
      {"C:\\..\\A", true, 'C', {"A"}, false},
      {"C:\\name. \\x.txt..", true, 'C', {"name", "x.txt"}, false},
      {"C:Dir", false, 0, {}, false},
      {"\\\\server\\share", false, 0, {}, false},
      {"Dir\\file", false, 0, {}, false},
      {"1:\\x", false, 0, {}, false},
      {"C:\\a\"b", false, 0, {}, false},
      {"C:\\a:b", false, 0, {}, false},
      {"C:\\a|b", false, 0, {}, false},
      {"", false, 0, {}, false},
  };
  for (const auto& c : cases) {
    auto parsed = ParseDrivePath(c.path);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.path;
    if (!parsed) continue;
    EXPECT_EQ(parsed->drive, c.drive) << c.path;
    EXPECT_EQ(parsed->parts, c.parts) << c.path;
    EXPECT_EQ(parsed->trailingSeparator, c.trailingSeparator) << c.path;
  }
}

TEST(PathRules, ExpansionCountsTheBufferInUtf16Units) {
  auto lookup = [](std::string_view name) -> std::optional<std::string> {
    if (name == "WIDE") return "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
    return std::nullopt;
  };
  EXPECT_EQ(ExpandVariables("%WIDE%", lookup, 3), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ExpandVariables("%WIDE%", lookup, 2), std::nullopt);
  EXPECT_EQ(ExpandVariables("%%WIDE%", lookup, 100), "%%WIDE%");
  EXPECT_EQ(Utf16Length("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), 5u);
}

}  // namespace
}  // namespace quillet::pathrules
