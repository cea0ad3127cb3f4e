#include "ui/win32/Win32UiHost.h"

#include <algorithm>
#include <vector>

#include "platform/win32/WideString.h"
#include "ui/StdControls.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Gdi.h"

#include <commdlg.h>
#include <shellapi.h>

namespace quillet::ui::win32 {

using quillet::win32::ToUtf8;
using quillet::win32::ToWide;

Win32UiHost::Win32UiHost() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&controls);
}

Win32UiHost::~Win32UiHost() {
  std::map<TForm*, std::unique_ptr<FormWindow>> windows;
  {
    std::lock_guard lock(windowsMutex_);
    windows.swap(windows_);
  }
}

FormWindow& Win32UiHost::Realize(TForm& form, HWND owner) {
  auto window = std::make_unique<FormWindow>(*this, form, owner);
  FormWindow& created = *window;
  std::lock_guard lock(windowsMutex_);
  windows_[&form] = std::move(window);
  return created;
}

void Win32UiHost::Destroy(TForm& form) {
  std::unique_ptr<FormWindow> window;
  {
    std::lock_guard lock(windowsMutex_);
    auto found = windows_.find(&form);
    if (found == windows_.end()) return;
    window = std::move(found->second);
    windows_.erase(found);
  }
  stack_.erase(std::remove(stack_.begin(), stack_.end(), window.get()), stack_.end());
  if (active_ == window.get()) active_ = nullptr;
}

HWND Win32UiHost::OwnerWindow(TForm* owner) const {
  if (owner && owner->HostData()) return static_cast<FormWindow*>(owner->HostData())->Handle();
  return stack_.empty() ? nullptr : stack_.back()->Handle();
}

void Win32UiHost::RunIdle() {
  const std::vector<FormWindow*> forms = stack_;
  for (FormWindow* window : forms) {
    if (window->Form().OnIdle) window->Form().OnIdle();
  }
}

bool Win32UiHost::PumpOne() {
  MSG message;
  if (!::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) RunIdle();
  const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
  if (got <= 0) {
    // The end of the program arrived inside a modal loop: pass it on to the outer loop.
    ::PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
    return false;
  }
  HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if ((*it)->Handle() == root) {
      if ((*it)->TranslateKeys(message)) return true;
      break;
    }
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  return true;
}

int Win32UiHost::Run(TForm& mainForm) {
  mainForm_ = &mainForm;
  FormWindow& window = Realize(mainForm, nullptr);
  stack_.push_back(&window);
  if (mainForm.OnShow) mainForm.OnShow();
  window.Show(SW_SHOWNORMAL);
  while (PumpOne()) {
  }
  MSG quit;
  // PumpOne re-posted the quit message for an outer loop; this is the outermost one.
  while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  Destroy(mainForm);
  mainForm_ = nullptr;
  return exitCode_;
}

ModalResult Win32UiHost::ShowModal(TForm& form) {
  const HWND owner = OwnerWindow(nullptr);
  FormWindow* made = nullptr;
  try {
    made = &Realize(form, owner);
  } catch (const WindowNotCreated&) {
    // A dialog that never appeared cannot be answered: it counts as cancelled.
    return ModalResult::Cancel;
  }
  FormWindow& window = *made;
  form.BeginModal();
  std::vector<FormWindow*> below = stack_;
  for (FormWindow* other : below) ::EnableWindow(other->Handle(), FALSE);
  stack_.push_back(&window);
  if (form.OnShow) form.OnShow();
  window.Show(SW_SHOW);

  bool quitting = false;
  while (true) {
    if (form.GetModalResult() != ModalResult::None) {
      if (form.EndModal()) break;
      continue;
    }
    if (!PumpOne()) {
      // The program is ending under the dialog: end it as a close would.
      quitting = true;
      form.Close();
    }
    if (quitting && form.GetModalResult() == ModalResult::None) form.SetModalResult(ModalResult::Cancel);
  }
  // The owners come back before the dialog goes, so activation returns to them.
  for (FormWindow* other : below) ::EnableWindow(other->Handle(), TRUE);
  ::ShowWindow(window.Handle(), SW_HIDE);
  if (owner && ::IsWindowVisible(owner)) ::SetActiveWindow(owner);
  const ModalResult result = form.GetModalResult();
  Destroy(form);
  return result;
}

ModalResult Win32UiHost::MessageBox(TForm* owner, const MessageBoxRequest& request) {
  UINT flags = MB_TASKMODAL;
  switch (request.buttons) {
    case MessageButtons::Ok: flags |= MB_OK; break;
    case MessageButtons::OkCancel: flags |= MB_OKCANCEL; break;
    case MessageButtons::YesNo: flags |= MB_YESNO; break;
    case MessageButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
  }
  switch (request.icon) {
    case MessageIcon::None: break;
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    case MessageIcon::Error: flags |= MB_ICONERROR; break;
    case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
  }
  if (request.defaultButton == 2) flags |= MB_DEFBUTTON2;
  if (request.defaultButton == 3) flags |= MB_DEFBUTTON3;
  const int answer = ::MessageBoxW(OwnerWindow(owner), ToWide(request.text).c_str(), ToWide(request.title).c_str(), flags);
  return static_cast<ModalResult>(answer);
}

bool Win32UiHost::ExecuteSaveDialog(TForm* owner, TSaveDialog& dialog) {
  std::wstring filter = ToWide(dialog.Filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  std::wstring title = ToWide(dialog.Title);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring initial = ToWide(dialog.FileName);
  std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = OwnerWindow(owner);
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrTitle = title.empty() ? nullptr : title.c_str();
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!::GetSaveFileNameW(&request)) return false;
  dialog.FileName = ToUtf8(file.data());
  return true;
}

void Win32UiHost::PostMessage(TForm& form, unsigned message, uintptr_t wParam, intptr_t lParam) {
  std::lock_guard lock(windowsMutex_);
  auto found = windows_.find(&form);
  if (found != windows_.end()) ::PostMessageW(found->second->Handle(), message, wParam, lParam);
}

void Win32UiHost::BringToFront(TForm& form) {
  // With a dialog open, the dialog is the window to bring forward.
  HWND window = stack_.empty() ? nullptr : stack_.back()->Handle();
  if (form.HostData() && stack_.size() <= 1) window = static_cast<FormWindow*>(form.HostData())->Handle();
  if (!window) return;
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  ::BringWindowToTop(window);
}

void Win32UiHost::Beep(unsigned frequency, unsigned durationMs) { ::Beep(frequency, durationMs); }

bool Win32UiHost::OpenDocument(const std::string& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", ToWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

int Win32UiHost::TextWidth(const TFont& font, const std::string& text) {
  const int dpi = ScreenDpi();
  UniqueGdiObject handle = CreateUiFont(font, dpi);
  ScreenDc screen;
  SelectObjectScope selection(screen.get(), handle.get());
  const std::wstring wide = ToWide(text);
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return Scaler{dpi}.Unscale(size.cx);
}

int Win32UiHost::TextHeight(const TFont& font) {
  const int dpi = ScreenDpi();
  UniqueGdiObject handle = CreateUiFont(font, dpi);
  ScreenDc screen;
  SelectObjectScope selection(screen.get(), handle.get());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  return Scaler{dpi}.Unscale(metrics.tmHeight);
}

TSize Win32UiHost::ScreenSize() {
  const Scaler scale{ScreenDpi()};
  return {scale.Unscale(::GetSystemMetrics(SM_CXSCREEN)), scale.Unscale(::GetSystemMetrics(SM_CYSCREEN))};
}

std::optional<int> Win32UiHost::WindowShowCommand(TForm& form) {
  if (!form.HostData()) return std::nullopt;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!::GetWindowPlacement(static_cast<FormWindow*>(form.HostData())->Handle(), &placement)) return std::nullopt;
  return static_cast<int>(placement.showCmd);
}

void Win32UiHost::FormClosed(TForm& form) {
  // A window goes once its form is destroyed; until then a closed one is only hidden, as its
  // own handler may still be running.
  if (&form != mainForm_) {
    if (form.HostData()) ::ShowWindow(static_cast<FormWindow*>(form.HostData())->Handle(), SW_HIDE);
    return;
  }
  if (form.HostData()) ::ShowWindow(static_cast<FormWindow*>(form.HostData())->Handle(), SW_HIDE);
  ::PostQuitMessage(exitCode_);
}

void Win32UiHost::FormDestroyed(TForm& form) {
  std::unique_ptr<FormWindow> window;
  {
    std::lock_guard lock(windowsMutex_);
    auto found = windows_.find(&form);
    if (found == windows_.end()) return;
    window = std::move(found->second);
    windows_.erase(found);
  }
  window->Abandon();
  stack_.erase(std::remove(stack_.begin(), stack_.end(), window.get()), stack_.end());
  if (active_ == window.get()) active_ = nullptr;
}

}  // namespace quillet::ui::win32
