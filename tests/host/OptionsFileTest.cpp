// options.ini as the main window loads it at creation and saves it at close, on the in-memory
// file system through the host profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "platform/memory/Windows1252.h"
#include "settings/IgnoreEntryText.h"
#include "settings/OptionsFile.h"

namespace quillet::testing {
namespace {

constexpr const char* kOptionsFile = "C:\\Users\\User\\AppData\\Roaming\\Orvane\\Quillet\\options.ini";
constexpr const char* kShippedFile = "C:\\Program Files\\Quillet\\options.ini";
// The designed 684 x 520 window centred on the scripted 1280 x 1024 screen.
constexpr int kCentredLeft = (1280 - 684) / 2;
constexpr int kCentredTop = (1024 - 520) / 2;

// "1=1" to "24=1", with the given nodes at 0.
std::string TreeSection(std::vector<int> unticked = {}) {
  std::string section = "[TreeViewNodeCheck]\r\n";
  for (int node = 1; node <= 24; ++node) {
    const bool off = std::find(unticked.begin(), unticked.end(), node) != unticked.end();
    section += std::to_string(node) + (off ? "=0\r\n" : "=1\r\n");
  }
  return section;
}

ui::TRect Bounds(const ui::TForm& form) { return {form.Left(), form.Top(), form.Width(), form.Height()}; }

class OptionsFileTest : public ::testing::Test {
 protected:
  OptionsFileTest() { fixture.fs.folder("C:\\Program Files\\Quillet"); }

  TfrmQuillet& window() { return fixture.Window(); }
  void Close() {
    window().Close();
    ASSERT_TRUE(fixture.ui.Closed(window()));
  }
  std::string File(const char* path = kOptionsFile) {
    return fixture.fs.ReadFile(path).value_or("<no file>\n" + fixture.fs.Dump());
  }

  MainWindowFixture fixture;
};

TEST_F(OptionsFileTest, AFirstStartWithoutAFileGivesEveryDefault) {
  fixture.Open();
  const TOptionsSetting& options = OptionsSetting;
  EXPECT_EQ(options.OutputDirectory, "C:\\Program Files\\Quillet\\Backup");
  EXPECT_TRUE(options.DeleteBackupFile);
  EXPECT_FALSE(options.IncludeRemoveMedia);
  EXPECT_FALSE(options.IncludeCDdrive);
  EXPECT_FALSE(options.Beep);
  for (size_t node = 1; node <= 24; ++node) EXPECT_TRUE(options.TreeNodeChecks[node]) << node;
  EXPECT_EQ(options.IgnoreValueCount, 0);
  EXPECT_TRUE(options.IgnoreValues.empty());
  EXPECT_EQ(options.IgnoreKeyCount, 0);
  EXPECT_TRUE(options.IgnoreKeys.empty());
  EXPECT_EQ(options.WindowState, TWindowState::Normal);
  EXPECT_EQ(options.WindowLeft, kCentredLeft);
  EXPECT_EQ(options.WindowTop, kCentredTop);
  EXPECT_TRUE(options.ShowHint);
  EXPECT_FALSE(options.RestorePoint);
  EXPECT_EQ(options.Lan, "English");
  EXPECT_EQ(window().Width(), 684);
  EXPECT_EQ(window().Height(), 520);
  EXPECT_EQ(fixture.TickedCodes().size(), 23u);
  EXPECT_FALSE(fixture.fs.FileExists(kOptionsFile)) << "only the close writes the file";
  EXPECT_TRUE(fixture.fs.FolderExists("C:\\Users\\User\\AppData\\Roaming\\Orvane\\Quillet"));
}

TEST_F(OptionsFileTest, AFileWrittenFromScratchHoldsTheSectionsAndKeysInTheSavesOrder) {
  fixture.Open();
  fixture.ClickStateIcon(9);   // Shared DLLs
  fixture.ClickStateIcon(4);   // HKEY_CURRENT_USER
  OptionsSetting.Beep = true;
  OptionsSetting.RestorePoint = true;
  OptionsSetting.OutputDirectory = "D:\\Backups";
  OptionsSetting.IgnoreValues = {"HKEY_CURRENT_USER\\Software\\A\\v", "HKEY_LOCAL_MACHINE\\Software\\B\\w"};
  OptionsSetting.IgnoreValueCount = 2;
  OptionsSetting.IgnoreKeys = {"HKEY_LOCAL_MACHINE\\Software\\Kept"};
  OptionsSetting.IgnoreKeyCount = 1;
  OptionsSetting.Lan = "German";
  window().SetBoundsFromUser(31, 42, 800, 610);
  Close();

  EXPECT_EQ(File(),
            "[Options]\r\n"
            "OutputDirectory=D:\\Backups\r\n"
            "DeleteBackupFile=1\r\n"
            "IncludeRemoveMedia=0\r\n"
            "IncludeCDdrive=0\r\n"
            "Beep=1\r\n"
            "ShowHint=1\r\n"
            "RestorePoint=1\r\n"
            "Lan=German\r\n" +
                TreeSection({4, 9}) +
                "[IgnoreValue]\r\n"
                "Count=2\r\n"
                "Value1=HKEY_CURRENT_USER\\Software\\A\\v\r\n"
                "Value2=HKEY_LOCAL_MACHINE\\Software\\B\\w\r\n"
                "[IgnoreKey]\r\n"
                "Count=1\r\n"
                "Key1=HKEY_LOCAL_MACHINE\\Software\\Kept\r\n"
                "[Window]\r\n"
                "State=1\r\n"
                "Left=31\r\n"
                "Top=42\r\n"
                "Width=800\r\n"
                "Height=610\r\n");
  EXPECT_TRUE(OptionsSetting.IgnoreValues.empty()) << "the close frees the lists after the save";

  fixture.Reopen();
  EXPECT_EQ(OptionsSetting.OutputDirectory, "D:\\Backups");
  EXPECT_TRUE(OptionsSetting.Beep);
  EXPECT_TRUE(OptionsSetting.RestorePoint);
  EXPECT_EQ(OptionsSetting.Lan, "German");
  EXPECT_EQ(OptionsSetting.IgnoreValues,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\A\\v", "HKEY_LOCAL_MACHINE\\Software\\B\\w"}));
  EXPECT_EQ(OptionsSetting.IgnoreKeys, std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Kept"});
  EXPECT_EQ(OptionsSetting.IgnoreKeyCount, 1);
  EXPECT_EQ(fixture.TickedCodes(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                     21, 22, 23}));
  EXPECT_EQ(Bounds(window()), (ui::TRect{31, 42, 800, 610})) << "the size applied at load, the place on activation";
}

struct ListCase {
  const char* name;
  const char* section;
  std::vector<std::string> expectedValues;
  int expectedCount;
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }

class IgnoreListLoadTest : public OptionsFileTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(IgnoreListLoadTest, LoadsCountEntriesAndKeepsTheCountEqualToTheList) {
  // Both lists read the same file text with their own key names.
  std::string keys = GetParam().section;
  for (size_t at = keys.find("Value"); at != std::string::npos; at = keys.find("Value", at)) keys.replace(at, 5, "Key");
  fixture.fs.file(kOptionsFile, "[IgnoreValue]\r\n" + std::string(GetParam().section) + "[IgnoreKey]\r\n" + keys);
  fixture.Open();
  EXPECT_EQ(OptionsSetting.IgnoreValues, GetParam().expectedValues);
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, GetParam().expectedCount);
  EXPECT_EQ(OptionsSetting.IgnoreKeys, GetParam().expectedValues);
  EXPECT_EQ(OptionsSetting.IgnoreKeyCount, GetParam().expectedCount);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, IgnoreListLoadTest,
    ::testing::Values(
        ListCase{"MissingEntryLoadsEmpty", "Count=3\r\nValue1=a\r\nValue3=c\r\n", {"a", "", "c"}, 3},
        ListCase{"CountZeroIgnoresStaleEntries",
                 "Count=0\r\nValue1=1\r\nValue2=2\r\nValue3=3\r\nValue4=4\r\nValue5=5\r\n", {}, 0},
        ListCase{"NegativeCountLoadsNothingAndCountsZero", "Count=-2\r\nValue1=a\r\n", {}, 0},
        ListCase{"CountThatIsNoNumberIsZero", "Count=two\r\nValue1=a\r\n", {}, 0},
        ListCase{"EntriesBeyondTheCountStayUnread", "Count=1\r\nValue1=a\r\nValue2=b\r\n", {"a"}, 1},
        // A damaged count cannot hold up the start: the list ends at the last entry there.
        ListCase{"CountPastTheEntriesEndsAtTheLastOne", "Count=5\r\nValue1=a\r\n", {"a"}, 1},
        ListCase{"DamagedCountEndsAtTheLastEntry", "Count=2147483647\r\nValue1=a\r\nValue3=c\r\n", {"a", "", "c"}, 3},
        ListCase{"EntryNumbersPastAnySaneListAreIgnored",
                 "Count=2147483647\r\nValue1=a\r\nValue2000000000=z\r\n", {"a"}, 1}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

TEST_F(OptionsFileTest, ShrinkingAListFromFiveToTwoLeavesTheStaleEntriesAfterTheCount) {
  fixture.fs.file(kOptionsFile, "[IgnoreValue]\r\nCount=5\r\nValue1=v1\r\nValue2=v2\r\nValue3=v3\r\nValue4=v4\r\nValue5=v5\r\n");
  fixture.Open();
  ASSERT_EQ(OptionsSetting.IgnoreValues.size(), 5u);
  OptionsSetting.IgnoreValues = {"v2", "v4"};
  OptionsSetting.IgnoreValueCount = 2;
  Close();
  EXPECT_EQ(File(),
            "[IgnoreValue]\r\n"
            "Count=2\r\n"
            "Value1=v2\r\n"
            "Value2=v4\r\n"
            "Value3=v3\r\n"
            "Value4=v4\r\n"
            "Value5=v5\r\n"
            "[Options]\r\n"
            "OutputDirectory=C:\\Program Files\\Quillet\\Backup\r\n"
            "DeleteBackupFile=1\r\n"
            "IncludeRemoveMedia=0\r\n"
            "IncludeCDdrive=0\r\n"
            "Beep=0\r\n"
            "ShowHint=1\r\n"
            "RestorePoint=0\r\n"
            "Lan=English\r\n" +
                TreeSection() +
                "[IgnoreKey]\r\n"
                "Count=0\r\n"
                "[Window]\r\n"
                "State=1\r\n"
                "Left=298\r\n"
                "Top=252\r\n"
                "Width=684\r\n"
                "Height=520\r\n");
  fixture.Reopen();
  EXPECT_EQ(OptionsSetting.IgnoreValues, (std::vector<std::string>{"v2", "v4"}));
}

// Entries made of what the profile functions trim or strip on reading (blanks, Ctrl+Z, quotes),
// of the characters that mean something in an INI file, and of the longest a read returns.
std::vector<std::string> GeneratedEntries(size_t count, unsigned seed) {
  const std::vector<std::string> pieces = {"a",  "Z", " ",  "\t", "\"", "'", "=",  ";",          "[",
                                           "]",  "\\", "\x1A", "\v", "\f", "0", "\xC3\xA9", "\xE2\x82\xAC"};
  std::mt19937 random(seed);
  std::vector<std::string> entries;
  for (size_t i = 0; i < count; ++i) {
    std::string entry;
    const size_t length = random() % 12;
    for (size_t k = 0; k < length; ++k) entry += pieces[random() % pieces.size()];
    entries.push_back(std::move(entry));
  }
  entries.push_back(std::string(2047, 'x'));
  entries.push_back(" " + std::string(2043, 'x') + " ");
  return entries;
}

TEST_F(OptionsFileTest, EveryEntryTheListsCanKeepComesBackFromTheFileAsItWas) {
  fixture.Open();
  std::vector<std::string> values = {"HKEY_CURRENT_USER\\Software\\Trailing blanks  ", "\"quoted\"", "'single'",
                                     " leading", "\"open", ""};
  const std::vector<std::string> generated = GeneratedEntries(150, 7);
  values.insert(values.end(), generated.begin(), generated.end());
  const std::vector<std::string> keys(values.rbegin(), values.rend());
  for (const std::string& entry : values) ASSERT_TRUE(CanKeepIgnoreEntry(entry)) << "[" << entry << "]";
  OptionsSetting.IgnoreValues = values;
  OptionsSetting.IgnoreValueCount = static_cast<int>(values.size());
  OptionsSetting.IgnoreKeys = keys;
  OptionsSetting.IgnoreKeyCount = static_cast<int>(keys.size());
  Close();
  fixture.Reopen();
  EXPECT_EQ(OptionsSetting.IgnoreValues, values);
  EXPECT_EQ(OptionsSetting.IgnoreKeys, keys);
}

TEST(IgnoreEntryText, RefusesWhatOptionsIniCannotGiveBackAsItIs) {
  memory::Windows1252 ansi;
  EXPECT_FALSE(StoredIgnoreEntry("a\r\n[IgnoreKey]", ansi)) << "line break";
  EXPECT_FALSE(StoredIgnoreEntry(std::string("a\0b", 3), ansi)) << "NUL";
  EXPECT_FALSE(StoredIgnoreEntry("snow \xE2\x98\x83", ansi)) << "outside the code page";
  EXPECT_FALSE(StoredIgnoreEntry(std::string(2048, 'x'), ansi)) << "longer than a read returns";
  EXPECT_FALSE(StoredIgnoreEntry(std::string(2046, 'x') + " ", ansi)) << "too long once quoted";
  EXPECT_EQ(StoredIgnoreEntry("x  ", ansi), "\"x  \"");
}

TEST_F(OptionsFileTest, StateThreeStartsMaximizedAndReadsNoBounds) {
  fixture.fs.file(kOptionsFile, "[Window]\r\nState=3\r\nLeft=10\r\nTop=20\r\nWidth=900\r\nHeight=700\r\n");
  fixture.Open();
  EXPECT_EQ(OptionsSetting.WindowState, TWindowState::Maximized);
  EXPECT_EQ(OptionsSetting.WindowLeft, 0);
  EXPECT_EQ(OptionsSetting.WindowTop, 0);
  EXPECT_EQ(window().GetWindowState(), ui::WindowState::Maximized);
  EXPECT_EQ(window().Width(), 684) << "the designed size";
  EXPECT_EQ(window().Height(), 520);
  EXPECT_EQ(window().Left(), kCentredLeft) << "activation does not move a maximized window";
}

TEST_F(OptionsFileTest, StateTwoFromAWindowClosedMinimizedStartsNormal) {
  fixture.fs.file(kOptionsFile, "[Window]\r\nState=2\r\nLeft=10\r\nTop=20\r\nWidth=900\r\nHeight=700\r\n");
  fixture.Open();
  EXPECT_EQ(OptionsSetting.WindowState, TWindowState::Normal);
  EXPECT_EQ(window().GetWindowState(), ui::WindowState::Normal);
  EXPECT_EQ(Bounds(window()), (ui::TRect{10, 20, 900, 700}));
}

TEST_F(OptionsFileTest, SavingAMaximizedOrMinimizedWindowWritesItsShowCommand) {
  for (auto [state, expected] : {std::pair{ui::WindowState::Maximized, "3"}, {ui::WindowState::Minimized, "2"}}) {
    fixture.Reopen();
    window().SetWindowStateFromUser(state);
    Close();
    EXPECT_EQ(fixture.profile.ReadString(kOptionsFile, "Window", "State", ""), expected);
  }
}

TEST_F(OptionsFileTest, WithoutAPlacementTheStoredStateStays) {
  fixture.fs.file(kOptionsFile, "[Window]\r\nState=2\r\nLeft=10\r\nTop=20\r\nWidth=900\r\nHeight=700\r\n");
  fixture.Open();
  window().SetWindowStateFromUser(ui::WindowState::Maximized);
  fixture.ui.FailWindowPlacement();
  Close();
  EXPECT_EQ(fixture.profile.ReadString(kOptionsFile, "Window", "State", ""), "2");
  EXPECT_EQ(fixture.profile.ReadString(kOptionsFile, "Window", "Width", ""), "900") << "the bounds are written";
}

TEST_F(OptionsFileTest, BooleansAreIntegersAndAnythingElseGivesTheDefault) {
  fixture.fs.file(kOptionsFile,
                  "[Options]\r\n"
                  "DeleteBackupFile=TRUE\r\n"   // default true
                  "Beep=TRUE\r\n"               // default false
                  "IncludeCDdrive=2\r\n"
                  "IncludeRemoveMedia=-1\r\n"
                  "ShowHint=0\r\n"
                  "RestorePoint=1x\r\n"
                  "[TreeViewNodeCheck]\r\n"
                  "7=0\r\n"
                  "8=false\r\n");
  fixture.Open();
  EXPECT_TRUE(OptionsSetting.DeleteBackupFile);
  EXPECT_FALSE(OptionsSetting.Beep);
  EXPECT_TRUE(OptionsSetting.IncludeCDdrive);
  EXPECT_TRUE(OptionsSetting.IncludeRemoveMedia);
  EXPECT_FALSE(OptionsSetting.ShowHint);
  EXPECT_FALSE(OptionsSetting.RestorePoint) << "text after the digits is no integer";
  EXPECT_FALSE(OptionsSetting.TreeNodeChecks[7]);
  EXPECT_TRUE(OptionsSetting.TreeNodeChecks[8]);
  EXPECT_EQ(fixture.Node(7).StateIndex(), 1);
}

TEST_F(OptionsFileTest, ADefaultFileBesideTheExecutableIsCopiedOnceAndTheCopyIsUsed) {
  const std::string shipped = "[Options]\r\nLan=German\r\nBeep=1\r\n";
  fixture.fs.file(kShippedFile, shipped);
  fixture.Open();
  EXPECT_EQ(OptionsSetting.Lan, "German");
  EXPECT_TRUE(OptionsSetting.Beep);
  OptionsSetting.Beep = false;
  Close();
  EXPECT_EQ(File(kShippedFile), shipped) << "saves go to the copy only";
  EXPECT_EQ(fixture.profile.ReadString(kOptionsFile, "Options", "Beep", ""), "0");

  fixture.fs.file(kShippedFile, "[Options]\r\nLan=French\r\nBeep=1\r\n");
  fixture.Reopen();
  EXPECT_EQ(OptionsSetting.Lan, "German") << "the copy, not the shipped file again";
  EXPECT_FALSE(OptionsSetting.Beep);
}

TEST_F(OptionsFileTest, AnApplicationDataFolderThatCannotBeMadeSendsTheFileBesideTheExecutable) {
  fixture.fs.file("C:\\Users\\User\\AppData\\Roaming\\Orvane");  // a file where the folder would go
  fixture.Open();
  Close();
  EXPECT_EQ(LocateOptionsFile(), kShippedFile);
  EXPECT_EQ(fixture.profile.ReadString(kShippedFile, "Window", "Width", ""), "684");
}

TEST_F(OptionsFileTest, AFailedWriteShowsTheStandardErrorBoxAndTheWindowStillCloses) {
  const std::string before = "[Options]\r\nLan=English\r\nBeep=1\r\n";
  fixture.fs.file(kOptionsFile, before);
  fixture.Open();
  fixture.fs.failWrites();
  fixture.ui.AnswerMessageBox(ui::ModalResult::Ok);
  Close();
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& box = fixture.ui.MessageBoxes().front();
  EXPECT_EQ(box.text, std::string("Unable to write to ") + kOptionsFile);
  EXPECT_EQ(box.title, "Orvane Quillet");
  EXPECT_EQ(box.icon, ui::MessageIcon::Error);
  EXPECT_EQ(box.buttons, ui::MessageButtons::Ok);
  EXPECT_EQ(File(), before) << "the keys not written keep their values";
  EXPECT_TRUE(OptionsSetting.IgnoreValues.empty()) << "the close went on after the error";
}

}  // namespace
}  // namespace quillet::testing
