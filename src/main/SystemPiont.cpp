#include "main/SystemPiont.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "base/AppIdentity.h"
#include "base/WindowMessages.h"
#include "platform/Platform.h"
#include "platform/SystemRestore.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {
namespace {
std::atomic<int> runningWorkers{0};
}

void RestorePointNotify::Post(intptr_t failed) {
  std::lock_guard lock(mutex_);
  if (form_) host_->PostMessage(*form_, UM_RESTORE_POINT_DONE, 0, failed);
}

void RestorePointNotify::Disconnect() {
  std::lock_guard lock(mutex_);
  form_ = nullptr;
}

void TCreateSystemPointThread::Resume() {
  ++runningWorkers;
  try {
    std::thread([this] {
      Execute();
      delete this;
      // The count goes down last: nothing of the worker is touched after it.
      --runningWorkers;
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the request is answered as failed, here and now.
    if (NotifyWindow) NotifyWindow->Post(1);
    delete this;
    --runningWorkers;
  }
}

int TCreateSystemPointThread::Running() { return runningWorkers; }

void TCreateSystemPointThread::Execute() {
  RestorePointAnswer answer = RestorePointAnswer::Unavailable;
  try {
    if (client_) answer = client_->CreateRestorePoint(kDescription);
  } catch (...) {
    // Whatever the client raises counts as a failed request.
    answer = RestorePointAnswer::Failed;
  }
  // Without a restore client nothing would ever answer; it is told as a failure at once, so the
  // user decides instead of waiting.
  if (NotifyWindow) NotifyWindow->Post(answer == RestorePointAnswer::Created ? 0 : 1);
}

int NextSystemPointPosition(int position) {
  if (position <= 30) return position + 10;
  if (position <= 50) return position + 5;
  if (position <= 60) return position + 3;
  if (position <= 80) return position + 2;
  if (position <= 99) return position + 1;
  return position;
}

TfrmSystemPoint::TfrmSystemPoint(ui::UiHost& host) : TForm(host, "frmSystemPoint") {
  SetCaption("Create System Point");
  SetDesignClientSize(392, 150);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetSystemMenu(false);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  lScanTask = Make<ui::TLabel>("lScanTask");
  lScanTask->SetFont({.bold = true});
  lScanTask->SetBounds(16, 12, 0, 0);
  lScanTask->SetCaption("Creating Restore Point");
  Label1 = Make<ui::TLabel>("Label1");
  Label1->SetBounds(16, 40, 0, 0);
  Label1->SetCaption("Orvane Quillet is creating a restore point which will");
  Label3 = Make<ui::TLabel>("Label3");
  Label3->SetBounds(16, 58, 0, 0);
  Label3->SetCaption("enable you to safely return your system back to its former state.");
  Label2 = Make<ui::TLabel>("Label2");
  Label2->SetBounds(16, 86, 0, 0);
  Label2->SetCaption("Please wait...");
  ProgressBar1 = Make<ui::TProgressBar>("ProgressBar1");
  ProgressBar1->SetBounds(16, 110, 360, 18);
  ProgressBar1->SetRange(0, 100);
  ProgressBar1->SetPosition(0);
  Timer1 = Make<ui::TTimer>("Timer1");
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this] { Timer1Timer(); };

  OnShow = [this] { FormShow(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnMessage(UM_RESTORE_POINT_DONE, [this](uintptr_t, intptr_t lParam) { UMRestorePointDone(lParam); });
}

TfrmSystemPoint::~TfrmSystemPoint() {
  if (worker_) worker_->Disconnect();
}

void TfrmSystemPoint::FormShow() {
  finished_ = false;
  auto* thread = new TCreateSystemPointThread(CurrentPlatform().restore);
  worker_ = std::make_shared<RestorePointNotify>(Host(), *this);
  thread->NotifyWindow = worker_;
  thread->Resume();
  TranslateToCurrentLanguage(*this);
}

void TfrmSystemPoint::Timer1Timer() { ProgressBar1->SetPosition(NextSystemPointPosition(ProgressBar1->Position())); }

void TfrmSystemPoint::UMRestorePointDone(intptr_t failed) {
  if (finished_) return;
  SetModalResult(ui::ModalResult::Ok);
  if (failed == 1) {
    ui::MessageBoxRequest question;
    question.text = GetLangText("RES_CreatePoint_Fail", "Restore Point creation Failed! Contiue to repair?");
    question.title = kMessageBoxTitle;
    question.buttons = ui::MessageButtons::YesNo;
    question.icon = ui::MessageIcon::Information;
    question.defaultButton = 2;
    if (Host().MessageBox(this, question) == ui::ModalResult::No) SetModalResult(ui::ModalResult::Cancel);
  }
  // The result set above ends the modal run; that is this dialog's close request.
  finished_ = true;
}

void TfrmSystemPoint::FormClose(ui::CloseAction&) {
  Timer1->SetEnabled(false);
  if (worker_) worker_->Disconnect();
  if (!finished_) {
    // Closed before the worker answered. The worker is let go rather than killed: a thread
    // killed inside the restore client could leave the process's heap or loader locked. Its
    // answer, when it comes, goes nowhere.
    SetModalResult(ui::ModalResult::Cancel);
  }
}

}  // namespace quillet
