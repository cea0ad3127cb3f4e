#pragma once

#include <string>

namespace quillet {

class FileSystem;

namespace ui {
class TForm;
class TSaveDialog;
}  // namespace ui

// The whole registry into a ".reg" file the user names, written by the system registry editor
// under the backup notice. An existing file is replaced only when the user says so.
void BackupFullRegistry(ui::TForm& owner, ui::TSaveDialog& saveDialog);

// The system's backup program: ntbackup.exe in the system32 folder of %SystemRoot%, or of the
// unexpanded text when the variable names no existing folder.
std::string WindowsBackupProgramPath(FileSystem& files);
// Asks the shell to open it; nothing is reported when it is missing.
void StartWindowsBackup(ui::TForm& owner);

}  // namespace quillet
