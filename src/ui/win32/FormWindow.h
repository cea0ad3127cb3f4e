#pragma once

#include <exception>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/win32/ControlPeers.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/MenuPeer.h"

namespace quillet::ui::win32 {

class Win32UiHost;

// The system made no window for a form (no display that answers, a desktop that refuses windows).
class WindowNotCreated : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A form model on screen: its top-level window, its controls, menus and timers. The window's
// user data points here; its procedure decodes messages into the model's handlers.
class FormWindow final : public FormPeer {
 public:
  FormWindow(Win32UiHost& host, TForm& form, HWND owner);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  TForm& Form() const { return form_; }
  HWND Handle() const { return window_.get(); }
  Win32UiHost& Host() const { return host_; }
  const Scaler& Scale() const { return scale_; }

  // The form is being destroyed: its components are gone, the window must not touch them.
  void Abandon() { abandoned_ = true; }
  // Places the window as its position asks, then shows it.
  void Show(int showCommand);
  // Keyboard shortcuts and dialog keys of this form; true when the message was used.
  bool TranslateKeys(MSG& message);

  // For the peers.
  int NewControlId() { return nextControlId_++; }
  void Register(ControlPeer& peer, HWND window);
  // The control's top-left corner on the form's client area, in design pixels.
  POINT Origin(const TControl& control) const;
  void RefreshVisibility();
  void RelayoutAll();
  HBRUSH Brush(BackgroundColor color);
  COLORREF ColorOf(BackgroundColor color) const;
  // The background the control sits on: its own color, else its container's, else the form's.
  BackgroundColor BackgroundUnder(const TControl& control) const;

  void FormChanged(TForm& form, Change change) override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Runs model code for a window procedure: an error that comes out of it is shown in the
  // standard error box instead of being thrown across the system's code.
  template <typename Code>
  void RunGuarded(Code&& code) {
    try {
      code();
    } catch (const std::exception& error) {
      ShowError(error.what());
    } catch (...) {
      ShowError("Unexpected error");
    }
  }

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyBounds();
  void Paint();
  ControlPeer* WindowlessAt(POINT devicePoint) const;
  ControlPeer* PeerOf(HWND window) const;
  // Ctrl+Tab: the page control holding the focus (else the first one shown) turns a page.
  TPageControl* PageControlAtFocus() const;
  bool TurnPage(int step);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnNotify(NMHDR& header);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnActivate(bool active);
  void ReportBounds();
  void ShowError(const std::string& text);

  Win32UiHost& host_;
  TForm& form_;
  UniqueWindow window_;
  Scaler scale_;
  std::vector<std::unique_ptr<ControlPeer>> peers_;
  std::map<HWND, ControlPeer*> byWindow_;
  std::map<int, ControlPeer*> byId_;
  std::vector<std::unique_ptr<TimerPeer>> timers_;
  std::unique_ptr<MenuPeer> menus_;
  std::map<BackgroundColor, UniqueGdiObject> brushes_;
  HWND lastFocus_ = nullptr;
  int nextControlId_ = 100;
  bool pressedWindowless_ = false;
  bool abandoned_ = false;
  bool constructing_ = false;
};

}  // namespace quillet::ui::win32
