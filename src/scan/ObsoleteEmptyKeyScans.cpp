#include "scan/ObsoleteEmptyKeyScans.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/RegistryStore.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

// Areas the empty key walk neither tests nor enters (contained in the path, any case).
constexpr const char* kSkippedAreas[] = {
    "Software\\Microsoft",
    "Software\\Policies\\Microsoft",
    "Software\\Policies\\Power",
    "AppEvents\\Schemes\\Apps\\Explorer",
    "Control Panel\\Appearance",
    "Control Panel\\Desktop",
    "Control Panel\\Personalization",
    "Keyboard Layout",
};

constexpr const char* kProtectedAnyCase = "KasperskyLab\\protected";
// Protected areas compared with exact case: "printers" in lower case is not protected.
constexpr const char* kProtectedExactCase[] = {
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2",
    "Microsoft\\Protected Storage System Provider",
    "Printers",
    "S-1-5-19_Classes",
    "S-1-5-20_Classes",
    "Microsoft\\SystemCertificates",
    "Software\\Classes",
    "Windows 3.1 Migration Status",
};

bool IsSkippedArea(std::string_view keyPath) {
  for (const char* area : kSkippedAreas) {
    if (ContainsText(keyPath, area)) return true;
  }
  return false;
}

}  // namespace

bool MayReportEmptyKey(std::string_view keyPath) {
  if (ContainsText(keyPath, kProtectedAnyCase)) return false;
  for (const char* text : kProtectedExactCase) {
    if (keyPath.find(text) != std::string_view::npos) return false;
  }
  return true;
}

void ScanObsoleteSoftwareRoot(ScanContext& context, std::string_view rootName) {
  const std::string rootText = UpperCase(rootName);
  const std::optional<RootKey> root = ParseRootName(rootText);
  if (!root) return;
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(*root);
  if (!cursor->OpenKey("Software")) return;
  std::vector<std::string> names;
  cursor->GetSubkeyNames(names);
  cursor->CloseKey();
  for (const std::string& name : names) {
    const std::string path = "Software\\" + name;
    context.ShowScannedKey(path);
    if (CountKeyEntries(context, *root, path) == 0) {
      context.AddRow(rootText + "\\Software", name, RepairAction::DeleteNamedSubkey, context.Reason(Why::EmptyKey));
    }
  }
}

void ScanObsoleteSoftware(ScanContext& context) {
  ScanObsoleteSoftwareRoot(context, "HKEY_CURRENT_USER");
  ScanObsoleteSoftwareRoot(context, "HKEY_LOCAL_MACHINE");
}

void WalkEmptyKeys(ScanContext& context, std::string_view rootName, const std::string& parentPath) {
  const std::string rootText = UpperCase(rootName);
  const std::optional<RootKey> root = ParseRootName(rootText);
  if (!root) return;
  const bool underUsers = *root == RootKey::Users;
  std::vector<std::string> names;
  {
    // Only the name list stays while the subkeys are walked; the key itself is closed.
    std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
    cursor->SetRoot(*root);
    if (!cursor->OpenKey(parentPath)) return;
    cursor->GetSubkeyNames(names);
  }
  std::unique_ptr<RegistryCursor> probe = context.NewCursor();
  probe->SetRoot(*root);
  for (const std::string& name : names) {
    if (underUsers && SameText(name, ".DEFAULT")) continue;
    // A leading "\" counts from the root at the top level.
    const std::string keyPath = parentPath + "\\" + name;
    if (IsSkippedArea(keyPath)) continue;
    context.ShowScannedKey(keyPath);
    // A key that does not open is not reported: nothing of its content was seen, and the
    // repair could not delete it anyway.
    const bool opens = probe->OpenKey(keyPath);
    probe->CloseKey();
    if (opens && CountKeyEntries(context, *root, keyPath) == 0 && MayReportEmptyKey(keyPath)) {
      context.AddRow(rootText + "\\" + parentPath, name, RepairAction::DeleteNamedSubkey, context.Reason(Why::EmptyKey));
    }
    WalkEmptyKeys(context, rootText, parentPath.empty() ? name : keyPath);
  }
}

void ScanEmptyKeys(ScanContext& context) { WalkEmptyKeys(context, "HKEY_USERS", ""); }

}  // namespace quillet
