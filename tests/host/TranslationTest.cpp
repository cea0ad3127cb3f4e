// Translation of windows and the language switch, over the in-memory platform: language files
// beside the executable or in its Languages folder, UTF-16LE or in the system code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "base/Utf16.h"
#include "settings/Translation.h"
#include "ui/StdControls.h"

namespace quillet::testing {
namespace {

constexpr const char* kBeside = "C:\\Program Files\\Quillet\\";
constexpr const char* kInLanguages = "C:\\Program Files\\Quillet\\Languages\\";

std::string Utf16File(std::string_view utf8) {
  std::vector<uint8_t> bytes = Utf16LeBytes(utf8, false);
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}

class TranslationTest : public ::testing::Test {
 protected:
  void Ship(const std::string& lan, std::string_view text, const char* folder = kBeside) {
    fixture.fs.file(std::string(folder) + "Lan_" + lan + ".ini", Utf16File(text));
  }
  TfrmQuillet& Main() { return fixture.Window(); }
  void Switch(const char* item) { Main().miEnglishClick(*Main().MenuItem(item)); }
  std::vector<std::string> Ticked() {
    std::vector<std::string> ticked;
    for (ui::TMenuItem* item : Main().LanguageItems()) {
      if (item->Checked()) ticked.push_back(item->Name());
    }
    return ticked;
  }
  // The About box's caption as it shows.
  std::string AboutCaption() {
    std::string caption;
    fixture.ui.WhileModal("frmAbout", [&](ui::TForm& form) {
      caption = form.Caption();
      form.SetModalResult(ui::ModalResult::Ok);
    });
    Main().miAboutClick();
    return caption;
  }

  MainWindowFixture fixture;
};

class EnglishInAnyCase : public TranslationTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EnglishInAnyCase, ReadsNoLanguageFileWhenAWindowShows) {
  Ship("English", "[frmQuillet]\nbScanRegistry=from the file\n[frmAbout]\nfrmAbout=from the file\n");
  OptionsSetting.Lan = GetParam();
  fixture.Open();
  EXPECT_EQ(Main().bScanRegistry->Caption(), "Scan registry issues");
  EXPECT_EQ(AboutCaption(), "About Orvane Quillet");
  EXPECT_EQ(Ticked(), std::vector<std::string>{"miEnglish"});
}

INSTANTIATE_TEST_SUITE_P(Cases, EnglishInAnyCase, ::testing::Values("English", "ENGLISH", "english"));

TEST_F(TranslationTest, GermanThenFrenchKeepsGermanWhereFrenchIsSilentWhileNewWindowsStartFromTheirDesign) {
  Ship("German",
       "[frmQuillet]\nbScanRegistry=Registrierung prüfen\nbRepairRegistry=Registrierung reparieren\n"
       "lUpdate=Jetzt nach neuen Versionen suchen...\n[frmAbout]\nfrmAbout=Über Orvane Quillet\n");
  Ship("French", "[frmQuillet]\nbRepairRegistry=Réparer le Registre\n", kInLanguages);
  fixture.Open();

  Switch("miGerman");
  EXPECT_EQ(Main().lUpdate->Right(), Main().ClientWidth() - 20) << "the longer link keeps its margin";
  EXPECT_EQ(AboutCaption(), "Über Orvane Quillet");
  Switch("miFrench");
  EXPECT_EQ(OptionsSetting.Lan, "French");
  EXPECT_EQ(Ticked(), std::vector<std::string>{"miFrench"});
  EXPECT_EQ(Main().bScanRegistry->Caption(), "Registrierung prüfen");
  EXPECT_EQ(Main().bRepairRegistry->Caption(), "Réparer le Registre");
  EXPECT_EQ(AboutCaption(), "About Orvane Quillet") << "a new window starts from its design";
  // Each task button fits its caption after a switch: the scripted UI measures 6 per byte.
  EXPECT_EQ(Main().bRepairRegistry->Width(), 6 * static_cast<int>(std::string("Réparer le Registre").size()) + 17);
}

TEST_F(TranslationTest, SwitchingBackToEnglishRestoresWhatItsFileListsAndKeepsTheRest) {
  Ship("German", "[frmQuillet]\nbScanRegistry=Registrierung prüfen\nLabel1=Aufgaben\n");
  Ship("English", "[frmQuillet]\nbScanRegistry=Scan registry issues\n");
  fixture.Open();
  Switch("miGerman");
  Switch("miEnglish");
  EXPECT_EQ(OptionsSetting.Lan, "English");
  EXPECT_EQ(Main().bScanRegistry->Caption(), "Scan registry issues");
  EXPECT_EQ(Main().Label1->Caption(), "Aufgaben");
}

TEST_F(TranslationTest, EveryKindOfTextTakesItsOwnKeyAndSeparatorsAndMissingKeysStayAsTheyAre) {
  Ship("German",
       "[frmQuillet]\nfrmQuillet=Orvane Quillet 3.5 (Deutsch)\nLabel1=Aufgaben\nListBox1_Item0=HKEY_CLASSES_ROOT\\.XYZ\n"
       "tvRegistry_2=HKLM\ntvRegistry_22=Leere Schlüssel\nlvRegistryData_Column1=Registrierungsschlüssel\n"
       "StatusBar1_Panel1=zwei\n"
       "[Menu_frmQuillet]\nmiOptions=&Optionen...\npmSelectAll=&Alle auswählen\nN1=Trenner\n");
  OptionsSetting.Lan = "German";
  fixture.Open();
  TfrmQuillet& main = Main();
  EXPECT_EQ(main.Caption(), "Orvane Quillet 3.5 (Deutsch)");
  EXPECT_EQ(main.Label1->Caption(), "Aufgaben");
  EXPECT_EQ(main.ListBox1->Items()[0], "HKEY_CLASSES_ROOT\\.XYZ") << "the filter's safe list comes from the box";
  EXPECT_EQ(main.ListBox1->Items()[1], "HKEY_CLASSES_ROOT\\.hta");
  EXPECT_EQ(main.tvRegistry->NodeAt(2)->Text(), "HKLM");
  EXPECT_EQ(main.tvRegistry->NodeAt(22)->Text(), "Leere Schlüssel");
  EXPECT_EQ(main.lvRegistryData->Columns()[1].caption, "Registrierungsschlüssel");
  EXPECT_EQ(main.StatusBar1->PanelText(1), "zwei");
  EXPECT_EQ(main.MenuItem("miOptions")->Caption(), "&Optionen...");
  EXPECT_EQ(main.MenuItem("pmSelectAll")->Caption(), "&Alle auswählen");
  EXPECT_TRUE(main.MenuItem("N1")->IsSeparator());
  EXPECT_EQ(main.bRestoreRegistry->Caption(), "Restore previous registry ") << "kept, trailing blank and all";
}

// The kinds the main window lacks, on a window of their own.
TEST_F(TranslationTest, CheckBoxesGroupBoxesPagesAndSimpleStatusBarsAreTranslatedButEditFieldsAreNot) {
  Ship("German",
       "[frmSample]\ncbBeep=&Piepton\nGroupBox1=Allgemein\nPages1_Page1=Ignorierlisten\nBar=bereit\nEdit1=nein\n");
  fixture.Open();
  ui::TForm form(fixture.ui, "frmSample");
  auto* check = form.Make<ui::TCheckBox>("cbBeep");
  check->SetCaption("&Beep");
  auto* group = form.Make<ui::TGroupBox>("GroupBox1");
  auto* pages = form.Make<ui::TPageControl>("Pages1");
  auto* general = form.Make<ui::TTabSheet>("TabSheet1", *pages);
  general->SetCaption("General");
  auto* ignore = form.Make<ui::TTabSheet>("TabSheet2", *pages);
  auto* edit = form.Make<ui::TEdit>("Edit1");
  edit->SetCaption("C:\\Backup");
  auto* bar = form.Make<ui::TStatusBar>("Bar");
  bar->SetSimplePanel(true);

  TranslateForm(form, "German");
  EXPECT_EQ(check->Caption(), "&Piepton");
  EXPECT_EQ(group->Caption(), "Allgemein");
  EXPECT_EQ(general->Caption(), "General");
  EXPECT_EQ(ignore->Caption(), "Ignorierlisten");
  EXPECT_EQ(bar->SimpleText(), "bereit");
  EXPECT_EQ(edit->Caption(), "C:\\Backup");
}

struct MissingFileCase {
  const char* item;
  const char* text;
};

class MissingLanguageFile : public TranslationTest, public ::testing::WithParamInterface<MissingFileCase> {};

TEST_P(MissingLanguageFile, IsReportedAndChangesNothing) {
  Ship("German", "[frmQuillet]\nbScanRegistry=Registrierung prüfen\n");
  fixture.Open();
  Switch("miGerman");
  Switch(GetParam().item);
  ASSERT_EQ(fixture.ui.MessageBoxes().size(), 1u);
  const ui::MessageBoxRequest& box = fixture.ui.MessageBoxes()[0];
  EXPECT_EQ(box.title, "Orvane Quillet");
  EXPECT_EQ(box.buttons, ui::MessageButtons::Ok);
  EXPECT_EQ(box.text, GetParam().text);
  EXPECT_EQ(OptionsSetting.Lan, "German");
  EXPECT_EQ(Ticked(), std::vector<std::string>{"miGerman"});
  EXPECT_EQ(Main().bScanRegistry->Caption(), "Registrierung prüfen");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingLanguageFile,
    ::testing::Values(MissingFileCase{"miKorean", "Lan_Korean.ini can not be found."},
                      MissingFileCase{"miOther",
                                      "Lan_Other.ini can not be found.\r\n\r\nPlease visit "
                                      "https://www.orvane-software.example/quillet/translate.html to download a "
                                      "translation or to learn how to make your own."}));

TEST_F(TranslationTest, TheLanguageMenuShowsExactlyTheLanguagesWithAFile) {
  Ship("German", "");
  Ship("Russian", "", kInLanguages);
  fixture.Open();
  auto visible = [&] {
    Main().MenuItem("miLanguage")->PrepareToOpen();
    std::vector<std::string> names;
    for (ui::TMenuItem* item : Main().MenuItem("miLanguage")->Items()) {
      if (item->Visible()) names.push_back(item->Name());
    }
    return names;
  };
  EXPECT_EQ(visible(), (std::vector<std::string>{"miGerman", "miRussian"})) << "English hides without its file";
  Ship("Other", "", kInLanguages);
  Ship("English", "");
  EXPECT_EQ(visible(), (std::vector<std::string>{"miEnglish", "miGerman", "miRussian", "mlOther", "miOther"}));
}

// Translators' files in the system code page keep working beside the shipped UTF-16 files.
TEST_F(TranslationTest, AUtf16FileAndAnAnsiFileGiveTheSameTexts) {
  const std::string text = "[frmQuillet]\nbScanRegistry=Registrierung prüfen \xE2\x80\x93 schnell\n";
  Ship("German", text);
  fixture.fs.file(std::string(kBeside) + "Lan_French.ini", *fixture.ansi.FromUtf8(text));
  fixture.Open();
  Switch("miGerman");
  const std::string fromUtf16 = Main().bScanRegistry->Caption();
  Switch("miFrench");
  EXPECT_EQ(Main().bScanRegistry->Caption(), fromUtf16);
  EXPECT_EQ(fromUtf16, "Registrierung prüfen \xE2\x80\x93 schnell");
}

}  // namespace
}  // namespace quillet::testing
