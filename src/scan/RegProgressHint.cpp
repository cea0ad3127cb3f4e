#include "scan/RegProgressHint.h"

#include "base/WindowMessages.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {

int NextProgressPosition(int position) {
  if (position <= 200) return position + 10;
  if (position <= 400) return position + 5;
  if (position <= 700) return position + 3;
  if (position <= 800) return position + 2;
  if (position <= 998) return position + 1;
  return position;
}

namespace {
// Critical-error prompts stay off during the query (the file system sees to it), so an empty
// floppy drive asks nobody to insert a disk.
bool DriveReady(const char* root) { return CurrentPlatform().files->IsVolumeReady(root); }
}  // namespace

TfrmRegProgressHint::TfrmRegProgressHint(ui::UiHost& host, ScanOwner& owner, std::vector<int> categoryCodes)
    : TForm(host, "frmRegProgressHint"),
      owner_(owner),
      categoryCodes_(std::move(categoryCodes)),
      sink_(*this, [this] { Host().PostMessage(*this, UM_SCAN_HAND_OVER); }) {
  SetCaption("Scanning");
  SetDesignClientSize(395, 166);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  suiGroupBox1 = Make<ui::TGroupBox>("suiGroupBox1");
  suiGroupBox1->SetBounds(8, 8, 379, 113);
  lScanTask = Make<ui::TLabel>("lScanTask", suiGroupBox1);
  lScanTask->SetBounds(8, 8, 0, 0);
  lScanTask->SetCaption("Scanning ");
  ProgressBar1 = Make<ui::TProgressBar>("ProgressBar1", suiGroupBox1);
  ProgressBar1->SetBounds(8, 32, 348, 18);
  ProgressBar1->SetRange(0, 1000);
  Memo1 = Make<ui::TMemo>("Memo1", suiGroupBox1);
  Memo1->SetBounds(8, 64, 347, 32);
  Memo1->SetReadOnly(true);
  Memo1->SetBorder(false);
  Memo1->SetColor(ui::BackgroundColor::ButtonFace);
  Memo1->SetLines({"Registry Key"});
  bStop = Make<ui::TButton>("bStop");
  bStop->SetBounds(306, 130, 80, 27);
  bStop->SetCaption("Stop");
  bStop->SetCancel(true);
  bStop->OnClick = [this] { bStopClick(); };
  Timer1 = Make<ui::TTimer>("Timer1");
  Timer1->SetInterval(500);
  Timer1->SetEnabled(false);
  Timer1->OnTimer = [this] { Timer1Timer(); };

  OnShow = [this] { FormShow(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnMessage(UM_START_SCAN, [this](uintptr_t, intptr_t) { StartScan(); });
  OnMessage(UM_SCAN_HAND_OVER, [this](uintptr_t, intptr_t) { sink_.Deliver(); });
}

TfrmRegProgressHint::~TfrmRegProgressHint() {
  // A thread still waiting for a category step must not outlive the dialog it waits for.
  if (thread_) {
    thread_->Stop();
    sink_.Cancel();
    thread_->Wait();
  }
}

void TfrmRegProgressHint::FormShow() {
  ProgressBar1->SetPosition(0);
  TranslateToCurrentLanguage(*this);
}

void TfrmRegProgressHint::FormActivate() { Host().PostMessage(*this, UM_START_SCAN); }

void TfrmRegProgressHint::StartScan() {
  if (thread_) return;
  if (owner_.IsCleanOnce()) Hide();
  thread_ = std::make_unique<TScanTaskThread>(CurrentPlatform());
  thread_->CategoryCodes = categoryCodes_;
  thread_->Sink = &sink_;
  if (OptionsSetting.IncludeRemoveMedia) {
    thread_->DriveAReady = DriveReady("a:\\");
    thread_->DriveBReady = DriveReady("b:\\");
  }
  owner_.PrepareScanThread(*thread_);
  sink_.WatchStop(&thread_->GetStopFlag());
  thread_->Start();
}

void TfrmRegProgressHint::StopScan() {
  if (!thread_) return;
  thread_->Stop();
  sink_.Cancel();
  thread_->Wait();
  // Rows the thread found before the stop are still on their way; they stay in the list.
  sink_.Deliver();
}

void TfrmRegProgressHint::bStopClick() {
  StopScan();
  Timer1->SetEnabled(false);
  SetModalResult(ui::ModalResult::Abort);
}

void TfrmRegProgressHint::FormClose(ui::CloseAction&) {
  // Closed while a category runs (the close box, or Stop's own close): that is a stop.
  if (Timer1->Enabled()) bStopClick();
  categoryCodes_.clear();
}

void TfrmRegProgressHint::Timer1Timer() { ProgressBar1->SetPosition(NextProgressPosition(ProgressBar1->Position())); }

void TfrmRegProgressHint::ShowStatus(const std::string& text) { lScanTask->SetCaption(text); }

void TfrmRegProgressHint::ShowKey(const std::string& keyPath) { Memo1->SetText(keyPath); }

void TfrmRegProgressHint::AppendRows(std::vector<ProblemEntry>& rows) {
  owner_.ProblemList().AddItems(std::move(rows));
}

void TfrmRegProgressHint::StartCategory() {
  ProgressBar1->SetPosition(0);
  Timer1->SetEnabled(true);
}

void TfrmRegProgressHint::FinishCategory() {
  Timer1->SetEnabled(false);
  ProgressBar1->SetPosition(1000);
  Host().PostMessage(owner_.OwnerForm(), UM_UPDATE_COUNTS);
}

void TfrmRegProgressHint::FinishRun() { Close(); }

void TfrmRegProgressHint::FailRun(const std::string& message) {
  failure_ = message;
  // Nobody can press Stop on the hidden dialog of an unattended run: the error ends the scan as
  // Stop would, so the repair runs on what was found and the program ends.
  if (owner_.IsCleanOnce()) bStopClick();
}

}  // namespace quillet
