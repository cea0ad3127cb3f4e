#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/ProblemList.h"
#include "scan/RegProgressHint.h"
#include "settings/OptionsFile.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"

namespace quillet {

class TScanTaskThread;

// The main window: the category tree to tick, the problem list the scanners fill, the counts in
// the status bar, the menus and the task buttons. It owns every dialog the program shows.
class TfrmQuillet : public ui::TForm, public ScanOwner, public OptionsWindow {
 public:
  // arguments: the command line without the program's name.
  TfrmQuillet(ui::UiHost& host, std::vector<std::string> arguments);
  ~TfrmQuillet() override;

  ui::TImage* imgTitle;
  ui::TImage* Image1;
  ui::TLabel* lTitle;
  ui::TLabel* lTitleHint;
  ui::TImage* iUpdate;
  ui::TLabel* lUpdate;
  ui::TLabel* Label1;
  ui::TSpeedButton* bScanRegistry;
  ui::TSpeedButton* bRepairRegistry;
  ui::TSpeedButton* bRestoreRegistry;
  ui::TLabel* Label2;
  ui::TTreeView* tvRegistry;
  TProblemList* lvRegistryData;
  ui::TStatusBar* StatusBar1;
  ui::TListBox* ListBox1;
  ui::TListBox* ListBox2;
  ui::TSaveDialog* SaveDialog1;
  ui::TActionList* ActionList1;
  ui::TAction* aSelectAll;
  ui::TAction* aSelectAllType;
  ui::TAction* aSelectNone;
  ui::TAction* aSelectNoneType;
  ui::TAction* aIgnoreListAdd;
  ui::TAction* aSaveText;
  ui::TAction* aOpenRegedit;
  ui::TAction* aLanguage;
  ui::TMainMenu* MainMenu1;
  ui::TPopupMenu* PopupMenu1;

  // Menu entries by component name ("miOptions", "pmSelectAll", "miGerman"); nullptr if none.
  ui::TMenuItem* MenuItem(const std::string& name) const;
  // The Language menu's language entries, in menu order.
  std::vector<ui::TMenuItem*> LanguageItems() const;

  bool CleanOnce = false;
  // The ticked category codes of the last scan command; none until the first scan.
  std::unique_ptr<std::vector<std::string>> SelectedCategoryCodes;
  // Key and value texts of the rows a repair of this run left undone.
  std::vector<std::string> UnrepairedKeys;
  std::vector<std::string> UnrepairedValues;
  std::string CurrentBackupFile;

  // Called with each scan thread just before it starts; tests put their own scanners in.
  std::function<void(TScanTaskThread&)> PrepareScan;

  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormResize();
  void FormClose(ui::CloseAction& action);
  void ArrangeControls();

  void tvRegistryMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void tvRegistryCollapsing(ui::TTreeNode& node, bool& allowCollapse);
  void lvRegistryDataClick();

  void bScanRegistryClick();
  void miExitClick();
  void miHelpClick();
  void miHomePageClick();
  void lUpdateClick();
  void miAboutClick();
  void miOptionsClick();
  void miStartupManagerClick();
  void aSelectAllExecute();
  // The backup tools: the Restore dialog, the whole registry into a file, the system's backup
  // program.
  void bRestoreRegistryClick();
  void miBackupFullRegistryClick();
  void miWindowsBackupClick();

  // The Language menu: switches the window to the clicked item's language, and before the menu
  // opens shows only the languages that have a file.
  void miEnglishClick(ui::TMenuItem& item);
  void aLanguageUpdate();

  // The problem list's commands, on the Edit menu and the list's pop-up menu.
  void aSelectNoneExecute();
  void aSelectAllTypeExecute();
  void aSelectNoneTypeExecute();
  void aIgnoreListAddExecute();
  void aSaveTextExecute();
  void aOpenRegeditExecute();
  void aSelectAllTypeUpdate();
  void aSaveTextUpdate();
  void aOpenRegeditUpdate();
  // The entry equals, ignoring case, one of IgnoreKeys (inKeys) or of IgnoreValues.
  bool IsInIgnoreList(const std::string& entry, bool inKeys) const;
  // Opens the registry editor at the key, or the key and value, the path names; tells the user
  // when neither exists.
  void OpenInRegEdit(const std::string& path);
  void NavigateRegEdit(const std::string& rootName, const std::string& keyPath, const std::string& valueName);
  // Removes the rows that must never be offered for repair; runs after every scan.
  void FilterScanResults();
  // Backs every ticked row's entry up into one dated file, deletes it, and takes the row off
  // the list; rows it could not repair are remembered and hidden from later scans.
  void bRepairRegistryClick();

  void UMActivateInstance();
  void UMCleanOnce();

  enum class TreeWalk { Collect, Tick1, Tick2, Store, Restore };
  // Visits start, its following siblings and all their descendants, each node before its children.
  void WalkCategoryTree(ui::TTreeNode* start, TreeWalk mode);
  void UpdateProblemCounts();

  // ScanOwner
  ui::TForm& OwnerForm() override { return *this; }
  TProblemList& ProblemList() override { return *lvRegistryData; }
  bool IsCleanOnce() const override { return CleanOnce; }
  void PrepareScanThread(TScanTaskThread& thread) override;

  // OptionsWindow
  ui::TForm& MainForm() override { return *this; }
  void StoreCategoryTicks() override { WalkCategoryTree(tvRegistry->First(), TreeWalk::Store); }

 private:
  void BuildBanner();
  void BuildTasks();
  void BuildCategoryTree();
  void BuildProblemList();
  void BuildActions();
  void BuildMenus();
  void SizeTaskButtons();

  std::vector<std::string> arguments_;
  bool cleanOnceStarted_ = false;  // the window is made once per process, so this is per process too
};

}  // namespace quillet
