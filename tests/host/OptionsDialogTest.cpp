// The options dialog and the Add to Ignore List dialog, opened from the main window's Edit menu
// and driven as a user would: only OK changes the settings, and the ignore lists keep their rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "MainWindowFixture.h"
#include "settings/IgnoreEntryText.h"
#include "settings/Options.h"
#include "settings/RegAddRegistry.h"

namespace quillet::testing {
namespace {

using ui::ModalResult;

std::vector<std::string> Captions(const ui::TListView& list) {
  std::vector<std::string> captions;
  for (size_t i = 0; i < list.Count(); ++i) captions.push_back(list.Item(i).caption);
  return captions;
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    fixture.fs.folder("C:\\Backup");
    OptionsSetting.OutputDirectory = "C:\\Backup";
    OptionsSetting.IgnoreValues = {"HKEY_CURRENT_USER\\Software\\X", "HKEY_CURRENT_USER\\Software\\Y"};
    OptionsSetting.IgnoreValueCount = 2;
    OptionsSetting.IgnoreKeys = {"HKEY_LOCAL_MACHINE\\Software\\Old"};
    OptionsSetting.IgnoreKeyCount = 1;
    fixture.Open();
  }

  // Opens the dialog from the menu; the user does what the action says while it is open.
  ModalResult Run(std::function<void(TfrmOptions&)> user) {
    fixture.ui.WhileModal("frmOptions", [user](ui::TForm& form) { user(static_cast<TfrmOptions&>(form)); });
    const size_t before = fixture.ui.ModalRuns().size();
    fixture.Window().MenuItem("miOptions")->Click();
    for (size_t i = before; i < fixture.ui.ModalRuns().size(); ++i) {
      if (fixture.ui.ModalRuns()[i].form == "frmOptions") return fixture.ui.ModalRuns()[i].result;
    }
    ADD_FAILURE() << "the options dialog did not open";
    return ModalResult::None;
  }

  // The next Add to Ignore List dialog: the text typed, then OK; Cancel when there is none.
  void AnswerEntry(std::optional<std::string> text) {
    fixture.ui.WhileModal("frmRegAddRegistry", [text](ui::TForm& form) {
      auto& add = static_cast<TfrmRegAddRegistry&>(form);
      if (!text) return add.bCancel->Click();
      add.eRegistryKey->SetTextFromUser(*text);
      add.bOK->Click();
    });
  }
  size_t AddDialogsShown() const {
    size_t shown = 0;
    for (const auto& run : fixture.ui.ModalRuns()) shown += run.form == "frmRegAddRegistry";
    return shown;
  }

  MainWindowFixture fixture;
};

TEST_F(OptionsDialogTest, EachSwitchShowsItsOwnFieldAndOkWritesItBack) {
  const std::pair<ui::TCheckBox* TfrmOptions::*, bool TOptionsSetting::*> switches[] = {
      {&TfrmOptions::cbCreateRestore, &TOptionsSetting::RestorePoint},
      {&TfrmOptions::cbDeleteBackupFile, &TOptionsSetting::DeleteBackupFile},
      {&TfrmOptions::cbIncludeRemoveMedia, &TOptionsSetting::IncludeRemoveMedia},
      {&TfrmOptions::cbIncludeCDdrive, &TOptionsSetting::IncludeCDdrive},
      {&TfrmOptions::cbShowHint, &TOptionsSetting::ShowHint},
      {&TfrmOptions::cbBeep, &TOptionsSetting::Beep},
  };
  for (auto [box, field] : switches) {
    const TOptionsSetting before = OptionsSetting;
    Run([&](TfrmOptions& options) {
      SCOPED_TRACE((options.*box)->Name());
      EXPECT_EQ((options.*box)->Checked(), before.*field);
      (options.*box)->ToggleFromUser();
      options.bOK->Click();
    });
    TOptionsSetting expected = before;
    expected.*field = !(before.*field);
    EXPECT_EQ(std::make_tuple(OptionsSetting.RestorePoint, OptionsSetting.DeleteBackupFile,
                              OptionsSetting.IncludeRemoveMedia, OptionsSetting.IncludeCDdrive, OptionsSetting.ShowHint,
                              OptionsSetting.Beep),
              std::make_tuple(expected.RestorePoint, expected.DeleteBackupFile, expected.IncludeRemoveMedia,
                              expected.IncludeCDdrive, expected.ShowHint, expected.Beep));
  }
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, 2) << "the lists come back as they were shown";
  EXPECT_EQ(OptionsSetting.IgnoreKeys, (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Old"}));
}

TEST_F(OptionsDialogTest, AddComparesWithTheActiveListOnlyAndWithoutRegardToCase) {
  Run([&](TfrmOptions& options) {
    options.suiPageControl1->SelectPageFromUser(1);
    AnswerEntry("hkey_current_user\\software\\x");  // already there in other letters
    options.bAdd->Click();
    AnswerEntry("HKEY_LOCAL_MACHINE\\Software\\Old");  // a key, typed while "Values" is in front
    options.bAdd->Click();
    AnswerEntry(std::nullopt);
    options.bAdd->Click();
    options.bOK->Click();
  });
  EXPECT_EQ(OptionsSetting.IgnoreValues,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\X", "HKEY_CURRENT_USER\\Software\\Y",
                                      "HKEY_LOCAL_MACHINE\\Software\\Old"}));
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, 3);
  EXPECT_EQ(OptionsSetting.IgnoreKeys, (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Old"}));
}

TEST_F(OptionsDialogTest, EditChangesTheSelectedRowEvenIntoADuplicateAndNeedsASelection) {
  std::string preset;
  Run([&](TfrmOptions& options) {
    options.suiPageControl1->SelectPageFromUser(1);
    options.bEdit->Click();  // nothing selected: no dialog
    options.lvValues->SetSelectedFromUser(1, true);
    fixture.ui.WhileModal("frmRegAddRegistry", [&](ui::TForm& form) {
      auto& add = static_cast<TfrmRegAddRegistry&>(form);
      preset = add.eRegistryKey->Text();
      add.eRegistryKey->SetTextFromUser("HKEY_CURRENT_USER\\SOFTWARE\\X");
      add.bOK->Click();
    });
    options.lvValues->OnDblClick();
    options.bOK->Click();
  });
  EXPECT_EQ(AddDialogsShown(), 1u);
  EXPECT_EQ(preset, "HKEY_CURRENT_USER\\Software\\Y");
  EXPECT_EQ(OptionsSetting.IgnoreValues,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\X", "HKEY_CURRENT_USER\\SOFTWARE\\X"}));
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, 2);
}

// options.ini could not give these back as typed: Add and Edit refuse them with a message.
TEST_F(OptionsDialogTest, AddAndEditRefuseAnEntryTheFileCannotKeepAndSayWhy) {
  const std::string tooLong = "HKEY_CURRENT_USER\\Software\\" + std::string(3000, 'x');
  const std::string outsideCodePage = "HKEY_CURRENT_USER\\Software\\\xE2\x98\x83";
  Run([&](TfrmOptions& options) {
    options.suiPageControl1->SelectPageFromUser(1);
    AnswerEntry(tooLong);
    fixture.ui.AnswerMessageBox(ModalResult::Ok);
    options.bAdd->Click();
    options.lvValues->SetSelectedFromUser(0, true);
    AnswerEntry(outsideCodePage);
    fixture.ui.AnswerMessageBox(ModalResult::Ok);
    options.bEdit->Click();
    AnswerEntry("HKEY_CURRENT_USER\\Software\\Ends in blanks  ");  // kept in quotes
    options.bAdd->Click();
    options.bOK->Click();
  });
  EXPECT_EQ(OptionsSetting.IgnoreValues,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\X", "HKEY_CURRENT_USER\\Software\\Y",
                                      "HKEY_CURRENT_USER\\Software\\Ends in blanks  "}));
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 2u);
  for (const ui::MessageBoxRequest& message : fixture.ui.MessageBoxes()) {
    EXPECT_EQ(message.text, IgnoreEntryRefusedText());
    EXPECT_EQ(message.title, "Orvane Quillet");
  }
}

TEST_F(OptionsDialogTest, RemoveDeletesTheTickedRowsAndKeepsTheSelectedOne) {
  OptionsSetting.IgnoreKeys = {"HKEY_A", "HKEY_B", "HKEY_C", "HKEY_D"};
  OptionsSetting.IgnoreKeyCount = 4;
  Run([&](TfrmOptions& options) {
    options.suiPageControl1->SelectPageFromUser(1);
    options.suiPageControl2->SelectPageFromUser(1);
    options.bRemove->Click();  // nothing ticked
    EXPECT_EQ(options.lvKeys->Count(), 4u);
    options.lvKeys->SetCheckedFromUser(0, true);
    options.lvKeys->SetCheckedFromUser(2, true);
    options.lvKeys->SetSelectedFromUser(1, true);
    options.lvValues->SetCheckedFromUser(0, true);  // on the page behind: untouched
    options.bRemove->Click();
    options.bOK->Click();
  });
  EXPECT_EQ(OptionsSetting.IgnoreKeys, (std::vector<std::string>{"HKEY_B", "HKEY_D"}));
  EXPECT_EQ(OptionsSetting.IgnoreKeyCount, 2);
  EXPECT_EQ(OptionsSetting.IgnoreValueCount, 2);
}

TEST_F(OptionsDialogTest, CancelOrTheCloseBoxAfterAddEditAndRemoveChangesNothing) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    const TOptionsSetting before = OptionsSetting;
    ModalResult result = Run([&](TfrmOptions& options) {
      options.cbBeep->ToggleFromUser();
      options.eOutputFolder->SetTextFromUser("C:\\");
      options.suiPageControl1->SelectPageFromUser(1);
      AnswerEntry("HKEY_CURRENT_USER\\Software\\Z");
      options.bAdd->Click();
      options.lvValues->SetSelectedFromUser(0, true);
      AnswerEntry("HKEY_CURRENT_USER\\Software\\Edited");
      options.bEdit->Click();
      options.lvValues->SetCheckedFromUser(1, true);
      options.bRemove->Click();
      EXPECT_EQ(Captions(*options.lvValues),
                (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Edited", "HKEY_CURRENT_USER\\Software\\Z"}));
      if (closeBox) {
        fixture.ui.PressCloseBox(options);
      } else {
        options.bCancel->Click();
      }
    });
    EXPECT_EQ(result, ModalResult::Cancel);
    EXPECT_EQ(OptionsSetting.IgnoreValues, before.IgnoreValues);
    EXPECT_EQ(OptionsSetting.Beep, before.Beep);
    EXPECT_EQ(OptionsSetting.OutputDirectory, before.OutputDirectory);
  }
}

TEST_F(OptionsDialogTest, OkTakesTheFolderAsTypedAndStaysOpenOnOneThatDoesNotExist) {
  struct Case {
    std::string typed;
    bool exists;
  };
  for (const Case& c : {Case{"C:\\Backup\\", true}, Case{" C:\\Backup ", false}, Case{"C:\\Missing", false},
                        Case{"", false}}) {
    SCOPED_TRACE("folder [" + c.typed + "]");
    const size_t boxes = fixture.ui.MessageBoxes().size();
    bool openAfterOk = false;
    ModalResult result = Run([&](TfrmOptions& options) {
      options.eOutputFolder->SetTextFromUser(c.typed);
      options.suiPageControl1->SelectPageFromUser(1);
      options.SetActiveControl(options.bAdd);
      options.bOK->Click();
      openAfterOk = options.GetModalResult() == ModalResult::None;
      if (openAfterOk) {
        EXPECT_EQ(options.suiPageControl1->ActivePageIndex(), 0);
        EXPECT_EQ(options.ActiveControl(), options.eOutputFolder);
        options.bCancel->Click();
      }
    });
    EXPECT_EQ(openAfterOk, !c.exists);
    EXPECT_EQ(result, c.exists ? ModalResult::Ok : ModalResult::Cancel);
    EXPECT_EQ(OptionsSetting.OutputDirectory, c.exists ? c.typed : "C:\\Backup\\");
    if (c.exists) {
      EXPECT_EQ(fixture.ui.MessageBoxes().size(), boxes);
    } else {
      ASSERT_EQ(fixture.ui.MessageBoxes().size(), boxes + 1);
      const ui::MessageBoxRequest& box = fixture.ui.MessageBoxes().back();
      EXPECT_EQ(box.text, c.typed + ",The backup directory does not exist.");
      EXPECT_EQ(box.title, "Orvane Quillet");
      EXPECT_EQ(box.icon, ui::MessageIcon::Error);
    }
  }
  EXPECT_TRUE(fixture.fs.FolderExists("C:\\Backup")) << "nothing is created";
  EXPECT_FALSE(fixture.fs.FolderExists("C:\\Missing"));
}

TEST_F(OptionsDialogTest, BrowsePutsTheChosenFolderInTheFieldAndCancelLeavesIt) {
  fixture.shell.answerBrowse(std::nullopt).answerBrowse("D:\\Saved");
  std::vector<std::string> seen;
  Run([&](TfrmOptions& options) {
    for (int click = 0; click < 2; ++click) {
      options.bBrowse->Click();
      seen.push_back(options.eOutputFolder->Text());
    }
    options.bCancel->Click();
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"C:\\Backup", "D:\\Saved"}));
  EXPECT_EQ(fixture.shell.BrowseTitles().at(0), "Please select the directory to add");
}

TEST_F(OptionsDialogTest, TheRestorePointCaptionEndsInTheProgramsOwnListOfSystems) {
  struct Case {
    std::string translated;
    std::string shown;
  };
  for (const Case& c : {
           Case{"Systemwiederherstellungspunkt erstellen (XP, Vista)",
                "Systemwiederherstellungspunkt erstellen (XP, Vista, 7, 8)"},
           Case{"Point de restauration (xp seulement) avant", "Point de restauration (XP, Vista, 7, 8)"},
           Case{"Créer un point de restauration", "Créer un point de restauration"},
           Case{"(XP", "(XP, Vista, 7, 8)"},
       }) {
    EXPECT_EQ(RestorePointCaption(c.translated), c.shown);
  }
  // The dialog applies the rule to whatever caption the translation left.
  std::string shown;
  fixture.ui.WhileModal("frmOptions", [&](ui::TForm& form) {
    shown = static_cast<TfrmOptions&>(form).cbCreateRestore->Caption();
    static_cast<TfrmOptions&>(form).bCancel->Click();
  });
  TfrmOptions options(fixture.ui);
  options.cbCreateRestore->SetCaption("Wiederherstellungspunkt (XP, Vista)");
  options.ShowModal();
  EXPECT_EQ(shown, "Wiederherstellungspunkt (XP, Vista, 7, 8)");
}

TEST_F(OptionsDialogTest, TheAddDialogOffersOkOnlyForATextNamingARootKey) {
  struct Case {
    std::string typed;
    bool enabled;
  };
  std::vector<std::string> typedWhenClosed;
  fixture.ui.WhileModal("frmRegAddRegistry", [&](ui::TForm& form) {
    auto& add = static_cast<TfrmRegAddRegistry&>(form);
    EXPECT_EQ(add.Caption(), "Add to Ignore List");
    EXPECT_FALSE(add.bOK->Enabled()) << "an empty field";
    EXPECT_EQ(add.ActiveControl(), add.eRegistryKey);
    for (const Case& c : {Case{"HKCU\\Software", false}, Case{"hkey_current_user", true}, Case{"HKEY", false},
                          Case{"  my HKEY_X  ", true}}) {
      add.eRegistryKey->SetTextFromUser(c.typed);
      EXPECT_EQ(add.bOK->Enabled(), c.enabled) << c.typed;
    }
    add.eRegistryKey->SetTextFromUser("Software\\X");
    add.bOK->Click();
    EXPECT_EQ(add.GetModalResult(), ModalResult::None) << "OK without HKEY_ closes nothing";
    add.bLaunchRegedit->Click();
    EXPECT_EQ(add.GetModalResult(), ModalResult::None) << "the editor leaves the dialog open";
    add.eRegistryKey->SetTextFromUser("  hkey_users\\x ");
    add.bOK->Click();
  });
  TfrmRegAddRegistry add(fixture.ui);
  EXPECT_EQ(add.ShowModal(), ModalResult::Ok);
  EXPECT_EQ(add.eRegistryKey->Text(), "  hkey_users\\x ") << "taken as typed, untrimmed";
  EXPECT_EQ(fixture.ui.OpenedDocuments(), (std::vector<std::string>{"Regedit.exe"}));
}

}  // namespace
}  // namespace quillet::testing
