#include "main/BackupHint.h"

#include "base/AppIdentity.h"
#include "platform/Processes.h"
#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {

int NextBackupHintPosition(int position) {
  if (position <= 300) return position + 10;
  if (position <= 400) return position + 5;
  if (position <= 450) return position + 3;
  if (position <= 490) return position + 2;
  if (position <= 499) return position + 1;
  return position;
}

TfrmBackupHint::TfrmBackupHint(ui::UiHost& host) : TForm(host, "frmBackupHint") {
  SetCaption(kMessageBoxTitle);
  SetDesignClientSize(360, 100);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  lHint = Make<ui::TLabel>("lHint");
  lHint->SetBounds(16, 14, 0, 0);
  lHint->SetCaption("Backup registry...");
  ProgressBar1 = Make<ui::TProgressBar>("ProgressBar1");
  ProgressBar1->SetBounds(16, 38, 328, 18);
  ProgressBar1->SetRange(0, 500);
  ProgressBar1->SetPosition(0);
  bStop = Make<ui::TButton>("bStop");
  bStop->SetBounds(264, 66, 80, 25);
  bStop->SetCaption("Stop");
  bStop->SetCancel(true);
  bStop->OnClick = [this] { bStopClick(); };
  Timer1 = Make<ui::TTimer>("Timer1");
  Timer1->SetInterval(500);
  Timer1->OnTimer = [this] { Timer1Timer(); };

  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  TranslateToCurrentLanguage(*this);
}

void TfrmBackupHint::Timer1Timer() {
  if (!Process || Process->HasEnded()) {
    SetModalResult(ui::ModalResult::Ok);
    return;
  }
  ProgressBar1->SetPosition(NextBackupHintPosition(ProgressBar1->Position()));
}

void TfrmBackupHint::StopProcess() {
  if (Process && !Process->HasEnded()) Process->Terminate(0);
}

void TfrmBackupHint::bStopClick() {
  StopProcess();
  SetModalResult(ui::ModalResult::Cancel);
}

void TfrmBackupHint::FormClose(ui::CloseAction&) {
  Timer1->SetEnabled(false);
  // Cancel tells the caller the process was stopped: the close box stops it as Stop does, so
  // the caller never reads a file the process is still writing.
  if (GetModalResult() != ui::ModalResult::Ok) StopProcess();
}

}  // namespace quillet
