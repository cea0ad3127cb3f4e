#include "ui/StdControls.h"

#include <algorithm>

#include "ui/Form.h"

namespace quillet::ui {

TLabel::TLabel(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::Label, parent) {}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitCaption();
}

void TLabel::CaptionChanged() { FitCaption(); }

void TLabel::FitCaption() {
  if (!autoSize_) return;
  UiHost& host = Owner().Host();
  SetBounds(Left(), Top(), host.TextWidth(Font(), Caption()), host.TextHeight(Font()));
}

TButton::TButton(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::Button, parent) {}

void TButton::Click() {
  if (OnClick) OnClick();
  if (modalResult_ != ModalResult::None) Owner().SetModalResult(modalResult_);
}

TSpeedButton::TSpeedButton(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::SpeedButton, parent) {}

void TSpeedButton::Click() {
  if (OnClick) OnClick();
}

TCheckBox::TCheckBox(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::CheckBox, parent) {}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Notify(Change::Checked);
}

void TCheckBox::ToggleFromUser() {
  checked_ = !checked_;
  if (OnClick) OnClick();
}

TGroupBox::TGroupBox(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::GroupBox, parent) {}

TEdit::TEdit(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::Edit, parent) {}

void TEdit::SetTextFromUser(std::string text) {
  // The control already shows the text: keep the model in step without telling it again.
  ComponentPeer* peer = Peer();
  AttachPeer(nullptr);
  SetCaption(std::move(text));
  AttachPeer(peer);
  if (OnChange) OnChange();
}

TMemo::TMemo(TForm& owner, std::string name, TControl* parent) : TEdit(owner, std::move(name), parent) {
  SetMultiline(true);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string& text = Caption();
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  SetText(std::move(text));
}

TListBox::TListBox(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::ListBox, parent) {}

void TListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  Notify(Change::Items);
}

void TListBox::SetItem(size_t index, std::string text) {
  items_.at(index) = std::move(text);
  Notify(Change::Items);
}

void TListBox::SetItemIndex(int index) {
  itemIndex_ = index;
  Notify(Change::Selection);
}

TProgressBar::TProgressBar(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::ProgressBar, parent) {}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  position_ = std::clamp(position_, min_, max_);
  Notify(Change::Position);
}

void TProgressBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Notify(Change::Position);
}

TImage::TImage(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::Image, parent) {}

TStatusBar::TStatusBar(TForm& owner, std::string name)
    : TControl(owner, std::move(name), ComponentKind::StatusBar, nullptr) {
  SetBounds(0, 0, 0, 19);
}

void TStatusBar::AddPanel(int width) {
  panels_.push_back({width, {}});
  Notify(Change::Items);
}

void TStatusBar::SetPanelWidth(size_t index, int width) {
  TStatusPanel& panel = panels_.at(index);
  if (panel.width == width) return;
  panel.width = width;
  Notify(Change::Items);
}

void TStatusBar::SetPanelText(size_t index, std::string text) {
  TStatusPanel& panel = panels_.at(index);
  if (panel.text == text) return;
  panel.text = std::move(text);
  Notify(Change::Caption);
}

TTabSheet::TTabSheet(TForm& owner, std::string name, TPageControl& pageControl)
    : TControl(owner, std::move(name), ComponentKind::TabSheet, &pageControl), pageControl_(pageControl) {
  pageControl.AddPage(this);
}

int TTabSheet::PageIndex() const {
  const auto& pages = pageControl_.Pages();
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

TPageControl::TPageControl(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::PageControl, parent) {}

void TPageControl::AddPage(TTabSheet* page) {
  pages_.push_back(page);
  if (activePage_ < 0) activePage_ = 0;
  page->SetVisible(static_cast<int>(pages_.size()) - 1 == activePage_);
  Notify(Change::Items);
}

void TPageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return;
  activePage_ = index;
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetVisible(static_cast<int>(i) == index);
  Notify(Change::ActivePage);
}

void TPageControl::SelectPageFromUser(int index) {
  SetActivePageIndex(index);
  if (OnChange) OnChange();
}

TTimer::TTimer(TForm& owner, std::string name) : TComponent(owner, std::move(name), ComponentKind::Timer) {}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Notify(Change::Interval);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

TSaveDialog::TSaveDialog(TForm& owner, std::string name)
    : TComponent(owner, std::move(name), ComponentKind::SaveDialog) {}

bool TSaveDialog::Execute() { return Owner().Host().ExecuteSaveDialog(&Owner(), *this); }

}  // namespace quillet::ui
