#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace quillet::ui {

// A keyboard shortcut: a key ('A' to 'Z', '0' to '9', or a virtual-key code) with modifiers.
struct TShortCut {
  unsigned key = 0;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;

  bool Empty() const { return key == 0; }
  // "Ctrl+Alt+R", the way menus show it; empty for no shortcut.
  std::string Text() const;
  bool operator==(const TShortCut&) const = default;

  static constexpr TShortCut Ctrl(char key) { return {static_cast<unsigned>(key), true, false, false}; }
  static constexpr TShortCut CtrlAlt(char key) { return {static_cast<unsigned>(key), true, true, false}; }
};

class TActionList;

// A command shared by menu items and buttons: its caption, shortcut and enabled state are
// theirs; its update handler runs before a menu showing it opens.
class TAction : public TComponent {
 public:
  TAction(TForm& owner, std::string name, TActionList& list);
  std::string Caption;
  TShortCut ShortCut;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  std::function<void()> OnExecute;
  std::function<void()> OnUpdate;

  void Update();
  // Runs the update handler, then the command when enabled; true when it ran.
  bool Execute();
};

class TActionList : public TComponent {
 public:
  TActionList(TForm& owner, std::string name);
  const std::vector<TAction*>& Actions() const { return actions_; }

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
};

class TMenu;

// One menu entry; a caption of "-" makes it a separator. Entries with children open submenus.
class TMenuItem : public TComponent {
 public:
  TMenuItem(TForm& owner, std::string name, TMenu& menu, TMenuItem* parent);

  TMenu& Menu() const { return menu_; }
  TMenuItem* Parent() const { return parent_; }
  const std::vector<TMenuItem*>& Items() const { return items_; }
  bool IsSeparator() const { return Caption() == "-"; }

  // Linked to an action, an item shows the action's caption, shortcut, state and command.
  TAction* Action() const { return action_; }
  void SetAction(TAction* action) { action_ = action; }

  const std::string& Caption() const;
  void SetCaption(std::string caption);
  TShortCut ShortCut() const;
  void SetShortCut(TShortCut shortCut);
  bool Checked() const;
  void SetChecked(bool checked);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool radio) { radioItem_ = radio; }

  std::function<void()> OnClick;
  // Runs before the item's submenu opens.
  std::function<void()> OnPopup;

  // The user chose the item: the action's command, or the item's handler.
  void Click();
  // Before the submenu opens: the update handlers of the actions in it, then OnPopup.
  void PrepareToOpen();

 private:
  friend class TMenu;
  void Changed();
  TMenu& menu_;
  TMenuItem* parent_;
  std::vector<TMenuItem*> items_;
  TAction* action_ = nullptr;
  std::string caption_;
  TShortCut shortCut_;
  bool checked_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool radioItem_ = false;
};

// A main menu bar or a pop-up menu: the entries at its top level, and every entry below them.
class TMenu : public TComponent {
 public:
  TMenu(TForm& owner, std::string name, ComponentKind kind);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  // Every entry, depth-first.
  std::vector<TMenuItem*> AllItems() const;
  // The entry whose shortcut (its own or its action's) this is; nullptr when none.
  TMenuItem* FindShortCut(const TShortCut& shortCut) const;
  // Before the menu (a pop-up) opens: the update handlers of the actions in it.
  void PrepareToOpen();

 private:
  friend class TMenuItem;
  void ItemChanged() { Notify(Change::Items); }
  std::vector<TMenuItem*> items_;
};

class TMainMenu : public TMenu {
 public:
  TMainMenu(TForm& owner, std::string name) : TMenu(owner, std::move(name), ComponentKind::MainMenu) {}
};

class TPopupMenu : public TMenu {
 public:
  TPopupMenu(TForm& owner, std::string name) : TMenu(owner, std::move(name), ComponentKind::PopupMenu) {}
};

}  // namespace quillet::ui
