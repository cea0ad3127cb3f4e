#include "main/RegMain.h"

#include <algorithm>
#include <array>

#include "main/About.h"
#include "base/AppIdentity.h"
#include "ui/ErrorBox.h"
#include "main/SafeKeys.h"
#include "main/WebAddresses.h"
#include "base/WindowMessages.h"
#include "scan/ScanCategory.h"
#include "scan/ScanTask.h"
#include "settings/LanguageMenu.h"
#include "settings/Options.h"
#include "settings/OptionsSetting.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"
#include "tools/StartupManager.h"

namespace quillet {
namespace {

using ui::TShortCut;

constexpr int kCountPanelWidth = 200;  // the status line's first panel, as designed

// The menu bar and the problem list's pop-up menu. An entry names its parent entry (nullptr
// for the top of its menu) and either a caption of its own or the action it shows; the
// Language menu's entries come from the language table.
struct MenuEntry {
  const char* parent;
  const char* name;
  const char* caption;
  TShortCut shortCut;
  const char* action;
};

constexpr std::array<MenuEntry, 26> kMainMenu{{
    {nullptr, "miFile", "&File", {}, nullptr},
    {"miFile", "miBackupFullRegistry", "&Backup Full Registry...", {}, nullptr},
    {"miFile", "miWindowsBackup", "&Windows Backup...", {}, nullptr},
    {"miFile", "N1", "-", {}, nullptr},
    {"miFile", "miStartupManager", "Startup &Manager...", TShortCut::Ctrl('M'), nullptr},
    {"miFile", "N2", "-", {}, nullptr},
    {"miFile", "miExit", "&Exit", {}, nullptr},
    {nullptr, "miEdit", "&Edit", {}, nullptr},
    {"miEdit", "miSelectAll", nullptr, {}, "aSelectAll"},
    {"miEdit", "miSelectAllType", nullptr, {}, "aSelectAllType"},
    {"miEdit", "N3", "-", {}, nullptr},
    {"miEdit", "miSelectNone", nullptr, {}, "aSelectNone"},
    {"miEdit", "miSelectNoneType", nullptr, {}, "aSelectNoneType"},
    {"miEdit", "N4", "-", {}, nullptr},
    {"miEdit", "miIgnoreListAdd", nullptr, {}, "aIgnoreListAdd"},
    {"miEdit", "N5", "-", {}, nullptr},
    {"miEdit", "miSaveText", nullptr, {}, "aSaveText"},
    {"miEdit", "N6", "-", {}, nullptr},
    {"miEdit", "miOpenRegedit", nullptr, {}, "aOpenRegedit"},
    {"miEdit", "N7", "-", {}, nullptr},
    {"miEdit", "miOptions", "&Options...", TShortCut::Ctrl('O'), nullptr},
    {nullptr, "miAction", "&Action", {}, nullptr},
    {"miAction", "miScanRegistry", "&Scan registry issue", TShortCut::Ctrl('S'), nullptr},
    {"miAction", "miRepairRegistry", "&Repair registry issue", TShortCut::CtrlAlt('R'), nullptr},
    {"miAction", "miRestoreRegistry", "R&estore previous registry...", TShortCut::Ctrl('E'), nullptr},
    {nullptr, "miLanguage", "Language", {}, nullptr},
}};

constexpr std::array<MenuEntry, 5> kHelpMenu{{
    {nullptr, "miHelpMenu", "&Help", {}, nullptr},
    {"miHelpMenu", "miHelp", "Online &Help", {}, nullptr},
    {"miHelpMenu", "miHomePage", "&Home Page", {}, nullptr},
    {"miHelpMenu", "N8", "-", {}, nullptr},
    {"miHelpMenu", "miAbout", "&About...", {}, nullptr},
}};

constexpr std::array<MenuEntry, 11> kPopupMenu{{
    {nullptr, "pmSelectAll", nullptr, {}, "aSelectAll"},
    {nullptr, "pmSelectAllType", nullptr, {}, "aSelectAllType"},
    {nullptr, "N9", "-", {}, nullptr},
    {nullptr, "pmSelectNone", nullptr, {}, "aSelectNone"},
    {nullptr, "pmSelectNoneType", nullptr, {}, "aSelectNoneType"},
    {nullptr, "N10", "-", {}, nullptr},
    {nullptr, "pmIgnoreListAdd", nullptr, {}, "aIgnoreListAdd"},
    {nullptr, "N11", "-", {}, nullptr},
    {nullptr, "pmSaveText", nullptr, {}, "aSaveText"},
    {nullptr, "N12", "-", {}, nullptr},
    {nullptr, "pmOpenRegedit", nullptr, {}, "aOpenRegedit"},
}};

constexpr unsigned kHeadingColor = 0x7A4A1F;   // dark blue, 0xBBGGRR
constexpr unsigned kBannerTextColor = 0xFFFFFF;
constexpr unsigned kBannerHintColor = 0xF5E6D8;
constexpr int kBannerHeight = 50;
constexpr int kTreeTop = 178;
constexpr int kListLeft = 222;
constexpr int kListTop = 58;

bool HidesWindowsBackup(int version) { return (version >= 1 && version <= 4) || version == 8; }

}  // namespace

TfrmQuillet::TfrmQuillet(ui::UiHost& host, std::vector<std::string> arguments)
    : TForm(host, "frmQuillet"), arguments_(std::move(arguments)) {
  SetCaption(kProductName);
  SetWindowClassName(kMainWindowClass);
  SetBounds(0, 0, 684, 520);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetColor(ui::BackgroundColor::Window);

  BuildBanner();
  BuildTasks();
  BuildCategoryTree();
  BuildProblemList();
  StatusBar1 = Make<ui::TStatusBar>("StatusBar1");
  StatusBar1->AddPanel(kCountPanelWidth);
  StatusBar1->AddPanel(50);

  ListBox1 = Make<ui::TListBox>("ListBox1");
  ListBox1->SetVisible(false);
  ListBox1->SetItems({SafeKeysAlways().begin(), SafeKeysAlways().end()});
  ListBox2 = Make<ui::TListBox>("ListBox2");
  ListBox2->SetVisible(false);
  ListBox2->SetItems({SafeKeysVistaTo8().begin(), SafeKeysVistaTo8().end()});
  SaveDialog1 = Make<ui::TSaveDialog>("SaveDialog1");

  BuildActions();
  BuildMenus();

  OnShow = [this] { FormShow(); };
  OnActivate = [this] { FormActivate(); };
  OnResize = [this] { FormResize(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnMessage(UM_ACTIVATE_INSTANCE, [this](uintptr_t, intptr_t) { UMActivateInstance(); });
  OnMessage(UM_CLEAN_ONCE, [this](uintptr_t, intptr_t) { UMCleanOnce(); });
  OnMessage(UM_UPDATE_COUNTS, [this](uintptr_t, intptr_t) { UpdateProblemCounts(); });

  FormCreate();
}

TfrmQuillet::~TfrmQuillet() = default;

void TfrmQuillet::BuildBanner() {
  imgTitle = Make<ui::TImage>("imgTitle");
  imgTitle->SetPicture(ui::Picture::Banner);
  imgTitle->SetBounds(0, 0, 684, kBannerHeight);
  Image1 = Make<ui::TImage>("Image1");
  Image1->SetPicture(ui::Picture::AppIcon);
  Image1->SetBounds(12, 9, 32, 32);
  lTitle = Make<ui::TLabel>("lTitle");
  lTitle->SetColor(ui::BackgroundColor::Banner);
  lTitle->SetFont({.size = 14, .bold = true, .color = kBannerTextColor});
  lTitle->SetBounds(54, 4, 0, 0);
  lTitle->SetCaption(kProductName);
  lTitleHint = Make<ui::TLabel>("lTitleHint");
  lTitleHint->SetColor(ui::BackgroundColor::Banner);
  lTitleHint->SetFont({.color = kBannerHintColor});
  lTitleHint->SetBounds(56, 30, 0, 0);
  lTitleHint->SetCaption(kTitleHint);
  iUpdate = Make<ui::TImage>("iUpdate");
  iUpdate->SetPicture(ui::Picture::UpdateIcon);
  iUpdate->SetBounds(0, 17, 16, 16);
  iUpdate->OnClick = [this] { lUpdateClick(); };
  lUpdate = Make<ui::TLabel>("lUpdate");
  lUpdate->SetColor(ui::BackgroundColor::Banner);
  lUpdate->SetFont({.underline = true, .color = kBannerTextColor});
  lUpdate->SetLink(true);
  lUpdate->SetBounds(0, 18, 0, 0);
  lUpdate->SetCaption("Check for update now...");
  lUpdate->OnClick = [this] { lUpdateClick(); };
}

void TfrmQuillet::BuildTasks() {
  Label1 = Make<ui::TLabel>("Label1");
  Label1->SetFont({.bold = true, .color = kHeadingColor});
  Label1->SetBounds(10, 60, 0, 0);
  Label1->SetCaption("Tasks");

  auto makeTask = [this](const char* name, const char* caption, ui::Picture glyph, int top) {
    ui::TSpeedButton* button = Make<ui::TSpeedButton>(name);
    button->SetGlyph(glyph);
    button->SetBounds(14, top, 180, 22);
    button->SetCaption(caption);
    return button;
  };
  bScanRegistry = makeTask("bScanRegistry", "Scan registry issues", ui::Picture::ScanGlyph, 80);
  bScanRegistry->OnClick = [this] { bScanRegistryClick(); };
  bRepairRegistry = makeTask("bRepairRegistry", "Repair registry issues", ui::Picture::RepairGlyph, 104);
  bRepairRegistry->OnClick = [this] { bRepairRegistryClick(); };
  bRestoreRegistry = makeTask("bRestoreRegistry", "Restore previous registry ", ui::Picture::RestoreGlyph, 128);
  bRestoreRegistry->OnClick = [this] { bRestoreRegistryClick(); };

  Label2 = Make<ui::TLabel>("Label2");
  Label2->SetFont({.bold = true, .color = kHeadingColor});
  Label2->SetBounds(10, 160, 0, 0);
  Label2->SetCaption("Select the sections to scan");
}

void TfrmQuillet::BuildCategoryTree() {
  tvRegistry = Make<ui::TTreeView>("tvRegistry");
  tvRegistry->SetBounds(8, kTreeTop, 206, 280);
  tvRegistry->SetReadOnly(true);
  tvRegistry->SetTickStateImages(true);
  // Codes ascend in tree order and every parent comes before its children.
  std::array<ui::TTreeNode*, 24> byCode{};
  for (const ScanCategory& category : ScanCategories()) {
    ui::TTreeNode* parent = category.parentCode ? byCode[static_cast<size_t>(category.parentCode)] : nullptr;
    byCode[static_cast<size_t>(category.code)] = tvRegistry->AddChild(parent, category.caption, category.code);
  }
  tvRegistry->OnMouseDown = [this](ui::MouseButton button, ui::ShiftState shift, int x, int y) {
    tvRegistryMouseDown(button, shift, x, y);
  };
  tvRegistry->OnCollapsing = [this](ui::TTreeNode& node, bool& allow) { tvRegistryCollapsing(node, allow); };
}

void TfrmQuillet::BuildProblemList() {
  lvRegistryData = Make<TProblemList>("lvRegistryData");
  lvRegistryData->SetBounds(kListLeft, kListTop, 452, 400);
  lvRegistryData->SetCheckboxes(true);
  lvRegistryData->SetMultiSelect(true);
  lvRegistryData->SetRowSelect(true);
  lvRegistryData->SetReadOnly(true);
  lvRegistryData->AddColumn("Problem", 120);
  lvRegistryData->AddColumn("Registry key", 300);
  lvRegistryData->AddColumn("Value", 150);
  lvRegistryData->OnClick = [this] { lvRegistryDataClick(); };
  // Why the scanner flagged a row: its tip, and the status line while it is the one selected.
  lvRegistryData->OnInfoTip = [this](size_t index) { return lvRegistryData->Item(index).reason; };
  lvRegistryData->OnSelectionChange = [this] { UpdateProblemCounts(); };
  // Ticks changed with the space bar show in the counts at once, as clicked ones do.
  lvRegistryData->OnKeyboardTick = [this] { UpdateProblemCounts(); };
}

void TfrmQuillet::BuildActions() {
  ActionList1 = Make<ui::TActionList>("ActionList1");
  auto makeAction = [this](const char* name, const char* caption, void (TfrmQuillet::*execute)()) {
    ui::TAction* action = Make<ui::TAction>(name, *ActionList1);
    action->Caption = caption;
    action->OnExecute = [this, execute] { (this->*execute)(); };
    return action;
  };
  aSelectAll = makeAction("aSelectAll", "Select &All", &TfrmQuillet::aSelectAllExecute);
  aSelectAllType = makeAction("aSelectAllType", "&Select All of Type", &TfrmQuillet::aSelectAllTypeExecute);
  aSelectNone = makeAction("aSelectNone", "Select &None", &TfrmQuillet::aSelectNoneExecute);
  aSelectNoneType = makeAction("aSelectNoneType", "S&elect None of Type", &TfrmQuillet::aSelectNoneTypeExecute);
  aIgnoreListAdd = makeAction("aIgnoreListAdd", "Add to &Ignore Lists", &TfrmQuillet::aIgnoreListAddExecute);
  aSaveText = makeAction("aSaveText", "&Save to Text File...", &TfrmQuillet::aSaveTextExecute);
  aOpenRegedit = makeAction("aOpenRegedit", "Open in &RegEdit...", &TfrmQuillet::aOpenRegeditExecute);
  aSelectAllType->OnUpdate = [this] { aSelectAllTypeUpdate(); };
  aSelectNoneType->OnUpdate = [this] { aSelectAllTypeUpdate(); };
  aIgnoreListAdd->OnUpdate = [this] { aOpenRegeditUpdate(); };
  aSaveText->OnUpdate = [this] { aSaveTextUpdate(); };
  aOpenRegedit->OnUpdate = [this] { aOpenRegeditUpdate(); };
  // Bound to a hidden Language entry, so its update runs whenever that menu opens.
  aLanguage = Make<ui::TAction>("aLanguage", *ActionList1);
  aLanguage->Caption = "aLanguage";
  aLanguage->Visible = false;
  aLanguage->OnUpdate = [this] { aLanguageUpdate(); };
}

void TfrmQuillet::BuildMenus() {
  MainMenu1 = Make<ui::TMainMenu>("MainMenu1");
  SetMenu(MainMenu1);
  PopupMenu1 = Make<ui::TPopupMenu>("PopupMenu1");
  lvRegistryData->SetPopupMenu(PopupMenu1);

  auto add = [this](ui::TMenu& menu, const MenuEntry& entry) {
    ui::TMenuItem* parent = entry.parent ? MenuItem(entry.parent) : nullptr;
    ui::TMenuItem* item = Make<ui::TMenuItem>(entry.name, menu, parent);
    if (entry.action) {
      item->SetAction(static_cast<ui::TAction*>(FindComponent(entry.action)));
    } else {
      item->SetCaption(entry.caption);
      item->SetShortCut(entry.shortCut);
    }
    return item;
  };
  for (const MenuEntry& entry : kMainMenu) add(*MainMenu1, entry);
  ui::TMenuItem* languageMenu = MenuItem("miLanguage");
  for (const LanguageMenuItem& language : LanguageMenuItems()) {
    ui::TMenuItem* item = Make<ui::TMenuItem>(language.name, *MainMenu1, languageMenu);
    item->SetCaption(language.caption);
    if (item->IsSeparator()) continue;
    item->SetRadioItem(true);
    item->SetChecked(std::string(language.name) == "miEnglish");
    item->OnClick = [this, item] { miEnglishClick(*item); };
  }
  Make<ui::TMenuItem>("miLanguageUpdate", *MainMenu1, languageMenu)->SetAction(aLanguage);
  for (const MenuEntry& entry : kHelpMenu) add(*MainMenu1, entry);
  for (const MenuEntry& entry : kPopupMenu) add(*PopupMenu1, entry);

  auto bind = [this](const char* name, void (TfrmQuillet::*handler)()) {
    MenuItem(name)->OnClick = [this, handler] { (this->*handler)(); };
  };
  bind("miBackupFullRegistry", &TfrmQuillet::miBackupFullRegistryClick);
  bind("miWindowsBackup", &TfrmQuillet::miWindowsBackupClick);
  bind("miStartupManager", &TfrmQuillet::miStartupManagerClick);
  bind("miExit", &TfrmQuillet::miExitClick);
  bind("miOptions", &TfrmQuillet::miOptionsClick);
  bind("miScanRegistry", &TfrmQuillet::bScanRegistryClick);
  bind("miRepairRegistry", &TfrmQuillet::bRepairRegistryClick);
  bind("miRestoreRegistry", &TfrmQuillet::bRestoreRegistryClick);
  bind("miHelp", &TfrmQuillet::miHelpClick);
  bind("miHomePage", &TfrmQuillet::miHomePageClick);
  bind("miAbout", &TfrmQuillet::miAboutClick);
}

ui::TMenuItem* TfrmQuillet::MenuItem(const std::string& name) const {
  ui::TComponent* component = FindComponent(name);
  return component && component->Kind() == ui::ComponentKind::MenuItem ? static_cast<ui::TMenuItem*>(component)
                                                                        : nullptr;
}

std::vector<ui::TMenuItem*> TfrmQuillet::LanguageItems() const {
  std::vector<ui::TMenuItem*> items;
  for (const LanguageMenuItem& language : LanguageMenuItems()) {
    ui::TMenuItem* item = MenuItem(language.name);
    if (!item->IsSeparator()) items.push_back(item);
  }
  return items;
}

void TfrmQuillet::FormCreate() {
  imgTitle->SetBounds(0, 0, imgTitle->Width(), imgTitle->Height());
  CleanOnce = false;
  SelectedCategoryCodes.reset();
  tvRegistry->FullExpand();
  OptionsSetting.IgnoreValues.clear();
  OptionsSetting.IgnoreKeys.clear();
  UnrepairedKeys.clear();
  UnrepairedValues.clear();
  LoadOrSaveOptions(OptionsTransfer::Load, *this);
  SetCaption(std::string(kProductName) + " " + kVersion);
  if (HidesWindowsBackup(GetWindowsVersion())) MenuItem("miWindowsBackup")->SetVisible(false);
}

void TfrmQuillet::FormShow() {
  if (OptionsSetting.WindowState == TWindowState::Maximized) {
    // Posted, so the window maximizes once it is on screen.
    Host().PostMessage(*this, ui::msg::kSysCommand, ui::msg::kScMaximize);
  }
  WalkCategoryTree(tvRegistry->First(), TreeWalk::Restore);
  ArrangeControls();
  for (ui::TMenuItem* item : LanguageItems()) {
    item->SetChecked(SameText(LanguageOfMenuItem(item->Name()), OptionsSetting.Lan));
  }
  TranslateToCurrentLanguage(*this);
  SizeTaskButtons();
  // A translated update link has another width: keep it at its margin from the right edge.
  ArrangeControls();
}

void TfrmQuillet::SizeTaskButtons() {
  try {
    for (ui::TSpeedButton* button : {bScanRegistry, bRepairRegistry, bRestoreRegistry}) {
      button->SetWidth(Host().TextWidth(button->Font(), button->Caption()) + 17);
    }
  } catch (...) {
    // Sizing the buttons is cosmetic: a failure leaves them as they were.
  }
}

void TfrmQuillet::FormActivate() {
  if (OptionsSetting.WindowState != TWindowState::Maximized) {
    SetBounds(OptionsSetting.WindowLeft, OptionsSetting.WindowTop, Width(), Height());
  }
  // Every activation comes here (a second start of the program shows this window again); the
  // unattended run starts at the first only.
  if (!cleanOnceStarted_ && !arguments_.empty() && SameText(arguments_.front(), "-cleanonce")) {
    cleanOnceStarted_ = true;
    CleanOnce = true;
    Host().PostMessage(*this, UM_CLEAN_ONCE);
  }
}

void TfrmQuillet::FormResize() { ArrangeControls(); }

void TfrmQuillet::ArrangeControls() {
  const int width = ClientWidth();
  const int height = ClientHeight();
  const int statusHeight = StatusBar1->Height();
  imgTitle->SetBounds(imgTitle->Left(), imgTitle->Top(), width, kBannerHeight);
  lUpdate->SetLeft(width - lUpdate->Width() - 20);
  iUpdate->SetLeft(lUpdate->Left() - 25);
  tvRegistry->SetHeight(height - tvRegistry->Top() - statusHeight);
  lvRegistryData->SetBounds(lvRegistryData->Left(), lvRegistryData->Top(), width - lvRegistryData->Left(),
                            height - lvRegistryData->Top() - statusHeight);
  StatusBar1->SetBounds(StatusBar1->Left(), height - statusHeight, width, statusHeight);
}

void TfrmQuillet::FormClose(ui::CloseAction&) {
  SelectedCategoryCodes.reset();
  try {
    LoadOrSaveOptions(OptionsTransfer::Save, *this);
  } catch (const OptionsWriteFailed& error) {
    // Reported, and the window closes all the same: a file that cannot be written must not keep
    // the program from ending. The keys written before the failure stay in the file.
    ShowErrorBox(Host(), this, error.what());
  }
  OptionsSetting.IgnoreValues.clear();
  OptionsSetting.IgnoreKeys.clear();
  UnrepairedKeys.clear();
  UnrepairedValues.clear();
}

void TfrmQuillet::WalkCategoryTree(ui::TTreeNode* start, TreeWalk mode) {
  for (ui::TTreeNode* node = start; node; node = node->NextSibling()) {
    const int image = node->ImageIndex();
    const bool numbered = image >= 1 && image < static_cast<int>(OptionsSetting.TreeNodeChecks.size());
    switch (mode) {
      case TreeWalk::Collect:
        if (node->StateIndex() == 2 && SelectedCategoryCodes) SelectedCategoryCodes->push_back(std::to_string(image));
        break;
      case TreeWalk::Tick1: node->SetStateIndex(1); break;
      case TreeWalk::Tick2: node->SetStateIndex(2); break;
      case TreeWalk::Store:
        if (numbered) OptionsSetting.TreeNodeChecks[static_cast<size_t>(image)] = node->StateIndex() == 2;
        break;
      case TreeWalk::Restore:
        if (numbered) node->SetStateIndex(OptionsSetting.TreeNodeChecks[static_cast<size_t>(image)] ? 2 : 1);
        break;
    }
    if (node->HasChildren()) WalkCategoryTree(node->FirstChild(), mode);
  }
}

namespace {
// Ticked when any child is ticked, unticked otherwise.
void TickFromChildren(ui::TTreeNode& node) {
  bool anyTicked = false;
  for (size_t i = 0; i < node.ChildCount(); ++i) anyTicked = anyTicked || node.Child(i)->StateIndex() == 2;
  node.SetStateIndex(anyTicked ? 2 : 1);
}
}  // namespace

void TfrmQuillet::tvRegistryMouseDown(ui::MouseButton, ui::ShiftState, int x, int y) {
  if (!tvRegistry->GetHitTestInfoAt(x, y).onStateIcon) return;
  ui::TTreeNode* node = tvRegistry->GetNodeAt(x, y);
  if (!node) return;
  if (node->StateIndex() == 1) {
    node->SetStateIndex(2);
  } else if (node->StateIndex() == 2) {
    node->SetStateIndex(1);
  }
  const int tick = node->StateIndex();
  switch (node->Level()) {
    case 0:
      if (tick == 1 || tick == 2) WalkCategoryTree(tvRegistry->First(), tick == 1 ? TreeWalk::Tick1 : TreeWalk::Tick2);
      break;
    case 1:
      for (size_t i = 0; i < node->ChildCount(); ++i) node->Child(i)->SetStateIndex(tick);
      TickFromChildren(*node->Parent());
      break;
    case 2:
      TickFromChildren(*node->Parent());
      TickFromChildren(*node->Parent()->Parent());
      break;
    default: break;
  }
}

void TfrmQuillet::tvRegistryCollapsing(ui::TTreeNode&, bool& allowCollapse) { allowCollapse = false; }

void TfrmQuillet::lvRegistryDataClick() { UpdateProblemCounts(); }

namespace {
// " 12 problems found": a blank, the count, a blank, the text in the current language.
std::string CountText(size_t count, std::string_view key, std::string_view english) {
  std::string text(" ");
  text += std::to_string(count);
  text += ' ';
  text += GetLangText(key, english);
  return text;
}
}  // namespace

void TfrmQuillet::UpdateProblemCounts() {
  const int selected = lvRegistryData->SelectedCount() == 1 ? lvRegistryData->FirstSelected() : -1;
  const std::string reason = selected >= 0 ? lvRegistryData->Item(static_cast<size_t>(selected)).reason : std::string();
  StatusBar1->SetPanelText(0, !reason.empty() ? " " + reason
                                              : CountText(lvRegistryData->Count(), "RES_FindProblems", "problems found"));
  // A reason may be longer than a count: the panel grows for it, leaving room for the ticked count.
  int width = kCountPanelWidth;
  if (!reason.empty()) {
    const int needed = Host().TextWidth(StatusBar1->Font(), StatusBar1->PanelText(0)) + 12;
    width = std::max(kCountPanelWidth, std::min(needed, Width() - 2 * kCountPanelWidth));
  }
  StatusBar1->SetPanelWidth(0, width);
  StatusBar1->SetPanelText(
      1, CountText(lvRegistryData->CheckedCount(), "RES_CheckedProblems", "problems selected for repairing"));
}

void TfrmQuillet::PrepareScanThread(TScanTaskThread& thread) {
  if (PrepareScan) PrepareScan(thread);
}

void TfrmQuillet::bScanRegistryClick() {
  try {
    if (SelectedCategoryCodes) {
      SelectedCategoryCodes->clear();
    } else {
      SelectedCategoryCodes = std::make_unique<std::vector<std::string>>();
    }
    WalkCategoryTree(tvRegistry->First(), TreeWalk::Collect);
    if (lvRegistryData->Count() == 0) {
      lvRegistryData->SetColumnWidth(1, 300);
      lvRegistryData->SetColumnWidth(2, 150);
    }
    if (SelectedCategoryCodes->empty()) return;
    lvRegistryData->Clear();
    {
      std::vector<int> codes;
      for (const std::string& text : *SelectedCategoryCodes) codes.push_back(CategoryCodeFromText(text));
      TfrmRegProgressHint progress(Host(), *this, std::move(codes));
      // Abort: the scan was stopped, and the last row may be the one it was working on.
      if (progress.ShowModal() == ui::ModalResult::Abort && lvRegistryData->Count() > 0) {
        lvRegistryData->Delete(lvRegistryData->Count() - 1);
      }
    }
    aSelectAllExecute();
    FilterScanResults();
    UpdateProblemCounts();
    if (OptionsSetting.Beep) Host().Beep(2047, 500);
  } catch (...) {
    // The scan command ends silently at any error; the list keeps what was added until then.
  }
}

void TfrmQuillet::aSelectAllExecute() {
  lvRegistryData->SetAllChecked(true);
  UpdateProblemCounts();
}

void TfrmQuillet::UMActivateInstance() {
  Show();
  if (GetWindowState() == ui::WindowState::Minimized) SetWindowState(ui::WindowState::Normal);
  Host().BringToFront(*this);
}

void TfrmQuillet::UMCleanOnce() {
  Hide();
  bScanRegistryClick();
  bRepairRegistryClick();
  Close();
}

void TfrmQuillet::miExitClick() { Close(); }

void TfrmQuillet::miHelpClick() {
  const std::string& lan = OptionsSetting.Lan;
  const char* document = lan == "Italian"        ? kWebAddresses.italianHelp
                         : lan == "PortuguesePT" ? kWebAddresses.portugueseHelp
                                                 : kWebAddresses.onlineHelp;
  Host().OpenDocument(document);
}

void TfrmQuillet::miHomePageClick() { Host().OpenDocument(kWebAddresses.homePage); }

void TfrmQuillet::lUpdateClick() { Host().OpenDocument(kWebAddresses.updatePage); }

void TfrmQuillet::miAboutClick() {
  TfrmAbout about(Host());
  about.ShowModal();
}

// The dialog writes OptionsSetting itself on OK; the file follows when the program ends.
void TfrmQuillet::miOptionsClick() {
  TfrmOptions options(Host());
  options.ShowModal();
}

void TfrmQuillet::miStartupManagerClick() {
  TfrmStartupManager startupManager(Host());
  startupManager.ShowModal();
}

}  // namespace quillet
