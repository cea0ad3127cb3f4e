#include "ui/ListView.h"

#include <algorithm>

#include "ui/Form.h"

namespace quillet::ui {
namespace {
const std::string kNoText;
}

TListView::TListView(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::ListView, parent) {}

void TListView::AddColumn(std::string caption, int width) {
  columns_.push_back({std::move(caption), width});
  Notify(Change::Columns);
}

void TListView::SetColumnWidth(size_t index, int width) {
  TListColumn& column = columns_.at(index);
  if (column.width == width) return;
  column.width = width;
  Notify(Change::Columns);
}

void TListView::SetColumnCaption(size_t index, std::string caption) {
  columns_.at(index).caption = std::move(caption);
  Notify(Change::Columns);
}

const std::string& TListView::Text(size_t index, size_t column) const {
  const TListItem& item = items_.at(index);
  if (column == 0) return item.caption;
  return column - 1 < item.subItems.size() ? item.subItems[column - 1] : kNoText;
}

void TListView::AddItem(TListItem item) {
  checkedCount_ += item.checked;
  selectedCount_ += item.selected;
  items_.push_back(std::move(item));
  Notify(Change::Items);
}

void TListView::AddItems(std::vector<TListItem>&& items) {
  if (items.empty()) return;
  items_.reserve(items_.size() + items.size());
  for (TListItem& item : items) {
    checkedCount_ += item.checked;
    selectedCount_ += item.selected;
    items_.push_back(std::move(item));
  }
  Notify(Change::Items);
}

void TListView::SetItem(size_t index, TListItem item) {
  TListItem& old = items_.at(index);
  checkedCount_ += static_cast<size_t>(item.checked) - static_cast<size_t>(old.checked);
  selectedCount_ += static_cast<size_t>(item.selected) - static_cast<size_t>(old.selected);
  old = std::move(item);
  Notify(Change::ItemState);
}

void TListView::Delete(size_t index) {
  const TListItem& item = items_.at(index);
  checkedCount_ -= item.checked;
  selectedCount_ -= item.selected;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  Notify(Change::Items);
}

size_t TListView::RemoveIf(const std::function<bool(size_t, const TListItem&)>& remove) {
  size_t kept = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    TListItem& item = items_[i];
    if (remove(i, item)) {
      checkedCount_ -= item.checked;
      selectedCount_ -= item.selected;
      continue;
    }
    if (kept != i) items_[kept] = std::move(item);
    ++kept;
  }
  const size_t removed = items_.size() - kept;
  items_.resize(kept);
  if (removed > 0) Notify(Change::Items);
  return removed;
}

void TListView::AutoSizeColumn(size_t index) {
  columns_.at(index);
  int width = Peer() ? Peer()->AutoColumnWidth(*this, index) : -1;
  if (width < 0) {
    // The cell padding of the system's list view: 6 pixels each side of the text, and the tick
    // box in front of the first column's text.
    constexpr int kPadding = 12;
    constexpr int kTickBoxWidth = 16;
    width = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      width = std::max(width, Owner().Host().TextWidth(Font(), Text(i, index)));
    }
    width += kPadding + (index == 0 && checkboxes_ ? kTickBoxWidth : 0);
  }
  SetColumnWidth(index, width);
}

void TListView::Clear() {
  if (items_.empty()) return;
  items_.clear();
  checkedCount_ = 0;
  selectedCount_ = 0;
  Notify(Change::Items);
}

void TListView::ApplyChecked(size_t index, bool checked) {
  TListItem& item = items_.at(index);
  if (item.checked == checked) return;
  item.checked = checked;
  checked ? ++checkedCount_ : --checkedCount_;
}

void TListView::SetChecked(size_t index, bool checked) {
  ApplyChecked(index, checked);
  Notify(Change::ItemState);
}

void TListView::TickFromKeyboard(size_t focused) {
  const bool tick = !items_.at(focused).checked;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].selected || i == focused) ApplyChecked(i, tick);
  }
  if (OnKeyboardTick) OnKeyboardTick();
}

void TListView::SetAllChecked(bool checked) {
  for (TListItem& item : items_) item.checked = checked;
  checkedCount_ = checked ? items_.size() : 0;
  Notify(Change::ItemState);
}

int TListView::FirstSelected() const {
  if (selectedCount_ == 0) return -1;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].selected) return static_cast<int>(i);
  }
  return -1;
}

void TListView::ApplySelected(size_t index, bool selected) {
  TListItem& item = items_.at(index);
  if (item.selected == selected) return;
  item.selected = selected;
  selected ? ++selectedCount_ : --selectedCount_;
}

void TListView::SetSelected(size_t index, bool selected) {
  if (selected && !multiSelect_) {
    for (size_t i = 0; i < items_.size(); ++i) ApplySelected(i, false);
  }
  ApplySelected(index, selected);
  Notify(Change::Selection);
}

void TListView::SetAllSelectedFromUser(bool selected) {
  for (TListItem& item : items_) item.selected = selected;
  selectedCount_ = selected ? items_.size() : 0;
}

}  // namespace quillet::ui
