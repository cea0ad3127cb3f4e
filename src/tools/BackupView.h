#pragma once

#include <string>
#include <vector>

#include "tools/BackupContents.h"
#include "ui/Form.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"

namespace quillet {

// The window that shows what a backup file holds: each key with its values, each with a tick.
// "Restore selected" hands the ticked part to the registry editor as the full restore hands the
// file; the backup file itself is only read. The caller sets FileName before showing it.
class TfrmBackupView : public ui::TForm {
 public:
  explicit TfrmBackupView(ui::UiHost& host);

  ui::TLabel* lFile;
  ui::TTreeView* tvContents;
  ui::TLabel* lProblem;
  ui::TButton* bRestoreSelected;
  ui::TButton* bClose;

  std::string FileName;

  void FormShow();
  void tvContentsMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void bRestoreSelectedClick();
  // Flips the tick of a node: a key takes its values with it, a ticked value its key.
  void ToggleNode(const ui::TTreeNode& node);

  const BackupContents& Contents() const { return contents_; }

 private:
  // Which key, and which of its values (-1: the key itself), a tree node stands for.
  struct NodeTarget {
    size_t key;
    int value;
  };
  void LoadContents();
  void ShowTicks();
  std::string TemporaryFilePath() const;

  BackupContents contents_;
  std::vector<NodeTarget> targets_;  // in the tree's depth-first order
};

}  // namespace quillet
