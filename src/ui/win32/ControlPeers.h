#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"
#include "ui/Component.h"
#include "ui/ListView.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"
#include "ui/win32/Gdi.h"

#include <commctrl.h>

namespace quillet::ui::win32 {

class FormWindow;

// One control of a form on screen. Most are child windows of the form; pictures and labels on
// the banner are drawn by the form itself ("windowless").
class ControlPeer : public ComponentPeer {
 public:
  ControlPeer(FormWindow& form, TControl& control) : form_(form), control_(control) {}

  // Makes the window (or nothing, for windowless controls) from the model's state.
  virtual void Create() = 0;
  HWND Window() const { return window_; }
  TControl& Control() const { return control_; }
  FormWindow& Form() const { return form_; }
  int Id() const { return id_; }
  virtual bool Windowless() const { return false; }
  virtual bool IsContainer() const { return false; }

  // Moves the window to the model's bounds (scaled, relative to the form's client area).
  virtual void Layout();
  void UpdateVisibility();
  virtual void UpdateFont();

  void Changed(TComponent& component, Change change) override;

  // Routing from the form's window procedure.
  virtual void Command(int notifyCode) {}
  virtual LRESULT Notify(NMHDR& header, bool& handled) {
    handled = false;
    return 0;
  }
  // WM_CTLCOLOR*: the background brush, or nullptr for the default.
  virtual HBRUSH Colors(HDC dc);
  virtual void DrawItem(const DRAWITEMSTRUCT& item) {}
  // Windowless controls paint on the form and take clicks there.
  virtual void Paint(HDC dc) {}
  virtual bool WantsHandCursor() const { return false; }
  virtual void Click() {}
  // The form's DPI changed.
  virtual void DpiChanged() { UpdateFont(); }

 protected:
  // Creates the child window; the caption comes from the model.
  HWND MakeWindow(const wchar_t* className, DWORD style, DWORD exStyle = 0, bool tabStop = false);
  RECT DeviceRect() const;  // the model's bounds in device pixels on the form's client area
  void SetWindowText(const std::string& text);

  FormWindow& form_;
  TControl& control_;
  HWND window_ = nullptr;
  int id_ = 0;
  UniqueGdiObject font_;
};

// Makes the peer for a control kind; nullptr for components without a peer of this kind.
std::unique_ptr<ControlPeer> MakeControlPeer(FormWindow& form, TControl& control);

// The tree view: the model's nodes as tree items with the tick state images.
class TreeViewPeer final : public ControlPeer {
 public:
  TreeViewPeer(FormWindow& form, TTreeView& tree) : ControlPeer(form, tree), tree_(tree) {}
  void Create() override;
  void Changed(TComponent& component, Change change) override;
  TreeHit HitTest(TTreeView& tree, int x, int y) override;
  LRESULT Notify(NMHDR& header, bool& handled) override;
  void DpiChanged() override;
  // From the window's subclass: a mouse press reaches the model first.
  void MouseDown(MouseButton button, WPARAM keys, int x, int y);
  // From the window's subclass: true when the model took the space bar.
  bool TickKey(bool flip = true);

 private:
  void Rebuild();
  void UpdateStates();
  TTreeView& tree_;
  std::vector<HTREEITEM> items_;  // by depth-first node number
  std::vector<TTreeNode*> nodes_;
  UniqueImageList stateImages_;
};

// The list view: a virtual list whose rows the model holds.
class ListViewPeer final : public ControlPeer {
 public:
  ListViewPeer(FormWindow& form, TCustomListView& list) : ControlPeer(form, list), list_(list) {}
  void Create() override;
  void Changed(TComponent& component, Change change) override;
  LRESULT Notify(NMHDR& header, bool& handled) override;
  void DpiChanged() override;
  int AutoColumnWidth(TCustomListView& list, size_t column) override;
  HWND Header() const { return ListView_GetHeader(window_); }
  // Header notifications the list view passes on.
  void HeaderChanged();

 private:
  void SyncColumns();
  void SyncCount();
  void PushSelection();
  void ToggleChecks(int item);
  void CreateInfoTip();
  friend LRESULT CALLBACK ListViewTipProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  TCustomListView& list_;
  HWND tip_ = nullptr;      // the info tip window, when the model answers for tips
  int tipRow_ = -1;         // the row the pointer rested on when the tip last asked
  std::wstring tipText_;    // what the tip shows, alive while it shows it
  size_t shownCount_ = 0;
  bool pushing_ = false;
  UniqueImageList stateImages_;
};

}  // namespace quillet::ui::win32
