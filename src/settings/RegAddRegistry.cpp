#include "settings/RegAddRegistry.h"

#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {

TfrmRegAddRegistry::TfrmRegAddRegistry(ui::UiHost& host) : TForm(host, "frmRegAddRegistry") {
  SetCaption("Add to Ignore List");
  SetDesignClientSize(420, 150);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  suiGroupBox1 = Make<ui::TGroupBox>("suiGroupBox1");
  suiGroupBox1->SetBounds(8, 4, 404, 104);
  Label1 = Make<ui::TLabel>("Label1", suiGroupBox1);
  Label1->SetBounds(12, 22, 0, 0);
  Label1->SetCaption("Registry Key");
  bLaunchRegedit = Make<ui::TButton>("bLaunchRegedit", suiGroupBox1);
  bLaunchRegedit->SetBounds(232, 14, 160, 25);
  bLaunchRegedit->SetCaption("&Launch Registry Editor");
  bLaunchRegedit->OnClick = [this] { bLaunchRegeditClick(); };
  eRegistryKey = Make<ui::TEdit>("eRegistryKey", suiGroupBox1);
  eRegistryKey->SetBounds(12, 46, 380, 22);
  eRegistryKey->OnChange = [this] { aOKUpdate(); };
  Label2 = Make<ui::TLabel>("Label2", suiGroupBox1);
  Label2->SetBounds(12, 78, 0, 0);
  Label2->SetCaption("Enter the value or key like: HKEY_CURRENT_USER\\Software\\Microsoft");

  bOK = Make<ui::TButton>("bOK");
  bOK->SetBounds(256, 118, 75, 25);
  bOK->SetCaption("&OK");
  bOK->SetDefault(true);
  bOK->OnClick = [this] { aOK->Execute(); };
  bCancel = Make<ui::TButton>("bCancel");
  bCancel->SetBounds(337, 118, 75, 25);
  bCancel->SetCaption("&Cancel");
  bCancel->SetCancel(true);
  bCancel->SetModalResult(ui::ModalResult::Cancel);
  ActionList1 = Make<ui::TActionList>("ActionList1");
  aOK = Make<ui::TAction>("aOK", *ActionList1);
  aOK->Caption = "&OK";
  aOK->OnUpdate = [this] { aOKUpdate(); };
  aOK->OnExecute = [this] { aOKExecute(); };

  OnShow = [this] { FormShow(); };
}

void TfrmRegAddRegistry::FormShow() {
  TranslateToCurrentLanguage(*this);
  aOKUpdate();
  // The path is what the user came to type.
  SetActiveControl(eRegistryKey);
}

void TfrmRegAddRegistry::aOKUpdate() {
  aOK->Enabled = ContainsText(eRegistryKey->Text(), "HKEY_");
  bOK->SetEnabled(aOK->Enabled);
}

void TfrmRegAddRegistry::aOKExecute() { SetModalResult(ui::ModalResult::Ok); }

// Whether the editor starts is the shell's business; the dialog stays open either way.
void TfrmRegAddRegistry::bLaunchRegeditClick() { Host().OpenDocument("Regedit.exe"); }

}  // namespace quillet
