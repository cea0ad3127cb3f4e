#include "settings/Options.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/AppIdentity.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/IgnoreEntryText.h"
#include "settings/OptionsSetting.h"
#include "settings/RegAddRegistry.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {
namespace {

constexpr std::string_view kSystemsWithRestorePoints = "(XP, Vista, 7, 8)";

// Rows of a list view, one unticked row per entry of an ignore list. A count the file left out
// of step with its list shows no more entries than the list has.
void FillIgnoreList(ui::TListView& list, const std::vector<std::string>& entries, int count) {
  const size_t shown = std::min(entries.size(), static_cast<size_t>(std::max(count, 0)));
  std::vector<ui::TListItem> rows;
  rows.reserve(shown);
  for (size_t i = 0; i < shown; ++i) rows.push_back({.caption = entries[i]});
  list.Clear();
  list.AddItems(std::move(rows));
}

std::vector<std::string> Captions(const ui::TListView& list) {
  std::vector<std::string> captions;
  captions.reserve(list.Count());
  for (size_t i = 0; i < list.Count(); ++i) captions.push_back(list.Item(i).caption);
  return captions;
}

}  // namespace

std::string RestorePointCaption(const std::string& translated) {
  const size_t at = FindText(translated, "(XP");
  if (at == std::string::npos) return translated;
  return translated.substr(0, at) + std::string(kSystemsWithRestorePoints);
}

TfrmOptions::TfrmOptions(ui::UiHost& host) : TForm(host, "frmOptions") {
  SetCaption("Options");
  SetDesignClientSize(455, 364);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  suiPageControl1 = Make<ui::TPageControl>("suiPageControl1");
  suiPageControl1->SetBounds(8, 8, 439, 316);

  suiTabSheet1 = Make<ui::TTabSheet>("suiTabSheet1", *suiPageControl1);
  suiTabSheet1->SetCaption("General");
  GroupBox1 = Make<ui::TGroupBox>("GroupBox1", suiTabSheet1);
  GroupBox1->SetBounds(8, 6, 415, 86);
  suiGroupBox1 = Make<ui::TGroupBox>("suiGroupBox1", GroupBox1);
  suiGroupBox1->SetBounds(8, 12, 399, 64);
  suiGroupBox1->SetCaption("Select a destination folder to backup deleted entries by repairing");
  eOutputFolder = Make<ui::TEdit>("eOutputFolder", suiGroupBox1);
  eOutputFolder->SetBounds(12, 26, 338, 22);
  bBrowse = Make<ui::TButton>("bBrowse", suiGroupBox1);
  bBrowse->SetBounds(356, 25, 30, 24);
  bBrowse->SetCaption("...");
  bBrowse->OnClick = [this] { bBrowseClick(); };

  GroupBox2 = Make<ui::TGroupBox>("GroupBox2", suiTabSheet1);
  GroupBox2->SetBounds(8, 98, 415, 178);
  const struct {
    ui::TCheckBox** box;
    const char* name;
    const char* caption;
  } switches[] = {
      {&cbCreateRestore, "cbCreateRestore", "Create a system restore point before repair (XP, Vista, 7, 8)"},
      {&cbDeleteBackupFile, "cbDeleteBackupFile", "Delete backup file after restoring the registry on restore dialog"},
      {&cbIncludeRemoveMedia, "cbIncludeRemoveMedia", "Include all references to removable media"},
      {&cbIncludeCDdrive, "cbIncludeCDdrive", "Include all references to CD drive"},
      {&cbShowHint, "cbShowHint", "Show hint dialog after repairing registry issue"},
      {&cbBeep, "cbBeep", "Beep after the scan and repair action"},
  };
  int top = 18;
  for (const auto& entry : switches) {
    *entry.box = Make<ui::TCheckBox>(entry.name, GroupBox2);
    (*entry.box)->SetBounds(14, top, 390, 20);
    (*entry.box)->SetCaption(entry.caption);
    top += 26;
  }

  suiTabSheet2 = Make<ui::TTabSheet>("suiTabSheet2", *suiPageControl1);
  suiTabSheet2->SetCaption("Ignore Lists");
  Label1 = Make<ui::TLabel>("Label1", suiTabSheet2);
  Label1->SetBounds(8, 8, 0, 0);
  Label1->SetCaption("The following registry values and keys will be ignored:");
  suiPageControl2 = Make<ui::TPageControl>("suiPageControl2", suiTabSheet2);
  suiPageControl2->SetBounds(8, 28, 415, 214);
  suiTabSheet3 = Make<ui::TTabSheet>("suiTabSheet3", *suiPageControl2);
  suiTabSheet3->SetCaption("Values");
  lvValues = MakeIgnoreList("lvValues", suiTabSheet3);
  suiTabSheet4 = Make<ui::TTabSheet>("suiTabSheet4", *suiPageControl2);
  suiTabSheet4->SetCaption("Keys");
  lvKeys = MakeIgnoreList("lvKeys", suiTabSheet4);
  bAdd = Make<ui::TButton>("bAdd", suiTabSheet2);
  bAdd->SetBounds(8, 250, 80, 25);
  bAdd->SetCaption("&Add");
  bAdd->OnClick = [this] { bAddClick(); };
  bEdit = Make<ui::TButton>("bEdit", suiTabSheet2);
  bEdit->SetBounds(94, 250, 80, 25);
  bEdit->SetCaption("&Edit");
  bEdit->OnClick = [this] { bEditClick(); };
  bRemove = Make<ui::TButton>("bRemove", suiTabSheet2);
  bRemove->SetBounds(180, 250, 80, 25);
  bRemove->SetCaption("&Remove");
  bRemove->OnClick = [this] { bRemoveClick(); };

  bOK = Make<ui::TButton>("bOK");
  bOK->SetBounds(290, 332, 75, 25);
  bOK->SetCaption("&OK");
  bOK->SetDefault(true);
  bOK->OnClick = [this] { bOKClick(); };
  bCancel = Make<ui::TButton>("bCancel");
  bCancel->SetBounds(372, 332, 75, 25);
  bCancel->SetCaption("&Cancel");
  bCancel->SetCancel(true);
  bCancel->SetModalResult(ui::ModalResult::Cancel);

  OnShow = [this] { FormShow(); };
}

ui::TListView* TfrmOptions::MakeIgnoreList(const std::string& name, ui::TTabSheet* page) {
  ui::TListView* list = Make<ui::TListView>(name, page);
  list->SetBounds(4, 4, 399, 176);
  list->AddColumn("Items", 360);
  list->SetCheckboxes(true);
  list->SetRowSelect(true);
  list->SetReadOnly(true);
  list->SetColumnClick(false);
  list->OnDblClick = [this] { bEditClick(); };
  return list;
}

void TfrmOptions::FormShow() {
  eOutputFolder->SetText(OptionsSetting.OutputDirectory);
  cbCreateRestore->SetChecked(OptionsSetting.RestorePoint);
  cbDeleteBackupFile->SetChecked(OptionsSetting.DeleteBackupFile);
  cbIncludeRemoveMedia->SetChecked(OptionsSetting.IncludeRemoveMedia);
  cbIncludeCDdrive->SetChecked(OptionsSetting.IncludeCDdrive);
  cbShowHint->SetChecked(OptionsSetting.ShowHint);
  cbBeep->SetChecked(OptionsSetting.Beep);
  FillIgnoreList(*lvValues, OptionsSetting.IgnoreValues, OptionsSetting.IgnoreValueCount);
  FillIgnoreList(*lvKeys, OptionsSetting.IgnoreKeys, OptionsSetting.IgnoreKeyCount);
  suiPageControl1->SetActivePageIndex(0);
  TranslateToCurrentLanguage(*this);
  cbCreateRestore->SetCaption(RestorePointCaption(cbCreateRestore->Caption()));
}

void TfrmOptions::bOKClick() {
  const std::string folder = eOutputFolder->Text();
  // Taken as typed: surrounding blanks are part of the name, and the folder is not created here.
  if (!CurrentPlatform().files->FolderExists(folder)) {
    Host().MessageBox(this, {.text = folder + "," + GetLangText("RES_Directory_Not_Exist",
                                                                "The backup directory does not exist."),
                             .title = kMessageBoxTitle,
                             .buttons = ui::MessageButtons::Ok,
                             .icon = ui::MessageIcon::Error});
    suiPageControl1->SetActivePageIndex(0);
    SetActiveControl(eOutputFolder);
    return;
  }
  OptionsSetting.OutputDirectory = folder;
  OptionsSetting.RestorePoint = cbCreateRestore->Checked();
  OptionsSetting.DeleteBackupFile = cbDeleteBackupFile->Checked();
  OptionsSetting.IncludeRemoveMedia = cbIncludeRemoveMedia->Checked();
  OptionsSetting.IncludeCDdrive = cbIncludeCDdrive->Checked();
  OptionsSetting.ShowHint = cbShowHint->Checked();
  OptionsSetting.Beep = cbBeep->Checked();
  OptionsSetting.IgnoreValues = Captions(*lvValues);
  OptionsSetting.IgnoreValueCount = static_cast<int>(OptionsSetting.IgnoreValues.size());
  OptionsSetting.IgnoreKeys = Captions(*lvKeys);
  OptionsSetting.IgnoreKeyCount = static_cast<int>(OptionsSetting.IgnoreKeys.size());
  SetModalResult(ui::ModalResult::Ok);
}

void TfrmOptions::bBrowseClick() {
  std::string folder;
  if (BrowseForFolder(GetLangText("RES_Select_Directory", "Please select the directory to add"), folder)) {
    eOutputFolder->SetText(folder);
  }
}

ui::TListView& TfrmOptions::ActiveIgnoreList() const {
  return suiPageControl2->ActivePageIndex() == 1 ? *lvKeys : *lvValues;
}

// An entry that options.ini would not give back as typed is refused with a message.
bool TfrmOptions::AskForEntry(std::string& text) {
  TfrmRegAddRegistry dialog(Host());
  dialog.eRegistryKey->SetText(text);
  if (dialog.ShowModal() != ui::ModalResult::Ok) return false;
  const std::string typed = dialog.eRegistryKey->Text();
  if (!CanKeepIgnoreEntry(typed)) {
    Host().MessageBox(this, {.text = IgnoreEntryRefusedText(),
                             .title = kMessageBoxTitle,
                             .buttons = ui::MessageButtons::Ok,
                             .icon = ui::MessageIcon::Warning});
    return false;
  }
  text = typed;
  return true;
}

void TfrmOptions::bAddClick() {
  std::string entry;
  if (!AskForEntry(entry)) return;
  ui::TListView& list = ActiveIgnoreList();
  for (size_t i = 0; i < list.Count(); ++i) {
    if (SameText(list.Item(i).caption, entry)) return;
  }
  list.AddItem({.caption = entry});
}

// Editing makes no duplicate test: an entry may become equal to another one.
void TfrmOptions::bEditClick() {
  ui::TListView& list = ActiveIgnoreList();
  const int selected = list.FirstSelected();
  if (selected < 0) return;
  const size_t row = static_cast<size_t>(selected);
  std::string entry = list.Item(row).caption;
  if (!AskForEntry(entry)) return;
  ui::TListItem item = list.Item(row);
  item.caption = entry;
  list.SetItem(row, std::move(item));
}

// Only the ticks count; the selection plays no part.
void TfrmOptions::bRemoveClick() {
  ActiveIgnoreList().RemoveIf([](size_t, const ui::TListItem& item) { return item.checked; });
}

}  // namespace quillet
