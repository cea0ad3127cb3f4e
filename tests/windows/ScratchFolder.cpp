#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/WideString.h"

namespace quillet::testing {

namespace {
constexpr const wchar_t* kTestsRoot = L"C:\\QuilletTests";
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  win32::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
  if (find) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find.get(), &data));
  }
  find.reset();
  ::RemoveDirectoryW(path.c_str());
}

ScratchFolder::ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "_" + test->name() : "NoTest";
  for (char& c : name) {
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  ::CreateDirectoryW(kTestsRoot, nullptr);
  std::wstring wide = std::wstring(kTestsRoot) + L"\\" + win32::ToWide(name);
  RemoveTree(wide);
  ::CreateDirectoryW(wide.c_str(), nullptr);
  path_ = win32::ToUtf8(wide);
}

ScratchFolder::~ScratchFolder() {
  RemoveTree(win32::ToWide(path_));
  ::RemoveDirectoryW(kTestsRoot);  // only when no other test's folder is left
}

void PutFile(std::string_view path, std::string_view bytes) {
  win32::UniqueFile file(::CreateFileW(win32::ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "cannot create " << path;
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

std::string GetFileOrEmpty(std::string_view path, bool* exists) {
  win32::UniqueFile file(::CreateFileW(win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (exists) *exists = file.valid();
  if (!file) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

std::string ReadBytes(const std::wstring& path) {
  bool exists = false;
  std::string bytes = GetFileOrEmpty(win32::ToUtf8(path), &exists);
  return exists ? bytes : "<no file>";
}

}  // namespace quillet::testing
