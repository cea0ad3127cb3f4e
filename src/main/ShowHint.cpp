#include "main/ShowHint.h"

#include <string>

#include "base/AppIdentity.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {

TfrmShowHint::TfrmShowHint(ui::UiHost& host) : TForm(host, "frmShowHint") {
  SetCaption(kMessageBoxTitle);
  SetDesignClientSize(400, 168);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  Label1 = Make<ui::TLabel>("Label1");
  Label1->SetFont({.bold = true});
  Label1->SetBounds(16, 14, 0, 0);
  Label1->SetCaption("Repair OK!");
  Label2 = Make<ui::TLabel>("Label2");
  Label2->SetBounds(16, 44, 0, 0);
  Label2->SetCaption("Comments: Some registry keys or values will be created automatically");
  Label3 = Make<ui::TLabel>("Label3");
  Label3->SetBounds(16, 62, 0, 0);
  Label3->SetCaption("or be locked by the system or some software. So if you have those keys");
  Label4 = Make<ui::TLabel>("Label4");
  Label4->SetBounds(16, 80, 0, 0);
  Label4->SetCaption("or values, you can not get 0 problems in next scan.");
  cbNotShowHint = Make<ui::TCheckBox>("cbNotShowHint");
  cbNotShowHint->SetBounds(16, 136, 250, 17);
  cbNotShowHint->SetCaption("Don't show this hint dialog next time");
  cbNotShowHint->OnClick = [this] { cbNotShowHintClick(); };
  bCancel = Make<ui::TButton>("bCancel");
  bCancel->SetBounds(308, 130, 80, 25);
  bCancel->SetCaption("&Close");
  bCancel->SetDefault(true);
  bCancel->SetCancel(true);
  bCancel->SetModalResult(ui::ModalResult::No);

  OnShow = [this] { FormShow(); };
}

void TfrmShowHint::FormShow() {
  Label1->SetCaption(GetLangText("RES_ThereTotal", "There are total") + " " + std::to_string(ProblemCount) + " " +
                     GetLangText("RES_RepairProblems", "problems to be repaired."));
  // A language file with its own text for Label1 replaces the sentence.
  TranslateToCurrentLanguage(*this);
}

void TfrmShowHint::cbNotShowHintClick() { OptionsSetting.ShowHint = !cbNotShowHint->Checked(); }

}  // namespace quillet
