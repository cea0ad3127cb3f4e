#pragma once

#include <string>

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/StdControls.h"

namespace quillet {

// The restore-point switch's caption after translation: whatever a language file says from "(XP"
// on, the list of systems is the program's own; a caption without "(XP" stays as it is.
std::string RestorePointCaption(const std::string& translated);

// The options dialog: backup folder, the six switches and both ignore lists. It works on copies
// made when shown; only OK writes them back into OptionsSetting.
class TfrmOptions : public ui::TForm {
 public:
  explicit TfrmOptions(ui::UiHost& host);

  ui::TPageControl* suiPageControl1;
  ui::TTabSheet* suiTabSheet1;
  ui::TGroupBox* GroupBox1;
  ui::TGroupBox* suiGroupBox1;
  ui::TEdit* eOutputFolder;
  ui::TButton* bBrowse;
  ui::TGroupBox* GroupBox2;
  ui::TCheckBox* cbCreateRestore;
  ui::TCheckBox* cbDeleteBackupFile;
  ui::TCheckBox* cbIncludeRemoveMedia;
  ui::TCheckBox* cbIncludeCDdrive;
  ui::TCheckBox* cbShowHint;
  ui::TCheckBox* cbBeep;
  ui::TTabSheet* suiTabSheet2;
  ui::TLabel* Label1;
  ui::TPageControl* suiPageControl2;
  ui::TTabSheet* suiTabSheet3;
  ui::TListView* lvValues;
  ui::TTabSheet* suiTabSheet4;
  ui::TListView* lvKeys;
  ui::TButton* bAdd;
  ui::TButton* bEdit;
  ui::TButton* bRemove;
  ui::TButton* bOK;
  ui::TButton* bCancel;

  void FormShow();
  void bOKClick();
  void bBrowseClick();
  void bAddClick();
  void bEditClick();
  void bRemoveClick();

  // lvKeys while the "Keys" page is in front, lvValues otherwise.
  ui::TListView& ActiveIgnoreList() const;

 private:
  ui::TListView* MakeIgnoreList(const std::string& name, ui::TTabSheet* page);
  // The Add to Ignore List dialog started with this text; the confirmed text, or false on Cancel.
  bool AskForEntry(std::string& text);
};

}  // namespace quillet
