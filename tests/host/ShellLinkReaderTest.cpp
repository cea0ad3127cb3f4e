#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "ScanFixture.h"
#include "base/Utf16.h"
#include "platform/memory/ShellLinkReader.h"
#include "scan/ServiceShortcutSoundScans.h"

namespace quillet::testing {
namespace {

// The format's own example: a shortcut to C:\test\a.txt with an item list, location information
// (local path only), a relative path, a working folder and a tracker block.
std::string DocumentedSample() {
  std::ifstream in(std::string(QUILLET_TEST_DATA) + "/shortcuts/documented-sample-a-txt.lnk", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr size_t kSampleLinkInfoAt = 0x10B;
constexpr size_t kSampleLinkInfoSize = 0x3C;

void SetU32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
}

uint32_t U32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

// The sample without its location information, so only the item list can name the target.
std::string SampleWithoutLinkInfo() {
  std::string bytes = DocumentedSample();
  bytes.erase(kSampleLinkInfoAt, kSampleLinkInfoSize);
  SetU32(bytes, 0x14, U32(bytes, 0x14) & ~0x2u);
  return bytes;
}

bool IsValidUtf8(const std::string& text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    // A malformed sequence decodes as the replacement character from a single byte.
    if (NextCodePoint(text, pos) == 0xFFFD && pos - start != 3) return false;
  }
  return true;
}

TEST(ReadShellLinkTarget, ReadsTheLocalPathOfTheDocumentedSample) {
  const std::string sample = DocumentedSample();
  ASSERT_EQ(sample.size(), 0x1CBu);
  EXPECT_EQ(ReadShellLinkTarget(sample), "C:\\test\\a.txt");
}

TEST(ReadShellLinkTarget, FallsBackToTheItemListWithItsLongNames) {
  EXPECT_EQ(ReadShellLinkTarget(SampleWithoutLinkInfo()), "C:\\test\\a.txt");

  // Location information the link says to ignore leaves the item list too.
  std::string forced = DocumentedSample();
  SetU32(forced, kSampleLinkInfoAt + 16, 0x7FFFFFF0);  // a local path offset leading nowhere
  EXPECT_EQ(ReadShellLinkTarget(forced), "") << "malformed location information spoils the file";
  SetU32(forced, 0x14, U32(forced, 0x14) | 0x100);
  EXPECT_EQ(ReadShellLinkTarget(forced), "C:\\test\\a.txt");
}

TEST(ReadShellLinkTarget, PrefersTheNetworkFormOfTheLocation) {
  // Location information with a drive mapped to a network share; the suffix names the file.
  std::string info(0x1C, '\0');
  const std::string local = std::string("Z:\\") + '\0';
  std::string network(0x14, '\0');
  SetU32(network, 0, 0x14 + 14);
  SetU32(network, 4, 0x2);
  SetU32(network, 8, 0x14);  // the share name follows the block's header
  network += std::string("\\\\server\\docs") + '\0';
  const std::string suffix = std::string("note.txt") + '\0';
  SetU32(info, 4, 0x1C);
  SetU32(info, 8, 0x3);
  SetU32(info, 16, 0x1C);
  SetU32(info, 20, static_cast<uint32_t>(0x1C + local.size()));
  SetU32(info, 24, static_cast<uint32_t>(0x1C + local.size() + network.size()));
  info += local + network + suffix;
  SetU32(info, 0, static_cast<uint32_t>(info.size()));

  std::string link = DocumentedSample().substr(0, 0x4C);
  SetU32(link, 0x14, 0x2);
  link += info + std::string(4, '\0');
  EXPECT_EQ(ReadShellLinkTarget(link), "\\\\server\\docs\\note.txt");

  SetU32(link, 0x4C + 8, 0x1);  // only the local form
  EXPECT_EQ(ReadShellLinkTarget(link), "Z:\\note.txt");
}

TEST(ReadShellLinkTarget, EveryTruncationOfAFileGivesNoTarget) {
  for (const std::string& full : {DocumentedSample(), SampleWithoutLinkInfo()}) {
    ASSERT_EQ(ReadShellLinkTarget(full), "C:\\test\\a.txt");
    for (size_t length = 0; length < full.size(); ++length) {
      EXPECT_EQ(ReadShellLinkTarget(full.substr(0, length)), "") << "cut at " << length;
    }
  }
}

TEST(ReadShellLinkTarget, RandomAndMutatedInputsNeverCrashAndGiveValidText) {
  std::mt19937 random(20240607);
  const std::string sample = DocumentedSample();
  auto check = [](const std::string& bytes) {
    const std::string target = ReadShellLinkTarget(bytes);
    ASSERT_TRUE(IsValidUtf8(target));
    ASSERT_LE(target.size(), 3 * bytes.size());
  };
  std::uniform_int_distribution<int> byteValue(0, 255);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(std::uniform_int_distribution<size_t>(0, 600)(random), '\0');
    for (char& c : bytes) c = static_cast<char>(byteValue(random));
    check(bytes);
    // The same noise behind a valid header reaches the structures after it.
    std::string behindHeader = sample.substr(0, 0x4C) + bytes;
    SetU32(behindHeader, 0x14, static_cast<uint32_t>(random()));
    check(behindHeader);
  }
  std::uniform_int_distribution<size_t> position(0, sample.size() - 1);
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = sample;
    const int changes = 1 + round % 4;
    for (int i = 0; i < changes; ++i) mutated[position(random)] = static_cast<char>(byteValue(random));
    check(mutated);
  }
}

TEST(ScanShortcuts, ReadsTargetsFromTheShortcutFilesThemselves) {
  const std::string desktop = "C:\\Users\\User\\Desktop";
  ScanFixture f;
  f.fs.file(desktop + "\\a.lnk", DocumentedSample())
      .file(desktop + "\\cut.lnk", DocumentedSample().substr(0, 0x120))
      .file(desktop + "\\text.lnk", "not a shortcut");
  EXPECT_EQ(f.Run(ScanShortcuts, 17),
            (std::vector<ProblemEntry>{{"Missing ShortCut reference", desktop + "\\a.lnk", "C:\\test\\a.txt",
                                        RepairAction::DeleteFile, false}}));

  ScanFixture present;
  present.fs.file(desktop + "\\a.lnk", DocumentedSample()).file("C:\\test\\a.txt");
  EXPECT_TRUE(present.Run(ScanShortcuts, 17).empty());
}

}  // namespace
}  // namespace quillet::testing
