// Every shipped language file against the windows it translates, measured with the fonts Wine
// really draws: a caption wider than its control shows clipped, a tree node wider than its tree
// is cut at the scroll bar, and a label that grew with its text must neither leave its parent
// nor run into a neighbour it stayed clear of in English.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "main/About.h"
#include "main/BackupHint.h"
#include "main/RegMain.h"
#include "main/ShowHint.h"
#include "main/SystemPiont.h"
#include "platform/Platform.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32.h"
#include "scan/RegProgressHint.h"
#include "settings/Options.h"
#include "settings/OptionsSetting.h"
#include "settings/RegAddRegistry.h"
#include "settings/Translation.h"
#include "tools/BackupView.h"
#include "tools/Restore.h"
#include "tools/StartupManager.h"
#include "ui/StdControls.h"
#include "ui/TreeView.h"
#include "ui/win32/Win32UiHost.h"

namespace quillet::testing {
namespace {

// The languages whose files the build put beside the test executable.
std::vector<std::string> ShippedLanguages() {
  std::vector<std::string> languages;
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = BuildFolder() + L"Languages\\Lan_*.ini";
  HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return languages;
  do {
    const std::wstring name = found.cFileName;
    languages.push_back(win32::ToUtf8(name.substr(4, name.size() - 8)));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return languages;
}

// A caption as drawn: "&&" shows one ampersand, a single "&" only underlines the next letter.
std::string Drawn(const std::string& caption) {
  std::string shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// The room a control leaves its caption: its width less the box, glyph or frame drawn beside it.
int RoomForCaption(const ui::TControl& control) {
  switch (control.Kind()) {
    case ui::ComponentKind::Button: return control.Width() - 6;
    case ui::ComponentKind::CheckBox: return control.Width() - 18;
    case ui::ComponentKind::GroupBox: return control.Width() - 16;
    case ui::ComponentKind::SpeedButton: return control.Width() - 17;
    case ui::ComponentKind::Label: return control.Width();
    default: return -1;  // not a single-line caption of its own
  }
}

bool Shown(const ui::TControl& control) {
  for (const ui::TControl* at = &control; at; at = at->Parent()) {
    if (!at->Visible()) return false;
  }
  return true;
}

bool Overlap(const ui::TRect& a, const ui::TRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

struct Layout {
  std::map<std::string, ui::TRect> bounds;  // shown controls with a caption, by name
};

Layout LayoutOf(const ui::TForm& form) {
  Layout layout;
  for (const auto& component : form.Components()) {
    const auto* control = dynamic_cast<const ui::TControl*>(component.get());
    if (control && Shown(*control) && RoomForCaption(*control) >= 0) layout.bounds[control->Name()] = control->Bounds();
  }
  return layout;
}

// What the user would see wrong in the window as the language lays it out.
std::vector<std::string> Faults(ui::UiHost& host, const ui::TForm& form, const Layout& english) {
  std::vector<std::string> faults;
  std::vector<const ui::TControl*> captioned;
  for (const auto& component : form.Components()) {
    const auto* control = dynamic_cast<const ui::TControl*>(component.get());
    if (!control || !Shown(*control) || RoomForCaption(*control) < 0 || control->Caption().empty()) continue;
    captioned.push_back(control);
    const int width = host.TextWidth(control->Font(), Drawn(control->Caption()));
    if (width > RoomForCaption(*control)) {
      faults.push_back(control->Name() + " \"" + control->Caption() + "\" needs " + std::to_string(width) +
                       " pixels, has " + std::to_string(RoomForCaption(*control)));
    }
    const int parentWidth = control->Parent() ? control->Parent()->Width() : form.ClientWidth();
    if (control->Left() + control->Width() > parentWidth) {
      faults.push_back(control->Name() + " \"" + control->Caption() + "\" runs past the edge of its parent");
    }
  }
  for (const auto& component : form.Components()) {
    const auto* tree = dynamic_cast<const ui::TTreeView*>(component.get());
    if (!tree || !Shown(*tree)) continue;
    // Without a horizontal scroll bar a node's text must end before the vertical one: the frame,
    // the scroll bar, one indent per level, the tick box and the gaps around it come first.
    const int room = tree->Width() - ::GetSystemMetrics(SM_CXVSCROLL) - 24;
    for (const ui::TTreeNode* node : tree->Nodes()) {
      const int width = host.TextWidth(tree->Font(), node->Text()) + node->Level() * 19;
      if (width > room) {
        faults.push_back(tree->Name() + " node \"" + node->Text() + "\" needs " + std::to_string(width) +
                         " pixels, has " + std::to_string(room));
      }
    }
  }
  for (size_t i = 0; i < captioned.size(); ++i) {
    for (size_t j = i + 1; j < captioned.size(); ++j) {
      const ui::TControl& a = *captioned[i];
      const ui::TControl& b = *captioned[j];
      if (a.Parent() != b.Parent() || !Overlap(a.Bounds(), b.Bounds())) continue;
      const auto was = [&](const ui::TControl& c) { return english.bounds.at(c.Name()); };
      if (english.bounds.count(a.Name()) && english.bounds.count(b.Name()) && Overlap(was(a), was(b))) continue;
      faults.push_back(a.Name() + " \"" + a.Caption() + "\" runs into " + b.Name() + " \"" + b.Caption() + '"');
    }
  }
  return faults;
}

struct FormMaker {
  const char* name;
  std::function<std::unique_ptr<ui::TForm>(ui::UiHost&, TfrmQuillet&)> make;
};

const std::vector<FormMaker>& Forms() {
  static const std::vector<FormMaker> forms{
      {"frmOptions", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmOptions>(h); }},
      {"frmRegAddRegistry", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmRegAddRegistry>(h); }},
      {"frmRestore", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmRestore>(h); }},
      {"frmBackupView", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmBackupView>(h); }},
      {"frmStartupManager", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmStartupManager>(h); }},
      {"frmRegProgressHint",
       [](ui::UiHost& h, TfrmQuillet& main) {
         return std::make_unique<TfrmRegProgressHint>(h, main, std::vector<int>{});
       }},
      {"frmBackupHint", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmBackupHint>(h); }},
      {"frmShowHint", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmShowHint>(h); }},
      {"frmSystemPoint", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmSystemPoint>(h); }},
      {"frmAbout", [](ui::UiHost& h, TfrmQuillet&) { return std::make_unique<TfrmAbout>(h); }},
  };
  return forms;
}

// The main window lays itself out when shown (task buttons and the update link follow their
// texts), so it is measured after its show step; a dialog's layout is fixed, so its translated
// texts are measured in it as designed.
TEST(TranslatedTextsFit, EveryShippedLanguageFitsEveryWindow) {
  const std::vector<std::string> languages = ShippedLanguages();
  ASSERT_FALSE(languages.empty()) << "no language files beside the test executable";
  win32::Win32Platform platform;
  ScopedPlatform installed(platform.Services());
  const TOptionsSetting saved = OptionsSetting;
  ui::win32::Win32UiHost host;
  // The window as the language shows it: made anew, so no earlier language's text stays.
  const auto shownMain = [&](const std::string& language) {
    auto main = std::make_unique<TfrmQuillet>(host, std::vector<std::string>{});
    // The client area a sizable window with a menu bar leaves of the designed outer size.
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    main->SetClientSizeFromUser(main->Width() - (frame.right - frame.left), main->Height() - (frame.bottom - frame.top));
    OptionsSetting.Lan = language;
    main->OnShow();
    return main;
  };
  std::map<std::string, Layout> english;
  {
    std::unique_ptr<TfrmQuillet> main = shownMain("English");
    english["frmQuillet"] = LayoutOf(*main);
    for (const FormMaker& maker : Forms()) english[maker.name] = LayoutOf(*maker.make(host, *main));
  }
  for (const std::string& language : languages) {
    std::unique_ptr<TfrmQuillet> main = shownMain(language);
    for (const std::string& fault : Faults(host, *main, english["frmQuillet"])) {
      ADD_FAILURE() << "Lan_" << language << ".ini, frmQuillet: " << fault;
    }
    for (const FormMaker& maker : Forms()) {
      std::unique_ptr<ui::TForm> form = maker.make(host, *main);
      TranslateForm(*form, language);
      for (const std::string& fault : Faults(host, *form, english[maker.name])) {
        ADD_FAILURE() << "Lan_" << language << ".ini, " << maker.name << ": " << fault;
      }
    }
  }
  OptionsSetting = saved;
}

}  // namespace
}  // namespace quillet::testing
