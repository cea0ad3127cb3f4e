#include "tools/SystemBackups.h"

#include <optional>

#include "base/AppIdentity.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/RegGlobal.h"
#include "tools/BackupFiles.h"
#include "tools/ProgressNotice.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

namespace quillet {
namespace {

std::string Trimmed(std::string text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

void BackupFullRegistry(ui::TForm& owner, ui::TSaveDialog& saveDialog) {
  saveDialog.Title = GetLangText("RES_SaveDialog_BackupFullRegistry", "Save full registry");
  saveDialog.Filter = "Registry backup files (*.reg)|*.REG";
  if (!saveDialog.Execute()) return;
  const std::string file = WithRegExtension(saveDialog.FileName);
  if (CurrentPlatform().files->FileExists(file)) {
    ui::MessageBoxRequest question;
    question.text = file + " " + GetLangText("RES_File_Exist", "has existed,overite it?");
    question.title = kMessageBoxTitle;
    question.buttons = ui::MessageButtons::YesNo;
    question.icon = ui::MessageIcon::Information;
    question.defaultButton = 2;
    if (owner.Host().MessageBox(&owner, question) != ui::ModalResult::Yes) return;
  }
  // An export without a key is the whole registry. A stopped export leaves its part on disk.
  RunWithProgressNotice(owner.Host(), "Regedit /e \"" + file + "\"",
                        GetLangText("RES_Backup_Registry", "Backup registry..."));
}

std::string WindowsBackupProgramPath(FileSystem& files) {
  const std::string variable = "%SystemRoot%";
  std::string root = variable;
  if (const std::optional<std::string> expanded = files.ExpandEnvironment(variable, 1024)) {
    const std::string trimmed = Trimmed(*expanded);
    if (files.FolderExists(trimmed)) root = trimmed;
  }
  return root + "\\system32\\ntbackup.exe";
}

void StartWindowsBackup(ui::TForm& owner) {
  owner.Host().OpenDocument(WindowsBackupProgramPath(*CurrentPlatform().files));
}

}  // namespace quillet
