#pragma once

#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {

class ChildProcess;

// The bar's next position on a timer tick: it slows as it fills and stays at 500.
int NextBackupHintPosition(int position);

// The wait dialog shown while a child process (the registry editor's export) works. It looks
// at the process every half second. Ok: the process ended by itself; Cancel: it was stopped.
class TfrmBackupHint : public ui::TForm {
 public:
  explicit TfrmBackupHint(ui::UiHost& host);

  ui::TLabel* lHint;
  ui::TProgressBar* ProgressBar1;
  ui::TButton* bStop;
  ui::TTimer* Timer1;

  // Set by the caller before showing; the caller started the process and keeps it.
  ChildProcess* Process = nullptr;

  void Timer1Timer();
  void bStopClick();
  void FormClose(ui::CloseAction& action);

 private:
  void StopProcess();
};

}  // namespace quillet
