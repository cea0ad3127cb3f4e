// The main window's two operations on the whole problem list: the filter after each scan and
// the repair command.
#include <functional>

#include "base/AppIdentity.h"
#include "main/RegMain.h"
#include "main/Repair.h"
#include "main/RepairTarget.h"
#include "main/ResultFilter.h"
#include "main/ShowHint.h"
#include "main/SystemPiont.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"

namespace quillet {
namespace {

constexpr int kNarrowestColumn = 120;

bool OffersRestorePoint(int windowsVersion) { return windowsVersion >= 9 && windowsVersion <= 13; }

// Deletes what the row stands for; true when it is gone. ExportWriteFailed ends the repair.
bool RepairRow(const BackupTarget& backup, const ProblemEntry& row) {
  const RepairTarget target = TargetOfRow(row.keyPath, row.value, row.action);
  if (!target.split || !target.known) return false;
  if (target.isFile) return ShellDeleteFile(row.keyPath);
  if (target.isValue) return DeleteValueWithBackup(backup, target.root, KeyPathBelowRoot(target), target.value);
  return DeleteKeyWithBackup(backup, target.root, KeyPathBelowRoot(target));
}

// Takes the repaired rows off the list when it goes, also when the repair ends on an error.
class RepairedRows {
 public:
  explicit RepairedRows(TProblemList& list) : list_(list), repaired_(list.Count(), false) {}
  ~RepairedRows() {
    list_.RemoveIf([this](size_t index, const ProblemEntry&) { return repaired_[index]; });
  }
  RepairedRows(const RepairedRows&) = delete;
  RepairedRows& operator=(const RepairedRows&) = delete;
  void Mark(size_t index) { repaired_[index] = true; }

 private:
  TProblemList& list_;
  std::vector<bool> repaired_;
};

}  // namespace

void TfrmQuillet::FilterScanResults() {
  TProblemList& list = *lvRegistryData;
  if (list.Count() == 0) {
    for (size_t i = 0; i < list.Columns().size(); ++i) {
      if (list.Columns()[i].width < kNarrowestColumn) list.SetColumnWidth(i, kNarrowestColumn);
    }
    return;
  }
  for (size_t i = 0; i < list.Columns().size(); ++i) list.AutoSizeColumn(i);

  // Each row's tests depend on that row alone, so one pass removes what the visit from the last
  // row to the first would.
  // The safe keys come from the list boxes, where a language file may have changed them.
  const IgnoreAndSafeLists lists(
      OptionsSetting.IgnoreValues,
      BuildSafeList(ListBox1->Items(), OptionsSetting.IgnoreKeys, ListBox2->Items(), GetWindowsVersion()));
  list.RemoveIf([this, &lists](size_t, const ProblemEntry& row) {
    return MatchesFixedPattern(row.keyPath, row.value) ||
           IsUnrepaired(row.keyPath, row.value, UnrepairedKeys, UnrepairedValues) ||
           lists.Covers(row.keyPath, row.value, row.action);
  });
}

void TfrmQuillet::bRepairRegistryClick() {
  try {
    Platform& platform = CurrentPlatform();
    const std::string folder = OptionsSetting.OutputDirectory;
    if (!platform.files->FolderExists(folder)) {
      ui::MessageBoxRequest question;
      question.text = folder + "," + GetLangText("RES_Directory_Not_Exist", "The backup directory does not exist.") +
                      "\r\n" + GetLangText("RES_Create_Directory", "creates a new directory?");
      question.title = kMessageBoxTitle;
      question.buttons = ui::MessageButtons::YesNo;
      question.icon = ui::MessageIcon::Information;
      if (Host().MessageBox(this, question) != ui::ModalResult::Yes) return;
      if (!platform.files->CreateFolderTree(folder)) return;
    }
    TProblemList& list = *lvRegistryData;
    if (list.Count() == 0) return;
    if (OptionsSetting.RestorePoint && OffersRestorePoint(GetWindowsVersion())) {
      TfrmSystemPoint restorePoint(Host());
      if (restorePoint.ShowModal() == ui::ModalResult::Cancel) return;
    }

    int counter = 0;
    CurrentBackupFile = MakeBackupFileName(folder, platform.clock ? platform.clock->Now() : LocalDateTime{});
    const BackupTarget backup{{*platform.files, *platform.ansi, *platform.registry}, CurrentBackupFile};
    {
      RepairedRows repaired(list);
      for (size_t i = list.Count(); i-- > 0;) {
        const ProblemEntry& row = list.Item(i);
        if (!row.checked) continue;
        ++counter;
        if (RepairRow(backup, row)) repaired.Mark(i);
      }
    }
    // What is still ticked was not repaired: remembered, so later scans of this run hide it.
    for (size_t i = list.Count(); i-- > 0;) {
      const ProblemEntry& row = list.Item(i);
      if (!row.checked) continue;
      UnrepairedKeys.push_back(row.keyPath);
      UnrepairedValues.push_back(row.value);
    }
    list.RemoveIf([](size_t, const ProblemEntry& row) { return row.checked; });
    UpdateProblemCounts();
    if (OptionsSetting.ShowHint) {
      TfrmShowHint notice(Host());
      notice.ProblemCount = counter;
      notice.ShowModal();
    }
    if (OptionsSetting.Beep) Host().Beep(2047, 500);
  } catch (...) {
    // The repair ends silently at any error, the backup file failing included: the rows done so
    // far are off the list, the entry in hand and every row after it stay as they were.
  }
}

}  // namespace quillet
