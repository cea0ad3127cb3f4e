#include "scan/MruHistoryScans.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegistryStore.h"
#include "scan/FilesAndFoldersScans.h"
#include "scan/PathReference.h"
#include "scan/ScanContext.h"
#include "settings/RegGlobal.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr int kMruCategory = 20;
constexpr const char* kOpenSaveMruKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
constexpr const char* kUserAssistKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
constexpr int64_t kLargestUserAssistRecord = 0x7FFF;

bool IsStringKind(ValueKind kind) { return kind == ValueKind::String || kind == ValueKind::ExpandString; }

// The run count of a user-assist record (bytes 4 to 7, little-endian); none for a record shorter
// than 8 bytes.
std::optional<uint32_t> UserAssistRunCount(std::string_view record) {
  if (record.size() < 8) return std::nullopt;
  uint32_t count = 0;
  for (int i = 7; i >= 4; --i) count = (count << 8) | static_cast<unsigned char>(record[static_cast<size_t>(i)]);
  return count;
}

// A recent-file entry of the list itself names its file without the extension; the extension
// lists below it say which extensions to try.
bool RecentFileIsGone(ScanContext& context, const std::string& path, const std::vector<std::string>& extensions) {
  if (path.find(":\\") != 1) return false;
  if (FindText(context.Flags().DriveLetters, path.substr(0, 1)) == std::string::npos) return false;
  FileSystem& files = context.Files();
  // An entry that names an existing file as it stands is not missing either.
  if (files.FileExists(path)) return false;
  for (const std::string& extension : extensions) {
    if (extension != "*" && files.FileExists(path + "." + extension)) return false;
  }
  return true;
}

void ScanOpenSaveLists(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::CurrentUser);
  if (!cursor->OpenKey(kOpenSaveMruKey)) return;
  context.ShowScannedKey(kOpenSaveMruKey);
  std::vector<std::string> extensions;
  std::vector<std::string> valueNames;
  cursor->GetSubkeyNames(extensions);
  cursor->GetValueNames(valueNames);
  const std::string keyPrefix = std::string("HKEY_CURRENT_USER\\") + kOpenSaveMruKey;
  for (const std::string& valueName : valueNames) {
    if (!IsStringKind(cursor->GetValueKind(valueName))) continue;
    const std::string path = cursor->ReadString(valueName);
    if (!RecentFileIsGone(context, path, extensions)) continue;
    std::string why = context.Reason(Why::MissingFile, path);
    if (valueName.find('\\') == std::string::npos) {
      context.AddRow(keyPrefix + "\\" + valueName, path, RepairAction::DeleteValueInPath, std::move(why));
    } else {
      context.AddRow(keyPrefix, valueName, RepairAction::DeleteNamedValue, std::move(why));
    }
  }
  for (const std::string& extension : extensions) {
    WalkFileReferences(context, kMruCategory, "HKEY_CURRENT_USER", std::string(kOpenSaveMruKey) + "\\" + extension, "");
  }
}

void ScanUserAssist(ScanContext& context) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(RootKey::CurrentUser);
  if (!cursor->OpenKey(kUserAssistKey)) return;
  context.ShowScannedKey(kUserAssistKey);
  std::vector<std::string> valueNames;
  cursor->GetValueNames(valueNames);
  std::string record;
  for (const std::string& valueName : valueNames) {
    // Unsigned, so a missing value's size of -1 is passed over too.
    const int64_t size = cursor->GetValueSize(valueName);
    if (size < 0 || size > kLargestUserAssistRecord) continue;
    record.assign(static_cast<size_t>(size), '\0');
    record.resize(cursor->ReadBytes(valueName, record.data(), record.size()));

    const std::string entry = Rot13(valueName);
    bool broken = false;
    const size_t colon = entry.find(':');
    const std::string program = colon == std::string::npos ? std::string() : entry.substr(colon + 1);
    if (entry.find(".lnk") == std::string::npos && colon != std::string::npos) {
      broken = IsBrokenReference(context, program, "", FolderMatch::FoldersToo);
    }
    // A record too short to hold a run count is judged by its path alone.
    const std::optional<uint32_t> runCount = UserAssistRunCount(record);
    if (broken || runCount == 0u) {
      context.AddRow(std::string("HKEY_CURRENT_USER\\") + kUserAssistKey, entry, RepairAction::DeleteRot13Value,
                     broken ? context.Reason(Why::MissingFile, ReferencedPath(context, program)) : context.Reason(Why::NeverRun));
    }
  }
}

}  // namespace

void ScanMruLists(ScanContext& context) {
  ScanOpenSaveLists(context);
  try {
    ScanUserAssist(context);
  } catch (const RegistryError&) {
    // An error among the run counters ends that step quietly; the category ends normally.
  }
}

}  // namespace quillet
