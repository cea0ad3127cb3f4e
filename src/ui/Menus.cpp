#include "ui/Menus.h"

namespace quillet::ui {

std::string TShortCut::Text() const {
  if (Empty()) return {};
  std::string text;
  if (ctrl) text += "Ctrl+";
  if (shift) text += "Shift+";
  if (alt) text += "Alt+";
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    text += static_cast<char>(key);
  } else if (key >= 0x70 && key <= 0x7B) {
    text += 'F';
    text += std::to_string(key - 0x70 + 1);
  } else {
    text += '#';
    text += std::to_string(key);
  }
  return text;
}

TAction::TAction(TForm& owner, std::string name, TActionList& list)
    : TComponent(owner, std::move(name), ComponentKind::Action) {
  list.actions_.push_back(this);
}

void TAction::Update() {
  if (OnUpdate) OnUpdate();
}

bool TAction::Execute() {
  Update();
  if (!Enabled) return false;
  if (OnExecute) OnExecute();
  return true;
}

TActionList::TActionList(TForm& owner, std::string name)
    : TComponent(owner, std::move(name), ComponentKind::ActionList) {}

TMenuItem::TMenuItem(TForm& owner, std::string name, TMenu& menu, TMenuItem* parent)
    : TComponent(owner, std::move(name), ComponentKind::MenuItem), menu_(menu), parent_(parent) {
  (parent ? parent->items_ : menu.items_).push_back(this);
}

const std::string& TMenuItem::Caption() const { return action_ ? action_->Caption : caption_; }

void TMenuItem::SetCaption(std::string caption) {
  (action_ ? action_->Caption : caption_) = std::move(caption);
  Changed();
}

TShortCut TMenuItem::ShortCut() const { return action_ ? action_->ShortCut : shortCut_; }

void TMenuItem::SetShortCut(TShortCut shortCut) {
  (action_ ? action_->ShortCut : shortCut_) = shortCut;
  Changed();
}

bool TMenuItem::Checked() const { return action_ ? action_->Checked : checked_; }

void TMenuItem::SetChecked(bool checked) {
  if (Checked() == checked) return;
  (action_ ? action_->Checked : checked_) = checked;
  Changed();
}

bool TMenuItem::Visible() const { return action_ ? action_->Visible : visible_; }

void TMenuItem::SetVisible(bool visible) {
  if (Visible() == visible) return;
  (action_ ? action_->Visible : visible_) = visible;
  Changed();
}

bool TMenuItem::Enabled() const { return action_ ? action_->Enabled : enabled_; }

void TMenuItem::SetEnabled(bool enabled) {
  if (Enabled() == enabled) return;
  (action_ ? action_->Enabled : enabled_) = enabled;
  Changed();
}

void TMenuItem::Changed() { menu_.ItemChanged(); }

void TMenuItem::Click() {
  if (action_) {
    action_->Execute();
  } else if (enabled_ && OnClick) {
    OnClick();
  }
}

void TMenuItem::PrepareToOpen() {
  for (TMenuItem* item : items_) {
    if (item->action_) item->action_->Update();
  }
  if (OnPopup) OnPopup();
}

TMenu::TMenu(TForm& owner, std::string name, ComponentKind kind) : TComponent(owner, std::move(name), kind) {}

std::vector<TMenuItem*> TMenu::AllItems() const {
  std::vector<TMenuItem*> out;
  std::vector<TMenuItem*> stack(items_.rbegin(), items_.rend());
  while (!stack.empty()) {
    TMenuItem* item = stack.back();
    stack.pop_back();
    out.push_back(item);
    stack.insert(stack.end(), item->items_.rbegin(), item->items_.rend());
  }
  return out;
}

TMenuItem* TMenu::FindShortCut(const TShortCut& shortCut) const {
  if (shortCut.Empty()) return nullptr;
  for (TMenuItem* item : AllItems()) {
    if (item->ShortCut() == shortCut) return item;
  }
  return nullptr;
}

void TMenu::PrepareToOpen() {
  for (TMenuItem* item : items_) {
    if (item->action_) item->action_->Update();
  }
}

}  // namespace quillet::ui
