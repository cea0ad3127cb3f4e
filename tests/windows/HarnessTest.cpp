// Proves the Windows tests run against the real thing: Wine's registry and the built binary.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestPaths.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

using win32::UniqueKey;

TEST(Harness, RegistryValueRoundTripsThroughTheRealApi) {
  const std::wstring scratch = L"Software\\QuilletTests\\Harness" + std::to_wstring(::GetCurrentProcessId());
  UniqueKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.put(), nullptr),
            ERROR_SUCCESS);
  const std::wstring text = L"C:\\Old\\app.exe";
  ASSERT_EQ(::RegSetValueExW(key.get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  key.reset();

  wchar_t buffer[64] = {};
  DWORD size = sizeof(buffer);
  DWORD type = 0;
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, scratch.c_str(), L"Path", RRF_RT_ANY, &type, buffer, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(buffer), text);

  EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTests"), ERROR_SUCCESS);
  UniqueKey gone;
  EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, KEY_READ, gone.put()), ERROR_FILE_NOT_FOUND);
}

TEST(Harness, RunsAsA32BitProcessOnA32BitSystem) {
  BOOL wow64 = TRUE;
  ASSERT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));
  EXPECT_FALSE(wow64) << "the test prefix is WINEARCH=win32";
  EXPECT_EQ(sizeof(void*), 4u);
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) return {};
  return std::wstring(value, length ? length - 1 : 0);
}

TEST(Harness, QuilletExeIsAGuiProgramWithVersionAndManifest) {
  const std::wstring exe = QuilletExePath();
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in quillet.exe";
  std::vector<BYTE> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"ProductName", L"Orvane Quillet"},
      {L"CompanyName", L"Orvane Software"},
      {L"FileDescription", L"Orvane Quillet registry cleaner"},
      {L"FileVersion", L"3.5"},
      {L"ProductVersion", L"3.5"},
      {L"LegalCopyright", L"Copyright (C) 2026 Orvane Software"},
      {L"OriginalFilename", L"quillet.exe"}};
  for (const auto& [name, expected] : strings) {
    EXPECT_EQ(VersionString(block, name), expected) << win32::ToUtf8(name);
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00030005u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00030005u);

  win32::UniqueModule image(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(image);
  HRSRC manifest = ::FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr) << "no application manifest";
  auto* text = static_cast<const char*>(::LockResource(::LoadResource(image.get(), manifest)));
  std::string xml(text, ::SizeofResource(image.get(), manifest));
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(xml.find("requireAdministrator"), std::string::npos);
  EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);

  win32::UniqueFile file(::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  std::vector<char> header(4096);
  DWORD read = 0;
  ASSERT_TRUE(::ReadFile(file.get(), header.data(), static_cast<DWORD>(header.size()), &read, nullptr));
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(header.data());
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(header.data() + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

}  // namespace
}  // namespace quillet::testing
