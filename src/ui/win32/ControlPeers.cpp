#include "ui/win32/ControlPeers.h"

#include <algorithm>

#include "platform/win32/WideString.h"
#include "ui/Form.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/TextExtentSum.h"

#include <windowsx.h>

namespace quillet::ui::win32 {

using quillet::win32::ToUtf8;
using quillet::win32::ToWide;

HWND ControlPeer::MakeWindow(const wchar_t* className, DWORD style, DWORD exStyle, bool tabStop) {
  id_ = form_.NewControlId();
  const RECT rect = DeviceRect();
  style |= WS_CHILD | WS_CLIPSIBLINGS | (tabStop ? WS_TABSTOP : 0);
  if (control_.Showing()) style |= WS_VISIBLE;
  if (!control_.Enabled()) style |= WS_DISABLED;
  window_ = ::CreateWindowExW(exStyle, className, ToWide(control_.Caption()).c_str(), style, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, form_.Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), ::GetModuleHandleW(nullptr), nullptr);
  form_.Register(*this, window_);
  UpdateFont();
  return window_;
}

RECT ControlPeer::DeviceRect() const {
  const Scaler& scale = form_.Scale();
  const POINT origin = form_.Origin(control_);
  return RECT{scale(origin.x), scale(origin.y), scale(origin.x + control_.Width()),
              scale(origin.y + control_.Height())};
}

void ControlPeer::Layout() {
  if (!window_) return;
  const RECT rect = DeviceRect();
  ::SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPeer::UpdateVisibility() {
  if (window_) {
    ::ShowWindow(window_, control_.Showing() ? SW_SHOWNA : SW_HIDE);
  } else if (Windowless()) {
    // With room for a caption drawn a little past its measured width.
    RECT rect = DeviceRect();
    rect.right += (rect.right - rect.left) / 8 + form_.Scale()(8);
    ::InvalidateRect(form_.Handle(), &rect, TRUE);
  }
}

void ControlPeer::UpdateFont() {
  if (!window_) return;
  font_ = CreateUiFont(control_.Font(), form_.Scale().dpi);
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void ControlPeer::SetWindowText(const std::string& text) {
  if (window_) ::SetWindowTextW(window_, ToWide(text).c_str());
}

void ControlPeer::Changed(TComponent&, Change change) {
  switch (change) {
    case Change::Caption:
      if (window_) {
        SetWindowText(control_.Caption());
      } else {
        UpdateVisibility();
      }
      break;
    case Change::Bounds:
      if (IsContainer()) {
        form_.RelayoutAll();
      } else if (window_) {
        Layout();
      } else {
        ::InvalidateRect(form_.Handle(), nullptr, TRUE);
      }
      break;
    case Change::Visible: form_.RefreshVisibility(); break;
    case Change::Enabled:
      if (window_) ::EnableWindow(window_, control_.Enabled());
      break;
    case Change::Font:
      UpdateFont();
      if (!window_) UpdateVisibility();
      break;
    default: break;
  }
}

HBRUSH ControlPeer::Colors(HDC dc) {
  const BackgroundColor background = form_.BackgroundUnder(control_);
  ::SetTextColor(dc, TextColorOf(control_.Font(), ::GetSysColor(COLOR_WINDOWTEXT)));
  ::SetBkColor(dc, form_.ColorOf(background));
  return form_.Brush(background);
}

namespace {

class LabelPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TLabel& Label() const { return static_cast<TLabel&>(control_); }

  // Labels on the banner, and links on the form itself, are drawn by the form: the banner shows
  // through them, and a link's underlined text gets its full width.
  bool Windowless() const override {
    return form_.BackgroundUnder(control_) == BackgroundColor::Banner || (Label().IsLink() && !control_.Parent());
  }
  void Create() override {
    if (Windowless()) return;
    MakeWindow(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | (Label().IsLink() ? SS_NOTIFY : 0));
  }
  void Layout() override {
    if (!window_) return;
    // A little room beyond the measured caption, against rounding at other DPIs.
    RECT rect = DeviceRect();
    rect.right += form_.Scale()(2);
    ::SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Command(int notifyCode) override {
    if (notifyCode == STN_CLICKED) Click();
  }
  void Click() override {
    if (control_.OnClick) control_.OnClick();
  }
  bool WantsHandCursor() const override { return Label().IsLink(); }
  void Paint(HDC dc) override {
    if (!control_.Showing()) return;
    UniqueGdiObject font = CreateUiFont(control_.Font(), form_.Scale().dpi);
    SelectObjectScope selection(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    const bool onBanner = form_.BackgroundUnder(control_) == BackgroundColor::Banner;
    ::SetTextColor(dc, TextColorOf(control_.Font(), onBanner ? RGB(255, 255, 255) : ::GetSysColor(COLOR_WINDOWTEXT)));
    RECT rect = DeviceRect();
    rect.right += form_.Scale()(4);
    const std::wstring text = ToWide(control_.Caption());
    // Unclipped: under Wine an underlined caption can draw wider than its measured width.
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  }
};

class ImagePeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  bool Windowless() const override { return true; }
  void Create() override {}
  void Paint(HDC dc) override {
    if (!control_.Showing()) return;
    DrawPicture(dc, static_cast<TImage&>(control_).GetPicture(), DeviceRect(), form_.Scale().dpi);
  }
  bool WantsHandCursor() const override { return static_cast<bool>(control_.OnClick); }
  void Click() override {
    if (control_.OnClick) control_.OnClick();
  }
};

class ButtonPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TButton& Button() const { return static_cast<TButton&>(control_); }
  void Create() override { MakeWindow(L"BUTTON", Button().IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0, true); }
  void Command(int notifyCode) override {
    if (notifyCode == BN_CLICKED) Button().Click();
  }
  void Click() override { Button().Click(); }
};

LRESULT CALLBACK SpeedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

// A flat link: glyph, then the caption in the link colour, underlined while the mouse is on it.
class SpeedButtonPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TSpeedButton& Button() const { return static_cast<TSpeedButton&>(control_); }
  void Create() override {
    MakeWindow(L"BUTTON", BS_OWNERDRAW);
    ::SetWindowSubclass(window_, SpeedButtonProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  void Command(int notifyCode) override {
    if (notifyCode == BN_CLICKED) Button().Click();
  }
  void Click() override { Button().Click(); }
  bool WantsHandCursor() const override { return true; }
  void DrawItem(const DRAWITEMSTRUCT& item) override {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    ::FillRect(dc, &rect, form_.Brush(form_.BackgroundUnder(control_)));
    const Scaler& scale = form_.Scale();
    const int glyph = scale(16);
    const int top = rect.top + (rect.bottom - rect.top - glyph) / 2;
    DrawPicture(dc, Button().Glyph(), RECT{rect.left, top, rect.left + glyph, top + glyph}, scale.dpi);
    TFont font = control_.Font();
    font.underline = hot_ || (item.itemState & ODS_FOCUS);
    UniqueGdiObject handle = CreateUiFont(font, scale.dpi);
    SelectObjectScope selection(dc, handle.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, (item.itemState & ODS_DISABLED) ? ::GetSysColor(COLOR_GRAYTEXT)
                       : (item.itemState & ODS_SELECTED) ? RGB(0, 40, 110)
                                                         : kLinkColor);
    RECT text = rect;
    text.left += glyph + scale(1);
    const std::wstring caption = ToWide(control_.Caption());
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  }
  void SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    ::InvalidateRect(window_, nullptr, FALSE);
  }

 private:
  bool hot_ = false;
};

LRESULT CALLBACK SpeedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<SpeedButtonPeer*>(data);
  if (message == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    ::TrackMouseEvent(&track);
    peer->SetHot(true);
  } else if (message == WM_MOUSELEAVE) {
    peer->SetHot(false);
  } else if (message == WM_ERASEBKGND) {
    return 1;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

class CheckBoxPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TCheckBox& Box() const { return static_cast<TCheckBox&>(control_); }
  void Create() override {
    MakeWindow(L"BUTTON", BS_AUTOCHECKBOX, 0, true);
    ::SendMessageW(window_, BM_SETCHECK, Box().Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Checked) {
      ::SendMessageW(window_, BM_SETCHECK, Box().Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    } else {
      ControlPeer::Changed(component, change);
    }
  }
  void Command(int notifyCode) override {
    if (notifyCode != BN_CLICKED) return;
    const bool checked = ::SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != Box().Checked()) Box().ToggleFromUser();
  }
};

LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

class GroupBoxPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  bool IsContainer() const override { return true; }
  void Create() override {
    MakeWindow(L"BUTTON", BS_GROUPBOX);
    ::SetWindowSubclass(window_, GroupBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  // The form does not paint under its children, so the box fills its inside itself.
  void Erase(HDC dc) {
    RECT client;
    ::GetClientRect(window_, &client);
    ::FillRect(dc, &client, form_.Brush(form_.BackgroundUnder(control_)));
  }
};

LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_ERASEBKGND) {
    reinterpret_cast<GroupBoxPeer*>(data)->Erase(reinterpret_cast<HDC>(wParam));
    return 1;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

class EditPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TEdit& Edit() const { return static_cast<TEdit&>(control_); }
  void Create() override {
    DWORD style = Edit().Multiline() ? (ES_MULTILINE | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
    if (Edit().ReadOnly()) style |= ES_READONLY;
    MakeWindow(L"EDIT", style, Edit().HasBorder() ? WS_EX_CLIENTEDGE : 0, !Edit().ReadOnly());
  }
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Caption) {
      settingText_ = true;
      SetWindowText(control_.Caption());
      settingText_ = false;
    } else {
      ControlPeer::Changed(component, change);
    }
  }
  void Command(int notifyCode) override {
    if (notifyCode != EN_CHANGE || settingText_) return;
    const int length = ::GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window_, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    Edit().SetTextFromUser(ToUtf8(text));
  }

 private:
  bool settingText_ = false;
};

class ListBoxPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TListBox& Box() const { return static_cast<TListBox&>(control_); }
  void Create() override {
    MakeWindow(L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, true);
    Fill();
  }
  void Fill() {
    ::SendMessageW(window_, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : Box().Items()) {
      ::SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
    }
    ::SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(Box().ItemIndex()), 0);
  }
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Items || change == Change::Selection) {
      Fill();
    } else {
      ControlPeer::Changed(component, change);
    }
  }
  void Command(int notifyCode) override {
    if (notifyCode == LBN_SELCHANGE) {
      Box().SetItemIndexFromUser(static_cast<int>(::SendMessageW(window_, LB_GETCURSEL, 0, 0)));
      if (control_.OnClick) control_.OnClick();
    } else if (notifyCode == LBN_DBLCLK && control_.OnDblClick) {
      control_.OnDblClick();
    }
  }
};

class ProgressBarPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TProgressBar& Bar() const { return static_cast<TProgressBar&>(control_); }
  void Create() override {
    MakeWindow(PROGRESS_CLASSW, PBS_SMOOTH);
    Apply();
  }
  void Apply() {
    ::SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(Bar().Min()), Bar().Max());
    ::SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(Bar().Position()), 0);
  }
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Position) {
      Apply();
    } else {
      ControlPeer::Changed(component, change);
    }
  }
};

class StatusBarPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TStatusBar& Bar() const { return static_cast<TStatusBar&>(control_); }
  void Create() override {
    const bool sizeable = form_.Form().BorderStyle() == FormBorder::Sizeable;
    MakeWindow(STATUSCLASSNAMEW, sizeable ? SBARS_SIZEGRIP : 0);
    ReportHeight();
    SetParts();
    SetTexts();
  }
  // The bar places itself along the bottom of the form; the model learns its height.
  void Layout() override {
    if (!window_) return;
    ::SendMessageW(window_, WM_SIZE, 0, 0);
    SetParts();
  }
  void ReportHeight() {
    RECT rect;
    ::GetWindowRect(window_, &rect);
    TRect bounds = control_.Bounds();
    bounds.height = form_.Scale().Unscale(rect.bottom - rect.top);
    control_.SetBoundsFromUser(bounds);
  }
  void SetParts() {
    std::vector<int> edges;
    int right = 0;
    const auto& panels = Bar().Panels();
    for (size_t i = 0; i < panels.size(); ++i) {
      right += form_.Scale()(panels[i].width);
      // The last panel reaches the right edge, so its text is not cut off.
      edges.push_back(i + 1 == panels.size() ? -1 : right);
    }
    if (!edges.empty()) {
      ::SendMessageW(window_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
  }
  void SetTexts() {
    const auto& panels = Bar().Panels();
    for (size_t i = 0; i < panels.size(); ++i) {
      ::SendMessageW(window_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(ToWide(panels[i].text).c_str()));
    }
  }
  void Changed(TComponent& component, Change change) override {
    switch (change) {
      case Change::Caption: SetTexts(); break;
      case Change::Items:
        SetParts();
        SetTexts();
        break;
      case Change::Bounds: Layout(); break;
      default: ControlPeer::Changed(component, change);
    }
  }
  void DpiChanged() override {
    ControlPeer::DpiChanged();
    Layout();
    ReportHeight();
  }
};

class PageControlPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  TPageControl& Pages() const { return static_cast<TPageControl&>(control_); }
  bool IsContainer() const override { return true; }
  void Create() override {
    MakeWindow(WC_TABCONTROLW, TCS_TABS, 0, true);
    Fill();
  }
  void Fill() {
    TabCtrl_DeleteAllItems(window_);
    int index = 0;
    for (TTabSheet* page : Pages().Pages()) {
      std::wstring caption = ToWide(page->Caption());
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      ::SendMessageW(window_, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }
    TabCtrl_SetCurSel(window_, Pages().ActivePageIndex());
    PlaceSheets();
  }
  // The sheets fill the tab control's display area.
  void PlaceSheets() {
    RECT rect{0, 0, form_.Scale()(control_.Width()), form_.Scale()(control_.Height())};
    TabCtrl_AdjustRect(window_, FALSE, &rect);
    const Scaler& scale = form_.Scale();
    for (TTabSheet* page : Pages().Pages()) {
      page->SetBoundsFromUser({scale.Unscale(rect.left), scale.Unscale(rect.top), scale.Unscale(rect.right - rect.left),
                               scale.Unscale(rect.bottom - rect.top)});
    }
  }
  void Layout() override {
    ControlPeer::Layout();
    if (window_) PlaceSheets();
  }
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Items) {
      Fill();
    } else if (change == Change::ActivePage) {
      TabCtrl_SetCurSel(window_, Pages().ActivePageIndex());
      form_.RefreshVisibility();
      // A focus left in a control of the page just hidden would take the keyboard with it.
      HWND focus = ::GetFocus();
      if (focus && !::IsWindowVisible(focus) && ::IsChild(form_.Handle(), focus)) ::SetFocus(window_);
    } else {
      ControlPeer::Changed(component, change);
    }
  }
  LRESULT Notify(NMHDR& header, bool& handled) override {
    handled = header.code == TCN_SELCHANGE;
    if (handled) Pages().SelectPageFromUser(TabCtrl_GetCurSel(window_));
    return 0;
  }
};

// A page of a page control has no window: the controls on it sit on the form.
class TabSheetPeer final : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  bool IsContainer() const override { return true; }
  void Create() override {}
  void Changed(TComponent& component, Change change) override {
    if (change == Change::Caption) {
      if (ControlPeer* pages = static_cast<ControlPeer*>(static_cast<TTabSheet&>(control_).PageControl().Peer())) {
        pages->Changed(static_cast<TTabSheet&>(control_).PageControl(), Change::Items);
      }
    } else {
      ControlPeer::Changed(component, change);
    }
  }
};

LRESULT CALLBACK TreeViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<TreeViewPeer*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      peer->Form().RunGuarded([&] { peer->MouseDown(button, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); });
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && peer->TickKey()) return 0;
      break;
    case WM_CHAR:
      // The space that flipped a tick does not also search the tree for a node starting with " ".
      if (wParam == ' ' && peer->TickKey(false)) return 0;
      break;
    default: break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void TreeViewPeer::Create() {
  MakeWindow(WC_TREEVIEWW, TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | TVS_NOHSCROLL, WS_EX_CLIENTEDGE,
             true);
  ::SetWindowSubclass(window_, TreeViewProc, 1, reinterpret_cast<DWORD_PTR>(this));
  DpiChanged();
  Rebuild();
}

void TreeViewPeer::DpiChanged() {
  ControlPeer::DpiChanged();
  if (tree_.TickStateImages()) {
    stateImages_ = CreateTickImages(form_.Scale().dpi, TickImagesFor::TreeView);
    TreeView_SetImageList(window_, stateImages_.get(), TVSIL_STATE);
  }
  TreeView_SetIndent(window_, form_.Scale()(19));
}

void TreeViewPeer::Rebuild() {
  TreeView_DeleteAllItems(window_);
  nodes_ = tree_.Nodes();
  items_.assign(nodes_.size(), nullptr);
  for (size_t i = 0; i < nodes_.size(); ++i) {
    TTreeNode& node = *nodes_[i];
    size_t parentIndex = 0;
    HTREEITEM parent = TVI_ROOT;
    if (node.Parent()) {
      parentIndex = static_cast<size_t>(std::find(nodes_.begin(), nodes_.end(), node.Parent()) - nodes_.begin());
      parent = items_[parentIndex];
    }
    std::wstring text = ToWide(node.Text());
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(i);
    items_[i] = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(window_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  UpdateStates();
}

void TreeViewPeer::UpdateStates() {
  for (size_t i = 0; i < nodes_.size(); ++i) {
    TTreeNode& node = *nodes_[i];
    TVITEMW item{};
    item.mask = TVIF_STATE;
    item.hItem = items_[i];
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(std::max(0, node.StateIndex()));
    ::SendMessageW(window_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (node.HasChildren()) TreeView_Expand(window_, items_[i], node.Expanded() ? TVE_EXPAND : TVE_COLLAPSE);
  }
}

void TreeViewPeer::Changed(TComponent& component, Change change) {
  if (change == Change::Items) {
    Rebuild();
  } else if (change == Change::ItemState) {
    UpdateStates();
  } else {
    ControlPeer::Changed(component, change);
  }
}

TreeHit TreeViewPeer::HitTest(TTreeView&, int x, int y) {
  TVHITTESTINFO info{};
  info.pt = {form_.Scale()(x), form_.Scale()(y)};
  HTREEITEM item = TreeView_HitTest(window_, &info);
  TreeHit hit;
  if (!item) return hit;
  hit.onItem = (info.flags & TVHT_ONITEM) != 0;
  hit.onStateIcon = (info.flags & TVHT_ONITEMSTATEICON) != 0;
  hit.onLabel = (info.flags & TVHT_ONITEMLABEL) != 0;
  auto found = std::find(items_.begin(), items_.end(), item);
  hit.nodeIndex = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
  if (hit.nodeIndex < 0) hit.onItem = false;
  return hit;
}

void TreeViewPeer::MouseDown(MouseButton button, WPARAM keys, int x, int y) {
  if (!tree_.OnMouseDown) return;
  ShiftState shift{(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, ::GetKeyState(VK_MENU) < 0};
  tree_.OnMouseDown(button, shift, form_.Scale().Unscale(x), form_.Scale().Unscale(y));
}

bool TreeViewPeer::TickKey(bool flip) {
  if (!tree_.OnTickKey || !tree_.Selected()) return false;
  if (flip) form_.RunGuarded([&] { tree_.OnTickKey(*tree_.Selected()); });
  return true;
}

LRESULT TreeViewPeer::Notify(NMHDR& header, bool& handled) {
  handled = true;
  switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
      auto& info = reinterpret_cast<NMTREEVIEWW&>(header);
      const size_t index = static_cast<size_t>(info.itemNew.lParam);
      if ((info.action & TVE_COLLAPSE) && index < nodes_.size()) return tree_.AllowCollapse(*nodes_[index]) ? FALSE : TRUE;
      return FALSE;
    }
    case TVN_SELCHANGEDW: {
      auto& info = reinterpret_cast<NMTREEVIEWW&>(header);
      const size_t index = static_cast<size_t>(info.itemNew.lParam);
      tree_.SetSelectedFromUser(index < nodes_.size() ? nodes_[index] : nullptr);
      return 0;
    }
    default: handled = false; return 0;
  }
}

// The info tip: a tooltip over the whole list that asks the model for the row under the pointer.
LRESULT CALLBACK ListViewTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<ListViewPeer*>(data);
  if (message == WM_MOUSEMOVE) {
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int row = ListView_SubItemHitTest(window, &hit);
    // Another row: the shown tip goes, and the next one asks for that row's text.
    if (row != peer->tipRow_) {
      peer->tipRow_ = row;
      ::SendMessageW(peer->tip_, TTM_POP, 0, 0);
    }
  } else if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == peer->tip_ &&
             reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
    peer->tipText_.clear();
    const int row = peer->tipRow_;
    if (row >= 0 && static_cast<size_t>(row) < peer->list_.Count()) {
      peer->Form().RunGuarded([&] { peer->tipText_ = ToWide(peer->list_.OnInfoTip(static_cast<size_t>(row))); });
    }
    info.lpszText = peer->tipText_.data();
    return 0;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

void ListViewPeer::CreateInfoTip() {
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
  if (!tip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = 1;
  // Larger than any list can grow, so a resize needs no new tool rectangle.
  tool.rect = {0, 0, 0x7FFF, 0x7FFF};
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, form_.Scale()(500));
  ::SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  ::SetWindowSubclass(window_, ListViewTipProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void ListViewPeer::Create() {
  DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
  if (!list_.MultiSelect()) style |= LVS_SINGLESEL;
  if (!list_.ShowColumnHeaders()) style |= LVS_NOCOLUMNHEADER;
  if (!list_.ColumnClick()) style |= LVS_NOSORTHEADER;
  MakeWindow(WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, true);
  DWORD exStyle = LVS_EX_DOUBLEBUFFER;
  if (!list_.OnInfoTip) exStyle |= LVS_EX_LABELTIP;
  if (list_.RowSelect()) exStyle |= LVS_EX_FULLROWSELECT;
  ListView_SetExtendedListViewStyle(window_, exStyle);
  if (list_.OnInfoTip) CreateInfoTip();
  // The ticks are state images the model answers for; the control never toggles them itself.
  if (list_.Checkboxes()) ListView_SetCallbackMask(window_, LVIS_STATEIMAGEMASK);
  DpiChanged();
  SyncColumns();
  SyncCount();
}

void ListViewPeer::DpiChanged() {
  ControlPeer::DpiChanged();
  if (list_.Checkboxes()) {
    stateImages_ = CreateTickImages(form_.Scale().dpi, TickImagesFor::ListView);
    ListView_SetImageList(window_, stateImages_.get(), LVSIL_STATE);
  }
  if (window_) SyncColumns();
}

void ListViewPeer::SyncColumns() {
  const auto& columns = list_.Columns();
  const int shown = Header_GetItemCount(Header());
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    std::wstring caption = ToWide(columns[static_cast<size_t>(i)].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = form_.Scale()(columns[static_cast<size_t>(i)].width);
    column.iSubItem = i;
    ::SendMessageW(window_, i < shown ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(&column));
  }
}

int ListViewPeer::AutoColumnWidth(TCustomListView& list, size_t column) {
  if (!window_) return -1;
  // Measured here rather than by the control: a virtual list's own auto-size looks at the rows
  // on screen only on some systems.
  ScreenDc screen;
  SelectObjectScope selection(screen.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(window_, WM_GETFONT, 0, 0)));
  // Texts of Latin letters are summed from the font's advances; the widest of them is then
  // measured by the system as well, and should the two ever differ, every row is measured.
  const TextExtentSum sums(screen.get());
  int widest = 0;
  int widestSum = -1;
  size_t widestSumRow = 0;
  for (size_t i = 0; i < list.Count(); ++i) {
    const std::string& text = list.Text(i, column);
    if (const std::optional<int> sum = sums.Width(text)) {
      if (*sum > widestSum) {
        widestSum = *sum;
        widestSumRow = i;
      }
    } else {
      widest = std::max(widest, MeasureTextExtent(screen.get(), text));
    }
  }
  if (widestSum >= 0) {
    const int measured = MeasureTextExtent(screen.get(), list.Text(widestSumRow, column));
    if (measured != widestSum) {
      for (size_t i = 0; i < list.Count(); ++i) {
        widest = std::max(widest, MeasureTextExtent(screen.get(), list.Text(i, column)));
      }
    }
    widest = std::max(widest, measured);
  }
  const Scaler& scale = form_.Scale();
  int width = scale.Unscale(widest) + 12;
  if (column == 0 && list.Checkboxes()) width += 16;
  return width;
}

void ListViewPeer::SyncCount() {
  const size_t count = list_.Count();
  // Rows are only ever appended at the end, or removed; an append needs no repaint of the rows
  // already on screen.
  const bool appended = count > shownCount_;
  ListView_SetItemCountEx(window_, static_cast<int>(count), appended ? (LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL) : 0);
  if (!appended) PushSelection();
  shownCount_ = count;
}

void ListViewPeer::PushSelection() {
  pushing_ = true;
  ListView_SetItemState(window_, -1, 0, LVIS_SELECTED);
  if (list_.SelectedCount() > 0) {
    for (size_t i = 0; i < list_.Count(); ++i) {
      if (list_.Selected(i)) ListView_SetItemState(window_, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  pushing_ = false;
}

void ListViewPeer::Changed(TComponent& component, Change change) {
  switch (change) {
    case Change::Items: SyncCount(); break;
    case Change::ItemState: ::InvalidateRect(window_, nullptr, FALSE); break;
    case Change::Selection: PushSelection(); break;
    case Change::Columns: SyncColumns(); break;
    default: ControlPeer::Changed(component, change);
  }
}

void ListViewPeer::HeaderChanged() {
  for (size_t i = 0; i < list_.Columns().size(); ++i) {
    list_.SetColumnWidthFromUser(i, form_.Scale().Unscale(ListView_GetColumnWidth(window_, static_cast<int>(i))));
  }
}

void ListViewPeer::ToggleChecks(int item) {
  if (item < 0 || static_cast<size_t>(item) >= list_.Count()) return;
  list_.SetCheckedFromUser(static_cast<size_t>(item), !list_.Checked(static_cast<size_t>(item)));
  ListView_RedrawItems(window_, item, item);
}

LRESULT ListViewPeer::Notify(NMHDR& header, bool& handled) {
  handled = true;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
      if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= list_.Count()) return 0;
      const size_t row = static_cast<size_t>(item.iItem);
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::string& text = list_.Text(row, static_cast<size_t>(item.iSubItem));
        const int written = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), item.pszText,
                                                  item.cchTextMax - 1);
        item.pszText[std::max(0, written)] = L'\0';
      }
      if ((item.mask & LVIF_STATE) && list_.Checkboxes()) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(list_.Checked(row) ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      return 0;
    }
    case NM_CLICK: {
      auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
      LVHITTESTINFO hit{};
      hit.pt = activate.ptAction;
      const int item = ListView_SubItemHitTest(window_, &hit);
      if (list_.Checkboxes() && item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) ToggleChecks(item);
      if (control_.OnClick) control_.OnClick();
      return 0;
    }
    case NM_DBLCLK:
      if (control_.OnDblClick) control_.OnDblClick();
      return 0;
    case LVN_KEYDOWN: {
      auto& key = reinterpret_cast<NMLVKEYDOWN&>(header);
      if (key.wVKey == VK_SPACE && list_.Checkboxes()) {
        // The space bar flips the focused row and gives every selected row the same tick.
        const int focused = ListView_GetNextItem(window_, -1, LVNI_FOCUSED);
        if (focused >= 0 && static_cast<size_t>(focused) < list_.Count()) {
          list_.TickFromKeyboard(static_cast<size_t>(focused));
          ::InvalidateRect(window_, nullptr, FALSE);
        }
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (pushing_ || !(change.uChanged & LVIF_STATE)) return 0;
      if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) return 0;
      const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
      if (change.iItem < 0) {
        list_.SetAllSelectedFromUser(selected);
      } else if (static_cast<size_t>(change.iItem) < list_.Count()) {
        list_.SetSelectedFromUser(static_cast<size_t>(change.iItem), selected);
      }
      list_.SelectionChangedByUser();
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      auto& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
      if (pushing_ || ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) return 0;
      const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
      for (int i = std::max(0, change.iFrom); i <= change.iTo && static_cast<size_t>(i) < list_.Count(); ++i) {
        list_.SetSelectedFromUser(static_cast<size_t>(i), selected);
      }
      list_.SelectionChangedByUser();
      return 0;
    }
    default: handled = false; return 0;
  }
}

std::unique_ptr<ControlPeer> MakeControlPeer(FormWindow& form, TControl& control) {
  switch (control.Kind()) {
    case ComponentKind::Label: return std::make_unique<LabelPeer>(form, control);
    case ComponentKind::Button: return std::make_unique<ButtonPeer>(form, control);
    case ComponentKind::SpeedButton: return std::make_unique<SpeedButtonPeer>(form, control);
    case ComponentKind::CheckBox: return std::make_unique<CheckBoxPeer>(form, control);
    case ComponentKind::GroupBox: return std::make_unique<GroupBoxPeer>(form, control);
    case ComponentKind::Edit:
    case ComponentKind::Memo: return std::make_unique<EditPeer>(form, control);
    case ComponentKind::ListBox: return std::make_unique<ListBoxPeer>(form, control);
    case ComponentKind::ProgressBar: return std::make_unique<ProgressBarPeer>(form, control);
    case ComponentKind::Image: return std::make_unique<ImagePeer>(form, control);
    case ComponentKind::StatusBar: return std::make_unique<StatusBarPeer>(form, control);
    case ComponentKind::PageControl: return std::make_unique<PageControlPeer>(form, control);
    case ComponentKind::TabSheet: return std::make_unique<TabSheetPeer>(form, control);
    case ComponentKind::TreeView: return std::make_unique<TreeViewPeer>(form, static_cast<TTreeView&>(control));
    case ComponentKind::ListView: return std::make_unique<ListViewPeer>(form, static_cast<TCustomListView&>(control));
    default: return nullptr;
  }
}

}  // namespace quillet::ui::win32
