#include "tools/ProgressNotice.h"

#include <memory>
#include <string>

#include "base/AppIdentity.h"
#include "main/BackupHint.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "settings/RegGlobal.h"

namespace quillet {

bool RunWithProgressNotice(ui::UiHost& host, std::string_view commandLine, std::string_view noticeText) {
  ProcessLauncher* launcher = CurrentPlatform().processes;
  // The process lets go of its handles when this returns, an error on the way included.
  std::unique_ptr<ChildProcess> process = launcher ? launcher->Start(commandLine, true) : nullptr;
  if (!process) {
    ui::MessageBoxRequest message;
    message.text = GetLangText("RES_Regedit_Not_Exist", "Please check if Regedit.exe exists.");
    message.title = kMessageBoxTitle;
    message.icon = ui::MessageIcon::Information;
    host.MessageBox(nullptr, message);
    return false;
  }
  TfrmBackupHint notice(host);
  notice.Process = process.get();
  notice.lHint->SetCaption(std::string(noticeText));
  return notice.ShowModal() == ui::ModalResult::Ok;
}

}  // namespace quillet
