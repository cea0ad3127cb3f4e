// Services, sound events and history lists seeded in Wine's real registry and scanned for real.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LiveScan.h"
#include "ScratchFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/WideString.h"
#include "settings/RegGlobal.h"

namespace quillet::testing {
namespace {

constexpr const wchar_t* kServices = L"SYSTEM\\CurrentControlSet\\Services";
constexpr const wchar_t* kSoundApp = L"AppEvents\\Schemes\\Apps\\QuilletApp";
constexpr const wchar_t* kOpenSaveTxt =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\QuilletTxt";
constexpr const wchar_t* kUserAssistCount =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}"
    L"\\Count";
constexpr const char* kUserAssistPath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
    "{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";

void SetValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
  win32::UniqueKey key;
  ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

void SetText(HKEY root, const std::wstring& path, const std::wstring& name, const std::string& text,
             DWORD type = REG_SZ) {
  const std::wstring wide = win32::ToWide(text);
  SetValue(root, path, name, type, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

void SetUserAssist(const std::string& entry, uint32_t runCount) {
  uint8_t record[16] = {1};
  for (int i = 0; i < 4; ++i) record[4 + i] = static_cast<uint8_t>(runCount >> (8 * i));
  SetValue(HKEY_CURRENT_USER, kUserAssistCount, win32::ToWide(Rot13(entry)), REG_BINARY, record, sizeof(record));
}

void DeleteUserAssist(const std::string& entry) {
  win32::UniqueKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kUserAssistCount, 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) {
    ::RegDeleteValueW(key.get(), win32::ToWide(Rot13(entry)).c_str());
  }
}

class ServiceSoundHistoryScanWine : public ::testing::Test {
 protected:
  void SetUp() override {
    PutFile(scratch.At("present.exe"), "MZ");
    PutFile(scratch.At("present.wav"), "RIFF");
    const std::wstring services = kServices;
    SetText(HKEY_LOCAL_MACHINE, services + L"\\QuilletGoneService", L"ImagePath", gone + " -service", REG_EXPAND_SZ);
    SetText(HKEY_LOCAL_MACHINE, services + L"\\QuilletPresentService", L"ImagePath", "\"" + present + "\" -service");
    SetText(HKEY_LOCAL_MACHINE, services + L"\\QuilletSLSvcCopy", L"ImagePath", gone);
    SetText(HKEY_LOCAL_MACHINE, services + L"\\QuilletNoImage", L"DisplayName", gone);

    const std::wstring event = std::wstring(kSoundApp) + L"\\QuilletEvent";
    SetText(HKEY_CURRENT_USER, event + L"\\.Current", L"", scratch.At("gone.wav"));
    SetText(HKEY_CURRENT_USER, event + L"\\.Default", L"", scratch.At("present.wav"));
    SetText(HKEY_CURRENT_USER, event + L"\\Other", L"", scratch.At("other.wav"));

    SetText(HKEY_CURRENT_USER, kOpenSaveTxt, L"a", scratch.At("gone.txt"));
    SetText(HKEY_CURRENT_USER, kOpenSaveTxt, L"b", present);
    for (const auto& [entry, count] : userAssist) SetUserAssist(entry, count);
  }

  void TearDown() override {
    for (const wchar_t* name : {L"QuilletGoneService", L"QuilletPresentService", L"QuilletSLSvcCopy", L"QuilletNoImage"}) {
      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kServices) + L"\\" + name).c_str());
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSoundApp);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kOpenSaveTxt);
    for (const auto& [entry, count] : userAssist) DeleteUserAssist(entry);
  }

  ScratchFolder scratch;
  const std::string gone = scratch.At("gone.exe");
  const std::string present = scratch.At("present.exe");
  const std::vector<std::pair<std::string, uint32_t>> userAssist = {
      {"UEME_RUNPATH:" + scratch.At("gone.exe"), 4},
      {"UEME_RUNPATH:" + scratch.At("present.exe"), 2},
      {"UEME_RUNPATH:" + scratch.At("unused.lnk"), 0},
      {"UEME_RUNPATH:" + scratch.At("used.lnk"), 1},
  };
};

TEST_F(ServiceSoundHistoryScanWine, ServicesReportOnlyTheMissingProgramsImagePath) {
  EXPECT_EQ(LiveScanRows({"15"}, "Quillet"),
            (std::vector<std::string>{"row:HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\"
                                      "QuilletGoneService\\ImagePath|" +
                                      gone + " -service|1"}));
}

TEST_F(ServiceSoundHistoryScanWine, SoundEventsReportTheMissingSchemeSound) {
  EXPECT_EQ(LiveScanRows({"18"}, "Quillet"),
            (std::vector<std::string>{"row:HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\QuilletApp\\QuilletEvent\\"
                                      ".Current|" +
                                      scratch.At("gone.wav") + "|5"}));
}

TEST_F(ServiceSoundHistoryScanWine, HistoryListsReportGoneFilesAndUnusedOrGoneRunEntries) {
  EXPECT_EQ(LiveScanRows({"20"}, "Quillet"),
            (std::vector<std::string>{
                "row:HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\"
                "QuilletTxt\\a|" +
                    scratch.At("gone.txt") + "|1",
                // Wine's registry lists values by name: "hahfrq" (unused) comes before "tbar" (gone).
                "row:" + std::string(kUserAssistPath) + "|UEME_RUNPATH:" + scratch.At("unused.lnk") + "|6",
                "row:" + std::string(kUserAssistPath) + "|UEME_RUNPATH:" + scratch.At("gone.exe") + "|6",
            }));
}

}  // namespace
}  // namespace quillet::testing
