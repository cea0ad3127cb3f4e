#include "scan/ScanTask.h"

#include <charconv>
#include <exception>

#include "platform/Platform.h"
#include "scan/DriveLetters.h"
#include "scan/ScanCategory.h"
#include "scan/ScanSink.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"

namespace quillet {

int CategoryCodeFromText(const std::string& text) {
  int code = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, code);
  return (error == std::errc() && stop == end) ? code : 0;
}

TScanTaskThread::TScanTaskThread(const Platform& platform) : platform_(platform) {
  IsWow64 = quillet::IsWow64();
  WindowsVersionCode = GetWindowsVersion();
  IsWin7Or8 = WindowsVersionCode == 12 || WindowsVersionCode == 13;
  IsWin8 = WindowsVersionCode == 13;
  DriveLetters = BuildDriveLetters(*platform.files, OptionsSetting.IncludeRemoveMedia, OptionsSetting.IncludeCDdrive);
}

TScanTaskThread::~TScanTaskThread() {
  Stop();
  Wait();
}

void TScanTaskThread::Start() { thread_ = std::thread([this] { Run(); }); }

void TScanTaskThread::Stop() { stop_.Request(); }

void TScanTaskThread::Wait() {
  if (thread_.joinable()) thread_.join();
}

void TScanTaskThread::Run() {
  ScanContext context(*platform_.registry, *platform_.files, *platform_.shell, *this, *Sink, stop_, CategoryCodes);
  try {
    for (int code : CategoryCodes) {
      stop_.ThrowIfRequested();
      Sink->CategoryStarted();
      const ScanCategory* category = FindScanCategory(code);
      Scanner scanner = category ? ScannerFor(code) : nullptr;
      if (scanner) {
        context.BeginCategory(*category);
        scanner(context);
      }
      stop_.ThrowIfRequested();
      Sink->CategoryFinished();
    }
    counters_ = context.Counters();
    Sink->RunFinished();
  } catch (const ScanStopped&) {
    // A stop ends the run where it stands: no close request, the dialog already closes itself.
    counters_ = context.Counters();
  } catch (const std::exception& error) {
    // An uncaught scanner error ends the run without the close request; the dialog stays open.
    counters_ = context.Counters();
    Sink->RunFailed(error.what());
  }
}

}  // namespace quillet
