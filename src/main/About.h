#pragma once

#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {

// The About box: the product, its version and build, and OK.
class TfrmAbout : public ui::TForm {
 public:
  explicit TfrmAbout(ui::UiHost& host);

  ui::TImage* Image1;
  ui::TLabel* lProduct;
  ui::TLabel* lVersion;
  ui::TLabel* lMaker;
  ui::TLabel* lHomePage;
  ui::TButton* bOK;

  void FormShow();
  void lHomePageClick();
};

}  // namespace quillet
