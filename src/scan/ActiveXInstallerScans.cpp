#include "scan/ActiveXInstallerScans.h"

#include <algorithm>
#include <memory>

#include "scan/FilesAndFoldersScans.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr int kActiveXCategory = 19;
constexpr int kInstallerCategory = 21;
// With this category in the run, the machine-wide file reference walk covers the type libraries.
constexpr int kLocalMachineFilesCategory = 3;

// A class the system registers without a matching application identifier key.
constexpr const char* kPassedOverClassId = "{91C4C540-9FDD-11D2-AFAA-00105A305A2B}";

constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kInstallerFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr const char* kArpCacheKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";
constexpr const char* kApplicationsKey = "Software\\Classes\\Applications";

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

void CollectCommandKeys(ScanContext& context, RootKey root, const std::string& keyPath, std::vector<CommandKey>& hits) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(root);
  if (!cursor->OpenKey(keyPath)) return;
  if (cursor->OpenKey("command")) {
    if (cursor->ValueExists("") && !IsStringKind(cursor->GetValueKind(""))) return;
    hits.push_back({keyPath, cursor->ReadString("")});
    return;
  }
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  cursor->CloseKey();
  for (const std::string& name : names) CollectCommandKeys(context, root, keyPath + "\\" + name, hits);
}

}  // namespace

void ScanActiveX(ScanContext& context) {
  if (!context.RunIncludes(kLocalMachineFilesCategory)) {
    WalkFileReferences(context, kActiveXCategory, "HKEY_CLASSES_ROOT", "TypeLib", ".dll");
  }
  ScanClassIds(context);
}

void ScanClassIds(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::ClassesRoot);
  std::vector<std::string> appIds;
  if (cursor->OpenKey("AppID")) cursor->GetSubkeyNames(appIds);
  for (std::string& appId : appIds) appId = UpperCase(appId);
  cursor->CloseKey();

  if (!cursor->OpenKey("CLSID")) return;
  std::vector<std::string> classIds;
  cursor->GetSubkeyNames(classIds);
  for (const std::string& classId : classIds) {
    const std::string path = "CLSID\\" + classId;
    context.ShowScannedKey(path);
    cursor->CloseKey();
    if (classId == kPassedOverClassId) continue;
    if (!cursor->OpenKey(path) || !IsStringKind(cursor->GetValueKind("AppID"))) continue;
    const std::string appId = cursor->ReadString("AppID");
    if (appId.empty()) continue;

    const std::string upperAppId = UpperCase(appId);
    const std::string upperClassId = UpperCase(classId);
    const bool referenced = std::any_of(appIds.begin(), appIds.end(), [&](const std::string& name) {
      return name.find(upperAppId) != std::string::npos || name.find(upperClassId) != std::string::npos;
    });
    if (referenced) continue;
    if (cursor->OpenKey("InprocServer32")) {
      if (!IsStringKind(cursor->GetValueKind(""))) continue;
      // The accessibility proxies of the system share one server and no application identifier.
      if (ContainsText(cursor->ReadString(""), "oleacc.dll")) continue;
    }
    context.AddRow("HKEY_CLASSES_ROOT\\" + path, appId, RepairAction::DeleteKey, context.Reason(Why::AppIdNotRegistered, appId));
  }
}

void ScanInstaller(ScanContext& context) {
  WalkFileReferences(context, kInstallerCategory, "HKEY_LOCAL_MACHINE", kUninstallKey, ".exe");

  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  if (cursor->OpenKey(kInstallerFoldersKey)) {
    context.ShowScannedKey(kInstallerFoldersKey);
    std::vector<std::string> folders;
    cursor->GetValueNames(folders);
    for (const std::string& folder : folders) {
      if (IsBrokenReference(context, folder, "", FolderMatch::FoldersToo)) {
        context.AddRow(std::string("HKEY_LOCAL_MACHINE\\") + kInstallerFoldersKey, folder,
                       RepairAction::DeleteNamedValue, context.Reason(Why::MissingFile, ReferencedPath(context, folder)));
      }
    }
  }
  cursor->CloseKey();
  // The cached program data is compared, never opened for writing.
  cursor->SetReadOnly();

  std::vector<std::string> uninstallNames;
  if (cursor->OpenKey(kUninstallKey)) cursor->GetSubkeyNames(uninstallNames);
  cursor->CloseKey();
  if (!cursor->OpenKey(kArpCacheKey)) return;
  context.ShowScannedKey(kArpCacheKey);
  std::vector<std::string> cached;
  cursor->GetSubkeyNames(cached);
  for (const std::string& name : cached) {
    const bool installed = std::any_of(uninstallNames.begin(), uninstallNames.end(),
                                       [&](const std::string& uninstallName) { return SameText(uninstallName, name); });
    if (!installed) {
      context.AddRow(std::string("HKEY_LOCAL_MACHINE\\") + kArpCacheKey, name, RepairAction::DeleteNamedSubkey,
                     context.Reason(Why::NotInstalled, name));
    }
  }
}

std::vector<CommandKey> FindCommandKeys(ScanContext& context, RootKey root, const std::string& keyPath) {
  std::vector<CommandKey> hits;
  CollectCommandKeys(context, root, keyPath, hits);
  return hits;
}

void ScanApplications(ScanContext& context) {
  try {
    std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
    cursor->SetRoot(RootKey::LocalMachine);
    if (!cursor->OpenKey(kApplicationsKey)) return;
    std::vector<std::string> names;
    cursor->GetSubkeyNames(names);
    for (const std::string& name : names) {
      const std::string path = std::string(kApplicationsKey) + "\\" + name;
      context.ShowScannedKey(path);
      for (const CommandKey& hit : FindCommandKeys(context, RootKey::LocalMachine, path)) {
        // A command that runs nothing is as dead as one whose program is gone.
        if (hit.command.empty()) {
          context.AddRow("HKEY_LOCAL_MACHINE\\" + hit.keyPath + "\\command", hit.command, RepairAction::DeleteKey,
                         context.Reason(Why::EmptyCommand));
        } else if (IsBrokenReference(context, hit.command, "", FolderMatch::FilesOnly)) {
          context.AddRow("HKEY_LOCAL_MACHINE\\" + hit.keyPath + "\\command", hit.command, RepairAction::DeleteKey,
                         context.Reason(Why::MissingFile, ReferencedPath(context, hit.command)));
        }
      }
    }
  } catch (const RegistryError&) {
    // A read error ends this scan quietly; the run goes on with the next category.
  }
}

}  // namespace quillet
