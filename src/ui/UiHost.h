#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/Component.h"

// What the form models ask of whoever puts them on screen. The Win32 renderer implements it with
// real windows; the host tests with a scripted UI that answers dialogs and pumps messages.
namespace quillet::ui {

class TForm;
class TSaveDialog;
enum class ModalResult : int;

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };

struct MessageBoxRequest {
  std::string text;
  std::string title;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  int defaultButton = 1;  // 1 the first button, 2 the second, 3 the third
};

struct TSize {
  int width = 0;
  int height = 0;
};

class UiHost {
 public:
  virtual ~UiHost() = default;

  // Shows the form modally over the active form and runs its messages until it has a modal
  // result and its close handler let it close; returns that result.
  virtual ModalResult ShowModal(TForm& form) = 0;
  // A standard message box owned by the form (nullptr: the active form). The result is the
  // button pressed: Ok, Cancel, Yes or No.
  virtual ModalResult MessageBox(TForm* owner, const MessageBoxRequest& request) = 0;
  // The system's save dialog; true and the dialog's file name set when the user chose a file.
  virtual bool ExecuteSaveDialog(TForm* owner, TSaveDialog& dialog) = 0;

  // Queues a message to the form's handlers. Callable from any thread; the handler runs on the
  // GUI thread in the order of posting. Messages to a form that is gone are dropped.
  virtual void PostMessage(TForm& form, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;

  // Makes the program the foreground application with the form in front.
  virtual void BringToFront(TForm& form) = 0;
  virtual void Beep(unsigned frequency, unsigned durationMs) = 0;
  // Opens a document or web address in its default program; the answer is the shell's.
  virtual bool OpenDocument(const std::string& target) = 0;

  // Text metrics in the font, in pixels at 96 DPI.
  virtual int TextWidth(const TFont& font, const std::string& text) = 0;
  virtual int TextHeight(const TFont& font) = 0;
  // The primary screen, in pixels at 96 DPI.
  virtual TSize ScreenSize() = 0;
  // The show command of the form's window placement as the system reports it: 1 normal,
  // 2 minimized, 3 maximized. None when the system gives no placement.
  virtual std::optional<int> WindowShowCommand(TForm& form) = 0;

  // A form that is not modal was closed by its close handler (for the main window: the end of
  // the program's message loop).
  virtual void FormClosed(TForm& form) = 0;
  // The form's destructor runs; the host lets go of its window and of messages queued for it.
  virtual void FormDestroyed(TForm& form) = 0;
};

}  // namespace quillet::ui
