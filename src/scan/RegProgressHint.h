#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scan/ProblemList.h"
#include "scan/ScanHandOver.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {

class TScanTaskThread;

// What the progress dialog needs of the window that shows it.
class ScanOwner {
 public:
  virtual ~ScanOwner() = default;
  virtual ui::TForm& OwnerForm() = 0;          // receives UM_UPDATE_COUNTS after each category
  virtual TProblemList& ProblemList() = 0;     // receives the rows
  virtual bool IsCleanOnce() const = 0;        // the dialog hides itself during an unattended run
  // Called with the scan thread made and filled in, just before it starts.
  virtual void PrepareScanThread(TScanTaskThread& thread) {}
};

// The next position of the progress bar on a timer tick: it slows down as it fills and stops
// at 999, so that from 0 it takes 406 ticks to get there.
int NextProgressPosition(int position);

// The modal dialog shown while a scan runs: it starts the scan thread once it is on screen,
// shows the category and the key being scanned, paces its bar, and offers Stop. Its result is
// Abort when the scan was stopped, Cancel when the scan asked it to close.
class TfrmRegProgressHint : public ui::TForm, private ScanReceiver {
 public:
  TfrmRegProgressHint(ui::UiHost& host, ScanOwner& owner, std::vector<int> categoryCodes);
  ~TfrmRegProgressHint() override;

  ui::TGroupBox* suiGroupBox1;
  ui::TLabel* lScanTask;
  ui::TProgressBar* ProgressBar1;
  ui::TMemo* Memo1;
  ui::TButton* bStop;
  ui::TTimer* Timer1;

  void FormShow();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void StartScan();  // UM_START_SCAN
  void bStopClick();
  void Timer1Timer();

  // The text of the scanner error that ended the run early, if one did.
  const std::string& FailureMessage() const { return failure_; }

 private:
  void StopScan();
  void ShowStatus(const std::string& text) override;
  void ShowKey(const std::string& keyPath) override;
  void AppendRows(std::vector<ProblemEntry>& rows) override;
  void StartCategory() override;
  void FinishCategory() override;
  void FinishRun() override;
  void FailRun(const std::string& message) override;

  ScanOwner& owner_;
  std::vector<int> categoryCodes_;
  GuiScanSink sink_;
  std::unique_ptr<TScanTaskThread> thread_;  // after the sink: it ends before the sink goes
  std::string failure_;
};

}  // namespace quillet
