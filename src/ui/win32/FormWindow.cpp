#include "ui/win32/FormWindow.h"

#include <set>
#include <string>

#include "platform/win32/WideString.h"
#include "ui/ErrorBox.h"
#include "ui/win32/Win32UiHost.h"

#include <windowsx.h>

namespace quillet::ui::win32 {

using quillet::win32::ToWide;

namespace {

constexpr UINT_PTR kFirstTimerId = 1;

const wchar_t* RegisterFormClass(const std::wstring& name) {
  static std::set<std::wstring> registered;
  auto [it, fresh] = registered.insert(name);
  if (fresh) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FormWindow::WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadAppIcon(::GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = LoadAppIcon(::GetSystemMetrics(SM_CXSMICON));
    windowClass.lpszClassName = it->c_str();
    ::RegisterClassExW(&windowClass);
  }
  return it->c_str();
}

RECT WorkArea() {
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

FormWindow::FormWindow(Win32UiHost& host, TForm& form, HWND owner) : host_(host), form_(form) {
  scale_.dpi = ScreenDpi();
  const bool sizeable = form.BorderStyle() == FormBorder::Sizeable;
  DWORD style = (sizeable ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_CAPTION | WS_SYSMENU)) | WS_CLIPCHILDREN;
  if (!form.SystemMenu()) style &= ~static_cast<DWORD>(WS_SYSMENU);
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (!sizeable) exStyle |= WS_EX_DLGMODALFRAME;
  if (!owner) exStyle |= WS_EX_APPWINDOW;
  const std::wstring className =
      form.WindowClassName().empty() ? Win32UiHost::DialogClassName() : ToWide(form.WindowClassName());
  // Made at its designed size; the model hears of the window's bounds once it is complete.
  constructing_ = true;
  RECT outer{0, 0, scale_(form.Width()), scale_(form.Height())};
  if (form.DesignedByClientSize()) {
    outer = {0, 0, scale_(form.ClientWidth()), scale_(form.ClientHeight())};
    ::AdjustWindowRectEx(&outer, style, form.Menu() != nullptr, exStyle);
  }
  // The procedure takes the window into window_ on its first message.
  const HWND created = ::CreateWindowExW(exStyle, RegisterFormClass(className), ToWide(form.Caption()).c_str(), style,
                                         CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                         outer.bottom - outer.top, owner, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!created) {
    const DWORD error = ::GetLastError();
    window_.release();
    throw WindowNotCreated("the window \"" + form.Caption() + "\" could not be created (error " +
                           std::to_string(error) + ")");
  }
  scale_.dpi = WindowDpi(window_.get());
  form.SetHostData(this);
  form.AttachPeer(this);

  menus_ = std::make_unique<MenuPeer>(*this);
  if (form.Menu()) menus_->Attach(*form.Menu());
  for (const auto& component : form.Components()) {
    if (component->Kind() == ComponentKind::PopupMenu) menus_->Attach(static_cast<TMenu&>(*component));
  }
  menus_->BuildMenuBar();
  ApplyBounds();
  CreateControls();

  ::GetWindowRect(window_.get(), &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  int left = scale_(form.Left());
  int top = scale_(form.Top());
  const RECT area = WorkArea();
  if (form.Position() == FormPosition::ScreenCenter ||
      (form.Position() == FormPosition::OwnerFormCenter && !owner)) {
    left = area.left + (area.right - area.left - width) / 2;
    top = area.top + (area.bottom - area.top - height) / 2;
  } else if (form.Position() == FormPosition::OwnerFormCenter) {
    RECT ownerRect;
    ::GetWindowRect(owner, &ownerRect);
    left = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    top = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    left = std::max<int>(area.left, std::min<int>(left, area.right - width));
    top = std::max<int>(area.top, std::min<int>(top, area.bottom - height));
  }
  ::SetWindowPos(window_.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  constructing_ = false;
  ReportBounds();
}

FormWindow::~FormWindow() {
  // Detach first: destroying the window sends messages that must not reach the model. A form
  // whose components are already gone is not touched at all.
  if (!abandoned_) {
    for (auto& peer : peers_) peer->Control().AttachPeer(nullptr);
    for (auto& timer : timers_) timer->Detach();
    menus_->Detach();
    form_.AttachPeer(nullptr);
    form_.SetHostData(nullptr);
  }
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  timers_.clear();
  window_.reset();
}

void FormWindow::ApplyBounds() {
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(window_.get(), GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(window_.get(), GWL_EXSTYLE));
  int width = scale_(form_.Width());
  int height = scale_(form_.Height());
  if (form_.DesignedByClientSize()) {
    RECT rect{0, 0, scale_(form_.ClientWidth()), scale_(form_.ClientHeight())};
    ::AdjustWindowRectEx(&rect, style, form_.Menu() != nullptr, exStyle);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
  }
  ::SetWindowPos(window_.get(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  ::GetClientRect(window_.get(), &client);
  form_.SetClientSizeFromUser(scale_.Unscale(client.right), scale_.Unscale(client.bottom));
}

void FormWindow::CreateControls() {
  UINT_PTR timerId = kFirstTimerId;
  for (const auto& component : form_.Components()) {
    if (component->Kind() == ComponentKind::Timer) {
      timers_.push_back(std::make_unique<TimerPeer>(*this, static_cast<TTimer&>(*component), timerId++));
      continue;
    }
    auto* control = dynamic_cast<TControl*>(component.get());
    if (!control) continue;
    std::unique_ptr<ControlPeer> peer = MakeControlPeer(*this, *control);
    if (!peer) continue;
    control->AttachPeer(peer.get());
    peer->Create();
    peers_.push_back(std::move(peer));
  }
  // Containers go below the controls they hold, and an outer container below the ones inside it
  // (a page control on a page, a group box in a group box): each goes to the bottom in turn,
  // innermost (made last) first.
  for (auto it = peers_.rbegin(); it != peers_.rend(); ++it) {
    if ((*it)->IsContainer() && (*it)->Window()) {
      ::SetWindowPos((*it)->Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  RelayoutAll();
}

void FormWindow::Register(ControlPeer& peer, HWND window) {
  byWindow_[window] = &peer;
  byId_[peer.Id()] = &peer;
}

POINT FormWindow::Origin(const TControl& control) const {
  POINT origin{control.Left(), control.Top()};
  for (const TControl* parent = control.Parent(); parent; parent = parent->Parent()) {
    origin.x += parent->Left();
    origin.y += parent->Top();
  }
  return origin;
}

void FormWindow::RefreshVisibility() {
  for (auto& peer : peers_) peer->UpdateVisibility();
}

void FormWindow::RelayoutAll() {
  for (auto& peer : peers_) peer->Layout();
  ::InvalidateRect(window_.get(), nullptr, TRUE);
}

COLORREF FormWindow::ColorOf(BackgroundColor color) const {
  switch (color) {
    case BackgroundColor::Window: return ::GetSysColor(COLOR_WINDOW);
    case BackgroundColor::Banner: return kBannerLeft;
    default: return ::GetSysColor(COLOR_BTNFACE);
  }
}

HBRUSH FormWindow::Brush(BackgroundColor color) {
  switch (color) {
    case BackgroundColor::Window: return ::GetSysColorBrush(COLOR_WINDOW);
    case BackgroundColor::Banner: {
      UniqueGdiObject& brush = brushes_[color];
      if (!brush) brush.reset(::CreateSolidBrush(kBannerLeft));
      return static_cast<HBRUSH>(brush.get());
    }
    default: return ::GetSysColorBrush(COLOR_BTNFACE);
  }
}

BackgroundColor FormWindow::BackgroundUnder(const TControl& control) const {
  for (const TControl* at = &control; at; at = at->Parent()) {
    if (at->Color() != BackgroundColor::Default) return at->Color();
  }
  return form_.Color() == BackgroundColor::Default ? BackgroundColor::ButtonFace : form_.Color();
}

void FormWindow::Show(int showCommand) {
  form_.SetVisibleFromUser(true);
  ::ShowWindow(window_.get(), showCommand);
  ::UpdateWindow(window_.get());
}

bool FormWindow::TranslateKeys(MSG& message) {
  if (HACCEL accelerators = menus_->Accelerators()) {
    if (::TranslateAcceleratorW(window_.get(), accelerators, &message)) return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0 &&
      TurnPage(::GetKeyState(VK_SHIFT) < 0 ? -1 : 1)) {
    return true;
  }
  return ::IsDialogMessageW(window_.get(), &message) != 0;
}

TPageControl* FormWindow::PageControlAtFocus() const {
  if (ControlPeer* focused = PeerOf(::GetFocus())) {
    for (TControl* at = &focused->Control(); at; at = at->Parent()) {
      if (at->Kind() == ComponentKind::PageControl) return static_cast<TPageControl*>(at);
      if (at->Kind() == ComponentKind::TabSheet) return &static_cast<TTabSheet*>(at)->PageControl();
    }
  }
  for (const auto& peer : peers_) {
    if (peer->Control().Kind() == ComponentKind::PageControl && peer->Control().Showing()) {
      return static_cast<TPageControl*>(&peer->Control());
    }
  }
  return nullptr;
}

bool FormWindow::TurnPage(int step) {
  TPageControl* pages = PageControlAtFocus();
  if (!pages || pages->Pages().empty()) return false;
  const int count = static_cast<int>(pages->Pages().size());
  pages->SelectPageFromUser(((pages->ActivePageIndex() + step) % count + count) % count);
  // The focus goes to the tabs, as after a click on them; the control it was in may be hidden now.
  if (auto* peer = static_cast<ControlPeer*>(pages->Peer()); peer && peer->Window()) ::SetFocus(peer->Window());
  return true;
}

void FormWindow::FormChanged(TForm& form, Change change) {
  switch (change) {
    case Change::Caption: ::SetWindowTextW(window_.get(), ToWide(form.Caption()).c_str()); break;
    case Change::Bounds: {
      if (::IsZoomed(window_.get()) || ::IsIconic(window_.get())) break;
      ::SetWindowPos(window_.get(), nullptr, scale_(form.Left()), scale_(form.Top()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (!form.DesignedByClientSize()) {
        ::SetWindowPos(window_.get(), nullptr, 0, 0, scale_(form.Width()), scale_(form.Height()),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case Change::Visible: ::ShowWindow(window_.get(), form.Visible() ? SW_SHOW : SW_HIDE); break;
    case Change::Focus: {
      auto* peer = form.ActiveControl() ? static_cast<ControlPeer*>(form.ActiveControl()->Peer()) : nullptr;
      if (!peer || !peer->Window()) break;
      // Kept for the next activation too, which would otherwise pick the first control.
      lastFocus_ = peer->Window();
      if (::GetActiveWindow() == window_.get()) ::SetFocus(lastFocus_);
      break;
    }
    case Change::WindowState:
      ::ShowWindow(window_.get(), form.GetWindowState() == WindowState::Maximized   ? SW_MAXIMIZE
                            : form.GetWindowState() == WindowState::Minimized ? SW_MINIMIZE
                                                                              : SW_RESTORE);
      break;
    default: break;
  }
}

void FormWindow::ReportBounds() {
  // A minimized window is parked off screen; the model keeps the bounds it comes back to, which
  // are also what the options save writes for a window closed while minimized.
  if (constructing_ || ::IsIconic(window_.get())) return;
  RECT rect;
  ::GetWindowRect(window_.get(), &rect);
  form_.SetBoundsFromUser(scale_.Unscale(rect.left), scale_.Unscale(rect.top), scale_.Unscale(rect.right - rect.left),
                          scale_.Unscale(rect.bottom - rect.top));
}

ControlPeer* FormWindow::PeerOf(HWND window) const {
  auto found = byWindow_.find(window);
  return found == byWindow_.end() ? nullptr : found->second;
}

ControlPeer* FormWindow::WindowlessAt(POINT point) const {
  for (auto it = peers_.rbegin(); it != peers_.rend(); ++it) {
    ControlPeer& peer = **it;
    if (!peer.Windowless() || !peer.Control().Showing() || !peer.WantsHandCursor()) continue;
    const POINT origin = Origin(peer.Control());
    const RECT rect{scale_(origin.x), scale_(origin.y), scale_(origin.x + peer.Control().Width()),
                    scale_(origin.y + peer.Control().Height())};
    if (::PtInRect(&rect, point)) return &peer;
  }
  return nullptr;
}

void FormWindow::Paint() {
  PaintScope paint(window_.get());
  for (auto& peer : peers_) {
    if (peer->Windowless()) peer->Paint(paint.dc());
  }
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (lParam) {
    if (ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam))) peer->Command(code);
    return;
  }
  if (menus_->Command(id)) return;
  if (id == IDOK || id == IDCANCEL) {
    // Enter and Escape from the dialog keys: the default or the cancel button answers.
    for (auto& peer : peers_) {
      if (peer->Control().Kind() != ComponentKind::Button || !peer->Control().Showing()) continue;
      auto& button = static_cast<TButton&>(peer->Control());
      if ((id == IDOK && button.IsDefault()) || (id == IDCANCEL && button.IsCancel())) {
        if (button.Enabled()) button.Click();
        return;
      }
    }
  }
}

LRESULT FormWindow::OnNotify(NMHDR& header) {
  if (ControlPeer* peer = PeerOf(header.hwndFrom)) {
    bool handled = false;
    LRESULT result = peer->Notify(header, handled);
    if (handled) return result;
  }
  if (header.code == HDN_ENDTRACKW || header.code == HDN_ITEMCHANGEDW) {
    for (auto& peer : peers_) {
      if (peer->Control().Kind() == ComponentKind::ListView &&
          static_cast<ListViewPeer&>(*peer).Header() == header.hwndFrom) {
        static_cast<ListViewPeer&>(*peer).HeaderChanged();
      }
    }
  }
  return ::DefWindowProcW(window_.get(), WM_NOTIFY, static_cast<WPARAM>(header.idFrom),
                          reinterpret_cast<LPARAM>(&header));
}

void FormWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(window_.get(), focus)) lastFocus_ = focus;
    return;
  }
  HWND focus = lastFocus_ && ::IsWindow(lastFocus_) ? lastFocus_ : ::GetNextDlgTabItem(window_.get(), nullptr, FALSE);
  if (focus) ::SetFocus(focus);
  // The form's own activation, as the program sees it: another of its windows (or none) was
  // active before. Coming back from another program is no activation of the form.
  if (host_.Active() == this) return;
  host_.Activated(*this);
  if (!::IsIconic(window_.get()) && form_.OnActivate) form_.OnActivate();
}

void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  scale_.dpi = dpi;
  ::SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto& peer : peers_) peer->DpiChanged();
  RECT client;
  ::GetClientRect(window_.get(), &client);
  form_.SetClientSizeFromUser(scale_.Unscale(client.right), scale_.Unscale(client.bottom));
  RelayoutAll();
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    self->window_.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  self->RunGuarded([&] { result = self->Handle(message, wParam, lParam); });
  return result;
}

void FormWindow::ShowError(const std::string& text) {
  // An abandoned form's components are gone: the box then belongs to the window on top.
  ShowErrorBox(host_, abandoned_ ? nullptr : &form_, text);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(window_.get(), &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(form_.Color()));
      return 1;
    }
    case WM_PAINT: Paint(); return 0;
    case WM_SIZE:
      if (constructing_) return 0;
      if (wParam == SIZE_MINIMIZED) {
        form_.SetWindowStateFromUser(WindowState::Minimized);
      } else {
        form_.SetWindowStateFromUser(wParam == SIZE_MAXIMIZED ? WindowState::Maximized : WindowState::Normal);
        form_.SetClientSizeFromUser(scale_.Unscale(LOWORD(lParam)), scale_.Unscale(HIWORD(lParam)));
        ::InvalidateRect(window_.get(), nullptr, TRUE);
      }
      return 0;
    case WM_WINDOWPOSCHANGED: ReportBounds(); break;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_CLOSE: form_.Close(); return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
      for (auto& timer : timers_) {
        if (timer->Id() == wParam) timer->Fire();
      }
      return 0;
    case WM_DRAWITEM: {
      auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (ControlPeer* peer = PeerOf(item.hwndItem)) peer->DrawItem(item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = peer->Colors(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SETCURSOR: {
      const HWND target = reinterpret_cast<HWND>(wParam);
      bool hand = false;
      if (target == window_.get() && LOWORD(lParam) == HTCLIENT) {
        POINT point;
        ::GetCursorPos(&point);
        ::ScreenToClient(window_.get(), &point);
        hand = WindowlessAt(point) != nullptr;
      } else if (ControlPeer* peer = PeerOf(target)) {
        hand = peer->WantsHandCursor() && LOWORD(lParam) == HTCLIENT;
      }
      if (hand) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      pressedWindowless_ = WindowlessAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != nullptr;
      return 0;
    case WM_LBUTTONUP:
      if (pressedWindowless_) {
        pressedWindowless_ = false;
        if (ControlPeer* peer = WindowlessAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) peer->Click();
      }
      return 0;
    case WM_CONTEXTMENU: {
      ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(wParam));
      if (!peer || !peer->Control().PopupMenu()) break;
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (point.x == -1 && point.y == -1) {
        RECT rect;
        ::GetWindowRect(peer->Window(), &rect);
        point = {rect.left + scale_(8), rect.top + scale_(8)};
      }
      menus_->TrackPopup(*peer->Control().PopupMenu(), point);
      return 0;
    }
    case WM_INITMENUPOPUP: menus_->PrepareSubmenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_ENTERMENULOOP: menus_->SetInMenuLoop(true); break;
    case WM_EXITMENULOOP: menus_->SetInMenuLoop(false); break;
    case kRebuildMenuBar: menus_->RebuildIfChanged(); return 0;
    case DM_GETDEFID:
      for (auto& peer : peers_) {
        if (peer->Control().Kind() == ComponentKind::Button && static_cast<TButton&>(peer->Control()).IsDefault()) {
          return MAKELRESULT(peer->Id(), DC_HASDEFID);
        }
      }
      return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
    default:
      if (form_.HandlesMessage(message)) {
        form_.Dispatch(message, wParam, lParam);
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(window_.get(), message, wParam, lParam);
}

}  // namespace quillet::ui::win32
