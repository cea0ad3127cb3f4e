#pragma once

#include <string>

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"

namespace quillet {

// The Restore dialog: the ".reg" files of the backup folder, newest first. A chosen file goes
// back into the registry through the system registry editor; files can be deleted and the
// folder opened. It remembers nothing between openings.
class TfrmRestore : public ui::TForm {
 public:
  explicit TfrmRestore(ui::UiHost& host);

  ui::TGroupBox* suiGroupBox1;
  ui::TEdit* eFolder;
  ui::TButton* bBrowseFolder;
  ui::TListView* ListView1;
  ui::TActionList* ActionList1;
  ui::TAction* aRestore;
  ui::TAction* aDelete;
  ui::TButton* bRestore;
  ui::TButton* bView;
  ui::TButton* bOpenDirectory;
  ui::TButton* bDelete;
  ui::TButton* bClose;

  void FormCreate();
  void FormShow();
  void bBrowseFolderClick();
  void bOpenDirectoryClick();
  void aRestoreExecute();
  void ListView1DblClick() { aRestoreExecute(); }
  void aDeleteExecute();
  // Opens the viewer of the selected file; Enter on a row does the same.
  void bViewClick();
  void aRestoreUpdate();
  // The list's order: below zero when item1 comes first.
  static int ListView1Compare(const ui::TListItem& item1, const ui::TListItem& item2);
  // Fills the list with the backup files of the folder; tells the user when it does not exist.
  void ListFolder(const std::string& folder);

 private:
  void FormIdle();
  void ArrangeButtons();
  std::string SelectedFilePath(size_t row) const;
};

}  // namespace quillet
