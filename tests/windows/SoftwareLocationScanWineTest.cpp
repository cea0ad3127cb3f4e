// The software location scanners against Wine's real registry and file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LiveScan.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

constexpr const wchar_t* kAppPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const wchar_t* kSharedDlls = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const wchar_t* kFolder = L"C:\\QuilletScanTests";

void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
  ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void MakeFile(const std::wstring& path) {
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

class SoftwareLocationScanWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CreateDirectoryW(kFolder, nullptr);
    MakeFile(std::wstring(kFolder) + L"\\present.exe");
    MakeFile(std::wstring(kFolder) + L"\\noext.exe");
    MakeFile(std::wstring(kFolder) + L"\\used.dll");
    MakeFile(std::wstring(kFolder) + L"\\QuilletArgs.exe");
    struct AppPath {
      const wchar_t* name;
      std::wstring command;
    };
    const std::wstring folder = kFolder;
    for (const AppPath& app : {AppPath{L"QuilletPresent.exe", L"\"" + folder + L"\\present.exe\" /min"},
                               AppPath{L"QuilletGone.exe", folder + L"\\QuilletGone.exe -x"},
                               AppPath{L"QuilletArgs.exe", folder + L"\\QuilletArgs.exe /a /b"},
                               AppPath{L"QuilletNoExt", folder + L"\\noext /run"}}) {
      win32::UniqueKey key;
      ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + L"\\" + app.name).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
      SetString(key.get(), L"", app.command);
    }
    win32::UniqueKey shared;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, shared.put(), nullptr);
    SetDword(shared.get(), (folder + L"\\used.dll").c_str(), 1);
    SetDword(shared.get(), (folder + L"\\unused.dll").c_str(), 1);
    SetDword(shared.get(), (folder + L"\\used.dll /x").c_str(), 0);
    SetDword(shared.get(), (folder + L"\\noext /run").c_str(), 1);
    SetDword(shared.get(), (folder + L"\\gone /run").c_str(), 1);
  }

  void TearDown() override {
    for (const wchar_t* name : {L"QuilletPresent.exe", L"QuilletGone.exe", L"QuilletArgs.exe", L"QuilletNoExt"}) {
      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + L"\\" + name).c_str());
    }
    win32::UniqueKey shared;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS, shared.put()) == ERROR_SUCCESS) {
      const std::wstring folder = kFolder;
      for (const std::wstring& name : {folder + L"\\used.dll", folder + L"\\unused.dll", folder + L"\\used.dll /x",
                                     folder + L"\\noext /run", folder + L"\\gone /run"}) {
        ::RegDeleteValueW(shared.get(), name.c_str());
      }
    }
    for (const wchar_t* file : {L"\\present.exe", L"\\noext.exe", L"\\used.dll", L"\\QuilletArgs.exe"}) {
      ::DeleteFileW((std::wstring(kFolder) + file).c_str());
    }
    ::RemoveDirectoryW(kFolder);
  }

  std::vector<std::string> ScanOwnRows(std::vector<std::string> codes) { return LiveScanRows(codes, "Quillet"); }
};

TEST_F(SoftwareLocationScanWine, AppPathsRowsFollowTheRealFiles) {
  const std::string base = "row:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  // Only the missing program is reported: QuilletArgs.exe exists (its arguments are cut off after
  // the key name), and the other two commands do not hold their key names at all.
  EXPECT_EQ(ScanOwnRows({"6"}),
            (std::vector<std::string>{base + "QuilletGone.exe|C:\\QuilletScanTests\\QuilletGone.exe -x|0"}));
}

TEST_F(SoftwareLocationScanWine, SharedDllsRowsFollowTheRealFiles) {
  const std::string key = "row:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls|";
  std::vector<std::string> rows = ScanOwnRows({"9"});
  std::sort(rows.begin(), rows.end());  // Wine lists values sorted by name, Windows in creation order
  EXPECT_EQ(rows, (std::vector<std::string>{
                      key + "C:\\QuilletScanTests\\gone /run|2",
                      key + "C:\\QuilletScanTests\\unused.dll|2",
                      key + "C:\\QuilletScanTests\\used.dll /x|2",
                  }));
}

}  // namespace
}  // namespace quillet::testing
