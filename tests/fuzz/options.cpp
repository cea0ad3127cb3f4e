// options.ini on any file: the load never crashes, and every ignore entry the load gave that the
// file can keep comes back from a save and a second load as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/Platform.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/ScriptedShell.h"
#include "platform/memory/Windows1252.h"
#include "settings/IgnoreEntryText.h"
#include "settings/OptionsFile.h"
#include "settings/OptionsSetting.h"
#include "ui/Form.h"
#include "ui/UiHost.h"

namespace {

using namespace quillet;

// A screen and nothing else: the options need only the main window's bounds and placement.
class QuietHost : public ui::UiHost {
 public:
  ui::ModalResult ShowModal(ui::TForm&) override { return ui::ModalResult::Cancel; }
  ui::ModalResult MessageBox(ui::TForm*, const ui::MessageBoxRequest&) override { return ui::ModalResult::Ok; }
  bool ExecuteSaveDialog(ui::TForm*, ui::TSaveDialog&) override { return false; }
  void PostMessage(ui::TForm&, unsigned, uintptr_t, intptr_t) override {}
  void BringToFront(ui::TForm&) override {}
  void Beep(unsigned, unsigned) override {}
  bool OpenDocument(const std::string&) override { return false; }
  int TextWidth(const ui::TFont&, const std::string& text) override { return static_cast<int>(text.size()) * 7; }
  int TextHeight(const ui::TFont&) override { return 13; }
  ui::TSize ScreenSize() override { return {1280, 1024}; }
  std::optional<int> WindowShowCommand(ui::TForm&) override { return 1; }
  void FormClosed(ui::TForm&) override {}
  void FormDestroyed(ui::TForm&) override {}
};

class Window : public OptionsWindow {
 public:
  explicit Window(ui::UiHost& host) : form_(host, "frmQuillet") { form_.SetBounds(0, 0, 684, 520); }
  ui::TForm& MainForm() override { return form_; }
  void StoreCategoryTicks() override {}

 private:
  ui::TForm form_;
};

void CheckKept(const std::vector<std::string>& first, const std::vector<std::string>& second) {
  FUZZ_CHECK(first.size() == second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    if (CanKeepIgnoreEntry(first[i])) FUZZ_CHECK(first[i] == second[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryFileSystem files;
  files.fixedDrive('c').folder("C:\\Program Files\\Quillet").folder("C:\\AppData\\Orvane\\Quillet");
  files.file("C:\\AppData\\Orvane\\Quillet\\options.ini", std::string(reinterpret_cast<const char*>(data), size));
  IniProfile profile(files);
  ScriptedShell shell(&files);
  shell.specialFolder(SpecialFolder::AppData, "C:\\AppData");
  FixedSystemInfo system;
  memory::Windows1252 ansi;
  Platform platform;
  platform.files = &files;
  platform.profile = &profile;
  platform.shell = &shell;
  platform.system = &system;
  platform.ansi = &ansi;
  ScopedPlatform scoped(platform);
  QuietHost host;
  Window window(host);

  OptionsSetting = TOptionsSetting();
  LoadOrSaveOptions(OptionsTransfer::Load, window);
  const TOptionsSetting first = OptionsSetting;
  // The save writes one key per entry, each a write of the whole file: a list of thousands (a
  // hand-edited Count with an entry number to match) takes its time without being wrong.
  constexpr size_t kLongestListSaved = 256;
  if (first.IgnoreValues.size() > kLongestListSaved || first.IgnoreKeys.size() > kLongestListSaved) return 0;
  LoadOrSaveOptions(OptionsTransfer::Save, window);
  OptionsSetting = TOptionsSetting();
  LoadOrSaveOptions(OptionsTransfer::Load, window);
  CheckKept(first.IgnoreValues, OptionsSetting.IgnoreValues);
  CheckKept(first.IgnoreKeys, OptionsSetting.IgnoreKeys);
  FUZZ_CHECK(first.IgnoreValueCount == OptionsSetting.IgnoreValueCount);
  FUZZ_CHECK(first.IgnoreKeyCount == OptionsSetting.IgnoreKeyCount);
  return 0;
}
