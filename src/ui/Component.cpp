#include "ui/Component.h"

#include "ui/Form.h"

namespace quillet::ui {

TComponent::TComponent(TForm& owner, std::string name, ComponentKind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {}

TControl::TControl(TForm& owner, std::string name, ComponentKind kind, TControl* parent)
    : TComponent(owner, std::move(name), kind), parent_(parent) {}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect bounds{left, top, width, height};
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Notify(Change::Bounds);
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  CaptionChanged();
  Notify(Change::Caption);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Change::Visible);
}

bool TControl::Showing() const {
  for (const TControl* control = this; control; control = control->Parent()) {
    if (!control->Visible()) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void TControl::SetFont(const TFont& font) {
  if (font == font_) return;
  font_ = font;
  CaptionChanged();
  Notify(Change::Font);
}

}  // namespace quillet::ui
