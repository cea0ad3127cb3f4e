// The main window's start, show, activation, layout, menus and links.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "main/About.h"
#include "base/WindowMessages.h"

namespace quillet::testing {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  TfrmQuillet& window() { return fixture.Window(); }
  std::vector<std::string> Entries(const std::vector<ui::TMenuItem*>& items) {
    std::vector<std::string> entries;
    for (ui::TMenuItem* item : items) {
      if (!item->Visible()) continue;
      std::string entry = item->Caption();
      if (!item->ShortCut().Empty()) entry += "\t" + item->ShortCut().Text();
      entries.push_back(entry);
    }
    return entries;
  }
  MainWindowFixture fixture;
};

TEST_F(MainWindowTest, CreationSetsTheCaptionAndShowingLaysOutTheWindow) {
  fixture.Open();
  EXPECT_EQ(window().Caption(), "Orvane Quillet 3.5");
  EXPECT_EQ(window().Width(), 684);
  EXPECT_EQ(window().Height(), 520);
  const int width = window().ClientWidth();
  const int height = window().ClientHeight();
  const int status = window().StatusBar1->Height();
  EXPECT_EQ(window().imgTitle->Bounds(), (ui::TRect{0, 0, width, 50}));
  EXPECT_EQ(window().lUpdate->Right(), width - 20);
  EXPECT_EQ(window().iUpdate->Left(), window().lUpdate->Left() - 25);
  EXPECT_EQ(window().tvRegistry->Bottom(), height - status);
  EXPECT_EQ(window().lvRegistryData->Right(), width);
  EXPECT_EQ(window().lvRegistryData->Bottom(), height - status);
  EXPECT_EQ(window().StatusBar1->Bounds(), (ui::TRect{0, height - status, width, status}));
}

TEST_F(MainWindowTest, AResizeArrangesTheControlsAgain) {
  fixture.Open();
  window().SetClientSizeFromUser(900, 700);
  EXPECT_EQ(window().lvRegistryData->Right(), 900);
  EXPECT_EQ(window().StatusBar1->Top(), 700 - window().StatusBar1->Height());
  EXPECT_EQ(window().lUpdate->Right(), 880);
}

TEST_F(MainWindowTest, TaskButtonsAreAsWideAsTheirCaptionsPlus17) {
  fixture.Open();
  EXPECT_EQ(window().bScanRegistry->Width(), 6 * 20 + 17);     // "Scan registry issues"
  EXPECT_EQ(window().bRestoreRegistry->Width(), 6 * 26 + 17);  // "Restore previous registry "
}

TEST_F(MainWindowTest, ActivationPutsTheWindowBackAtItsStartPosition) {
  OptionsSetting.WindowLeft = 40;  // stored as Window/Left; Top is missing and centres
  fixture.Open();
  EXPECT_EQ(window().Left(), 40);
  EXPECT_EQ(window().Top(), (1024 - 520) / 2);
  window().SetBoundsFromUser(5, 6, window().Width(), window().Height());
  fixture.ui.WhileModal("frmAbout", [](ui::TForm& about) { static_cast<TfrmAbout&>(about).bOK->Click(); });
  window().miAboutClick();
  EXPECT_EQ(window().Left(), 40);
  EXPECT_EQ(window().Top(), (1024 - 520) / 2);
}

TEST_F(MainWindowTest, AWindowLeftMaximizedAsksToMaximizeOnceShown) {
  OptionsSetting.WindowState = TWindowState::Maximized;
  fixture.Open();
  EXPECT_EQ(window().GetWindowState(), ui::WindowState::Maximized);
}

TEST_F(MainWindowTest, ASecondStartBringsTheWindowBack) {
  fixture.Open();
  window().Hide();
  window().SetWindowStateFromUser(ui::WindowState::Minimized);
  fixture.ui.PostMessage(window(), UM_ACTIVATE_INSTANCE);
  fixture.ui.PumpPending();
  EXPECT_TRUE(window().Visible());
  EXPECT_EQ(window().GetWindowState(), ui::WindowState::Normal);
  EXPECT_EQ(fixture.ui.BroughtToFront(), 1);
}

TEST_F(MainWindowTest, CountsTextsComeFromTheLanguageLookup) {
  fixture.Open();
  TProblemList& list = *window().lvRegistryData;
  for (int i = 0; i < 12; ++i) list.AddItem({"Fonts Issue", "HKEY_LOCAL_MACHINE\\K", "", RepairAction::DeleteValueInPath, i < 5});
  window().UpdateProblemCounts();
  EXPECT_EQ(fixture.FoundText(), " 12 problems found");
  EXPECT_EQ(fixture.TickedText(), " 5 problems selected for repairing");
  // A click on the list (how a row is ticked by mouse) refreshes them.
  list.SetCheckedFromUser(7, true);
  window().lvRegistryDataClick();
  EXPECT_EQ(fixture.TickedText(), " 6 problems selected for repairing");
}

TEST_F(MainWindowTest, TheEditMenuAndTheListsPopUpMenuHoldTheListCommands) {
  fixture.Open();
  const std::vector<std::string> listCommands = {
      "Select &All", "&Select All of Type", "-", "Select &None", "S&elect None of Type", "-",
      "Add to &Ignore Lists", "-", "&Save to Text File...", "-", "Open in &RegEdit..."};
  std::vector<std::string> edit = listCommands;
  edit.insert(edit.end(), {"-", "&Options...\tCtrl+O"});
  EXPECT_EQ(Entries(window().MenuItem("miEdit")->Items()), edit);
  EXPECT_EQ(Entries(window().PopupMenu1->Items()), listCommands);
  EXPECT_EQ(window().lvRegistryData->PopupMenu(), window().PopupMenu1);
}

TEST_F(MainWindowTest, TheMenuBarHoldsTheCommandsWithTheirShortcuts) {
  fixture.Open();
  EXPECT_EQ(Entries(window().MainMenu1->Items()),
            (std::vector<std::string>{"&File", "&Edit", "&Action", "Language", "&Help"}));
  EXPECT_EQ(Entries(window().MenuItem("miFile")->Items()),
            (std::vector<std::string>{"&Backup Full Registry...", "&Windows Backup...", "-",
                                      "Startup &Manager...\tCtrl+M", "-", "&Exit"}));
  EXPECT_EQ(Entries(window().MenuItem("miAction")->Items()),
            (std::vector<std::string>{"&Scan registry issue\tCtrl+S", "&Repair registry issue\tCtrl+Alt+R",
                                      "R&estore previous registry...\tCtrl+E"}));
  EXPECT_EQ(Entries(window().MenuItem("miHelpMenu")->Items()),
            (std::vector<std::string>{"Online &Help", "&Home Page", "-", "&About..."}));
}

TEST_F(MainWindowTest, TheLanguageMenuListsTheLanguagesWithTheCurrentOneTicked) {
  OptionsSetting.Lan = "german";
  fixture.Open();
  const std::vector<ui::TMenuItem*> languages = window().LanguageItems();
  EXPECT_EQ(languages.size(), 34u);  // 33 languages and Other
  std::vector<std::string> ticked;
  for (ui::TMenuItem* item : languages) {
    if (item->Checked()) ticked.push_back(item->Name());
  }
  EXPECT_EQ(ticked, std::vector<std::string>{"miGerman"});
  // The hidden entry whose update runs as the menu opens.
  ui::TMenuItem* hidden = window().MenuItem("miLanguage")->Items().back();
  EXPECT_FALSE(hidden->Visible());
  EXPECT_EQ(hidden->Action(), window().aLanguage);
}

struct VersionCase {
  unsigned platformId;  // 0 Windows 9x, 1 NT
  unsigned major;
  unsigned minor;
  bool windowsBackupShown;
};

class WindowsBackupTest : public MainWindowTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(WindowsBackupTest, IsHiddenOnWindows9xAndMe) {
  const VersionCase& version = GetParam();
  fixture.system.osVersion(version.platformId ? PlatformId::WindowsNt : PlatformId::Windows9x, version.major,
                           version.minor);
  fixture.Open();
  EXPECT_EQ(window().MenuItem("miWindowsBackup")->Visible(), version.windowsBackupShown);
}

INSTANTIATE_TEST_SUITE_P(Versions, WindowsBackupTest,
                         ::testing::Values(VersionCase{0, 4, 0, false}, VersionCase{0, 4, 10, false},
                                           VersionCase{0, 4, 90, false}, VersionCase{1, 4, 0, true},
                                           VersionCase{1, 5, 0, true}, VersionCase{1, 5, 1, true},
                                           VersionCase{1, 6, 1, true}));

TEST_F(MainWindowTest, HelpOpensTheDocumentOfTheLanguage) {
  fixture.Open();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Italian", "https://www.orvane-software.example/quillet/help/quillet-it.pdf"},
      {"PortuguesePT", "https://www.orvane-software.example/quillet/help/quillet-pt.chm"},
      {"italian", "https://www.orvane-software.example/quillet/help/"},
      {"English", "https://www.orvane-software.example/quillet/help/"},
  };
  for (const auto& [lan, document] : cases) {
    OptionsSetting.Lan = lan;
    window().MenuItem("miHelp")->Click();
    EXPECT_EQ(fixture.ui.OpenedDocuments().back(), document) << lan;
  }
}

TEST_F(MainWindowTest, TheLinksOpenTheMakersPages) {
  fixture.Open();
  window().lUpdate->OnClick();
  window().iUpdate->OnClick();
  window().MenuItem("miHomePage")->Click();
  EXPECT_EQ(fixture.ui.OpenedDocuments(),
            (std::vector<std::string>{"https://www.orvane-software.example/quillet/update.html",
                                      "https://www.orvane-software.example/quillet/update.html",
                                      "https://www.orvane-software.example/quillet/"}));
}

TEST_F(MainWindowTest, TheAboutBoxShowsProductAndVersionAndEndsWithOk) {
  fixture.Open();
  std::vector<std::string> texts;
  fixture.ui.WhileModal("frmAbout", [&](ui::TForm& form) {
    TfrmAbout& about = static_cast<TfrmAbout&>(form);
    texts = {about.Caption(), about.lProduct->Caption(), about.lVersion->Caption(), about.bOK->Caption()};
    about.bOK->Click();
  });
  window().MenuItem("miAbout")->Click();
  EXPECT_EQ(texts, (std::vector<std::string>{"About Orvane Quillet", "Orvane Quillet",
                                             "Version: 3.5   Build 20140530", "&OK"}));
  EXPECT_EQ(fixture.ui.ModalRuns().back().result, ui::ModalResult::Ok);
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
  fixture.Open();
  window().MenuItem("miExit")->Click();
  EXPECT_TRUE(fixture.ui.Closed(window()));
}

}  // namespace
}  // namespace quillet::testing
