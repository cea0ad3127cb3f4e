#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {

class SystemRestore;

// Where the restore point worker reports: the dialog's window until the dialog lets go.
// Shared by the worker and the dialog, so either may end first.
class RestorePointNotify {
 public:
  RestorePointNotify(ui::UiHost& host, ui::TForm& form) : host_(&host), form_(&form) {}
  // Posts UM_RESTORE_POINT_DONE with lParam 0 (created) or 1 (failed), unless disconnected.
  void Post(intptr_t failed);
  void Disconnect();

 private:
  std::mutex mutex_;
  ui::UiHost* host_;
  ui::TForm* form_;
};

// The restore point request on a thread of its own. Made suspended; once resumed it runs once,
// posts its answer and frees itself.
class TCreateSystemPointThread {
 public:
  explicit TCreateSystemPointThread(SystemRestore* client) : client_(client) {}
  std::shared_ptr<RestorePointNotify> NotifyWindow;
  // Starts the run; the object belongs to its thread from here on.
  void Resume();
  // Workers started and not yet ended (a dialog closed early leaves its worker running).
  static int Running();

  static constexpr const char* kDescription = "Made by Orvane Quillet";

 private:
  void Execute();
  SystemRestore* client_;
};

// The pacing bar's next position on a timer tick: it slows as it fills and stays at 100.
int NextSystemPointPosition(int position);

// Shown while the restore point is created before a repair. Ok: go on with the repair;
// Cancel: the request failed and the user chose to stop, or the user closed the dialog early.
class TfrmSystemPoint : public ui::TForm {
 public:
  explicit TfrmSystemPoint(ui::UiHost& host);
  ~TfrmSystemPoint() override;

  ui::TLabel* lScanTask;
  ui::TLabel* Label1;
  ui::TLabel* Label3;
  ui::TLabel* Label2;
  ui::TProgressBar* ProgressBar1;
  ui::TTimer* Timer1;

  void FormShow();
  void FormClose(ui::CloseAction& action);
  void Timer1Timer();
  void UMRestorePointDone(intptr_t failed);

  bool Finished() const { return finished_; }

 private:
  bool finished_ = false;
  std::shared_ptr<RestorePointNotify> worker_;
};

}  // namespace quillet
