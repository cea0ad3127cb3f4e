#include "scan/PathReference.h"

#include <array>
#include <memory>

#include "platform/FileSystem.h"
#include "scan/ScanContext.h"
#include "base/TextCompare.h"

namespace quillet {
namespace {

constexpr std::string_view kSeparators = " ,;:*/<>?|";
constexpr std::array<std::string_view, 3> kExecutableExtensions{".exe", ".com", ".bat"};

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }

bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool ExistsWithExecutableExtension(FileSystem& files, const std::string& path) {
  for (std::string_view extension : kExecutableExtensions) {
    if (files.FileExists(path + std::string(extension))) return true;
  }
  return false;
}

// A file, or with acceptFolders also a folder.
bool PathExists(FileSystem& files, const std::string& path, bool acceptFolders) {
  return files.FileExists(path) || (acceptFolders && files.FolderExists(path));
}

// The first character is a tested drive and the first ":\" follows it directly.
bool PassesDriveTest(std::string_view path, std::string_view driveLetters) {
  if (path.empty()) return false;
  if (FindText(driveLetters, path.substr(0, 1)) == std::string_view::npos) return false;
  return path.find(":\\") == 1;
}

// The walk from an existing folder: some prefix of the rest, cut at a separator, names an
// existing program (or one without its extension); a trailing ";" is forgiven.
bool WalkFromFolder(FileSystem& files, const std::string& path, size_t folderLength, bool acceptFolders) {
  std::string candidate = path.substr(0, folderLength);
  for (size_t i = folderLength; i < path.size(); ++i) {
    if (IsSeparator(path[i])) {
      if (PathExists(files, candidate, acceptFolders)) return false;
      if (ExistsWithExecutableExtension(files, candidate)) return false;
    }
    candidate += path[i];
  }
  for (;;) {
    if (PathExists(files, candidate, acceptFolders)) return false;
    if (ExistsWithExecutableExtension(files, candidate)) return false;
    if (candidate.empty() || candidate.back() != ';') return true;
    candidate.pop_back();
  }
}

// The walk from the start when the folder part does not exist: only files count.
bool WalkFromStart(FileSystem& files, const std::string& path) {
  std::string candidate;
  for (char c : path) {
    if (IsSeparator(c) && ExistsWithExecutableExtension(files, candidate)) return false;
    candidate += c;
    if (files.FileExists(candidate)) return false;
  }
  return true;
}

}  // namespace

bool FloppyTestFires(const ScanContext& context, std::string_view path) {
  if (!context.IncludeRemoveMedia()) return false;
  const ScanFlags& flags = context.Flags();
  return (StartsWithText(path, "A:\\") && !flags.DriveAReady) || (StartsWithText(path, "B:\\") && !flags.DriveBReady);
}

std::string ExpandFolderVariable(const ScanContext& context, std::string_view text) {
  FileSystem& files = context.Files();
  std::optional<std::string> expanded = files.ExpandEnvironment(text, 1024);
  if (!expanded) return std::string(text);
  std::string result = *expanded;
  size_t first = 0;
  while (first < result.size() && IsControlOrSpace(result[first])) ++first;
  size_t last = result.size();
  while (last > first && IsControlOrSpace(result[last - 1])) --last;
  result = result.substr(first, last - first);
  if (!files.FolderExists(result)) return std::string(text);
  return result;
}

namespace {

// The path a reference text names, or none when the text is one the checker never calls broken.
std::optional<std::string> TestedPath(const ScanContext& context, std::string_view text, std::string_view keyName) {
  const ScanFlags& flags = context.Flags();
  if (text.empty()) return std::nullopt;
  if (text.find('?') != std::string_view::npos) return std::nullopt;
  if (ContainsText(text, "\\hp")) return std::nullopt;
  if (flags.IsWow64 &&
      (ContainsText(text, "system32") || ContainsText(text, "ProgramFiles") || ContainsText(text, "Program Files"))) {
    return std::nullopt;
  }

  std::string path(text);
  if (text.front() == '"') {
    std::string_view unquoted = text.substr(1);
    if (unquoted.empty()) return std::nullopt;
    // The arguments after the closing quote are dropped.
    path = std::string(unquoted.substr(0, unquoted.find('"')));
  }

  if (!path.empty() && path.front() == '%') {
    std::string rest = path.substr(1);
    if (rest.empty()) return std::nullopt;
    const size_t closing = rest.find('%');
    const size_t k = closing == std::string::npos ? 0 : closing + 1;  // 1-based, 0 when absent
    std::string reference = k > 0 ? "%" + rest.substr(0, k) : rest;
    reference = ExpandFolderVariable(context, reference);
    if (!reference.empty() && reference.front() == '%') return std::nullopt;
    // Without a closing "%" the text after the leading "%" follows the expansion as it is.
    path = reference + (k + 1 < path.size() ? path.substr(k + 1) : std::string());
  }

  if (flags.IsWow64 && (ContainsText(path, "system32") || ContainsText(path, "Program Files"))) return std::nullopt;

  if (!keyName.empty()) {
    const size_t found = FindText(path, keyName);
    if (found == std::string::npos) return std::nullopt;
    path = path.substr(0, found) + std::string(keyName);
  }
  return path;
}

}  // namespace

std::string ReferencedPath(const ScanContext& context, std::string_view text, std::string_view keyName) {
  return TestedPath(context, text, keyName).value_or(std::string(text));
}

bool IsBrokenReference(const ScanContext& context, std::string_view text, std::string_view keyName,
                       FolderMatch folders) {
  const std::string_view driveLetters = context.Flags().DriveLetters;
  const bool acceptFolders = folders == FolderMatch::FoldersToo;
  FileSystem& files = context.Files();
  const std::optional<std::string> tested = TestedPath(context, text, keyName);
  if (!tested) return false;
  const std::string& path = *tested;

  if (!keyName.empty()) {
    if (!PassesDriveTest(path, driveLetters)) return false;
    if (FloppyTestFires(context, path)) return true;
    return !files.FileExists(path);
  }

  if (path.empty()) return false;
  if (!PassesDriveTest(path, driveLetters)) return false;
  if (FloppyTestFires(context, path)) return true;
  if (path.size() > 3 && path.find(":\\", 3) != std::string::npos) return false;  // a second drive path

  const size_t folderLength = path.rfind('\\') + 1;  // the drive test guarantees a "\"
  const std::string folder = path.substr(0, folderLength);
  if (folder == path && files.FolderExists(path)) return false;
  if (files.FolderExists(folder)) return WalkFromFolder(files, path, folderLength, acceptFolders);
  return WalkFromStart(files, path);
}

std::optional<int> CountKeyEntries(const ScanContext& context, RootKey root, std::string_view keyPath) {
  std::unique_ptr<RegistryCursor> cursor = context.NewCursor();
  cursor->SetRoot(root);
  if (!cursor->OpenKey(keyPath)) return std::nullopt;
  const KeyInfo info = cursor->GetKeyInfo();
  if (info.valueCount > 0) return static_cast<int>(info.valueCount);
  if (info.subkeyCount >= 2) return static_cast<int>(info.subkeyCount);
  if (info.subkeyCount == 1) {
    std::vector<std::string> names;
    cursor->GetSubkeyNames(names);
    if (names.empty()) return std::nullopt;
    return CountKeyEntries(context, root, std::string(keyPath) + "\\" + names.front());
  }
  return 0;
}

}  // namespace quillet
