#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/Win32.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/win32/ControlPeers.h"
#include "ui/win32/Gdi.h"
#include "ui/win32/MenuPeer.h"

namespace quillet::ui::win32 {

class Win32UiHost;

// A form model on screen: its top-level window, its controls, menus and timers. The window's
// user data points here; its procedure decodes messages into the model's handlers.
class FormWindow final : public FormPeer {
 public:
  FormWindow(Win32UiHost& host, TForm& form, HWND owner);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  TForm& Form() const { return form_; }
  HWND Handle() const { return window_; }
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
  HBRUSH BannerBrush(const POINT& devicePosition);

  void FormChanged(TForm& form, Change change) override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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

  Win32UiHost& host_;
  TForm& form_;
  HWND window_ = nullptr;
  Scaler scale_;
  std::vector<std::unique_ptr<ControlPeer>> peers_;
  std::map<HWND, ControlPeer*> byWindow_;
  std::map<int, ControlPeer*> byId_;
  std::vector<std::unique_ptr<TimerPeer>> timers_;
  std::unique_ptr<MenuPeer> menus_;
  std::map<BackgroundColor, UniqueGdiObject> brushes_;
  UniqueGdiObject bannerBitmap_;
  UniqueGdiObject bannerBrush_;
  int bannerWidth_ = 0;
  HWND lastFocus_ = nullptr;
  int nextControlId_ = 100;
  bool pressedWindowless_ = false;
  bool abandoned_ = false;
  bool constructing_ = false;
};

}  // namespace quillet::ui::win32
