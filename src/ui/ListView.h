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

// A list view in report style. The rows live here; the renderer shows them as a virtual list
// and asks for the rows on screen only, so a hundred thousand rows cost nothing to display.
class TListView : public TControl {
 public:
  TListView(TForm& owner, std::string name, TControl* parent = nullptr);

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

  size_t Count() const { return items_.size(); }
  const TListItem& Item(size_t index) const { return items_.at(index); }
  // The text of column 0 (the caption) or of a later column (its sub-item); empty past the end.
  const std::string& Text(size_t index, size_t column) const;

  void AddItem(TListItem item);
  // Appends many rows at once and tells the renderer once.
  void AddItems(std::vector<TListItem>&& items);
  void SetItem(size_t index, TListItem item);
  void Delete(size_t index);
  // Removes every row the test picks, in one pass and with one notice to the renderer; the
  // test sees each row once, in row order, with its index before any removal. The count removed.
  size_t RemoveIf(const std::function<bool(size_t index, const TListItem& item)>& remove);
  void Clear();

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

 private:
  void ApplyChecked(size_t index, bool checked);
  void ApplySelected(size_t index, bool selected);

  std::vector<TListColumn> columns_;
  std::vector<TListItem> items_;
  size_t checkedCount_ = 0;
  size_t selectedCount_ = 0;
  bool checkboxes_ = false;
  bool multiSelect_ = false;
  bool rowSelect_ = false;
  bool readOnly_ = true;
  bool showColumnHeaders_ = true;
  bool columnClick_ = true;
};

}  // namespace quillet::ui
