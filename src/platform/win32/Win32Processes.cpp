#include "platform/win32/Win32Processes.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::win32 {
namespace {

class Win32ChildProcess : public ChildProcess {
 public:
  Win32ChildProcess(HANDLE process, HANDLE thread) : process_(process), thread_(thread) {}
  bool HasEnded() override { return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }
  void Terminate(unsigned exitCode) override { ::TerminateProcess(process_.get(), exitCode); }

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
};

}  // namespace

std::unique_ptr<ChildProcess> Win32Processes::Start(std::string_view commandLine, bool hidden) {
  std::wstring line = ToWide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return nullptr;
  }
  return std::make_unique<Win32ChildProcess>(info.hProcess, info.hThread);
}

}  // namespace quillet::win32
