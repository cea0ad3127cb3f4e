#include "main/RegExport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <numeric>

#include "contract/RandomRegistryTree.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/RegistryDump.h"
#include "base/Utf16.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/RegFileReader.h"
#include "platform/memory/Windows1252.h"

namespace quillet {
namespace {

using memory::MemoryRegistry;

constexpr const char* kFile = "C:\\Backup\\backup.reg";

// Lines of a whole file, each ended by CR LF.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

class RegExportTest : public ::testing::Test {
 protected:
  RegExportTest() { fs_.fixedDrive('c').folder("C:\\Backup"); }

  void Export(RootKey root, ExportScope scope, std::string_view valueName, std::string_view keyPath) {
    ExportToRegFile(context_, kFile, root, scope, valueName, keyPath);
  }
  void ExportKey(std::string_view keyPath) { Export(RootKey::CurrentUser, ExportScope::WholeKey, "", keyPath); }
  std::string File() { return fs_.ReadFile(kFile).value_or("<no file>"); }

  MemoryRegistry reg_;
  MemoryFileSystem fs_;
  memory::Windows1252 ansi_;
  RegExportContext context_{fs_, ansi_, reg_};
};

TEST_F(RegExportTest, WritesAWholeKeyDepthFirstIntoANewFile) {
  reg_.key("HKEY_CURRENT_USER\\Software\\Demo")
      .str("", "x")
      .str("Path", "C:\\Temp\\a.exe")
      .dword("Count", 10)
      .binary("Blob", Counting(30))
      .subkey("Sub")
      .str("Name", "say \"hi\"");
  ExportKey("Software\\Demo");
  EXPECT_EQ(File(), Lines({"REGEDIT4",
                           "",
                           "[HKEY_CURRENT_USER\\Software\\Demo]",
                           "@=\"x\"",
                           "\"Path\"=\"C:\\\\Temp\\\\a.exe\"",
                           "\"Count\"=dword:0000000A",
                           "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,15,16,17,18,19,\\",
                           "1A,1B,1C,1D",
                           "",
                           "[HKEY_CURRENT_USER\\Software\\Demo\\Sub]",
                           "\"Name\"=\"say \\\"hi\\\"\""}));
}

TEST_F(RegExportTest, AppendsToAFileThatExistsWithoutASecondHeader) {
  const std::string earlier = Lines({"REGEDIT4", "", "[HKEY_USERS\\Earlier]", "\"A\"=dword:00000001"});
  fs_.file(kFile, earlier);
  reg_.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "C:\\Old\\app.exe").dword("Count", 0);
  Export(RootKey::LocalMachine, ExportScope::OneValue, "Path", "Software\\Vendor");
  EXPECT_EQ(File(), earlier + Lines({"", "[HKEY_LOCAL_MACHINE\\Software\\Vendor]", "\"Path\"=\"C:\\\\Old\\\\app.exe\""}));
}

TEST_F(RegExportTest, KeyPathWithATrailingBackslashGivesTheSameKeyLine) {
  reg_.key("HKEY_CLASSES_ROOT\\.txt").str("", "txtfile");
  Export(RootKey::ClassesRoot, ExportScope::WholeKey, "", ".txt\\");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_CLASSES_ROOT\\.txt]", "@=\"txtfile\""}));
}

TEST_F(RegExportTest, SingleValueModeWritesOnlyThatValueAndTheDefaultAsAt) {
  reg_.key("HKEY_USERS\\S-1\\Run").str("", "default").str("Other", "o").subkey("Below").str("", "deeper");
  Export(RootKey::Users, ExportScope::OneValue, "", "S-1\\Run");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_USERS\\S-1\\Run]", "@=\"default\""}));
}

TEST_F(RegExportTest, WholeKeyModeWritesTheDefaultAsAt) {
  reg_.key("HKEY_CURRENT_CONFIG\\Display").str("", "d");
  Export(RootKey::CurrentConfig, ExportScope::WholeKey, "", "Display");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_CONFIG\\Display]", "@=\"d\""}));
}

TEST_F(RegExportTest, WritesEveryChildRightAfterItsParentsEarlierChildren) {
  auto top = reg_.key("HKEY_CURRENT_USER\\Software\\Tree");
  top.subkey("B").dword("b", 2).subkey("B1").dword("b1", 3);
  top.subkey("A").dword("a", 1).subkey("A1").dword("a1", 4);
  ExportKey("Software\\Tree");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Tree]", "",
                           "[HKEY_CURRENT_USER\\Software\\Tree\\A]", "\"a\"=dword:00000001", "",
                           "[HKEY_CURRENT_USER\\Software\\Tree\\A\\A1]", "\"a1\"=dword:00000004", "",
                           "[HKEY_CURRENT_USER\\Software\\Tree\\B]", "\"b\"=dword:00000002", "",
                           "[HKEY_CURRENT_USER\\Software\\Tree\\B\\B1]", "\"b1\"=dword:00000003"}));
}

// The file must hold all of what is asked for, or nothing of it.
TEST_F(RegExportTest, RefusesWhatItCannotReadBeforeWritingAnything) {
  auto top = reg_.key("HKEY_CURRENT_USER\\Software\\Here").dword("Other", 1);
  top.subkey("Locked").denyOpen().str("Secret", "precious");
  fs_.file(kFile, "REGEDIT4\r\n");
  EXPECT_THROW(ExportKey("Software\\Gone"), ExportIncomplete);
  EXPECT_THROW(Export(RootKey::CurrentUser, ExportScope::OneValue, "Value", "Software\\Gone"), ExportIncomplete);
  EXPECT_THROW(Export(RootKey::CurrentUser, ExportScope::OneValue, "Missing", "Software\\Here"), ExportIncomplete);
  EXPECT_THROW(ExportKey("Software\\Here"), ExportIncomplete);
  EXPECT_EQ(File(), "REGEDIT4\r\n");
}

TEST_F(RegExportTest, ReadsWithReadAccessOnly) {
  reg_.key("HKEY_CURRENT_USER\\Software\\Stale").subkey("Locked").readAndDeleteOnly().str("Secret", "precious");
  const std::vector<ExportedKey> keys = ExportToRegFile(context_, kFile, RootKey::CurrentUser, ExportScope::WholeKey, "", "Software\\Stale");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Stale]", "",
                           "[HKEY_CURRENT_USER\\Software\\Stale\\Locked]", "\"Secret\"=\"precious\""}));
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].path, "Software\\Stale\\Locked");
  ASSERT_EQ(keys[1].values.size(), 1u);
  EXPECT_EQ(keys[1].values[0].name, "Secret");
}

TEST_F(RegExportTest, EscapesNamesAndTextsBackslashesFirst) {
  reg_.key("HKEY_CURRENT_USER\\Software\\Esc").str("say \"\\\"", "C:\\a\"b");
  ExportKey("Software\\Esc");
  EXPECT_EQ(File(), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Esc]",
                           "\"say \\\"\\\\\\\"\"=\"C:\\\\a\\\"b\""}));
  EXPECT_EQ(EscapeQuotes(EscapeBackslashes("\\\"")), "\\\\\\\"");
}

struct DataCase {
  const char* what;
  RegistryValue value;
  std::string dataPart;
};

void PrintTo(const DataCase& c, std::ostream* out) { *out << c.what; }

class RegDataPartTest : public ::testing::TestWithParam<DataCase> {};

TEST_P(RegDataPartTest, WritesTheFormThatBringsBackTheSameTypeAndBytes) {
  memory::Windows1252 ansi;
  EXPECT_EQ(RegDataPart(GetParam().value, ansi), GetParam().dataPart);
}

RegistryValue Raw(uint32_t type, std::vector<uint8_t> data) { return {"v", type, std::move(data)}; }
RegistryValue Utf16(uint32_t type, std::string_view text, bool terminate = true) {
  return Raw(type, Utf16LeBytes(text, terminate));
}
std::string Hex(std::string prefix, const std::vector<uint8_t>& bytes, std::initializer_list<size_t> lineLengths) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  size_t next = 0;
  for (size_t line : lineLengths) {
    if (next > 0) prefix += ",\\\r\n";
    for (size_t i = 0; i < line; ++i, ++next) {
      if (i > 0) prefix += ',';
      prefix += kDigits[bytes[next] >> 4];
      prefix += kDigits[bytes[next] & 15];
    }
  }
  return prefix;
}

std::vector<uint8_t> TwentySixAsAndTwoNuls() {
  std::vector<uint8_t> bytes(28, 'a');
  bytes[26] = bytes[27] = 0;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RegDataPartTest,
    ::testing::Values(
        DataCase{"text", Utf16(regtype::kString, "C:\\a\"b \xC3\xA9"), "\"C:\\\\a\\\"b \xE9\""},
        DataCase{"empty text", Utf16(regtype::kString, ""), "\"\""},
        DataCase{"text with an embedded NUL", Utf16(regtype::kString, std::string("a\0b", 3)), "hex(1):61,00,62,00"},
        DataCase{"text without its NUL", Utf16(regtype::kString, "ab", false), "hex(1):61,62"},
        DataCase{"text of no bytes", Raw(regtype::kString, {}), "hex(1):"},
        DataCase{"text with a line break", Utf16(regtype::kString, "a\r\nb"), "hex(1):61,0D,0A,62,00"},
        DataCase{"expandable text as ANSI", Utf16(regtype::kExpandString, "%TEMP%\\\xC3\xA9"),
                 "hex(2):25,54,45,4D,50,25,5C,E9,00"},
        DataCase{"expandable text without its NUL", Utf16(regtype::kExpandString, "%A%", false), "hex(2):25,41,25"},
        DataCase{"list with empty items", Utf16(regtype::kMultiString, std::string("a\0\0\xE2\x82\xAC\0\0", 8), false),
                 "hex(7):61,00,00,80,00,00"},
        DataCase{"empty list", Raw(regtype::kMultiString, {}), "hex(7):"},
        DataCase{"dword 255", Raw(regtype::kDword, {0xFF, 0, 0, 0}), "dword:000000FF"},
        DataCase{"dword -1", Raw(regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}), "dword:FFFFFFFF"},
        DataCase{"dword of 2 bytes", Raw(regtype::kDword, {1, 2}), "hex(4):01,02"},
        DataCase{"dword of no bytes", Raw(regtype::kDword, {}), "hex(4):"},
        DataCase{"big-endian dword", Raw(regtype::kDwordBigEndian, {0, 0, 0, 1}), "hex(5):00,00,00,01"},
        DataCase{"qword", Raw(regtype::kQword, {8, 7, 6, 5, 4, 3, 2, 1}), "hex(b):08,07,06,05,04,03,02,01"},
        DataCase{"none", Raw(regtype::kNone, {}), "hex(0):"},
        DataCase{"type 0x100", Raw(0x100, {1, 2, 3}), "hex(100):01,02,03"},
        DataCase{"no bytes", Raw(regtype::kBinary, {}), "hex:"},
        DataCase{"26 bytes on one line", Raw(regtype::kBinary, Counting(26)), Hex("hex:", Counting(26), {26})},
        DataCase{"27 bytes", Raw(regtype::kBinary, Counting(27)), Hex("hex:", Counting(27), {26, 1})},
        DataCase{"52 bytes", Raw(regtype::kBinary, Counting(52)), Hex("hex:", Counting(52), {26, 25, 1})},
        // The break counts bytes as "hex:" does, whatever the length of the prefix.
        DataCase{"hex(N) lines", Raw(0x100, Counting(52)), Hex("hex(100):", Counting(52), {26, 25, 1})},
        DataCase{"hex(7) lines", Utf16(regtype::kMultiString, std::string(26, 'a') + std::string(1, '\0'), true),
                 Hex("hex(7):", TwentySixAsAndTwoNuls(), {26, 2})}),
    [](const auto& info) {
      std::string name;
      for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

struct RefusedCase {
  const char* what;
  std::string keyPath;  // below HKEY_CURRENT_USER\Software\Refused
  RegistryValue value;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.what; }

class RegExportRefusalTest : public RegExportTest, public ::testing::WithParamInterface<RefusedCase> {};

// A refused export leaves the file as it was, also when the refused item lies deep in the tree.
TEST_P(RegExportRefusalTest, RefusesWhatAnsiCannotHoldBeforeWritingAnything) {
  const RefusedCase& refused = GetParam();
  auto top = reg_.key("HKEY_CURRENT_USER\\Software\\Refused").str("First", "fine");
  top.subkey(refused.keyPath).raw(refused.value.name, refused.value.type, refused.value.data);
  EXPECT_THROW(ExportKey("Software\\Refused"), ExportNotRepresentable);
  EXPECT_FALSE(fs_.FileExists(kFile));

  fs_.file(kFile, "REGEDIT4\r\n");
  EXPECT_THROW(ExportKey("Software\\Refused"), ExportNotRepresentable);
  EXPECT_THROW(Export(RootKey::CurrentUser, ExportScope::OneValue, refused.value.name,
                      std::string("Software\\Refused\\") + refused.keyPath),
               ExportNotRepresentable);
  EXPECT_EQ(File(), "REGEDIT4\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    NoAnsiForm, RegExportRefusalTest,
    ::testing::Values(RefusedCase{"text", "Sub", Utf16(regtype::kString, "snow \xE2\x98\x83")},
                      RefusedCase{"text after a NUL", "Sub", Utf16(regtype::kString, std::string("a\0\xE2\x98\x83", 5))},
                      RefusedCase{"odd text", "Sub", Raw(regtype::kString, {0x41, 0x00, 0x42})},
                      RefusedCase{"unpaired surrogate", "Sub", Raw(regtype::kExpandString, {0x00, 0xD8, 0, 0})},
                      RefusedCase{"list item", "Sub", Utf16(regtype::kMultiString, "\xC4\x80")},
                      RefusedCase{"undefined code page byte", "Sub", Raw(regtype::kString, {0x81, 0, 0, 0})},
                      RefusedCase{"value name", "Sub", {"\xE2\x98\x83", regtype::kDword, {1, 0, 0, 0}}},
                      RefusedCase{"value name with a line break", "Sub", {"a\nb", regtype::kDword, {1, 0, 0, 0}}},
                      RefusedCase{"value name with a NUL", "Sub", {std::string("a\0b", 3), regtype::kDword, {1, 0, 0, 0}}},
                      RefusedCase{"key name with a NUL", std::string("Sub\\a\0b", 7), {"v", regtype::kDword, {1, 0, 0, 0}}},
                      RefusedCase{"key name", "Sub\\\xE2\x98\x83", {"v", regtype::kDword, {1, 0, 0, 0}}}),
    [](const auto& info) {
      std::string name;
      for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(RegExportTest, RaisesWhenTheFileCannotBeCreatedOrAppendedTo) {
  reg_.key("HKEY_CURRENT_USER\\Software\\W").dword("v", 1);
  fs_.failWrites();
  EXPECT_THROW(ExportKey("Software\\W"), ExportWriteFailed);
  EXPECT_FALSE(fs_.FileExists(kFile));

  fs_.failWrites(false).file(kFile, "REGEDIT4\r\n").failWrites();
  EXPECT_THROW(ExportKey("Software\\W"), ExportWriteFailed);
  EXPECT_EQ(File(), "REGEDIT4\r\n");
}

// A write that stops part way, as on a full disk, takes back what it wrote: no half section is
// left for a restore to import, and no empty or header-only file.
TEST_F(RegExportTest, AFailedWriteLeavesTheFileAsItWas) {
  reg_.key("HKEY_CURRENT_USER\\Software\\W").dword("v", 1);
  const std::string earlier = Lines({"REGEDIT4", "", "[HKEY_USERS\\Earlier]", "\"A\"=dword:00000001"});
  for (uint64_t room : {0u, 10u, 30u}) {
    SCOPED_TRACE("bytes written before the failure: " + std::to_string(room));
    fs_.DeleteFile(kFile);
    fs_.failWritesAfter(room);
    EXPECT_THROW(ExportKey("Software\\W"), ExportWriteFailed);
    EXPECT_FALSE(fs_.FileExists(kFile)) << File();

    fs_.file(kFile, earlier);
    EXPECT_THROW(ExportKey("Software\\W"), ExportWriteFailed);
    EXPECT_EQ(File(), earlier);
  }
}

void Seed(memory::KeyBuilder key, const testing::RandomKey& tree) {
  for (const RegistryValue& value : tree.values) key.raw(value.name, value.type, value.data);
  for (const testing::RandomKey& subkey : tree.subkeys) Seed(key.subkey(subkey.name), subkey);
}

class RegExportRoundTrip : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RegExportRoundTrip, ReaderBringsBackTheSameTree) {
  testing::RandomTreeMaker maker(GetParam());
  const testing::RandomKey tree = maker.Make("Export", 3, 12);
  MemoryRegistry original;
  Seed(original.key("HKEY_CURRENT_USER\\Software\\QuilletTests\\Export"), tree);
  original.key("HKEY_CURRENT_USER\\Software\\QuilletTests\\Export\\Big").binary("Blob", Counting(1 << 16));

  MemoryFileSystem fs;
  fs.fixedDrive('c');
  memory::Windows1252 ansi;
  ExportToRegFile({fs, ansi, original}, "C:\\round.reg", RootKey::CurrentUser, ExportScope::WholeKey, "",
                  "Software\\QuilletTests\\Export");

  MemoryRegistry restored;
  auto problems = memory::ReadRegFile(*fs.ReadFile("C:\\round.reg"), ansi, restored);
  EXPECT_TRUE(problems.empty()) << memory::Describe(problems.front());
  const std::string expected = DumpRegistryTree(original, RootKey::CurrentUser, "Software\\QuilletTests\\Export");
  ASSERT_NE(expected, "");
  EXPECT_EQ(DumpRegistryTree(restored, RootKey::CurrentUser, "Software\\QuilletTests\\Export"), expected);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RegExportRoundTrip, ::testing::Values(1u, 2u, 3u, 20261209u, 0xC0FFEEu));

}  // namespace
}  // namespace quillet
