#include "tools/StartupManager.h"

#include <exception>
#include <string>
#include <vector>

#include "ui/ErrorBox.h"
#include "main/Repair.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"
#include "tools/StartupRemoval.h"
#include "tools/StartupSources.h"

namespace quillet {
namespace {

// Removes what the row names, its backup first; false when the row must stay.
bool RemoveEntry(const ui::TListItem& item, const RegExportContext& context, const std::string& backupFile) {
  const StartupSource& source = kStartupSources.at(static_cast<size_t>(item.data));
  RemovalResult result;
  if (source.folder == StartupFolder::None) {
    const std::optional<RootKey> root = ParseRootName(source.rootName);
    if (!root) return true;
    result = RemoveValueWithBackup(context, backupFile, *root, source.keyPath, item.caption);
  } else {
    const std::optional<std::string> folder = StartupFolderPath(source.folder);
    if (!folder) return true;
    result = RemoveShortcutWithBackup(context.files, OptionsSetting.OutputDirectory, *folder, item.caption);
  }
  // A refused delete drops the row all the same; the entry shows again at the next opening.
  return result != RemovalResult::BackupFailed;
}

}  // namespace

TfrmStartupManager::TfrmStartupManager(ui::UiHost& host) : TForm(host, "frmStartupManager") {
  SetCaption("Startup Manager");
  SetDesignClientSize(524, 399);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  lvStartup = Make<ui::TListView>("lvStartup");
  lvStartup->SetBounds(8, 8, 508, 346);
  lvStartup->SetCheckboxes(true);
  lvStartup->SetRowSelect(true);
  lvStartup->SetReadOnly(true);
  lvStartup->AddColumn("Startup Program", 90);
  lvStartup->AddColumn("File", 160);
  lvStartup->AddColumn("Location", 200);

  bSelectAll = Make<ui::TButton>("bSelectAll");
  bSelectAll->SetBounds(8, 364, 90, 25);
  bSelectAll->SetCaption("Select &All");
  bSelectAll->OnClick = [this] { bSelectAllClick(); };
  bSelectNone = Make<ui::TButton>("bSelectNone");
  bSelectNone->SetBounds(106, 364, 90, 25);
  bSelectNone->SetCaption("Select &None");
  bSelectNone->OnClick = [this] { bSelectNoneClick(); };
  bDeleteEntry = Make<ui::TButton>("bDeleteEntry");
  bDeleteEntry->SetBounds(204, 364, 90, 25);
  bDeleteEntry->SetCaption("&Delete Entry");
  bDeleteEntry->OnClick = [this] { bDeleteEntryClick(); };
  bClose = Make<ui::TButton>("bClose");
  bClose->SetBounds(426, 364, 90, 25);
  bClose->SetCaption("&Close");
  bClose->SetCancel(true);
  bClose->SetModalResult(ui::ModalResult::Cancel);

  OnShow = [this] { FormShow(); };
}

void TfrmStartupManager::FormShow() {
  const bool with9xKeys = IsWindows9x(GetWindowsVersion());
  std::vector<StartupEntry> entries;
  try {
    for (size_t i = 0; i < kStartupSources.size(); ++i) {
      if (kStartupSources[i].only9x && !with9xKeys) continue;
      ListStartupSource(i, entries);
    }
  } catch (const std::exception& error) {
    // No shell link object: the listing ends here, the entries found so far are shown.
    ShowErrorBox(Host(), this, error.what());
  }

  std::vector<ui::TListItem> rows;
  rows.reserve(entries.size());
  for (StartupEntry& entry : entries) {
    ui::TListItem row;
    row.caption = std::move(entry.caption);
    row.subItems = {std::move(entry.file), StartupLocationText(kStartupSources[entry.source])};
    row.data = static_cast<int>(entry.source);
    rows.push_back(std::move(row));
  }
  lvStartup->AddItems(std::move(rows));
  if (lvStartup->Count() > 0) {
    for (size_t i = 0; i < lvStartup->Columns().size(); ++i) lvStartup->AutoSizeColumn(i);
  }
  TranslateToCurrentLanguage(*this);
}

void TfrmStartupManager::bSelectAllClick() { lvStartup->SetAllChecked(true); }

void TfrmStartupManager::bSelectNoneClick() { lvStartup->SetAllChecked(false); }

void TfrmStartupManager::bDeleteEntryClick() {
  if (lvStartup->CheckedCount() == 0) return;
  Platform& platform = CurrentPlatform();
  const RegExportContext context{*platform.files, *platform.ansi, *platform.registry};
  // One file per command, named as a repair names its file, so the Restore dialog lists it.
  const std::string backupFile =
      MakeBackupFileName(OptionsSetting.OutputDirectory, platform.clock ? platform.clock->Now() : LocalDateTime{});
  for (size_t i = lvStartup->Count(); i-- > 0;) {
    const ui::TListItem& item = lvStartup->Item(i);
    if (!item.checked) continue;
    if (RemoveEntry(item, context, backupFile)) lvStartup->Delete(i);
  }
}

}  // namespace quillet
