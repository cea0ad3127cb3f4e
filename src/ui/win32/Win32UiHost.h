#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win32/Win32.h"
#include "ui/Form.h"
#include "ui/UiHost.h"

namespace quillet::ui::win32 {

class FormWindow;

// The UI host on real windows. One per program run, made and used on the GUI thread; only
// PostMessage may be called from other threads.
class Win32UiHost final : public UiHost {
 public:
  Win32UiHost();
  ~Win32UiHost() override;

  // Shows the main window and runs the message loop until it closes; the loop's exit code.
  int Run(TForm& mainForm);

  ModalResult ShowModal(TForm& form) override;
  ModalResult MessageBox(TForm* owner, const MessageBoxRequest& request) override;
  bool ExecuteSaveDialog(TForm* owner, TSaveDialog& dialog) override;
  void PostMessage(TForm& form, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) override;
  void BringToFront(TForm& form) override;
  void Beep(unsigned frequency, unsigned durationMs) override;
  bool OpenDocument(const std::string& target) override;
  int TextWidth(const TFont& font, const std::string& text) override;
  int TextHeight(const TFont& font) override;
  TSize ScreenSize() override;
  std::optional<int> WindowShowCommand(TForm& form) override;
  void FormClosed(TForm& form) override;
  void FormDestroyed(TForm& form) override;

  // For the form windows.
  void Activated(FormWindow& window) { active_ = &window; }
  FormWindow* Active() const { return active_; }
  static const wchar_t* DialogClassName() { return L"QuilletForm"; }

 private:
  FormWindow& Realize(TForm& form, HWND owner);
  void Destroy(TForm& form);
  HWND OwnerWindow(TForm* owner) const;
  bool PumpOne();
  // The idle handlers of the forms on screen, before the loop waits for the next message.
  void RunIdle();

  std::mutex windowsMutex_;  // guards windows_ for PostMessage from other threads
  std::map<TForm*, std::unique_ptr<FormWindow>> windows_;
  std::vector<FormWindow*> stack_;  // the main window, then each modal window over it
  FormWindow* active_ = nullptr;
  TForm* mainForm_ = nullptr;
  int exitCode_ = 0;
};

}  // namespace quillet::ui::win32
