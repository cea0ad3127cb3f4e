#include "tools/Restore.h"

#include <algorithm>

#include "base/AppIdentity.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"
#include "tools/BackupFiles.h"
#include "tools/BackupView.h"
#include "tools/ProgressNotice.h"

namespace quillet {

TfrmRestore::TfrmRestore(ui::UiHost& host) : TForm(host, "frmRestore") {
  SetDesignClientSize(492, 396);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  suiGroupBox1 = Make<ui::TGroupBox>("suiGroupBox1");
  suiGroupBox1->SetBounds(8, 8, 476, 56);
  suiGroupBox1->SetCaption("Backup files are stored in the folder");
  eFolder = Make<ui::TEdit>("eFolder", suiGroupBox1);
  eFolder->SetBounds(10, 22, 416, 21);
  eFolder->SetReadOnly(true);
  bBrowseFolder = Make<ui::TButton>("bBrowseFolder", suiGroupBox1);
  bBrowseFolder->SetBounds(432, 21, 32, 23);
  bBrowseFolder->SetCaption("...");
  bBrowseFolder->OnClick = [this] { bBrowseFolderClick(); };

  ListView1 = Make<ui::TListView>("ListView1");
  ListView1->SetBounds(8, 72, 476, 280);
  ListView1->AddColumn("Backup file", 250);
  ListView1->AddColumn("Date", 130);
  ListView1->AddColumn("Size", 92);
  ListView1->SetMultiSelect(false);
  ListView1->SetRowSelect(true);
  ListView1->SetColumnClick(false);
  ListView1->SetReadOnly(true);
  ListView1->OnDblClick = [this] { ListView1DblClick(); };

  ActionList1 = Make<ui::TActionList>("ActionList1");
  aRestore = Make<ui::TAction>("aRestore", *ActionList1);
  aRestore->Caption = "&Restore";
  aRestore->OnExecute = [this] { aRestoreExecute(); };
  aRestore->OnUpdate = [this] { aRestoreUpdate(); };
  aDelete = Make<ui::TAction>("aDelete", *ActionList1);
  aDelete->Caption = "&Delete";
  aDelete->OnExecute = [this] { aDeleteExecute(); };

  bRestore = Make<ui::TButton>("bRestore");
  bRestore->SetBounds(8, 362, 80, 25);
  bRestore->SetCaption(aRestore->Caption);
  bRestore->OnClick = [this] { aRestore->Execute(); };
  bView = Make<ui::TButton>("bView");
  bView->SetBounds(106, 362, 80, 25);
  bView->SetCaption("&View…");
  // The default button: Enter on a row of the list opens the viewer.
  bView->SetDefault(true);
  bView->OnClick = [this] { bViewClick(); };
  bOpenDirectory = Make<ui::TButton>("bOpenDirectory");
  bOpenDirectory->SetBounds(204, 362, 100, 25);
  bOpenDirectory->SetCaption("&Open Directory");
  bOpenDirectory->OnClick = [this] { bOpenDirectoryClick(); };
  bDelete = Make<ui::TButton>("bDelete");
  bDelete->SetBounds(322, 362, 70, 25);
  bDelete->SetCaption(aDelete->Caption);
  bDelete->OnClick = [this] { aDelete->Execute(); };
  bClose = Make<ui::TButton>("bClose");
  bClose->SetBounds(404, 362, 80, 25);
  bClose->SetCaption("&Close");
  bClose->SetCancel(true);
  bClose->SetModalResult(ui::ModalResult::Cancel);

  OnShow = [this] { FormShow(); };
  OnIdle = [this] { FormIdle(); };
  FormCreate();
}

void TfrmRestore::FormCreate() { SetCaption(kMessageBoxTitle); }

void TfrmRestore::FormShow() {
  eFolder->SetText(OptionsSetting.OutputDirectory);
  ListFolder(eFolder->Text());
  TranslateToCurrentLanguage(*this);
  ArrangeButtons();
}

void TfrmRestore::ArrangeButtons() {
  // Translated captions may be longer than the English ones the buttons were sized for.
  const int needed = Host().TextWidth(bOpenDirectory->Font(), bOpenDirectory->Caption()) + 5;
  if (bOpenDirectory->Width() < needed) bOpenDirectory->SetWidth(needed);
  const int gap = (bClose->Left() - bRestore->Left() - bRestore->Width() - bView->Width() - bOpenDirectory->Width() -
                   bDelete->Width()) /
                  4;
  bView->SetLeft(bRestore->Right() + gap);
  bOpenDirectory->SetLeft(bView->Right() + gap);
  bDelete->SetLeft(bOpenDirectory->Right() + gap);
}

void TfrmRestore::ListFolder(const std::string& folder) {
  Platform& platform = CurrentPlatform();
  if (!platform.files->FolderExists(folder)) {
    ui::MessageBoxRequest message;
    message.text = GetLangText("RES_Directory_Not_Exist", "The backup directory does not exist.");
    message.title = kMessageBoxTitle;
    message.icon = ui::MessageIcon::Information;
    Host().MessageBox(this, message);
    return;
  }
  std::vector<ui::TListItem> items;
  for (BackupFileRow& row : ListBackupFiles(*platform.files, *platform.clock, folder)) {
    items.push_back({std::move(row.name), {std::move(row.date), std::move(row.size)}});
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const ui::TListItem& a, const ui::TListItem& b) { return ListView1Compare(a, b) < 0; });
  ListView1->AddItems(std::move(items));
}

int TfrmRestore::ListView1Compare(const ui::TListItem& item1, const ui::TListItem& item2) {
  return CompareBackupNames(item1.caption, item2.caption);
}

void TfrmRestore::bBrowseFolderClick() {
  std::string folder;
  if (!BrowseForFolder(GetLangText("RES_Select_Directory", "Please select the directory to add"), folder)) return;
  // Only this opening of the dialog looks elsewhere; the backup folder setting stays.
  eFolder->SetText(folder);
  ListView1->Clear();
  ListFolder(folder);
}

void TfrmRestore::bOpenDirectoryClick() { Host().OpenDocument(eFolder->Text()); }

std::string TfrmRestore::SelectedFilePath(size_t row) const {
  return WithTrailingBackslash(eFolder->Text()) + ListView1->Item(row).caption;
}

void TfrmRestore::aRestoreExecute() {
  const int row = ListView1->FirstSelected();
  if (row < 0) return;
  const std::string commandLine = "Regedit /s \"" + SelectedFilePath(static_cast<size_t>(row)) + "\"";
  const bool ended =
      RunWithProgressNotice(Host(), commandLine, GetLangText("RES_Restory_Registry", "Restore registry..."));
  // A stopped editor may have brought back only part of the file: it stays, and so does its row.
  if (ended && OptionsSetting.DeleteBackupFile) aDeleteExecute();
}

void TfrmRestore::bViewClick() {
  const int row = ListView1->FirstSelected();
  if (row < 0) return;
  TfrmBackupView viewer(Host());
  viewer.FileName = SelectedFilePath(static_cast<size_t>(row));
  viewer.ShowModal();
}

void TfrmRestore::aDeleteExecute() {
  const int selected = ListView1->FirstSelected();
  if (selected < 0) return;
  const auto row = static_cast<size_t>(selected);
  // A file the shell cannot delete loses its row all the same; the next listing shows it again.
  ShellDeleteFile(SelectedFilePath(row));
  ListView1->Delete(row);
  if (ListView1->Count() == 0) return;
  ListView1->SetSelected(row < ListView1->Count() ? row : ListView1->Count() - 1, true);
}

void TfrmRestore::aRestoreUpdate() {
  const bool rowSelected = ListView1->SelectedCount() > 0;
  aRestore->Enabled = rowSelected;
  aDelete->Enabled = rowSelected;
}

void TfrmRestore::FormIdle() {
  aRestore->Update();
  aDelete->Update();
  bRestore->SetEnabled(aRestore->Enabled);
  bView->SetEnabled(aRestore->Enabled);
  bDelete->SetEnabled(aDelete->Enabled);
}

}  // namespace quillet
