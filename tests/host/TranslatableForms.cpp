#include "TranslatableForms.h"

#include "MainWindowFixture.h"
#include "main/About.h"
#include "main/BackupHint.h"
#include "main/RegMain.h"
#include "main/ShowHint.h"
#include "main/SystemPiont.h"
#include "scan/RegProgressHint.h"
#include "settings/Options.h"
#include "settings/RegAddRegistry.h"
#include "tools/BackupView.h"
#include "tools/Restore.h"
#include "tools/StartupManager.h"

namespace quillet::testing {

const std::vector<TranslatableForm>& TranslatableForms() {
  static const std::vector<TranslatableForm> forms{
      // The hidden Language entry only carries the menu's update step.
      {"frmQuillet", [](MainWindowFixture& f) { return std::make_unique<TfrmQuillet>(f.ui, std::vector<std::string>{}); },
       {"miLanguageUpdate"}},
      {"frmRegProgressHint",
       [](MainWindowFixture& f) { return std::make_unique<TfrmRegProgressHint>(f.ui, f.Window(), std::vector<int>{}); }},
      {"frmBackupHint", [](MainWindowFixture& f) { return std::make_unique<TfrmBackupHint>(f.ui); }},
      // Label1 shows the count of repaired problems, built from two runtime texts.
      {"frmShowHint", [](MainWindowFixture& f) { return std::make_unique<TfrmShowHint>(f.ui); }, {"Label1"}},
      {"frmSystemPoint", [](MainWindowFixture& f) { return std::make_unique<TfrmSystemPoint>(f.ui); }},
      {"frmAbout", [](MainWindowFixture& f) { return std::make_unique<TfrmAbout>(f.ui); }},
      {"frmOptions", [](MainWindowFixture& f) { return std::make_unique<TfrmOptions>(f.ui); }},
      {"frmRegAddRegistry", [](MainWindowFixture& f) { return std::make_unique<TfrmRegAddRegistry>(f.ui); }},
      {"frmRestore", [](MainWindowFixture& f) { return std::make_unique<TfrmRestore>(f.ui); }},
      // The labels show the file's name and where the reader stopped in it.
      {"frmBackupView", [](MainWindowFixture& f) { return std::make_unique<TfrmBackupView>(f.ui); }, {"lFile", "lProblem"}},
      {"frmStartupManager", [](MainWindowFixture& f) { return std::make_unique<TfrmStartupManager>(f.ui); }},
  };
  return forms;
}

}  // namespace quillet::testing
