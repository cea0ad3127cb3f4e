#include "tools/StartupSources.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

void ListRunKey(size_t sourceIndex, const StartupSource& source, std::vector<StartupEntry>& entries) {
  const std::optional<RootKey> root = ParseRootName(source.rootName);
  if (!root) return;
  auto cursor = CurrentPlatform().registry->NewCursor();
  cursor->SetRoot(*root);
  // Full access on purpose: a machine-wide key this user may not change is left out, since
  // its entries could not be removed anyway.
  if (!cursor->OpenKey(std::string("\\") + source.keyPath)) return;
  std::vector<std::string> names;
  cursor->GetValueNames(names);
  for (const std::string& name : names) {
    const ValueKind kind = cursor->GetValueKind(name);
    if (kind != ValueKind::String && kind != ValueKind::ExpandString) continue;
    entries.push_back({name, cursor->ReadString(name), sourceIndex});
  }
}

bool IsShortcutName(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && SameText(name.substr(dot), ".lnk");
}

void ListStartupFolder(size_t sourceIndex, const StartupSource& source, std::vector<StartupEntry>& entries) {
  const std::optional<std::string> folder = StartupFolderPath(source.folder);
  // Without the folder there is nothing to list; "\" alone would be the root of the drive.
  if (!folder) return;
  Platform& platform = CurrentPlatform();
  for (const FolderEntry& entry : platform.files->ListFolder(*folder, "*")) {
    if (entry.isFolder || !IsShortcutName(entry.name)) continue;
    std::string target = platform.shell->ResolveShortcutTarget(*folder + entry.name);
    if (target.empty()) continue;
    entries.push_back({entry.name, std::move(target), sourceIndex});
  }
}

}  // namespace

bool IsWindows9x(WindowsVersionCode version) { return (version >= 1 && version <= 4) || version == 8; }

std::string StartupLocationText(const StartupSource& source) {
  switch (source.folder) {
    case StartupFolder::User: return GetLangText("RES_Startup", "Startup");
    case StartupFolder::Common: return GetLangText("RES_Common_Startup", "Common Startup");
    case StartupFolder::None: break;
  }
  return UpperCase(source.rootName) + "\\" + source.keyPath;
}

std::optional<std::string> StartupFolderPath(StartupFolder folder) {
  if (folder == StartupFolder::None) return std::nullopt;
  const std::optional<std::string> path = CurrentPlatform().shell->GetSpecialFolder(
      folder == StartupFolder::User ? SpecialFolder::Startup : SpecialFolder::CommonStartup);
  if (!path || path->empty()) return std::nullopt;
  return path->ends_with('\\') ? *path : *path + "\\";
}

void ListStartupSource(size_t sourceIndex, std::vector<StartupEntry>& entries) {
  const StartupSource& source = kStartupSources.at(sourceIndex);
  if (source.folder == StartupFolder::None) {
    ListRunKey(sourceIndex, source, entries);
  } else {
    ListStartupFolder(sourceIndex, source, entries);
  }
}

}  // namespace quillet
