// The restore point client and the repair's dialogs on the real renderer under Wine: the
// restore point request answers at once, the wait dialog follows a real child process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "GuiDriver.h"
#include "main/BackupHint.h"
#include "main/SystemPiont.h"
#include "platform/Platform.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32SystemRestore.h"
#include "settings/OptionsSetting.h"
#include "ui/win32/Win32UiHost.h"

namespace quillet::testing {
namespace {

using namespace gui;

const char* AnswerName(RestorePointAnswer answer) {
  switch (answer) {
    case RestorePointAnswer::Created: return "created";
    case RestorePointAnswer::Failed: return "failed";
    case RestorePointAnswer::Unavailable: return "unavailable";
  }
  return "?";
}

// Waits on its own thread for a top-level window of this process and acts on it once.
class WindowWatcher {
 public:
  WindowWatcher(const wchar_t* className, const wchar_t* caption, std::function<void(HWND)> action)
      : thread_([=, this] {
          WaitUntil(
              [&] {
                if (stop_) return true;
                for (HWND window : TopLevelWindows(::GetCurrentProcessId(), className, caption)) {
                  if (!::IsWindowVisible(window)) continue;
                  action(window);
                  seen_ = true;
                  return true;
                }
                return false;
              },
              20000, 20);
        }) {}
  ~WindowWatcher() {
    stop_ = true;
    thread_.join();
  }
  bool Seen() const { return seen_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  std::thread thread_;
};

TEST(RestorePointWine, TheRequestIsAnsweredAtOnce) {
  win32::Win32SystemRestore client;
  const ULONGLONG start = ::GetTickCount64();
  const RestorePointAnswer answer = client.CreateRestorePoint(TCreateSystemPointThread::kDescription);
  const ULONGLONG took = ::GetTickCount64() - start;
  EXPECT_LT(took, 5000u);
  std::printf("the restore client answered \"%s\" after %llu ms\n", AnswerName(answer), took);
}

TEST(RestorePointWine, TheDialogEndsByItselfOrAsksWhetherToGoOn) {
  win32::Win32SystemRestore client;
  Platform platform = CurrentPlatform();
  platform.restore = &client;
  ScopedPlatform installed(platform);
  const RestorePointAnswer answer = client.CreateRestorePoint(TCreateSystemPointThread::kDescription);

  ui::ModalResult result;
  bool asked = false;
  {
    ui::win32::Win32UiHost host;
    TfrmSystemPoint dialog(host);
    // The question is a standard message box; the user answers No.
    WindowWatcher question(L"#32770", L"Orvane Quillet",
                           [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDNO, 0); });
    result = dialog.ShowModal();
    asked = question.Seen();
  }
  while (TCreateSystemPointThread::Running() > 0) ::Sleep(10);
  if (answer == RestorePointAnswer::Created) {
    EXPECT_EQ(result, ui::ModalResult::Ok);
    EXPECT_FALSE(asked);
  } else {
    EXPECT_EQ(result, ui::ModalResult::Cancel) << "No to the question cancels the repair";
    EXPECT_TRUE(asked);
  }
}

TEST(WaitDialogWine, AChildThatEndsAtOnceClosesTheDialogAtTheFirstTick) {
  win32::Win32Processes processes;
  std::unique_ptr<ChildProcess> child = processes.Start("cmd.exe /c exit 0", true);
  ASSERT_TRUE(child);
  ui::win32::Win32UiHost host;
  TfrmBackupHint dialog(host);
  dialog.Process = child.get();
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(dialog.ShowModal(), ui::ModalResult::Ok);
  EXPECT_LT(::GetTickCount64() - start, 10000u);
}

TEST(WaitDialogWine, StopEndsAChildThatWouldRunOn) {
  win32::Win32Processes processes;
  // Notepad waits for its user for ever: a harmless stand-in for a long export.
  std::unique_ptr<ChildProcess> child = processes.Start("notepad.exe", true);
  ASSERT_TRUE(child);
  ui::win32::Win32UiHost host;
  TfrmBackupHint dialog(host);
  dialog.Process = child.get();
  dialog.lHint->SetCaption("Waiting for the child...");
  int barAtStop = -1;
  ui::ModalResult result;
  {
    WindowWatcher wait(kDialogClass, L"Orvane Quillet", [&](HWND window) {
      // Let a few ticks pass, as a user would before giving up.
      ::Sleep(1600);
      barAtStop = static_cast<int>(::SendMessageW(FindChild(window, PROGRESS_CLASSW), PBM_GETPOS, 0, 0));
      PressButton(FindChild(window, L"Button", L"Stop"));
    });
    result = dialog.ShowModal();
  }
  EXPECT_EQ(result, ui::ModalResult::Cancel);
  EXPECT_GE(barAtStop, 20) << "the bar moved while the child ran";
  EXPECT_TRUE(WaitUntil([&] { return child->HasEnded(); }, 5000)) << "the child still runs";
}

}  // namespace
}  // namespace quillet::testing
