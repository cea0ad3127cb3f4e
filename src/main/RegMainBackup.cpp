// The main window's backup commands; the tools themselves live in tools/.
#include "main/RegMain.h"
#include "tools/Restore.h"
#include "tools/SystemBackups.h"

namespace quillet {

void TfrmQuillet::bRestoreRegistryClick() {
  TfrmRestore restore(Host());
  restore.ShowModal();
}

void TfrmQuillet::miBackupFullRegistryClick() { BackupFullRegistry(*this, *SaveDialog1); }

void TfrmQuillet::miWindowsBackupClick() { StartWindowsBackup(*this); }

}  // namespace quillet
