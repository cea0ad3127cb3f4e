#include "scan/SoftwareLocationScans.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr const char* kLocalMachinePrefix = "HKEY_LOCAL_MACHINE\\";
constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const char* kHelpKeys[] = {"Software\\Microsoft\\Windows\\Help", "Software\\Microsoft\\Windows\\Html Help"};

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

std::unique_ptr<RegistryCursor> OpenLocalMachineKey(ScanContext& context, const std::string& key) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::LocalMachine);
  if (!cursor->OpenKey(key)) return nullptr;
  context.ShowScannedKey(key);
  return cursor;
}

// A value whose name holds "\" cannot end a key path, so the row names it in the value column.
void AddValueRow(ScanContext& context, const std::string& key, const std::string& valueName,
                 const std::string& data, std::string why) {
  if (valueName.find('\\') == std::string::npos) {
    context.AddRow(kLocalMachinePrefix + key + "\\" + valueName, data, RepairAction::DeleteValueInPath, std::move(why));
  } else {
    context.AddRow(kLocalMachinePrefix + key, valueName, RepairAction::DeleteNamedValue, std::move(why));
  }
}

}  // namespace

void ScanSoftwareLocations(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = OpenLocalMachineKey(context, kAppPathsKey);
  if (!cursor) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  for (const std::string& name : names) {
    // Names without any "." are scanned too.
    if (name.find('.') != std::string::npos && !EndsWithText(name, ".EXE")) continue;
    const std::string path = std::string(kAppPathsKey) + "\\" + name;
    cursor->CloseKey();
    if (!cursor->OpenKey(path)) continue;
    context.ShowScannedKey(path);

    std::string value;
    bool report = false;
    Why why = Why::EmptyKey;
    // An entry count of a key that could not be read in full is unknown, and reports nothing.
    if (!IsStringKind(cursor->GetValueKind(""))) {
      report = CountKeyEntries(context, RootKey::LocalMachine, path) == 0;
    } else {
      value = cursor->ReadString("");
      // An empty default value that is the key's only value marks a leftover key.
      report = IsBrokenReference(context, value, name, FolderMatch::FoldersToo);
      why = Why::MissingFile;
      if (!report && value.empty()) {
        why = Why::EmptyDefault;
        const std::optional<int> entries = CountKeyEntries(context, RootKey::LocalMachine, path);
        report = entries && *entries <= 1;
      }
    }
    if (report) {
      context.AddRow(kLocalMachinePrefix + path, value, RepairAction::DeleteKey,
                     context.Reason(why, ReferencedPath(context, value, name)));
    }
  }
}

void ScanWindowsFonts(ScanContext& context) {
  const int version = context.Flags().WindowsVersionCode;
  const std::string fontKey = (version == 1 || version == 3 || version == 8)
                                  ? "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts"
                                  : "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  std::vector<std::string> installed;
  if (std::optional<std::string> folder = context.GetShell().GetSpecialFolder(SpecialFolder::Fonts)) {
    std::string fontsFolder = *folder;
    if (fontsFolder.empty() || fontsFolder.back() != '\\') fontsFolder += '\\';
    for (const FolderEntry& entry : context.Files().ListFolder(fontsFolder, "*")) {
      if (!entry.isFolder) installed.push_back(entry.name);
    }
  }

  std::unique_ptr<RegistryCursor> cursor = OpenLocalMachineKey(context, fontKey);
  if (!cursor) return;
  std::vector<std::string> valueNames;
  cursor->GetValueNames(valueNames);
  for (const std::string& valueName : valueNames) {
    if (!IsStringKind(cursor->GetValueKind(valueName))) continue;
    const std::string file = cursor->ReadString(valueName);
    bool report = FloppyTestFires(context, file);
    if (!report) {
      const bool inFontsFolder =
          std::any_of(installed.begin(), installed.end(), [&](const std::string& name) { return SameText(name, file); });
      report = !inFontsFolder && IsBrokenReference(context, file, "", FolderMatch::FilesOnly);
    }
    if (report) AddValueRow(context, fontKey, valueName, file, context.Reason(Why::MissingFile, ReferencedPath(context, file)));
  }
}

void ScanHelpFiles(ScanContext& context) {
  for (const char* helpKey : kHelpKeys) {
    std::unique_ptr<RegistryCursor> cursor = OpenLocalMachineKey(context, helpKey);
    if (!cursor) continue;
    std::vector<std::string> valueNames;
    cursor->GetValueNames(valueNames);
    // Each value name is a help file, its data the folder that holds it.
    for (const std::string& valueName : valueNames) {
      if (!IsStringKind(cursor->GetValueKind(valueName))) continue;
      std::string file = cursor->ReadString(valueName);
      if (!file.empty() && file.back() != '\\') file += '\\';
      file += valueName;
      if (FloppyTestFires(context, file) ||
          IsBrokenReference(context, file, "", FolderMatch::FilesOnly)) {
        AddValueRow(context, helpKey, valueName, file, context.Reason(Why::MissingFile, ReferencedPath(context, file)));
      }
    }
  }
}

void ScanSharedDlls(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = OpenLocalMachineKey(context, kSharedDllsKey);
  if (!cursor) return;
  std::vector<std::string> valueNames;
  cursor->GetValueNames(valueNames);
  // Each value name is a file path, each value its use count.
  for (const std::string& valueName : valueNames) {
    if (cursor->GetValueKind(valueName) != ValueKind::Integer) continue;
    const bool missing = FloppyTestFires(context, valueName) ||
                         IsBrokenReference(context, valueName, "", FolderMatch::FilesOnly);
    if (missing || cursor->ReadInteger(valueName) == 0) {
      context.AddRow(std::string(kLocalMachinePrefix) + kSharedDllsKey, valueName, RepairAction::DeleteNamedValue,
                     missing ? context.Reason(Why::MissingFile, ReferencedPath(context, valueName))
                             : context.Reason(Why::UnusedSharedDll));
    }
  }
}

}  // namespace quillet
