#include "platform/win32/ToolArguments.h"

#include "platform/win32/Win32.h"

#include <shellapi.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {
namespace {
struct ArgumentVectorTraits {
  using Handle = LPWSTR*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::LocalFree(h); }
};
}  // namespace

std::vector<std::string> ToolArguments() {
  int count = 0;
  UniqueHandle<ArgumentVectorTraits> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) result.push_back(ToUtf8(arguments.get()[i]));
  return result;
}

}  // namespace quillet::win32
