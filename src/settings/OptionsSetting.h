#pragma once

#include <array>
#include <string>
#include <vector>

// The one settings record of the program. It is filled from options.ini while the main window
// is created and written back while it closes; in between every part reads and changes it.
namespace quillet {

enum class TWindowState : unsigned char { Normal = 0, Minimized = 1, Maximized = 2 };

struct TOptionsSetting {
  std::string OutputDirectory;  // default: the executable's folder + "Backup"
  bool DeleteBackupFile = true;
  bool IncludeRemoveMedia = false;
  bool IncludeCDdrive = false;
  bool Beep = false;
  std::array<bool, 25> TreeNodeChecks{};  // indexes 1 to 24 are used, all true by default
  int IgnoreValueCount = 0;
  std::vector<std::string> IgnoreValues;
  int IgnoreKeyCount = 0;
  std::vector<std::string> IgnoreKeys;
  TWindowState WindowState = TWindowState::Normal;
  int WindowLeft = 0;
  int WindowTop = 0;
  bool ShowHint = true;
  bool RestorePoint = false;
  std::string Lan = "English";

  TOptionsSetting();
};

// The record every part reads and changes. Nothing writes it while a scan runs.
extern TOptionsSetting OptionsSetting;

}  // namespace quillet
