// The problem list's commands on the main window: ticks by kind, the ignore lists, the text
// report and the registry editor, on rows a scripted scan put into the list.
#include <gtest/gtest.h>

#include <map>

#include "MainWindowFixture.h"
#include "main/RegEditNavigation.h"
#include "settings/IgnoreEntryText.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;
using Texts = std::vector<std::string>;

// Category codes and the problem text their rows carry.
constexpr int kLocations = 6;  // "Software Locations Issue"
constexpr int kFonts = 7;      // "Fonts Issue"
constexpr int kHelp = 8;       // "Invalid Help Files"

struct Finding {
  int code;
  std::string key;
  std::string value;
  RepairAction action = RepairAction::DeleteKey;
};

class ListCommandsTest : public ::testing::Test {
 protected:
  ListCommandsTest() { fixture.Open(); }

  // A scan of the findings' categories that finds exactly them, in category order.
  void Scan(const std::vector<Finding>& findings) {
    std::map<int, std::vector<Finding>> byCode;
    for (const Finding& finding : findings) byCode[finding.code].push_back(finding);
    std::vector<int> codes;
    for (const auto& [code, rows] : byCode) {
      codes.push_back(code);
      ScriptedScanners::Set(code, [rows](ScanContext& context) {
        for (const Finding& row : rows) context.AddRow(row.key, row.value, row.action);
      });
    }
    fixture.TickOnly(codes);
    window().bScanRegistryClick();
    ASSERT_EQ(list().Count(), findings.size()) << "the filter took rows of the scan";
  }
  void Select(std::initializer_list<size_t> rows) {
    for (size_t row : rows) list().SetSelected(row, true);
  }
  // The actions' enabled states as a menu about to open shows them, in menu order.
  std::vector<bool> EnabledActions() {
    window().PopupMenu1->PrepareToOpen();
    std::vector<bool> enabled;
    for (ui::TMenuItem* item : window().PopupMenu1->Items()) {
      if (item->Action()) enabled.push_back(item->Action()->Enabled);
    }
    return enabled;
  }
  std::string Counts() { return fixture.FoundText() + "," + fixture.TickedText(); }
  TfrmQuillet& window() { return fixture.Window(); }
  TProblemList& list() { return *window().lvRegistryData; }

  MainWindowFixture fixture;
};

TEST_F(ListCommandsTest, SelectAllNoneAndOfTypeChangeTheTicksAndTheCounts) {
  Scan({{kLocations, "HKEY_CURRENT_USER\\Software\\L1", ""},
        {kFonts, "HKEY_LOCAL_MACHINE\\Software\\Fonts", "a.ttf", RepairAction::DeleteNamedValue},
        {kFonts, "HKEY_LOCAL_MACHINE\\Software\\Fonts", "b.ttf", RepairAction::DeleteNamedValue},
        {kHelp, "HKEY_LOCAL_MACHINE\\Software\\Help", "c.hlp", RepairAction::DeleteNamedValue}});
  window().aSelectNoneExecute();
  EXPECT_EQ(Counts(), " 4 problems found, 0 problems selected for repairing");

  Select({2, 3});  // the first selected row decides the kind
  window().aSelectAllTypeExecute();
  EXPECT_EQ(fixture.Rows(),
            (Texts{"Software Locations Issue|HKEY_CURRENT_USER\\Software\\L1||0|unticked",
                   "Fonts Issue|HKEY_LOCAL_MACHINE\\Software\\Fonts|a.ttf|2|ticked",
                   "Fonts Issue|HKEY_LOCAL_MACHINE\\Software\\Fonts|b.ttf|2|ticked",
                   "Invalid Help Files|HKEY_LOCAL_MACHINE\\Software\\Help|c.hlp|2|unticked"}));
  EXPECT_EQ(Counts(), " 4 problems found, 2 problems selected for repairing");

  window().aSelectAllExecute();
  window().aSelectNoneTypeExecute();
  EXPECT_EQ(Counts(), " 4 problems found, 2 problems selected for repairing");
  EXPECT_FALSE(list().Item(1).checked);
  EXPECT_TRUE(list().Item(3).checked);
}

TEST_F(ListCommandsTest, TheSpaceBarTicksTheSelectedRowsAndTheCountsFollowAtOnce) {
  Scan({{kLocations, "HKEY_CURRENT_USER\\Software\\L1", ""},
        {kLocations, "HKEY_CURRENT_USER\\Software\\L2", ""},
        {kLocations, "HKEY_CURRENT_USER\\Software\\L3", ""}});
  Select({0, 2});
  list().TickFromKeyboard(2);
  EXPECT_EQ(Counts(), " 3 problems found, 1 problems selected for repairing");
  EXPECT_TRUE(list().Item(1).checked);
}

struct EnabledCase {
  const char* name;
  std::vector<Finding> rows;
  std::vector<size_t> selected;
  // Select All, Select All of Type, Select None, Select None of Type, Ignore, Save, Open.
  std::vector<bool> enabled;
};

class ListCommandsEnabledTest : public ListCommandsTest, public ::testing::WithParamInterface<EnabledCase> {};

TEST_P(ListCommandsEnabledTest, ActionsAreEnabledAsTheRowsAndTheFirstSelectedRowAllow) {
  if (!GetParam().rows.empty()) Scan(GetParam().rows);
  for (size_t row : GetParam().selected) list().SetSelected(row, true);
  EXPECT_EQ(EnabledActions(), GetParam().enabled);
}

const Finding kKeyRow{kLocations, "HKEY_CURRENT_USER\\Software\\Key", ""};
const Finding kFileRow{kHelp, "C:\\Gone\\help.hlp", "", RepairAction::DeleteFile};

INSTANTIATE_TEST_SUITE_P(
    Rows, ListCommandsEnabledTest,
    ::testing::Values(
        EnabledCase{"NoRow", {}, {}, {true, false, true, false, false, false, false}},
        EnabledCase{"NoSelection", {kKeyRow}, {}, {true, false, true, false, false, true, false}},
        EnabledCase{"FileRowFirst", {kKeyRow, kFileRow}, {1}, {true, true, true, true, false, true, false}},
        EnabledCase{"KeyRowFirst", {kKeyRow, kFileRow}, {0, 1}, {true, true, true, true, true, true, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListCommandsTest, IgnoreAddsEachKindsEntryToItsListAndTakesTheRowOff) {
  const std::string software = "HKEY_CURRENT_USER\\Software\\";
  Scan({{kLocations, software + "K0", "", RepairAction::DeleteKey},
        {kLocations, software + "K1\\Name", "", RepairAction::DeleteValueInPath},
        {kLocations, software + "K2", "Val", RepairAction::DeleteNamedValue},
        {kLocations, software + "K2", "Val", RepairAction::DeleteNamedValue},  // the same entry again
        {kLocations, software + "K3\\", "Sub", RepairAction::DeleteNamedSubkey},
        {kLocations, software + "K3b", "Sub", RepairAction::DeleteNamedSubkey},
        {kLocations, "C:\\Gone\\app.exe", "", RepairAction::DeleteFile},
        {kLocations, software + "K5", "", RepairAction::DeleteDefaultValue},
        {kLocations, software + "K6", "Anzr", RepairAction::DeleteRot13Value},
        {kLocations, software + "Listed", "value", RepairAction::DeleteNamedValue},  // listed already
        {kLocations, software + "NotSelected", ""}});
  OptionsSetting.IgnoreValues = {"HKEY_CURRENT_USER\\Software\\Listed\\VALUE"};
  OptionsSetting.IgnoreValueCount = 1;
  window().aSelectNoneExecute();
  Select({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  window().aIgnoreListAddExecute();

  // Rows are visited from the last to the first, so later rows' entries come first.
  EXPECT_EQ(OptionsSetting.IgnoreKeys,
            (Texts{software + "K5", software + "K3b\\Sub", software + "K3\\Sub", software + "K0"}));
  EXPECT_EQ(OptionsSetting.IgnoreValues, (Texts{"HKEY_CURRENT_USER\\Software\\Listed\\VALUE", software + "K6\\Name",
                                                software + "K2\\Val", software + "K1\\Name"}));
  EXPECT_EQ(OptionsSetting.IgnoreKeyCount, 4);
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, 4);
  EXPECT_EQ(fixture.Rows(), (Texts{"Software Locations Issue|" + software + "K2|Val|2|unticked",
                                   "Software Locations Issue|" + software + "Listed|value|2|unticked",
                                   "Software Locations Issue|" + software + "NotSelected||0|unticked"}));
  EXPECT_EQ(Counts(), " 3 problems found, 0 problems selected for repairing");
}

// A value name may hold a line break, which would put a fake section into options.ini; such
// entries, and those the file cannot give back as they are, stay out and their rows stay.
TEST_F(ListCommandsTest, IgnoreRefusesAnEntryOptionsIniCannotKeepAndLeavesItsRow) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\K";
  Scan({{kLocations, key, "v\r\n[IgnoreKey]\r\nKey1=HKEY_LOCAL_MACHINE", RepairAction::DeleteNamedValue},
        {kLocations, key, std::string(3000, 'v'), RepairAction::DeleteNamedValue},
        {kLocations, key, "snow \xE2\x98\x83", RepairAction::DeleteNamedValue},
        {kLocations, key, " kept in quotes ", RepairAction::DeleteNamedValue}});
  window().aSelectNoneExecute();
  Select({0, 1, 2, 3});
  fixture.ui.AnswerMessageBox(ModalResult::Ok);
  window().aIgnoreListAddExecute();

  EXPECT_EQ(OptionsSetting.IgnoreValues, Texts{key + "\\ kept in quotes "});
  EXPECT_TRUE(OptionsSetting.IgnoreKeys.empty());
  EXPECT_EQ(list().Count(), 3u);
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u) << "one message for the whole command";
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].text, IgnoreEntryRefusedText());
}

class SaveTextTest : public ListCommandsTest {
 protected:
  void ScanThreeRows() {
    Scan({{kLocations, "HKEY_CURRENT_USER\\Software\\Caf\xC3\xA9", ""},
          {kFonts, "HKEY_LOCAL_MACHINE\\Software\\Fonts", "\xCE\xA9.ttf", RepairAction::DeleteNamedValue},
          {kHelp, "C:\\Gone\\help.hlp", "", RepairAction::DeleteFile}});
  }
  static constexpr const char* kReport =
      "This file was generated by Orvane Quillet\r\n"
      "Visit Orvane Software at https://www.orvane-software.example/quillet/ for the latest version.\r\n"
      "\r\n"
      "Software Locations Issue  #####  HKEY_CURRENT_USER\\Software\\Caf\xE9  #####  \r\n"
      "Fonts Issue  #####  HKEY_LOCAL_MACHINE\\Software\\Fonts  #####  ?.ttf\r\n"
      "Invalid Help Files  #####  C:\\Gone\\help.hlp  #####  \r\n";
};

TEST_F(SaveTextTest, TheReportHoldsEveryRowInTheAnsiCodePageWithCrLf) {
  ScanThreeRows();
  fixture.ui.AnswerSaveDialog("C:\\report.txt");
  window().aSaveTextExecute();
  EXPECT_EQ(window().SaveDialog1->Title, "Save as Text File");
  EXPECT_EQ(window().SaveDialog1->Filter, "Text files (*.txt)|*.txt");
  EXPECT_EQ(fixture.fs.ReadFile("C:\\report.txt").value_or("<none>"), kReport);
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());
}

struct NameCase {
  const char* typed;
  const char* written;
};

class SaveTextNameTest : public SaveTextTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SaveTextNameTest, GetsTxtAppendedUnlessItEndsInExactlyTxt) {
  ScanThreeRows();
  fixture.fs.folder("C:\\notes.txt");
  fixture.ui.AnswerSaveDialog(GetParam().typed);
  window().aSaveTextExecute();
  EXPECT_TRUE(fixture.fs.FileExists(GetParam().written)) << fixture.fs.Dump();
}

INSTANTIATE_TEST_SUITE_P(Names, SaveTextNameTest,
                         ::testing::Values(NameCase{"C:\\report", "C:\\report.txt"},
                                           NameCase{"C:\\report.txt", "C:\\report.txt"},
                                           NameCase{"C:\\report.TXT", "C:\\report.TXT.txt"},
                                           NameCase{"C:\\notes.txt\\report", "C:\\notes.txt\\report.txt"}));

TEST_F(SaveTextTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
  ScanThreeRows();
  fixture.fs.file("C:\\report.txt", "old");
  fixture.ui.AnswerSaveDialog("C:\\report").AnswerMessageBox(ModalResult::No);
  window().aSaveTextExecute();
  EXPECT_EQ(fixture.fs.ReadFile("C:\\report.txt"), "old");
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& question = fixture.ui.MessageBoxes()[0];
  EXPECT_EQ(question.text, "C:\\report.txt has existed,overite it?");
  EXPECT_EQ(question.title, "Orvane Quillet");
  EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);
  EXPECT_EQ(question.defaultButton, 2) << "No is the default";
  EXPECT_EQ(question.icon, ui::MessageIcon::Information);

  fixture.ui.AnswerSaveDialog("C:\\report").AnswerMessageBox(ModalResult::Yes);
  window().aSaveTextExecute();
  EXPECT_EQ(fixture.fs.ReadFile("C:\\report.txt"), kReport);
}

TEST_F(SaveTextTest, AWriteThatFailsShowsTheErrorBoxNamingTheFile) {
  ScanThreeRows();
  fixture.fs.failWrites();
  fixture.ui.AnswerSaveDialog("C:\\report");
  window().aSaveTextExecute();
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].text, "Unable to write to C:\\report.txt");
  EXPECT_EQ(fixture.ui.MessageBoxes()[0].icon, ui::MessageIcon::Error);
}

class OpenInRegEditTest : public ListCommandsTest {
 protected:
  OpenInRegEditTest() {
    fixture.reg.key("HKEY_CURRENT_USER\\Software\\Vendor\\App").str("Path", "C:\\Old\\app.exe");
    fixture.desktop.running();
  }
  // What was typed into the editor's tree and list, in order.
  Texts Typed() {
    Texts typed;
    for (const std::string& entry : fixture.desktop.Log()) {
      if (entry.starts_with("chars ") || entry.starts_with("key tree Right") || entry.starts_with("key list")) {
        typed.push_back(entry);
      }
    }
    return typed;
  }
};

TEST_F(OpenInRegEditTest, AValueRowOpensTheEditorAtItsKeyClimbingThenTypingLevelByLevel) {
  Scan({{kLocations, "HKEY_CURRENT_USER\\Software\\Vendor\\App\\Path", "", RepairAction::DeleteValueInPath}});
  Select({0});
  window().aOpenRegeditExecute();
  EXPECT_EQ(fixture.desktop.Log(),
            (Texts{"find RegEdit_RegEdit -> main", "maximize main", "child SysTreeView32 -> tree", "foreground tree",
                   "key tree Left x30", "pause 10", "key tree Right", "pause 500", "chars tree HKEY_CURRENT_USER",
                   "key tree Right", "pause 500", "chars tree Software", "key tree Right", "pause 500",
                   "chars tree Vendor", "key tree Right", "pause 500", "chars tree App",
                   "child SysListView32 -> list", "foreground list"}))
      << fixture.desktop.Dump();
  EXPECT_TRUE(fixture.ui.MessageBoxes().empty());
}

struct PathCase {
  const char* name;
  std::string path;
  Texts typed;          // into the tree and the list
  bool toldNotFound;
};

class OpenPathTest : public OpenInRegEditTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(OpenPathTest, FindsTheKeyOrTheValueOrTellsTheUser) {
  window().OpenInRegEdit(GetParam().path);
  EXPECT_EQ(Typed(), GetParam().typed) << fixture.desktop.Dump();
  EXPECT_EQ(fixture.ui.MessageBoxes().size(), GetParam().toldNotFound ? 1u : 0u);
  if (GetParam().toldNotFound && !fixture.ui.MessageBoxes().empty()) {
    EXPECT_EQ(fixture.ui.MessageBoxes()[0].text, "Please check whether the registry key or value exist.");
    EXPECT_EQ(fixture.ui.MessageBoxes()[0].icon, ui::MessageIcon::Information);
  }
}

const Texts kToApp = {"key tree Right", "chars tree HKEY_CURRENT_USER", "key tree Right", "chars tree Software",
                      "key tree Right", "chars tree Vendor",      "key tree Right", "chars tree App"};

Texts ToAppThen(Texts more) {
  Texts typed = kToApp;
  typed.insert(typed.end(), more.begin(), more.end());
  return typed;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenPathTest,
    ::testing::Values(
        PathCase{"ShortRoot", "hkcu\\Software\\Vendor\\App", kToApp, false},
        PathCase{"Value", "HKEY_CURRENT_USER\\Software\\Vendor\\App\\Path",
                 ToAppThen({"key list Down", "chars list Path"}), false},
        PathCase{"MissingValue", "HKEY_CURRENT_USER\\Software\\Vendor\\App\\Gone", {}, true},
        PathCase{"RootInOtherCase", "hkey_current_user\\Software\\Vendor\\App", {}, true},
        PathCase{"NoHk", "C:\\Gone\\app.exe", {}, true},
        PathCase{"NoBackslash", "HKEY_CURRENT_USER", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NavigateRegEdit, OneCharacterKeyAndValueAreTypedCompletely) {
  ScriptedDesktop desktop;
  desktop.running();
  NavigateRegEdit(desktop, "HKEY_USERS", "\\A", "B");
  const Texts log = desktop.Log();
  const Texts tail(log.end() - 9, log.end());
  EXPECT_EQ(tail, (Texts{"chars tree HKEY_USERS", "key tree Right", "pause 500", "chars tree A",
                         "child SysListView32 -> list", "foreground list", "key list Down", "pause 10",
                         "chars list B"}))
      << desktop.Dump();
}

TEST(NavigateRegEdit, AFreshlyStartedEditorIsWaitedForAndOneThatNeverComesGetsNoKeys) {
  ScriptedDesktop late;
  late.appearsAtSearch(2);
  NavigateRegEdit(late, "HKEY_USERS", "A", "");
  const Texts start(late.Log().begin(), late.Log().begin() + 7);
  EXPECT_EQ(start, (Texts{"find RegEdit_RegEdit -> none", "start regedit.exe wait 200", "find RegEdit_RegEdit -> none",
                          "pause 50", "find RegEdit_RegEdit -> main", "child SysTreeView32 -> tree", "maximize main"}))
      << late.Dump();
  EXPECT_EQ(late.Log().back(), "foreground list");

  ScriptedDesktop never;
  never.neverAppears();
  NavigateRegEdit(never, "HKEY_USERS", "A", "");
  size_t pauses = 0;
  for (const std::string& entry : never.Log()) {
    pauses += entry == "pause 50";
    EXPECT_FALSE(entry.starts_with("key") || entry.starts_with("chars")) << entry;
  }
  EXPECT_EQ(pauses, 100u) << "five seconds in all, then nothing is typed";

  ScriptedDesktop failing;
  failing.failStarts();
  NavigateRegEdit(failing, "HKEY_USERS", "A", "");
  EXPECT_EQ(failing.Log(), (Texts{"find RegEdit_RegEdit -> none", "start regedit.exe wait 200"}));
}

}  // namespace
}  // namespace quillet::testing
