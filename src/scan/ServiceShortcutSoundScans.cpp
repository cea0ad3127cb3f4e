#include "scan/ServiceShortcutSoundScans.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr const char* kServicesKey = "SYSTEM\\CurrentControlSet\\Services";
// The licensing service must never be touched, whatever its program file looks like.
constexpr const char* kPassedOverService = "SLSVC";

constexpr std::array<const char*, 3> kMenuOrderKeys{
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
};

constexpr const char* kSoundSchemesKey = "AppEvents\\Schemes\\Apps";
constexpr std::array<const char*, 3> kSchemeKeyNames{".current", ".default", "utopia0"};

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool HasShortcutExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  return dot != std::string::npos && LowerCase(fileName.substr(dot)) == ".lnk";
}

// The first-level folder names of a programs folder, in listing order.
void AddProgramsFolderNames(ScanContext& context, SpecialFolder folder, std::vector<std::string>& names) {
  const std::optional<std::string> path = context.GetShell().GetSpecialFolder(folder);
  if (!path || path->empty()) return;
  for (const FolderEntry& entry : context.Files().ListFolder(JoinPath(*path, ""), "*")) {
    if (entry.isFolder) names.push_back(entry.name);
  }
}

bool ShortcutIsBroken(ScanContext& context, const std::string& target) {
  const ScanFlags& flags = context.Flags();
  if (flags.IsWow64 && (ContainsText(target, "system32") || ContainsText(target, "ProgramFiles") ||
                        ContainsText(target, "Program Files"))) {
    return false;
  }
  if (target.empty()) return false;
  if (FindText(flags.DriveLetters, target.substr(0, 1)) == std::string::npos) return false;
  // A drive-relative target such as "C:file.txt" names no fixed place; this shortcut is passed
  // over and the walk goes on with the rest of the folder.
  if (target.find(":\\") != 1) return false;
  if (FloppyTestFires(context, target)) return true;
  return IsBrokenReference(context, target, "", FolderMatch::FilesOnly) && !context.Files().FolderExists(target);
}

}  // namespace

void ScanWindowsServices(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  if (!cursor->OpenKey(kServicesKey)) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  for (const std::string& name : names) {
    cursor->CloseKey();
    if (ContainsText(name, kPassedOverService)) continue;
    const std::string path = std::string(kServicesKey) + "\\" + name;
    if (!cursor->OpenKey(path)) continue;
    context.ShowScannedKey(path);
    if (!IsStringKind(cursor->GetValueKind("ImagePath"))) continue;
    const std::string imagePath = cursor->ReadString("ImagePath");
    if (IsBrokenReference(context, imagePath, "", FolderMatch::FoldersToo)) {
      // Only the program reference goes; the service key itself stays.
      context.AddRow("HKEY_LOCAL_MACHINE\\" + path + "\\ImagePath", imagePath, RepairAction::DeleteValueInPath,
                     context.Reason(Why::MissingFile, ReferencedPath(context, imagePath)));
    }
  }
}

void ScanStartMenu(ScanContext& context) {
  std::vector<std::string> folders;
  AddProgramsFolderNames(context, SpecialFolder::Programs, folders);
  AddProgramsFolderNames(context, SpecialFolder::CommonPrograms, folders);

  for (const char* menuOrderKey : kMenuOrderKeys) {
    std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
    cursor->SetRoot(RootKey::CurrentUser);
    if (!cursor->KeyExists(menuOrderKey) || !cursor->OpenKey(menuOrderKey)) continue;
    std::vector<std::string> names;
    cursor->GetSubkeyNames(names);
    for (const std::string& name : names) {
      context.ShowScannedKey(std::string(menuOrderKey) + "\\" + name);
      const bool folderExists =
          std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) { return SameText(folder, name); });
      if (!folderExists) {
        context.AddRow(std::string("HKEY_CURRENT_USER\\") + menuOrderKey, name, RepairAction::DeleteNamedSubkey,
                       context.Reason(Why::NoMenuFolder, name));
      }
    }
  }
}

void ScanShortcuts(ScanContext& context) {
  Shell& shell = context.GetShell();
  const std::optional<std::string> appData = shell.GetSpecialFolder(SpecialFolder::AppData);
  const bool haveAppData = appData && !appData->empty();
  struct ShortcutFolder {
    SpecialFolder folder;
    bool skippedUnderAppData;  // already walked as part of the application-data folder
  };
  constexpr std::array<ShortcutFolder, 6> kFolders{{
      {SpecialFolder::CommonStartMenu, false},
      {SpecialFolder::CommonDesktop, false},
      {SpecialFolder::AppData, false},
      {SpecialFolder::Recent, true},
      {SpecialFolder::StartMenu, true},
      {SpecialFolder::Desktop, false},
  }};
  for (const ShortcutFolder& entry : kFolders) {
    const std::optional<std::string> path =
        entry.folder == SpecialFolder::AppData ? appData : shell.GetSpecialFolder(entry.folder);
    if (!path || path->empty()) continue;
    if (entry.skippedUnderAppData && haveAppData && ContainsText(*path, *appData)) continue;
    ScanShortcutFolder(context, *path);
  }
}

void ScanShortcutFolder(ScanContext& context, const std::string& folder) {
  for (const FolderEntry& entry : context.Files().ListFolder(JoinPath(folder, ""), "*")) {
    const std::string path = JoinPath(folder, entry.name);
    if (entry.isFolder) {
      // A linked folder may lead back above itself (a profile folder linked to the home folder
      // that holds the prefix, a junction to its own parent), so the walk never enters one.
      if (!entry.isReparsePoint) ScanShortcutFolder(context, path);
      continue;
    }
    if (!HasShortcutExtension(entry.name)) continue;
    context.ShowScannedKey(path);
    const std::string target = context.GetShell().ResolveShortcutTarget(path);
    if (ShortcutIsBroken(context, target)) {
      context.AddRow(path, target, RepairAction::DeleteFile, context.Reason(Why::ShortcutTarget, target));
    }
  }
}

void ScanSoundEvents(ScanContext& context) { WalkSoundEvents(context, "HKEY_Current_User", kSoundSchemesKey, ""); }

void WalkSoundEvents(ScanContext& context, std::string_view rootName, const std::string& base,
                     const std::string& name) {
  const std::optional<RootKey> root = ParseRootName(UpperCase(rootName));
  if (!root) return;
  const std::string path = base + name;
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey(path)) return;

  const std::string lowerName = LowerCase(name);
  const bool isSchemeKey = std::any_of(kSchemeKeyNames.begin(), kSchemeKeyNames.end(),
                                       [&](const char* schemeName) { return lowerName == schemeName; });
  if (isSchemeKey && IsStringKind(cursor->GetValueKind(""))) {
    context.ShowScannedKey(path);
    const std::string soundFile = cursor->ReadString("");
    if (IsBrokenReference(context, soundFile, "", FolderMatch::FilesOnly)) {
      context.AddRow("HKEY_CURRENT_USER\\" + path, soundFile, RepairAction::DeleteDefaultValue,
                     context.Reason(Why::MissingFile, ReferencedPath(context, soundFile)));
    }
  }

  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  cursor->CloseKey();
  for (const std::string& subkey : names) WalkSoundEvents(context, rootName, path + "\\", subkey);
}

}  // namespace quillet
