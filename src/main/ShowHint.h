#pragma once

#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {

// The notice after a repair: how many ticked rows it processed, why some problems come back,
// and the box that turns the notice off for later repairs.
class TfrmShowHint : public ui::TForm {
 public:
  explicit TfrmShowHint(ui::UiHost& host);

  ui::TLabel* Label1;
  ui::TLabel* Label2;
  ui::TLabel* Label3;
  ui::TLabel* Label4;
  ui::TCheckBox* cbNotShowHint;
  ui::TButton* bCancel;

  // Set by the caller before showing.
  int ProblemCount = 0;

  void FormShow();
  void cbNotShowHintClick();
};

}  // namespace quillet
