#include "platform/memory/HostMappedFileSystem.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>

#include "platform/memory/PathRules.h"
#include "base/TextCompare.h"

namespace quillet {
namespace fs = std::filesystem;

namespace {

using pathrules::DrivePath;
using pathrules::HasWildcards;
using pathrules::ParseDrivePath;

fs::path HostPath(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8Name(const fs::path& path) {
  std::u8string name = path.filename().u8string();
  return std::string(name.begin(), name.end());
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool IsReadOnly(const fs::path& path) {
  std::error_code error;
  auto status = fs::status(path, error);
  return !error && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// The entry of a host folder that a Windows name means: the exact spelling when it exists,
// otherwise the first entry, in name order, that equals it without regard to case.
std::optional<fs::path> FindChild(const fs::path& folder, std::string_view name) {
  fs::path exact = folder / HostPath(name);
  if (Exists(exact)) return exact;
  std::error_code error;
  std::optional<fs::path> found;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& candidate = it->path();
    if (SameText(Utf8Name(candidate), name) && (!found || candidate.filename() < found->filename())) found = candidate;
  }
  return found;
}

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) entries.push_back(it->path());
  std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
    return UpperCase(Utf8Name(a)) < UpperCase(Utf8Name(b));
  });
  return entries;
}

bool AnyWildcards(const DrivePath& path) {
  return std::any_of(path.parts.begin(), path.parts.end(), [](const std::string& part) { return HasWildcards(part); });
}

std::optional<DriveType> ParseDriveTypeName(std::string_view name) {
  if (SameText(name, "fixed")) return DriveType::Fixed;
  if (SameText(name, "cdrom")) return DriveType::CdRom;
  if (SameText(name, "removable")) return DriveType::Removable;
  if (SameText(name, "remote")) return DriveType::Remote;
  return std::nullopt;
}

}  // namespace

std::optional<DriveMapping> ParseDriveMapping(std::string_view argument) {
  if (argument.size() < 3 || argument[1] != '=') return std::nullopt;
  char letter = argument[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  std::string_view folder = argument.substr(2);
  DriveType type = DriveType::Fixed;
  // A host folder may itself hold ":", so only a known type name after the last one counts.
  if (size_t colon = folder.rfind(':'); colon != std::string_view::npos) {
    if (auto named = ParseDriveTypeName(folder.substr(colon + 1))) {
      type = *named;
      folder = folder.substr(0, colon);
    }
  }
  if (folder.empty()) return std::nullopt;
  return DriveMapping{letter, HostPath(folder), type};
}

std::optional<std::pair<std::string, std::string>> ParseEnvironmentAssignment(std::string_view argument) {
  size_t equals = argument.find('=');
  if (equals == 0 || equals == std::string_view::npos) return std::nullopt;
  return std::pair{std::string(argument.substr(0, equals)), std::string(argument.substr(equals + 1))};
}

HostMappedFileSystem& HostMappedFileSystem::mapDrive(const DriveMapping& mapping) {
  drives_[mapping.letter] = mapping;
  return *this;
}

HostMappedFileSystem& HostMappedFileSystem::mapDrive(char letter, fs::path hostFolder, DriveType type) {
  char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
  return mapDrive(DriveMapping{upper, std::move(hostFolder), type});
}

HostMappedFileSystem& HostMappedFileSystem::env(std::string_view name, std::string_view value) {
  environment_[UpperCase(name)] = {std::string(name), std::string(value)};
  return *this;
}

std::optional<fs::path> HostMappedFileSystem::Resolve(std::string_view path) const {
  auto parsed = ParseDrivePath(path);
  if (!parsed || AnyWildcards(*parsed)) return std::nullopt;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end() || !IsFolder(drive->second.hostFolder)) return std::nullopt;
  fs::path current = drive->second.hostFolder;
  for (const std::string& part : parsed->parts) {
    if (!IsFolder(current)) return std::nullopt;
    auto child = FindChild(current, part);
    if (!child) return std::nullopt;
    current = *child;
  }
  if (parsed->trailingSeparator && !IsFolder(current)) return std::nullopt;
  return current;
}

std::optional<fs::path> HostMappedFileSystem::ResolveParent(std::string_view path, std::string* leafName) const {
  auto parsed = ParseDrivePath(path);
  if (!parsed || parsed->parts.empty() || parsed->trailingSeparator || AnyWildcards(*parsed)) return std::nullopt;
  std::string parentPath = std::string(1, parsed->drive) + ":\\";
  for (size_t i = 0; i + 1 < parsed->parts.size(); ++i) parentPath += parsed->parts[i] + "\\";
  auto parent = Resolve(parentPath);
  if (!parent || !IsFolder(*parent)) return std::nullopt;
  *leafName = parsed->parts.back();
  return parent;
}

DriveType HostMappedFileSystem::GetDriveType(std::string_view root) {
  auto parsed = ParseDrivePath(root);
  if (!parsed || !parsed->parts.empty()) return DriveType::NoRootDir;
  auto drive = drives_.find(parsed->drive);
  return drive == drives_.end() ? DriveType::NoRootDir : drive->second.type;
}

bool HostMappedFileSystem::IsVolumeReady(std::string_view root) {
  auto parsed = ParseDrivePath(root);
  if (!parsed || !parsed->parts.empty()) return false;
  auto drive = drives_.find(parsed->drive);
  return drive != drives_.end() && IsFolder(drive->second.hostFolder);
}

bool HostMappedFileSystem::FileExists(std::string_view path) {
  ++probes_;
  auto parsed = ParseDrivePath(path);
  if (!parsed || parsed->parts.empty() || parsed->trailingSeparator) return false;
  std::string pattern = parsed->parts.back();
  parsed->parts.pop_back();
  if (AnyWildcards(*parsed)) return false;
  std::string parentPath = std::string(1, parsed->drive) + ":\\";
  for (const std::string& part : parsed->parts) parentPath += part + "\\";
  auto parent = Resolve(parentPath);
  if (!parent || !IsFolder(*parent)) return false;
  if (!HasWildcards(pattern)) {
    auto child = FindChild(*parent, pattern);
    return child && !IsFolder(*child);
  }
  for (const fs::path& entry : Entries(*parent)) {
    if (!IsFolder(entry) && pathrules::MatchesPattern(Utf8Name(entry), pattern)) return true;
  }
  return false;
}

bool HostMappedFileSystem::FolderExists(std::string_view path) {
  ++probes_;
  auto resolved = Resolve(path);
  return resolved && IsFolder(*resolved);
}

std::vector<FolderEntry> HostMappedFileSystem::ListFolder(std::string_view folder, std::string_view pattern) {
  std::vector<FolderEntry> entries;
  auto resolved = Resolve(folder);
  if (!resolved || !IsFolder(*resolved) || pattern.empty()) return entries;
  for (const fs::path& entry : Entries(*resolved)) {
    std::string name = Utf8Name(entry);
    if (!pathrules::MatchesPattern(name, pattern)) continue;
    // Wine's convention: a host name beginning with a dot is a hidden file.
    std::error_code error;
    const bool isLink = fs::is_symlink(fs::symlink_status(entry, error));
    entries.push_back({name, IsFolder(entry), name.starts_with('.'), false, IsReadOnly(entry), isLink});
  }
  return entries;
}

std::optional<std::string> HostMappedFileSystem::ExpandEnvironment(std::string_view text, size_t maxLength) {
  return pathrules::ExpandVariables(text, [this](std::string_view name) { return GetEnvironmentVariable(name); },
                                    maxLength);
}

std::optional<std::string> HostMappedFileSystem::GetEnvironmentVariable(std::string_view name) {
  auto found = environment_.find(UpperCase(name));
  if (found == environment_.end()) return std::nullopt;
  return found->second.second;
}

bool HostMappedFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  auto source = Resolve(from);
  if (!source || IsFolder(*source)) return false;
  std::string leaf;
  auto parent = ResolveParent(to, &leaf);
  if (!parent) return false;
  fs::path target = FindChild(*parent, leaf).value_or(*parent / HostPath(leaf));
  if (Exists(target) && (failIfExists || IsFolder(target) || IsReadOnly(target))) return false;
  std::error_code error;
  if (Exists(target) && fs::equivalent(*source, target, error)) return false;
  if (!fs::copy_file(*source, target, fs::copy_options::overwrite_existing, error)) return false;
  // The system's copy keeps the source's last-write time.
  auto time = fs::last_write_time(*source, error);
  if (!error) fs::last_write_time(target, time, error);
  return true;
}

bool HostMappedFileSystem::CreateFolderTree(std::string_view path) {
  auto parsed = ParseDrivePath(path);
  if (!parsed || AnyWildcards(*parsed)) return false;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end() || !IsFolder(drive->second.hostFolder)) return false;
  fs::path current = drive->second.hostFolder;
  for (const std::string& part : parsed->parts) {
    auto child = FindChild(current, part);
    if (child) {
      if (!IsFolder(*child)) return false;
      current = *child;
      continue;
    }
    current /= HostPath(part);
    std::error_code error;
    fs::create_directory(current, error);
    if (!IsFolder(current)) return false;
  }
  return true;
}

std::optional<FileDetails> HostMappedFileSystem::GetFileDetails(std::string_view path) {
  auto resolved = Resolve(path);
  if (!resolved) return std::nullopt;
  std::error_code error;
  FileDetails details;
  if (!IsFolder(*resolved)) {
    details.size = fs::file_size(*resolved, error);
    if (error) return std::nullopt;
  }
  auto time = fs::last_write_time(*resolved, error);
  if (error) return std::nullopt;
  auto since1970 = std::chrono::file_clock::to_sys(time).time_since_epoch();
  details.lastWriteTime = std::chrono::floor<std::chrono::seconds>(since1970).count();
  return details;
}

bool HostMappedFileSystem::DeleteFile(std::string_view path) {
  auto resolved = Resolve(path);
  if (!resolved || IsFolder(*resolved) || IsReadOnly(*resolved)) return false;
  std::error_code error;
  return fs::remove(*resolved, error);
}

std::optional<std::string> HostMappedFileSystem::ReadFile(std::string_view path) {
  auto resolved = Resolve(path);
  if (!resolved || IsFolder(*resolved)) return std::nullopt;
  std::ifstream in(*resolved, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool HostMappedFileSystem::PutFile(std::string_view path, std::string_view bytes, bool append) {
  std::string leaf;
  auto parent = ResolveParent(path, &leaf);
  if (!parent) return false;
  fs::path target = FindChild(*parent, leaf).value_or(*parent / HostPath(leaf));
  if (IsFolder(target) || (Exists(target) && IsReadOnly(target))) return false;
  std::ofstream out(target, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  // The host tool's writes reach the operating system here; that is as far as it needs them.
  out.flush();
  return out.good();
}

bool HostMappedFileSystem::WriteFile(std::string_view path, std::string_view bytes) { return PutFile(path, bytes, false); }

bool HostMappedFileSystem::AppendFile(std::string_view path, std::string_view bytes) { return PutFile(path, bytes, true); }

bool HostMappedFileSystem::TruncateFile(std::string_view path, uint64_t size) {
  auto resolved = Resolve(path);
  if (!resolved || IsFolder(*resolved) || IsReadOnly(*resolved)) return false;
  std::error_code error;
  fs::resize_file(*resolved, size, error);
  return !error;
}

}  // namespace quillet
