// The .reg reader against the system's registry editor: Wine's regedit imports each fixture into
// the real registry, the reader loads it into the in-memory one, and the two trees must match.
#include <gtest/gtest.h>

#include <algorithm>

#include "RegeditPeer.h"
#include "platform/RegistryDump.h"
#include "platform/memory/RegFileReader.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32Registry.h"

namespace quillet::testing {
namespace {

constexpr const wchar_t* kFixtureKeyW = L"Software\\QuilletTests\\RegFile";
constexpr const char* kFixtureKey = "Software\\QuilletTests\\RegFile";

std::wstring FixturePath(const char* name) {
  std::wstring path = L"Z:" + std::wstring(QUILLET_TEST_DATA, QUILLET_TEST_DATA + sizeof(QUILLET_TEST_DATA) - 1);
  path += L"/";
  path.append(name, name + std::char_traits<char>::length(name));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

class RegFilePeer : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kFixtureKeyW); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kFixtureKeyW); }
};

TEST_P(RegFilePeer, ReaderLoadsWhatTheRegistryEditorImports) {
  ASSERT_TRUE(ImportWithRegedit(FixturePath(GetParam())));
  win32::Win32Registry live;
  const std::string imported = DumpRegistryTree(live, RootKey::CurrentUser, kFixtureKey);
  ASSERT_FALSE(imported.empty()) << "regedit imported nothing";

  win32::Win32AnsiCodePage ansi;
  memory::MemoryRegistry reg;
  std::string fileBytes;
  {
    win32::UniqueFile file(::CreateFileW(FixturePath(GetParam()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) fileBytes.append(buffer, read);
  }
  auto problems = memory::ReadRegFile(fileBytes, ansi, reg);
  EXPECT_TRUE(problems.empty()) << memory::Describe(problems.front());
  EXPECT_EQ(WithSortedValues(DumpRegistryTree(reg, RootKey::CurrentUser, kFixtureKey)), WithSortedValues(imported));
}

INSTANTIATE_TEST_SUITE_P(BothEncodings, RegFilePeer,
                         ::testing::Values("every-form-regedit4.reg", "every-form-version5.reg"));

}  // namespace
}  // namespace quillet::testing
