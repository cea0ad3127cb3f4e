// The installer end to end, in a prefix made fresh for it (windows.install): a silent install puts
// the program, its languages, a Start Menu shortcut and an uninstall entry in place, the installed
// program starts, the program's own scans of App Paths, startup, uninstall, Start Menu and
// shortcut entries find nothing of the install, and a silent uninstall takes back every file and
// registry entry it made while the user's settings and backups stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "LiveScan.h"
#include "ScratchFolder.h"
#include "TestPaths.h"
#include "base/TextCompare.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Shell.h"

#include <shlobj.h>

namespace quillet::testing {
namespace {

using namespace gui;
using win32::ToUtf8;
using win32::ToWide;

constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The file names in a folder with their sizes; empty when the folder is missing.
std::map<std::wstring, ULONGLONG> FilesIn(const std::wstring& folder) {
  std::map<std::wstring, ULONGLONG> files;
  WIN32_FIND_DATAW found{};
  win32::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      files[found.cFileName] = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (::FindNextFileW(find.get(), &found));
  return files;
}

// Runs a command line and waits for it; its exit code, or nothing when it did not start or end.
std::optional<DWORD> RunAndWait(std::wstring commandLine) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return std::nullopt;
  }
  win32::UniqueKernelHandle process(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);
  if (::WaitForSingleObject(process.get(), 180000) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return code;
}

// The registry editor's export of a key and everything below it, as bytes.
std::string Export(const std::wstring& key, const std::string& file) {
  ::DeleteFileW(ToWide(file).c_str());
  if (RunAndWait(L"regedit.exe /e \"" + ToWide(file) + L"\" \"" + key + L"\"") != 0u) return "<regedit failed>";
  return GetFileOrEmpty(file);
}

// A UTF-16LE export of the registry editor as its keys, each with its value lines.
std::map<std::string, std::vector<std::string>> ExportedKeys(const std::string& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::copy(bytes.begin(), bytes.begin() + text.size() * sizeof(wchar_t), reinterpret_cast<char*>(text.data()));
  std::map<std::string, std::vector<std::string>> keys;
  std::string key;
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find(L'\n', start), text.size());
    std::string line = ToUtf8(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("[") && line.ends_with("]")) {
      key = line.substr(1, line.size() - 2);
      keys[key];
    } else if (!line.empty() && !key.empty()) {
      keys[key].push_back(line);
    }
  }
  return keys;
}

// Whether the registry is as it was, apart from what Wine and the Windows Installer engine keep
// for themselves: Wine's own settings, and the empty keys the engine makes on its first use (a
// product's registration there holds values, and is caught).
::testing::AssertionResult SameRegistry(const std::string& before, const std::string& after) {
  auto under = [](const std::string& key, const std::string& base) {
    return SameText(key, base) || StartsWithText(key, base + "\\");
  };
  auto wineOwn = [&](const std::string& key) { return under(key, "HKEY_CURRENT_USER\\Software\\Wine"); };
  auto engineOwn = [&](const std::string& key) {
    return under(key, "HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer") ||
           under(key, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer");
  };
  const auto keysBefore = ExportedKeys(before);
  const auto keysAfter = ExportedKeys(after);
  std::string differences;
  for (const auto& [key, values] : keysBefore) {
    auto found = keysAfter.find(key);
    if (wineOwn(key)) continue;
    if (found == keysAfter.end()) differences += "\n  gone: " + key;
    else if (found->second != values) differences += "\n  values changed: " + key;
  }
  for (const auto& [key, values] : keysAfter) {
    if (keysBefore.contains(key) || wineOwn(key) || (values.empty() && engineOwn(key))) continue;
    differences += "\n  added: " + key;
  }
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differences;
}

// The values of the uninstall entry named "Orvane Quillet" in one view of the registry, or
// nothing when there is none.
std::optional<std::map<std::wstring, std::wstring>> UninstallEntryIn(REGSAM view) {
  win32::UniqueKey base;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | view, base.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (::RegEnumKeyExW(base.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    win32::UniqueKey entry;
    if (::RegOpenKeyExW(base.get(), name, 0, KEY_READ | view, entry.put()) != ERROR_SUCCESS) continue;
    std::map<std::wstring, std::wstring> values;
    wchar_t valueName[256];
    wchar_t data[2048];
    for (DWORD j = 0;; ++j) {
      DWORD valueNameLength = 256;
      DWORD type = 0;
      DWORD size = sizeof(data) - sizeof(wchar_t);
      if (::RegEnumValueW(entry.get(), j, valueName, &valueNameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
        break;
      }
      data[size / sizeof(wchar_t)] = L'\0';
      if (type == REG_SZ || type == REG_EXPAND_SZ) values[valueName] = data;
    }
    if (values[L"DisplayName"] == L"Orvane Quillet") return values;
  }
  return std::nullopt;
}

// The entry in either view: Windows keeps those of 32-bit packages in the 64-bit view.
std::optional<std::map<std::wstring, std::wstring>> UninstallEntry() {
  auto entry = UninstallEntryIn(KEY_WOW64_64KEY);
  return entry ? entry : UninstallEntryIn(KEY_WOW64_32KEY);
}

// The program file a command line or icon reference names: quotes, arguments and an icon
// index taken off, and a bare name looked up along the search path.
std::wstring ProgramOf(std::wstring reference) {
  if (reference.starts_with(L"\"")) {
    reference = reference.substr(1, reference.find(L'"', 1) - 1);
  } else if (size_t space = reference.find(L' '); space != std::wstring::npos && !Exists(reference)) {
    reference.resize(space);
  }
  if (size_t comma = reference.rfind(L','); comma != std::wstring::npos && !Exists(reference)) reference.resize(comma);
  if (reference.find(L'\\') != std::wstring::npos) return reference;
  wchar_t found[MAX_PATH] = {};
  return ::SearchPathW(nullptr, reference.c_str(), nullptr, MAX_PATH, found, nullptr) ? found : reference;
}

// Rows of the scans that would flag an install: App Paths, startup programs, uninstall
// entries, Start Menu orderings and shortcuts.
std::set<std::string> InstallScanRows() {
  std::set<std::string> rows;
  for (const ProblemEntry& row : RunLiveScan({"6", "10", "11", "16", "17"}).rows) {
    rows.insert(row.keyPath + " | " + row.value);
  }
  return rows;
}

std::string Listing(const std::set<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += "  " + row + "\n";
  return text;
}

TEST(Installer, SilentInstallIsInvisibleToTheScansAndSilentUninstallKeepsOnlyTheUsersFiles) {
  const char* msiHostPath = std::getenv("QUILLET_PACKAGE_MSI");
  if (!msiHostPath || !std::getenv("QUILLET_E2E_FRESH_PREFIX")) {
    GTEST_SKIP() << "runs in a prefix of its own with the built package, as windows.install";
  }
  // Wine shows the host's root as drive Z:.
  std::wstring msi = L"Z:" + ToWide(msiHostPath);
  std::replace(msi.begin(), msi.end(), L'/', L'\\');
  ASSERT_TRUE(Exists(msi)) << ToUtf8(msi);

  ScratchFolder scratch;
  const std::wstring installDir = Folder(CSIDL_PROGRAM_FILES) + L"\\Orvane Quillet";
  const std::wstring exe = installDir + L"\\quillet.exe";
  const std::vector<std::wstring> shortcutPlaces = {Folder(CSIDL_COMMON_PROGRAMS) + L"\\Orvane Quillet.lnk",
                                                    Folder(CSIDL_PROGRAMS) + L"\\Orvane Quillet.lnk"};
  const std::vector<std::wstring> registryAreas = {L"HKEY_LOCAL_MACHINE\\Software", L"HKEY_CURRENT_USER\\Software"};
  std::vector<std::string> registryBefore;
  for (size_t i = 0; i < registryAreas.size(); ++i) {
    registryBefore.push_back(Export(registryAreas[i], scratch.At("before" + std::to_string(i) + ".reg")));
    ASSERT_GT(registryBefore.back().size(), 1000u) << "no export of " << ToUtf8(registryAreas[i]);
  }
  const std::set<std::string> rowsBefore = InstallScanRows();

  ASSERT_EQ(RunAndWait(L"msiexec.exe /i \"" + msi + L"\" /qn"), 0u) << "the silent install failed";

  ASSERT_TRUE(Exists(exe));
  EXPECT_EQ(FilesIn(installDir + L"\\Languages"), FilesIn(BuildFolder() + L"Languages"))
      << "the installed languages are not those of the build";
  EXPECT_FALSE(Exists(installDir + L"\\options.ini")) << "the install ships no default settings";
  std::wstring shortcut;
  for (const std::wstring& place : shortcutPlaces) {
    if (Exists(place)) shortcut = place;
  }
  ASSERT_FALSE(shortcut.empty()) << "no Start Menu shortcut";
  EXPECT_TRUE(SameText(win32::Win32Shell().ResolveShortcutTarget(ToUtf8(shortcut)), ToUtf8(exe)));

  const auto entry = UninstallEntry();
  ASSERT_TRUE(entry.has_value()) << "no uninstall entry";
  auto value = [&](const wchar_t* name) { return entry->contains(name) ? entry->at(name) : std::wstring(); };
  EXPECT_EQ(value(L"DisplayVersion"), L"3.5");
  EXPECT_EQ(value(L"Publisher"), L"Orvane Software");
  EXPECT_TRUE(Exists(ProgramOf(value(L"DisplayIcon")))) << "DisplayIcon: " << ToUtf8(value(L"DisplayIcon"));
  EXPECT_TRUE(Exists(ProgramOf(value(L"UninstallString")))) << "UninstallString: " << ToUtf8(value(L"UninstallString"));

  const std::set<std::string> rowsInstalled = InstallScanRows();
  EXPECT_EQ(rowsInstalled, rowsBefore) << "before the install:\n"
                                       << Listing(rowsBefore) << "after it:\n"
                                       << Listing(rowsInstalled);
  for (const std::string& row : rowsInstalled) EXPECT_FALSE(ContainsText(row, "Quillet")) << row;

  {
    // A first start and close of the installed program leaves the user's settings behind.
    QuilletProcess quillet(L"", exe);
    ASSERT_TRUE(quillet.Started());
    HWND window = quillet.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "the installed program shows no main window";
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(quillet.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  bool optionsExist = false;
  const std::string options = GetFileOrEmpty(ToUtf8(OptionsFilePath()), &optionsExist);
  ASSERT_TRUE(optionsExist) << "the installed program wrote no options.ini";
  // The default backup folder lies inside the install folder.
  const std::wstring backup = installDir + L"\\Backup\\Backup20261209120000.reg";
  ::CreateDirectoryW((installDir + L"\\Backup").c_str(), nullptr);
  PutFile(ToUtf8(backup), "REGEDIT4\r\n\r\n");

  ASSERT_EQ(RunAndWait(L"msiexec.exe /x \"" + msi + L"\" /qn"), 0u) << "the silent uninstall failed";

  EXPECT_FALSE(Exists(exe));
  EXPECT_FALSE(Exists(installDir + L"\\Languages"));
  for (const std::wstring& place : shortcutPlaces) EXPECT_FALSE(Exists(place)) << ToUtf8(place);
  EXPECT_FALSE(UninstallEntry().has_value()) << "the uninstall entry is still there";
  EXPECT_EQ(GetFileOrEmpty(ToUtf8(OptionsFilePath())), options) << "the user's options.ini did not stay as it was";
  EXPECT_EQ(GetFileOrEmpty(ToUtf8(backup)), "REGEDIT4\r\n\r\n") << "the user's backup did not stay";
  for (size_t i = 0; i < registryAreas.size(); ++i) {
    EXPECT_TRUE(SameRegistry(registryBefore[i], Export(registryAreas[i], scratch.At("after" + std::to_string(i) + ".reg"))))
        << "the uninstall left " << ToUtf8(registryAreas[i]) << " other than it was before the install";
  }
}

}  // namespace
}  // namespace quillet::testing
