// The post-scan filter on the main window's problem list: fixed patterns, the rows a repair of
// this run left undone, the ignore lists and the built-in safe keys.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace quillet::testing {
namespace {

struct Row {
  const char* key;
  const char* value;
  RepairAction action;
};

class ResultFilterTest : public ::testing::Test {
 protected:
  ResultFilterTest() { fixture.Open(); }

  // Fills the list with these rows, ticked as after a scan, filters, and returns the key and
  // value texts of the rows left, as "key|value".
  std::vector<std::string> Kept(const std::vector<Row>& rows) {
    TProblemList& list = *fixture.Window().lvRegistryData;
    list.Clear();
    for (const Row& row : rows) {
      list.AddItem({"Problem", row.key, row.value, row.action, true});
    }
    fixture.Window().FilterScanResults();
    std::vector<std::string> kept;
    for (size_t i = 0; i < list.Count(); ++i) kept.push_back(list.Text(i, 1) + "|" + list.Text(i, 2));
    return kept;
  }

  MainWindowFixture fixture;
};

using Texts = std::vector<std::string>;
constexpr auto kKey = RepairAction::DeleteKey;
constexpr auto kNamedValue = RepairAction::DeleteNamedValue;

TEST_F(ResultFilterTest, SafeKeysCompareWithATrailingBackslashOnBothSides) {
  EXPECT_EQ(Kept({{"HKEY_CLASSES_ROOT\\.DAT", "", kKey},
                  {"HKEY_CLASSES_ROOT\\.DATA", "", kKey},
                  {"HKEY_CLASSES_ROOT\\.dat\\ShellNew", "", kKey}}),
            (Texts{"HKEY_CLASSES_ROOT\\.DATA|"}))
      << ".DAT and a key below it are safe, .DATA is another key";
}

TEST_F(ResultFilterTest, AKeyRowAboveASafeKeyGoesAndAValueRowInItStays) {
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software", "", kKey},
                  {"HKEY_CURRENT_USER\\Software", "Stale", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\JavaSoft\\Prefs", "Old", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\Other", "", kKey}}),
            (Texts{"HKEY_CURRENT_USER\\Software|Stale", "HKEY_CURRENT_USER\\Software\\Other|"}));
}

TEST_F(ResultFilterTest, AnIgnoredValueProtectsItsOwnRowAndEveryKeyAboveIt) {
  OptionsSetting.IgnoreValues = {"HKEY_CURRENT_USER\\Software\\A\\B\\Val"};
  OptionsSetting.IgnoreValueCount = 1;
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software\\A", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\A\\B", "", kKey},
                  {"hkey_current_user\\software\\a\\b", "VAL", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\A\\B", "Other", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\A\\B\\C", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\A\\B\\Val", "", RepairAction::DeleteValueInPath}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\A\\B|Other", "HKEY_CURRENT_USER\\Software\\A\\B\\C|"}));
}

TEST_F(ResultFilterTest, TheDefaultValueIsMatchedAsTheKeyPathAndAt) {
  OptionsSetting.IgnoreValues = {"HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32\\@"};
  EXPECT_EQ(Kept({{"HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32", "", RepairAction::DeleteDefaultValue},
                  {"HKEY_CLASSES_ROOT\\CLSID\\{2}\\InprocServer32", "", RepairAction::DeleteDefaultValue}}),
            (Texts{"HKEY_CLASSES_ROOT\\CLSID\\{2}\\InprocServer32|"}));
}

TEST_F(ResultFilterTest, ValueNamesOfEveryKindAreComparedAsTheRepairWouldDeleteThem) {
  OptionsSetting.IgnoreValues = {"HKEY_CURRENT_USER\\Software\\Tool\\Recent",
                                 "HKEY_CURRENT_USER\\Software\\Assist\\P:\\Tools\\run.exe"};
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software\\Tool\\Recent", "", RepairAction::DeleteValueInPath},
                  {"HKEY_CURRENT_USER\\Software\\Tool\\Older", "", RepairAction::DeleteValueInPath},
                  // The value column holds the name in Rot13.
                  {"HKEY_CURRENT_USER\\Software\\Assist", "C:\\Gbbyf\\eha.rkr", RepairAction::DeleteRot13Value},
                  {"HKEY_CURRENT_USER\\Software\\Assist", "C:\\Gbbyf\\byq.rkr", RepairAction::DeleteRot13Value}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\Tool\\Older|", "HKEY_CURRENT_USER\\Software\\Assist|C:\\Gbbyf\\byq.rkr"}));
}

TEST_F(ResultFilterTest, IgnoredKeysProtectTheKeyEverythingBelowAndTheKeysAbove) {
  OptionsSetting.IgnoreKeys = {"HKEY_LOCAL_MACHINE\\Software\\Vendor\\App"};
  OptionsSetting.IgnoreKeyCount = 1;
  EXPECT_EQ(Kept({{"HKEY_LOCAL_MACHINE\\Software\\Vendor", "", kKey},
                  {"HKEY_LOCAL_MACHINE\\Software\\Vendor\\App\\Sub", "", kKey},
                  {"HKEY_LOCAL_MACHINE\\Software\\Vendor\\App", "Path", kNamedValue},
                  {"HKEY_LOCAL_MACHINE\\Software\\Vendor", "Path", kNamedValue},
                  {"HKEY_LOCAL_MACHINE\\Software\\Vendor\\Application", "", kKey},
                  {"HKEY_LOCAL_MACHINE\\Software\\Vendor", "App", RepairAction::DeleteNamedSubkey}}),
            (Texts{"HKEY_LOCAL_MACHINE\\Software\\Vendor|Path", "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Application|"}));
}

TEST_F(ResultFilterTest, AnIgnoredKeyWithoutARootCoversEveryKeyTextThatHoldsIt) {
  OptionsSetting.IgnoreKeys = {"Software\\Vendor"};
  OptionsSetting.IgnoreKeyCount = 1;
  EXPECT_EQ(Kept({{"HKEY_LOCAL_MACHINE\\Software\\Vendor\\App", "", kKey},
                  {"HKEY_USERS\\S-1-5-20\\MySoftware\\Vendor\\App", "", kKey},
                  {"HKEY_LOCAL_MACHINE\\Software\\Other\\Vendor", "", kKey},
                  {"HKEY_LOCAL_MACHINE\\Vendor\\Software", "", kKey}}),
            (Texts{"HKEY_LOCAL_MACHINE\\Software\\Other\\Vendor|", "HKEY_LOCAL_MACHINE\\Vendor\\Software|"}));
}

TEST_F(ResultFilterTest, RowsWithUnreadableNamesOrAUserNameTemplateNeverReachTheUser) {
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software\\%username%_cache", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\A", "C:\\Users\\%USERNAME%_old\\a.exe", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\B", "C:\\Caf?\\b.exe", kNamedValue},
                  {"C:\\Caf?\\b.exe", "", RepairAction::DeleteFile},
                  {"HKEY_CURRENT_USER\\Software\\%APPDATA%\\?", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\C", "%APPDATA%?%x", kNamedValue},
                  {"HKEY_CLASSES_ROOT\\CLSID\\{dfeaf541-f3e1-4c24-acac-99c30715084a}", "", kKey},
                  {"HKEY_CLASSES_ROOT\\CLSID\\{DC6EFB56-9CFA-464D-8880-44885D7DC193}\\InprocServer32", "", kKey},
                  // A "?" alone, or a drive alone, is an ordinary finding.
                  {"HKEY_CURRENT_USER\\Software\\What?", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\D", "C:\\Tools\\d.exe", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\E", "Setup?%TEMP", kNamedValue}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\What?|", "HKEY_CURRENT_USER\\Software\\D|C:\\Tools\\d.exe",
                  "HKEY_CURRENT_USER\\Software\\E|Setup?%TEMP"}));
}

TEST_F(ResultFilterTest, RowsARepairOfThisRunLeftUndoneStayHidden) {
  fixture.Window().UnrepairedKeys = {"HKEY_CURRENT_USER\\Software\\Gone", "HKEY_CURRENT_USER\\Software\\Pair"};
  fixture.Window().UnrepairedValues = {"", "Value"};
  EXPECT_EQ(Kept({{"hkey_current_user\\software\\gone", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\Pair", "VALUE", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\Pair", "Other", kNamedValue},
                  {"HKEY_CURRENT_USER\\Software\\Gone", "Value", kNamedValue}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\Pair|Other", "HKEY_CURRENT_USER\\Software\\Gone|Value"}));
}

TEST_F(ResultFilterTest, RowsThatCannotBeSplitOrNameFilesAreLeftToTheFixedPatterns) {
  OptionsSetting.IgnoreValues = {"C:\\Tools\\gone.exe"};
  OptionsSetting.IgnoreKeys = {"NOROOT"};
  EXPECT_EQ(Kept({{"NOROOT", "", kKey}, {"C:\\Tools\\gone.exe", "", RepairAction::DeleteFile}}),
            (Texts{"NOROOT|", "C:\\Tools\\gone.exe|"}));
}

TEST_F(ResultFilterTest, TheVistaToEightSafeKeysCountOnlyOnThoseSystems) {
  const Row speech{"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Speech\\Recognizers\\Tokens\\Old", "", kKey};
  fixture.system.osVersion(PlatformId::WindowsNt, 5, 1);  // XP
  EXPECT_EQ(Kept({speech}).size(), 1u);
  fixture.system.osVersion(PlatformId::WindowsNt, 6, 1);  // 7
  EXPECT_EQ(Kept({speech}).size(), 0u);
}

TEST_F(ResultFilterTest, TheSafeKeysAreReadFromTheListBoxes) {
  fixture.Window().ListBox1->SetItems({"HKEY_CURRENT_USER\\Software\\Local"});
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software\\Local\\Sub", "", kKey},
                  {"HKEY_CURRENT_USER\\Software\\JavaSoft", "", kKey}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\JavaSoft|"}));
}

TEST_F(ResultFilterTest, AnEmptyIgnoreEntryProtectsNothing) {
  // An options file whose count is larger than its entries gives empty ones.
  OptionsSetting.IgnoreValues = {""};
  OptionsSetting.IgnoreKeys = {""};
  EXPECT_EQ(Kept({{"HKEY_CURRENT_USER\\Software\\A", "", kKey}, {"HKEY_CURRENT_USER\\Software\\B", "V", kNamedValue}}),
            (Texts{"HKEY_CURRENT_USER\\Software\\A|", "HKEY_CURRENT_USER\\Software\\B|V"}));
}

TEST_F(ResultFilterTest, ColumnsFitTheirWidestEntryBeforeRowsAreRemoved) {
  TProblemList& list = *fixture.Window().lvRegistryData;
  const std::string longKey = "HKEY_CLASSES_ROOT\\.DAT\\A_much_longer_key_text";
  Kept({{"HKEY_CURRENT_USER\\Software\\Short", "v", kKey}, {longKey.c_str(), "", kKey}});
  ASSERT_EQ(list.Count(), 1u);
  // The scripted UI's text is 6 pixels a character; cells add 12, the first column's tick box 16.
  EXPECT_EQ(list.Columns()[0].width, 7 * 6 + 12 + 16);
  EXPECT_EQ(list.Columns()[1].width, static_cast<int>(longKey.size()) * 6 + 12) << "sized to the row the filter then removed";
  EXPECT_EQ(list.Columns()[2].width, 1 * 6 + 12);
}

TEST_F(ResultFilterTest, AnEmptyListOnlyWidensNarrowColumns) {
  TProblemList& list = *fixture.Window().lvRegistryData;
  list.SetColumnWidth(0, 80);
  list.SetColumnWidth(1, 300);
  list.SetColumnWidth(2, 119);
  Kept({});
  EXPECT_EQ(list.Columns()[0].width, 120);
  EXPECT_EQ(list.Columns()[1].width, 300);
  EXPECT_EQ(list.Columns()[2].width, 120);
}

}  // namespace
}  // namespace quillet::testing
