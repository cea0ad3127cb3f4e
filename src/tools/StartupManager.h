#pragma once

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/StdControls.h"

namespace quillet {

// The programs Windows starts at log-on, from the Run-type keys and the two Startup folders;
// the ticked ones can be removed, each after its backup is written. Every row carries the index
// of its source as its data.
class TfrmStartupManager : public ui::TForm {
 public:
  explicit TfrmStartupManager(ui::UiHost& host);

  ui::TListView* lvStartup;
  ui::TButton* bSelectAll;
  ui::TButton* bSelectNone;
  ui::TButton* bDeleteEntry;
  ui::TButton* bClose;

  void FormShow();
  void bSelectAllClick();
  void bSelectNoneClick();
  void bDeleteEntryClick();
};

}  // namespace quillet
