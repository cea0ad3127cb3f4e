#include "ui/ListView.h"

#include <algorithm>

#include "ui/Form.h"

namespace quillet::ui {
namespace {
const std::string kNoText;
}

const std::string& ListColumnText(const TListItem& item, size_t column) {
  if (column == 0) return item.caption;
  return column - 1 < item.subItems.size() ? item.subItems[column - 1] : kNoText;
}

TCustomListView::TCustomListView(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::ListView, parent) {}

void TCustomListView::AddColumn(std::string caption, int width) {
  columns_.push_back({std::move(caption), width});
  Notify(Change::Columns);
}

void TCustomListView::SetColumnWidth(size_t index, int width) {
  TListColumn& column = columns_.at(index);
  if (column.width == width) return;
  column.width = width;
  Notify(Change::Columns);
}

void TCustomListView::SetColumnCaption(size_t index, std::string caption) {
  columns_.at(index).caption = std::move(caption);
  Notify(Change::Columns);
}

void TCustomListView::AutoSizeColumn(size_t index) {
  columns_.at(index);
  int width = Peer() ? Peer()->AutoColumnWidth(*this, index) : -1;
  if (width < 0) {
    // The cell padding of the system's list view: 6 pixels each side of the text, and the tick
    // box in front of the first column's text.
    constexpr int kPadding = 12;
    constexpr int kTickBoxWidth = 16;
    width = 0;
    for (size_t i = 0; i < Count(); ++i) {
      width = std::max(width, Owner().Host().TextWidth(Font(), Text(i, index)));
    }
    width += kPadding + (index == 0 && checkboxes_ ? kTickBoxWidth : 0);
  }
  SetColumnWidth(index, width);
}

void TCustomListView::CountMarks(bool checked, bool selected, int sign) {
  checkedCount_ += static_cast<size_t>(sign * static_cast<int>(checked));
  selectedCount_ += static_cast<size_t>(sign * static_cast<int>(selected));
}

void TCustomListView::ApplyChecked(size_t index, bool checked) {
  if (Checked(index) == checked) return;
  StoreChecked(index, checked);
  checked ? ++checkedCount_ : --checkedCount_;
}

void TCustomListView::SetChecked(size_t index, bool checked) {
  ApplyChecked(index, checked);
  Notify(Change::ItemState);
}

void TCustomListView::TickFromKeyboard(size_t focused) {
  const bool tick = !Checked(focused);
  for (size_t i = 0; i < Count(); ++i) {
    if (Selected(i) || i == focused) ApplyChecked(i, tick);
  }
  if (OnKeyboardTick) OnKeyboardTick();
}

void TCustomListView::SetAllChecked(bool checked) {
  for (size_t i = 0; i < Count(); ++i) StoreChecked(i, checked);
  checkedCount_ = checked ? Count() : 0;
  Notify(Change::ItemState);
}

int TCustomListView::FirstSelected() const {
  if (selectedCount_ == 0) return -1;
  for (size_t i = 0; i < Count(); ++i) {
    if (Selected(i)) return static_cast<int>(i);
  }
  return -1;
}

void TCustomListView::ApplySelected(size_t index, bool selected) {
  if (Selected(index) == selected) return;
  StoreSelected(index, selected);
  selected ? ++selectedCount_ : --selectedCount_;
}

void TCustomListView::SetSelected(size_t index, bool selected) {
  if (selected && !multiSelect_) {
    for (size_t i = 0; i < Count(); ++i) ApplySelected(i, false);
  }
  ApplySelected(index, selected);
  Notify(Change::Selection);
}

void TCustomListView::SetAllSelectedFromUser(bool selected) {
  for (size_t i = 0; i < Count(); ++i) StoreSelected(i, selected);
  selectedCount_ = selected ? Count() : 0;
}

}  // namespace quillet::ui
