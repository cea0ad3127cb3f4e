#include "RegeditPeer.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "ScratchFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {

::testing::AssertionResult ImportWithRegedit(const std::wstring& file) {
  std::wstring commandLine = L"regedit.exe /s \"" + file + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return ::testing::AssertionFailure() << "regedit did not start: " << ::GetLastError();
  }
  win32::UniqueKernelHandle process(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);
  if (::WaitForSingleObject(process.get(), 300000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
    return ::testing::AssertionFailure() << "regedit did not end";
  }
  return ::testing::AssertionSuccess();
}

std::string ExportWithRegedit(const std::wstring& key, const std::wstring& file) {
  ::DeleteFileW(file.c_str());
  std::wstring commandLine = L"regedit.exe /e \"" + file + L"\" \"" + key + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return "<regedit did not start>";
  }
  win32::UniqueKernelHandle process(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);
  ::WaitForSingleObject(process.get(), 120000);
  return GetFileOrEmpty(win32::ToUtf8(file));
}

std::string WithSortedValues(const std::string& dump) {
  std::istringstream lines(dump);
  std::string out;
  std::vector<std::string> values;
  auto flush = [&] {
    std::sort(values.begin(), values.end());
    for (const std::string& value : values) out += value + "\n";
    values.clear();
  };
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("[")) {
      flush();
      out += line + "\n";
    } else {
      values.push_back(line);
    }
  }
  flush();
  return out;
}

}  // namespace quillet::testing
