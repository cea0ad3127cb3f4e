#include "ui/win32/MenuPeer.h"

#include <utility>

#include "platform/win32/WideString.h"
#include "ui/Form.h"
#include "ui/win32/FormWindow.h"

namespace quillet::ui::win32 {
namespace {
constexpr int kFirstMenuId = 20000;
}  // namespace

void MenuPeer::Detach() {
  for (TMenu* menu : menus_) menu->AttachPeer(nullptr);
  menus_.clear();
}

void MenuPeer::Attach(TMenu& menu) {
  menus_.push_back(&menu);
  menu.AttachPeer(this);
}

void MenuPeer::Changed(TComponent&, Change) {
  acceleratorsChanged_ = true;
  if (!barChanged_) {
    barChanged_ = true;
    ::PostMessageW(form_.Handle(), kRebuildMenuBar, 0, 0);
  }
}

int MenuPeer::IdOf(TMenuItem& item) {
  auto found = ids_.find(&item);
  if (found != ids_.end()) return found->second;
  const int id = kFirstMenuId + static_cast<int>(ids_.size());
  ids_[&item] = id;
  byId_[id] = &item;
  return id;
}

void MenuPeer::Fill(HMENU menu, const std::vector<TMenuItem*>& items) {
  while (::GetMenuItemCount(menu) > 0) ::DeleteMenu(menu, 0, MF_BYPOSITION);
  for (TMenuItem* item : items) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = quillet::win32::ToWide(item->Caption());
    if (!item->ShortCut().Empty()) text += L"\t" + quillet::win32::ToWide(item->ShortCut().Text());
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.fType = item->RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
    info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_GRAYED);
    info.wID = static_cast<UINT>(IdOf(*item));
    info.dwTypeData = text.data();
    if (!item->Items().empty()) {
      HMENU submenu = ::CreatePopupMenu();
      Fill(submenu, item->Items());
      submenus_[submenu] = item;
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
    }
    ::InsertMenuItemW(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info);
  }
}

void MenuPeer::BuildMenuBar() {
  barChanged_ = false;
  TMainMenu* mainMenu = form_.Form().Menu();
  if (!mainMenu) return;
  submenus_.clear();
  quillet::win32::UniqueMenu bar(::CreateMenu());
  Fill(bar.get(), mainMenu->Items());
  ::SetMenu(form_.Handle(), bar.get());
  // The window owns the bar it shows and destroys it with itself; the bar it showed before is ours.
  quillet::win32::UniqueMenu old(std::exchange(bar_, bar.release()));
  ::DrawMenuBar(form_.Handle());
}

void MenuPeer::RebuildIfChanged() {
  // An open menu keeps its handles; the bar is rebuilt once it closes.
  if (barChanged_ && !inMenuLoop_) BuildMenuBar();
}

void MenuPeer::SetInMenuLoop(bool inLoop) {
  inMenuLoop_ = inLoop;
  if (!inLoop) RebuildIfChanged();
}

void MenuPeer::PrepareSubmenu(HMENU submenu) {
  auto found = submenus_.find(submenu);
  if (found == submenus_.end()) return;
  TMenuItem& item = *found->second;
  item.PrepareToOpen();
  // Submenus below this one are made anew by the fill; forget their old handles.
  for (auto it = submenus_.begin(); it != submenus_.end();) {
    TMenuItem* parent = it->second->Parent();
    it = (parent == &item) ? submenus_.erase(it) : std::next(it);
  }
  Fill(submenu, item.Items());
}

bool MenuPeer::Command(int id) {
  auto found = byId_.find(id);
  if (found == byId_.end()) return false;
  TMenuItem& item = *found->second;
  // A shortcut may name an entry whose menu was never opened: bring its state up to date first.
  if (TMenuItem* parent = item.Parent()) parent->PrepareToOpen();
  if (item.Visible() && item.Enabled()) item.Click();
  return true;
}

void MenuPeer::TrackPopup(TPopupMenu& menu, POINT screen) {
  menu.PrepareToOpen();
  int id = 0;
  {
    quillet::win32::UniqueMenu popup(::CreatePopupMenu());
    Fill(popup.get(), menu.Items());
    id = static_cast<int>(::TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                                           form_.Handle(), nullptr));
  }
  if (id) Command(id);
}

HACCEL MenuPeer::Accelerators() {
  if (!acceleratorsChanged_) return accelerators_.get();
  acceleratorsChanged_ = false;
  std::vector<ACCEL> table;
  for (TMenu* menu : menus_) {
    for (TMenuItem* item : menu->AllItems()) {
      const TShortCut shortCut = item->ShortCut();
      if (shortCut.Empty()) continue;
      ACCEL accel{};
      accel.fVirt = static_cast<BYTE>(FVIRTKEY | (shortCut.ctrl ? FCONTROL : 0) | (shortCut.alt ? FALT : 0) |
                                      (shortCut.shift ? FSHIFT : 0));
      accel.key = static_cast<WORD>(shortCut.key);
      accel.cmd = static_cast<WORD>(IdOf(*item));
      table.push_back(accel);
    }
  }
  accelerators_.reset(table.empty() ? nullptr
                                    : ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  return accelerators_.get();
}

TimerPeer::TimerPeer(FormWindow& form, TTimer& timer, UINT_PTR id) : form_(form), timer_(timer), id_(id) {
  timer_.AttachPeer(this);
  Apply();
}

TimerPeer::~TimerPeer() { ::KillTimer(form_.Handle(), id_); }

void TimerPeer::Detach() { timer_.AttachPeer(nullptr); }

void TimerPeer::Apply() {
  if (timer_.Enabled() && timer_.Interval() > 0) {
    ::SetTimer(form_.Handle(), id_, timer_.Interval(), nullptr);
  } else {
    ::KillTimer(form_.Handle(), id_);
  }
}

void TimerPeer::Fire() {
  if (timer_.Enabled() && timer_.OnTimer) timer_.OnTimer();
}

}  // namespace quillet::ui::win32
