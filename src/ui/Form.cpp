#include "ui/Form.h"

namespace quillet::ui {

TForm::TForm(UiHost& host, std::string name) : host_(host), name_(std::move(name)) {}

TForm::~TForm() { host_.FormDestroyed(*this); }

void TForm::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Change::Caption);
}

void TForm::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (width != width_ || height != height_) byClientSize_ = false;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Notify(Change::Bounds);
}

void TForm::SetDesignClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  byClientSize_ = true;
  Notify(Change::Bounds);
}

void TForm::SetActiveControl(TControl* control) {
  activeControl_ = control;
  Notify(Change::Focus);
}

void TForm::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Change::Visible);
}

void TForm::SetWindowState(WindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  Notify(Change::WindowState);
}

TComponent* TForm::FindComponent(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) return component.get();
  }
  return nullptr;
}

void TForm::OnMessage(unsigned message, std::function<void(uintptr_t, intptr_t)> handler) {
  handlers_[message] = std::move(handler);
}

bool TForm::Dispatch(unsigned message, uintptr_t wParam, intptr_t lParam) {
  auto found = handlers_.find(message);
  if (found != handlers_.end()) {
    found->second(wParam, lParam);
    return true;
  }
  if (message == msg::kClose) {
    Close();
    return true;
  }
  return false;
}

ModalResult TForm::ShowModal() { return host_.ShowModal(*this); }

void TForm::Close() {
  if (closed_) return;
  if (modal_) {
    modalResult_ = ModalResult::Cancel;
    return;
  }
  CloseAction action = CloseAction::Free;
  if (OnClose) OnClose(action);
  if (action == CloseAction::None) return;
  closed_ = true;
  visible_ = false;
  host_.FormClosed(*this);
}

void TForm::BeginModal() {
  modal_ = true;
  closed_ = false;
  modalResult_ = ModalResult::None;
}

bool TForm::EndModal() {
  CloseAction action = CloseAction::Hide;
  if (OnClose) OnClose(action);
  if (action == CloseAction::None) {
    modalResult_ = ModalResult::None;
    return false;
  }
  modal_ = false;
  closed_ = true;
  visible_ = false;
  return true;
}

void TForm::SetClientSizeFromUser(int width, int height) {
  if (width == clientWidth_ && height == clientHeight_) return;
  clientWidth_ = width;
  clientHeight_ = height;
  if (OnResize) OnResize();
}

void TForm::SetBoundsFromUser(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

}  // namespace quillet::ui
