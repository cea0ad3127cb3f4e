// Startup, uninstall and current-user file reference scans against Wine's real registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LiveScan.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kVendor = L"Software\\QuilletTests\\FileReferences";
constexpr const wchar_t* kFolder = L"C:\\QuilletStartupTests";

void SetString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  win32::UniqueKey key;
  ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
  win32::UniqueKey key;
  if (::RegOpenKeyExW(root, path, 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) ::RegDeleteValueW(key.get(), name);
}

class StartupUninstallScanWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CreateDirectoryW(kFolder, nullptr);
    win32::UniqueFile(::CreateFileW((folder + L"\\present.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                    nullptr));
    SetString(HKEY_CURRENT_USER, kRun, L"QuilletPresent", L"\"" + folder + L"\\present.exe\" /tray");
    SetString(HKEY_CURRENT_USER, kRun, L"QuilletGone", folder + L"\\gone.exe /tray");
    SetString(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"\\QuilletNoUninstaller", L"DisplayName", L"Leftover");
    SetString(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"\\QuilletHealthy", L"UninstallString",
              folder + L"\\present.exe /uninstall");
    SetString(HKEY_CURRENT_USER, kVendor, L"QuilletDocument", folder + L"\\gone.txt");
    SetString(HKEY_CURRENT_USER, kVendor, L"QuilletProgram", folder + L"\\present.exe");
  }

  void TearDown() override {
    DeleteValue(HKEY_CURRENT_USER, kRun, L"QuilletPresent");
    DeleteValue(HKEY_CURRENT_USER, kRun, L"QuilletGone");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstall) + L"\\QuilletNoUninstaller").c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstall) + L"\\QuilletHealthy").c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTests");
    ::DeleteFileW((folder + L"\\present.exe").c_str());
    ::RemoveDirectoryW(kFolder);
  }

  const std::wstring folder = kFolder;
};

TEST_F(StartupUninstallScanWine, StartupProgramsReportTheMissingProgram) {
  EXPECT_EQ(LiveScanRows({"10"}, "Quillet"),
            (std::vector<std::string>{"row:HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"
                                      "QuilletGone|C:\\QuilletStartupTests\\gone.exe /tray|1"}));
}

TEST_F(StartupUninstallScanWine, UninstallEntriesWithoutUninstallerAreReported) {
  EXPECT_EQ(LiveScanRows({"11"}, "Quillet"),
            (std::vector<std::string>{"row:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                      "Uninstall|QuilletNoUninstaller|3"}));
}

TEST_F(StartupUninstallScanWine, CurrentUserFileReferencesSkipTheRunKeys) {
  // The Run key is one of the areas the current-user walk leaves to the startup scan.
  EXPECT_EQ(LiveScanRows({"4"}, "Quillet"),
            (std::vector<std::string>{"row:HKEY_CURRENT_USER\\Software\\QuilletTests\\FileReferences\\"
                                      "QuilletDocument|C:\\QuilletStartupTests\\gone.txt|1"}));
}

}  // namespace
}  // namespace quillet::testing
