#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace quillet::ui {

struct TListColumn {
  std::string caption;
  int width = 50;
};

struct TListItem {
  std::string caption;
  std::vector<std::string> subItems;
  bool checked = false;
  bool selected = false;
  int data = 0;  // what the program attaches to the row
};

// The text a TListItem shows in a column: its caption, then its sub-items; empty past the end.
const std::string& ListColumnText(const TListItem& item, size_t column);

// A list view in report style. The rows live in the model (TListViewOf); the renderer shows
// them as a virtual list and asks for the rows on screen only, so a hundred thousand rows cost
// nothing to display. This part holds the columns, the styles and the counts of ticked and
// selected rows, and reads each row through the calls below.
class TCustomListView : public TControl {
 public:
  TCustomListView(TForm& owner, std::string name, TControl* parent = nullptr);

  const std::vector<TListColumn>& Columns() const { return columns_; }
  void AddColumn(std::string caption, int width);
  void SetColumnWidth(size_t index, int width);
  void SetColumnCaption(size_t index, std::string caption);
  void SetColumnWidthFromUser(size_t index, int width) { columns_.at(index).width = width; }
  // Sizes the column to fit its widest entry: the renderer measures when it is attached,
  // otherwise the texts are measured in the list's font with the list's cell padding.
  void AutoSizeColumn(size_t index);

  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool on) { checkboxes_ = on; }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on) { multiSelect_ = on; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on) { rowSelect_ = on; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool on) { showColumnHeaders_ = on; }
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool on) { columnClick_ = on; }

  virtual size_t Count() const = 0;
  // The text of a column of a row; empty past the row's last column.
  virtual const std::string& Text(size_t index, size_t column) const = 0;
  virtual bool Checked(size_t index) const = 0;
  virtual bool Selected(size_t index) const = 0;
  virtual void Delete(size_t index) = 0;
  virtual void Clear() = 0;

  size_t CheckedCount() const { return checkedCount_; }
  void SetChecked(size_t index, bool checked);
  void SetAllChecked(bool checked);
  // The user clicked a row's tick box or pressed the space bar on it.
  void SetCheckedFromUser(size_t index, bool checked) { ApplyChecked(index, checked); }
  // The space bar on the focused row: it flips, every selected row takes its new tick, and
  // OnKeyboardTick runs.
  void TickFromKeyboard(size_t focused);
  std::function<void()> OnKeyboardTick;

  size_t SelectedCount() const { return selectedCount_; }
  // Index of the selected row nearest the top, or -1.
  int FirstSelected() const;
  void SetSelected(size_t index, bool selected);
  void SetSelectedFromUser(size_t index, bool selected) { ApplySelected(index, selected); }
  void SetAllSelectedFromUser(bool selected);
  // The user changed which rows are selected (the renderer calls it after the changes above).
  std::function<void()> OnSelectionChange;
  void SelectionChangedByUser() {
    if (OnSelectionChange) OnSelectionChange();
  }

  // The text of the tip shown while the pointer rests on a row; empty shows none. Unset: the
  // list shows the full text of a cut-off cell instead.
  std::function<std::string(size_t index)> OnInfoTip;

 protected:
  virtual void StoreChecked(size_t index, bool checked) = 0;
  virtual void StoreSelected(size_t index, bool selected) = 0;
  // Keeps the counts in step as rows with these marks come (+1) or go (-1).
  void CountMarks(bool checked, bool selected, int sign);
  void ResetCounts() { checkedCount_ = selectedCount_ = 0; }

 private:
  void ApplyChecked(size_t index, bool checked);
  void ApplySelected(size_t index, bool selected);

  std::vector<TListColumn> columns_;
  size_t checkedCount_ = 0;
  size_t selectedCount_ = 0;
  bool checkboxes_ = false;
  bool multiSelect_ = false;
  bool rowSelect_ = false;
  bool readOnly_ = true;
  bool showColumnHeaders_ = true;
  bool columnClick_ = true;
};

// A list view whose model holds rows of type Row as they are. A Row has the members `checked`
// and `selected`, and ListColumnText(const Row&, size_t column) gives its column texts.
template <class Row>
class TListViewOf : public TCustomListView {
 public:
  using TCustomListView::TCustomListView;

  size_t Count() const override { return items_.size(); }
  const Row& Item(size_t index) const { return items_.at(index); }
  const std::string& Text(size_t index, size_t column) const override {
    return ListColumnText(items_.at(index), column);
  }
  bool Checked(size_t index) const override { return items_.at(index).checked; }
  bool Selected(size_t index) const override { return items_.at(index).selected; }

  void AddItem(Row item) {
    CountMarks(item.checked, item.selected, +1);
    items_.push_back(std::move(item));
    Notify(Change::Items);
  }
  // Appends many rows at once and tells the renderer once.
  void AddItems(std::vector<Row>&& items) {
    if (items.empty()) return;
    items_.reserve(items_.size() + items.size());
    for (Row& item : items) {
      CountMarks(item.checked, item.selected, +1);
      items_.push_back(std::move(item));
    }
    Notify(Change::Items);
  }
  void SetItem(size_t index, Row item) {
    Row& old = items_.at(index);
    CountMarks(old.checked, old.selected, -1);
    CountMarks(item.checked, item.selected, +1);
    old = std::move(item);
    Notify(Change::ItemState);
  }
  void Delete(size_t index) override {
    const Row& item = items_.at(index);
    CountMarks(item.checked, item.selected, -1);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    Notify(Change::Items);
  }
  // Removes every row the test picks, in one pass and with one notice to the renderer; the
  // test sees each row once, in row order, with its index before any removal. The count removed.
  size_t RemoveIf(const std::function<bool(size_t index, const Row& item)>& remove) {
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      Row& item = items_[i];
      if (remove(i, item)) {
        CountMarks(item.checked, item.selected, -1);
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
  void Clear() override {
    if (items_.empty()) return;
    items_.clear();
    ResetCounts();
    Notify(Change::Items);
  }

 protected:
  void StoreChecked(size_t index, bool checked) override { items_.at(index).checked = checked; }
  void StoreSelected(size_t index, bool selected) override { items_.at(index).selected = selected; }

 private:
  std::vector<Row> items_;
};

// The list view of rows made of texts: a caption and sub-items.
class TListView : public TListViewOf<TListItem> {
 public:
  using TListViewOf::TListViewOf;
};

}  // namespace quillet::ui
