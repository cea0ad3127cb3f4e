#include "platform/win32/ToolArguments.h"

#include "platform/win32/Win32.h"

#include <shellapi.h>

#include "platform/win32/WideString.h"

namespace quillet::win32 {

std::vector<std::string> ToolArguments() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) result.push_back(ToUtf8(arguments[i]));
  ::LocalFree(arguments);
  return result;
}

}  // namespace quillet::win32
