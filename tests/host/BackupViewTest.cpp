// The backup viewer: what a backup written by the export writer shows, and the partial restore
// that hands exactly the ticked part to the registry editor.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "MainWindowFixture.h"
#include "main/BackupHint.h"
#include "main/RegExport.h"
#include "tools/BackupView.h"
#include "tools/Restore.h"

namespace quillet::testing {
namespace {

constexpr const char* kBackup = "C:\\Backups\\Backup20140101120000.reg";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::string> NodeTexts(const ui::TTreeView& tree) {
  std::vector<std::string> texts;
  for (const ui::TTreeNode* node : tree.Nodes()) {
    texts.push_back(std::string(node->StateIndex() == 2 ? "[x] " : "[ ] ") + node->Text());
  }
  return texts;
}

std::string GoldenFile(const std::string& name) {
  std::ifstream file(std::string(QUILLET_TEST_DATA) + "/backup-view/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BackupViewTest : public ::testing::Test {
 protected:
  BackupViewTest() {
    OptionsSetting.OutputDirectory = "C:\\Backups";
    fixture.fs.folder("C:\\Backups").folder("C:\\Temp").env("TEMP", "C:\\Temp");
  }

  // A backup as a repair writes it: a whole key with its subkey, then two values of one key.
  void WriteBackup() {
    fixture.reg.key("HKEY_CURRENT_USER\\Software\\Vendor").str("Path", "C:\\Old\\app.exe").dword("Count", 10);
    fixture.reg.key("HKEY_CURRENT_USER\\Software\\Vendor\\Sub")
        .binary("Blob", {0x01, 0xAB})
        .raw("List", regtype::kMultiString, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0});
    fixture.reg.key(std::string("HKEY_CURRENT_USER\\") + kRun).str("Gone", "C:\\Gone\\gone.exe").str("", "shown");
    const RegExportContext context{fixture.fs, fixture.ansi, fixture.reg};
    ExportToRegFile(context, kBackup, RootKey::CurrentUser, ExportScope::WholeKey, "", "Software\\Vendor");
    ExportToRegFile(context, kBackup, RootKey::CurrentUser, ExportScope::OneValue, "Gone", kRun);
    ExportToRegFile(context, kBackup, RootKey::CurrentUser, ExportScope::OneValue, "", kRun);
  }

  // Opens the Restore dialog, views its only file and runs the steps in the viewer.
  void View(std::vector<std::function<void(TfrmBackupView&)>> steps, bool closeViewer = true) {
    fixture.Open();
    for (auto& step : steps) {
      fixture.ui.WhileModal("frmBackupView", [step](ui::TForm& form) { step(static_cast<TfrmBackupView&>(form)); });
    }
    if (closeViewer) {
      fixture.ui.WhileModal("frmBackupView", [](ui::TForm& form) { static_cast<TfrmBackupView&>(form).bClose->Click(); });
    }
    fixture.ui.WhileModal("frmRestore", [](ui::TForm& form) {
      auto& restore = static_cast<TfrmRestore&>(form);
      restore.ListView1->SetSelectedFromUser(0, true);
      restore.bView->Click();
    });
    fixture.ui.WhileModal("frmRestore", [](ui::TForm& form) { static_cast<TfrmRestore&>(form).bClose->Click(); });
    fixture.Window().bRestoreRegistry->Click();
  }

  MainWindowFixture fixture;
};

TEST_F(BackupViewTest, ListsEachKeyOfTheBackupOnceWithItsValuesAsTheRegistryEditorShowsThem) {
  WriteBackup();
  std::vector<std::string> nodes;
  View({[&](TfrmBackupView& view) {
    nodes = NodeTexts(*view.tvContents);
    EXPECT_EQ(view.lFile->Caption(), kBackup);
    EXPECT_EQ(view.lProblem->Caption(), "");
    EXPECT_TRUE(view.bRestoreSelected->Enabled());
  }});
  EXPECT_EQ(nodes, (std::vector<std::string>{
                       "[x] HKEY_CURRENT_USER\\Software\\Vendor",
                       "[x] Path [REG_SZ] = C:\\Old\\app.exe",
                       "[x] Count [REG_DWORD] = 0x0000000a (10)",
                       "[x] HKEY_CURRENT_USER\\Software\\Vendor\\Sub",
                       "[x] Blob [REG_BINARY] = 01 ab",
                       "[x] List [REG_MULTI_SZ] = a b",
                       "[x] HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       "[x] Gone [REG_SZ] = C:\\Gone\\gone.exe",
                       "[x] (Default) [REG_SZ] = shown",
                   }));
}

TEST_F(BackupViewTest, RestoreSelectedHandsTheEditorExactlyTheTickedPartAndKeepsTheBackup) {
  WriteBackup();
  const std::string backupBefore = *fixture.fs.ReadFile(kBackup);
  std::optional<std::string> handedOver;
  fixture.ui.WhileModal("frmBackupHint", [&](ui::TForm& form) {
    handedOver = fixture.fs.ReadFile("C:\\Temp\\QuilletRestoreSelected.reg");
    fixture.processes.StartedProcesses().back().state->ended = true;
    fixture.ui.FireTimer(*static_cast<TfrmBackupHint&>(form).Timer1);
  });
  std::vector<std::string> nodes;
  View({[&](TfrmBackupView& view) {
          const std::vector<ui::TTreeNode*> all = view.tvContents->Nodes();
          fixture.ui.ClickStateIcon(*view.tvContents, *all[2]);  // the value Count
          view.tvContents->OnTickKey(*all[3]);  // the space bar on the key Sub, which takes its values
          nodes = NodeTexts(*view.tvContents);
          view.bRestoreSelected->Click();
        }},
       false);

  EXPECT_EQ(nodes[2], "[ ] Count [REG_DWORD] = 0x0000000a (10)");
  EXPECT_EQ(nodes[5], "[ ] List [REG_MULTI_SZ] = a b");
  ASSERT_TRUE(handedOver.has_value());
  EXPECT_EQ(*handedOver, GoldenFile("restore-selected.reg"));
  const auto started = fixture.processes.StartedProcesses();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].commandLine, "Regedit /s \"C:\\Temp\\QuilletRestoreSelected.reg\"");
  EXPECT_FALSE(fixture.fs.FileExists("C:\\Temp\\QuilletRestoreSelected.reg"));
  EXPECT_EQ(fixture.fs.ReadFile(kBackup), backupBefore);
}

TEST_F(BackupViewTest, AFileTheReaderStopsInShowsWhereAndRestoresNothing) {
  fixture.fs.file(kBackup,
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"x\"=\"1\"\r\n\r\n[HKEY_NOWHERE\\B]\r\n"
                  "\"y\"=\"2\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\C]\r\n\"z\"=\"3\"\r\n");
  View({[](TfrmBackupView& view) {
    EXPECT_EQ(NodeTexts(*view.tvContents),
              (std::vector<std::string>{"[x] HKEY_CURRENT_USER\\Software\\A", "[x] x [REG_SZ] = 1"}));
    EXPECT_EQ(view.lProblem->Caption(),
              "This file cannot be restored in part: the reader stops at line 6: unknown root key \"HKEY_NOWHERE\"");
    EXPECT_FALSE(view.bRestoreSelected->Enabled());
    view.bRestoreSelected->Click();
  }});
  EXPECT_TRUE(fixture.processes.StartedProcesses().empty());
}

}  // namespace
}  // namespace quillet::testing
