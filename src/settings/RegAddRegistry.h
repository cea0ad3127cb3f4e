#pragma once

#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"

namespace quillet {

// Asks for one registry path for an ignore list. The caller puts the starting text into
// eRegistryKey (empty to add, the entry to edit), shows the dialog and reads the text back on Ok.
class TfrmRegAddRegistry : public ui::TForm {
 public:
  explicit TfrmRegAddRegistry(ui::UiHost& host);

  ui::TGroupBox* suiGroupBox1;
  ui::TLabel* Label1;
  ui::TButton* bLaunchRegedit;
  ui::TEdit* eRegistryKey;
  ui::TLabel* Label2;
  ui::TButton* bOK;
  ui::TButton* bCancel;
  ui::TActionList* ActionList1;
  ui::TAction* aOK;

  void FormShow();
  // OK is offered only for a text that names a root key somewhere; nothing else is checked.
  void aOKUpdate();
  void aOKExecute();
  void bLaunchRegeditClick();
};

}  // namespace quillet
