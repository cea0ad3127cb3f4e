#pragma once

#include <map>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"
#include "ui/win32/UiHandles.h"

namespace quillet::ui::win32 {

class FormWindow;

// Posted to the form so that a burst of menu changes rebuilds the bar once.
inline constexpr UINT kRebuildMenuBar = WM_APP + 1;

// The menus of one form: its menu bar, its pop-up menus and the keyboard shortcuts of both.
// Submenus are filled again each time they open, after their actions' update handlers ran.
class MenuPeer final : public ComponentPeer {
 public:
  explicit MenuPeer(FormWindow& form) : form_(form) {}
  // Lets go of the menus (they stay, the window goes).
  void Detach();

  void Attach(TMenu& menu);
  void Changed(TComponent& component, Change change) override;

  void BuildMenuBar();
  void RebuildIfChanged();
  void PrepareSubmenu(HMENU submenu);
  // A menu or shortcut command; true when the id was one of ours.
  bool Command(int id);
  void TrackPopup(TPopupMenu& menu, POINT screen);
  HACCEL Accelerators();
  void SetInMenuLoop(bool inLoop);

 private:
  int IdOf(TMenuItem& item);
  void Fill(HMENU menu, const std::vector<TMenuItem*>& items);

  FormWindow& form_;
  std::vector<TMenu*> menus_;
  std::map<int, TMenuItem*> byId_;
  std::map<TMenuItem*, int> ids_;
  std::map<HMENU, TMenuItem*> submenus_;
  HMENU bar_ = nullptr;
  quillet::win32::UniqueAccelerators accelerators_;
  bool barChanged_ = false;
  bool acceleratorsChanged_ = true;
  bool inMenuLoop_ = false;
};

class TimerPeer final : public ComponentPeer {
 public:
  TimerPeer(FormWindow& form, TTimer& timer, UINT_PTR id);
  ~TimerPeer() override;
  void Detach();
  void Changed(TComponent&, Change) override { Apply(); }
  void Apply();
  UINT_PTR Id() const { return id_; }
  void Fire();

 private:
  FormWindow& form_;
  TTimer& timer_;
  UINT_PTR id_;
};

}  // namespace quillet::ui::win32
