#include "tools/BackupView.h"

#include "base/AppIdentity.h"
#include "main/RegExport.h"
#include "tools/BackupFiles.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "settings/Translation.h"
#include "tools/ProgressNotice.h"

namespace quillet {
namespace {

// The part file handed to the registry editor; it lives only while the editor runs.
constexpr const char* kPartFileName = "QuilletRestoreSelected.reg";

}  // namespace

TfrmBackupView::TfrmBackupView(ui::UiHost& host) : TForm(host, "frmBackupView") {
  SetDesignClientSize(520, 420);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);
  SetCaption("Backup File Contents");

  lFile = Make<ui::TLabel>("lFile");
  lFile->SetBounds(8, 8, 504, 16);
  tvContents = Make<ui::TTreeView>("tvContents");
  tvContents->SetBounds(8, 28, 504, 330);
  tvContents->SetReadOnly(true);
  tvContents->SetTickStateImages(true);
  tvContents->OnMouseDown = [this](ui::MouseButton button, ui::ShiftState shift, int x, int y) {
    tvContentsMouseDown(button, shift, x, y);
  };
  tvContents->OnTickKey = [this](ui::TTreeNode& node) { ToggleNode(node); };
  lProblem = Make<ui::TLabel>("lProblem");
  lProblem->SetBounds(8, 364, 504, 16);

  bRestoreSelected = Make<ui::TButton>("bRestoreSelected");
  bRestoreSelected->SetBounds(8, 387, 160, 25);
  bRestoreSelected->SetCaption("&Restore selected");
  bRestoreSelected->OnClick = [this] { bRestoreSelectedClick(); };
  bClose = Make<ui::TButton>("bClose");
  bClose->SetBounds(432, 387, 80, 25);
  bClose->SetCaption("&Close");
  bClose->SetCancel(true);
  bClose->SetModalResult(ui::ModalResult::Cancel);

  OnShow = [this] { FormShow(); };
}

void TfrmBackupView::FormShow() {
  TranslateToCurrentLanguage(*this);
  lFile->SetCaption(FileName);
  LoadContents();
}

void TfrmBackupView::LoadContents() {
  Platform& platform = CurrentPlatform();
  const std::optional<std::string> bytes = platform.files->ReadFile(FileName);
  if (bytes) {
    ReadBackupContents(*bytes, *platform.ansi, contents_);
  } else {
    contents_.keys.clear();
    contents_.problem = "cannot read \"" + FileName + "\"";
  }
  // Filled after the translation, so no key of the language file renames a node.
  const std::string defaultName = GetLangText("RES_View_Default_Value", "(Default)");
  targets_.clear();
  for (size_t k = 0; k < contents_.keys.size(); ++k) {
    const BackupKey& key = contents_.keys[k];
    ui::TTreeNode* keyNode = tvContents->AddChild(nullptr, std::string(RootName(key.root)) + "\\" + key.path);
    targets_.push_back({k, -1});
    for (size_t v = 0; v < key.values.size(); ++v) {
      const RegistryValue& value = key.values[v].value;
      tvContents->AddChild(keyNode, (value.name.empty() ? defaultName : value.name) + " [" + ValueKindName(value.type) +
                                        "] = " + ValueDataText(value));
      targets_.push_back({k, static_cast<int>(v)});
    }
  }
  tvContents->FullExpand();
  if (contents_.problem) {
    std::string text = GetLangText("RES_View_Unreadable", "This file cannot be restored in part: the reader stops at %s");
    const size_t placeholder = text.find("%s");
    if (placeholder != std::string::npos) text.replace(placeholder, 2, *contents_.problem);
    lProblem->SetCaption(text);
  }
  ShowTicks();
}

void TfrmBackupView::ShowTicks() {
  const std::vector<ui::TTreeNode*> nodes = tvContents->Nodes();
  bool anyTicked = false;
  for (size_t i = 0; i < nodes.size() && i < targets_.size(); ++i) {
    const BackupKey& key = contents_.keys[targets_[i].key];
    const bool ticked = targets_[i].value < 0 ? key.ticked : key.values[static_cast<size_t>(targets_[i].value)].ticked;
    nodes[i]->SetStateIndex(ticked ? 2 : 1);
    anyTicked = anyTicked || (targets_[i].value < 0 && ticked);
  }
  // A file the reader stops in is never restored in part.
  bRestoreSelected->SetEnabled(anyTicked && !contents_.problem);
}

void TfrmBackupView::tvContentsMouseDown(ui::MouseButton, ui::ShiftState, int x, int y) {
  if (!tvContents->GetHitTestInfoAt(x, y).onStateIcon) return;
  if (ui::TTreeNode* node = tvContents->GetNodeAt(x, y)) ToggleNode(*node);
}

void TfrmBackupView::ToggleNode(const ui::TTreeNode& node) {
  const auto index = static_cast<size_t>(node.AbsoluteIndex());
  if (index >= targets_.size()) return;
  BackupKey& key = contents_.keys[targets_[index].key];
  if (targets_[index].value < 0) {
    key.ticked = !key.ticked;
    for (BackupValue& value : key.values) value.ticked = key.ticked;
  } else {
    BackupValue& value = key.values[static_cast<size_t>(targets_[index].value)];
    value.ticked = !value.ticked;
    if (value.ticked) key.ticked = true;
  }
  ShowTicks();
}

std::string TfrmBackupView::TemporaryFilePath() const {
  FileSystem& files = *CurrentPlatform().files;
  std::string folder = files.GetEnvironmentVariable("TEMP").value_or("");
  if (folder.empty() || !files.FolderExists(folder)) folder = OptionsSetting.OutputDirectory;
  return WithTrailingBackslash(folder) + kPartFileName;
}

void TfrmBackupView::bRestoreSelectedClick() {
  if (contents_.problem) return;
  Platform& platform = CurrentPlatform();
  const std::string path = TemporaryFilePath();
  ui::MessageBoxRequest message;
  message.title = kMessageBoxTitle;
  message.icon = ui::MessageIcon::Error;
  try {
    if (!platform.files->WriteFile(path, SelectedSectionsFile(contents_, *platform.ansi))) {
      message.text = "cannot write \"" + path + "\"";
      Host().MessageBox(this, message);
      return;
    }
  } catch (const std::exception& error) {
    message.text = error.what();
    Host().MessageBox(this, message);
    return;
  }
  const bool ended =
      RunWithProgressNotice(Host(), "Regedit /s \"" + path + "\"", GetLangText("RES_Restory_Registry", "Restore registry..."));
  // The part file goes either way; the backup file stays as it is.
  (void)platform.files->DeleteFile(path);
  if (ended) SetModalResult(ui::ModalResult::Ok);
}

}  // namespace quillet
