#include "platform/memory/MemoryFileSystem.h"

#include <mutex>
#include <stdexcept>

#include "platform/memory/PathRules.h"
#include "base/TextCompare.h"

namespace quillet {

struct MemoryFileSystem::Node {
  std::string name;
  bool isFolder = false;
  std::string contents;
  int64_t lastWriteTime = kDefaultTime;
  Attributes attributes;
  Children children;
};

struct MemoryFileSystem::Drive {
  DriveType type = DriveType::Fixed;
  bool ready = true;
  std::unique_ptr<Node> root;
};

namespace {

using pathrules::DrivePath;
using pathrules::HasWildcards;
using pathrules::ParseDrivePath;

// The path spelt one way, for remembering paths independently of how callers write them.
std::string CanonicalKey(const DrivePath& path) {
  std::string key(1, path.drive);
  key += ":\\";
  for (size_t i = 0; i < path.parts.size(); ++i) {
    if (i) key += '\\';
    key += UpperCase(path.parts[i]);
  }
  return key;
}

bool AnyWildcards(const std::vector<std::string>& parts, size_t count) {
  for (size_t i = 0; i < count && i < parts.size(); ++i) {
    if (HasWildcards(parts[i])) return true;
  }
  return false;
}

const char* DriveTypeName(DriveType type) {
  switch (type) {
    case DriveType::Unknown: return "unknown";
    case DriveType::NoRootDir: return "no root";
    case DriveType::Removable: return "removable";
    case DriveType::Fixed: return "fixed";
    case DriveType::Remote: return "remote";
    case DriveType::CdRom: return "cdrom";
    case DriveType::RamDisk: return "ramdisk";
  }
  return "?";
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() = default;
MemoryFileSystem::~MemoryFileSystem() = default;

MemoryFileSystem& MemoryFileSystem::drive(char letter, DriveType type, bool ready) {
  std::unique_lock lock(mutex_);
  char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
  if (upper < 'A' || upper > 'Z') throw std::invalid_argument("drive letter out of range");
  Drive& drive = drives_[upper];
  drive.type = type;
  drive.ready = ready;
  if (!drive.root) {
    drive.root = std::make_unique<Node>();
    drive.root->name = std::string(1, upper) + ":";
    drive.root->isFolder = true;
  }
  return *this;
}

MemoryFileSystem::Node* MemoryFileSystem::MakeFolders(std::string_view path, bool forBuilder) {
  auto parsed = ParseDrivePath(path);
  auto drive = parsed ? drives_.find(parsed->drive) : drives_.end();
  if (drive == drives_.end()) {
    if (forBuilder) throw std::invalid_argument("not a path on a declared drive: " + std::string(path));
    return nullptr;
  }
  if (!forBuilder && (!drive->second.ready || AnyWildcards(parsed->parts, parsed->parts.size()))) return nullptr;
  Node* node = drive->second.root.get();
  for (const std::string& part : parsed->parts) {
    auto& slot = node->children[UpperCase(part)];
    if (!slot) {
      slot = std::make_unique<Node>();
      slot->name = part;
      slot->isFolder = true;
      slot->lastWriteTime = clock_;
    } else if (!slot->isFolder) {
      if (forBuilder) throw std::invalid_argument("a file stands where a folder should be: " + std::string(path));
      return nullptr;
    }
    node = slot.get();
  }
  return node;
}

MemoryFileSystem::Node* MemoryFileSystem::NodeForBuilder(std::string_view path) const {
  Node* node = Find(path);
  if (!node) throw std::invalid_argument("no such file or folder in the fixture: " + std::string(path));
  return node;
}

MemoryFileSystem& MemoryFileSystem::file(std::string_view path, std::string_view contents) {
  std::unique_lock lock(mutex_);
  std::string leaf;
  auto parsed = ParseDrivePath(path);
  if (!parsed || parsed->parts.empty()) throw std::invalid_argument("not a file path: " + std::string(path));
  leaf = parsed->parts.back();
  std::string parentPath = std::string(1, parsed->drive) + ":";
  for (size_t i = 0; i + 1 < parsed->parts.size(); ++i) parentPath += "\\" + parsed->parts[i];
  Node* parent = MakeFolders(parentPath, true);
  auto& slot = parent->children[UpperCase(leaf)];
  if (slot && slot->isFolder) throw std::invalid_argument("a folder stands where a file should be: " + std::string(path));
  if (!slot) slot = std::make_unique<Node>();
  slot->name = leaf;
  slot->isFolder = false;
  slot->contents = std::string(contents);
  slot->lastWriteTime = clock_;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::folder(std::string_view path) {
  std::unique_lock lock(mutex_);
  MakeFolders(path, true);
  return *this;
}

MemoryFileSystem& MemoryFileSystem::attributes(std::string_view path, Attributes attributes) {
  std::unique_lock lock(mutex_);
  NodeForBuilder(path)->attributes = attributes;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::lastWriteTime(std::string_view path, int64_t secondsSince1970) {
  std::unique_lock lock(mutex_);
  NodeForBuilder(path)->lastWriteTime = secondsSince1970;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::env(std::string_view name, std::string_view value) {
  std::unique_lock lock(mutex_);
  environment_[UpperCase(name)] = {std::string(name), std::string(value)};
  return *this;
}

MemoryFileSystem& MemoryFileSystem::clock(int64_t secondsSince1970) {
  std::unique_lock lock(mutex_);
  clock_ = secondsSince1970;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::failWrites(bool fail) {
  std::unique_lock lock(mutex_);
  failWrites_ = fail;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::failWritesAfter(uint64_t bytes) {
  std::unique_lock lock(mutex_);
  writeRoom_ = bytes;
  return *this;
}

MemoryFileSystem& MemoryFileSystem::refuseDelete(std::string_view path) {
  std::unique_lock lock(mutex_);
  auto parsed = ParseDrivePath(path);
  if (!parsed) throw std::invalid_argument("not a drive path: " + std::string(path));
  refusedDeletes_.insert(CanonicalKey(*parsed));
  return *this;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(std::string_view path) const {
  auto parsed = ParseDrivePath(path);
  if (!parsed) return nullptr;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end() || !drive->second.ready) return nullptr;
  Node* node = drive->second.root.get();
  for (const std::string& part : parsed->parts) {
    if (!node->isFolder) return nullptr;
    auto child = node->children.find(UpperCase(part));
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
  }
  // "C:\Dir\file.txt\" names nothing: only folders take a trailing separator.
  if (parsed->trailingSeparator && !node->isFolder) return nullptr;
  return node;
}

MemoryFileSystem::Node* MemoryFileSystem::FindParentFolder(std::string_view path, std::string* leafName) const {
  auto parsed = ParseDrivePath(path);
  if (!parsed || parsed->parts.empty() || parsed->trailingSeparator) return nullptr;
  if (AnyWildcards(parsed->parts, parsed->parts.size())) return nullptr;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end() || !drive->second.ready) return nullptr;
  Node* node = drive->second.root.get();
  for (size_t i = 0; i + 1 < parsed->parts.size(); ++i) {
    auto child = node->children.find(UpperCase(parsed->parts[i]));
    if (child == node->children.end() || !child->second->isFolder) return nullptr;
    node = child->second.get();
  }
  *leafName = parsed->parts.back();
  return node;
}

std::string MemoryFileSystem::Dump() const {
  std::shared_lock lock(mutex_);
  std::string out = "drives:\n";
  for (const auto& [letter, drive] : drives_) {
    out += "  " + std::string(1, letter) + ": " + DriveTypeName(drive.type) + (drive.ready ? "\n" : ", not ready\n");
  }
  struct Walker {
    std::string& out;
    void Walk(const Node& node, const std::string& path) {
      for (const auto& [key, child] : node.children) {
        std::string childPath = path + "\\" + child->name;
        out += childPath + (child->isFolder ? "\\" : " (" + std::to_string(child->contents.size()) + " bytes)");
        if (child->attributes.hidden) out += " hidden";
        if (child->attributes.system) out += " system";
        if (child->attributes.readOnly) out += " read-only";
        if (child->attributes.reparsePoint) out += " reparse-point";
        out += "\n";
        if (child->isFolder) Walk(*child, childPath);
      }
    }
  } walker{out};
  for (const auto& [letter, drive] : drives_) {
    out += std::string(1, letter) + ":\\\n";
    walker.Walk(*drive.root, std::string(1, letter) + ":");
  }
  if (!environment_.empty()) out += "environment:\n";
  for (const auto& [key, entry] : environment_) out += "  " + entry.first + "=" + entry.second + "\n";
  if (failWrites_) out += "writes fail\n";
  if (writeRoom_) out += "writes fail after " + std::to_string(*writeRoom_) + " more bytes\n";
  for (const auto& refused : refusedDeletes_) out += "delete refused: " + refused + "\n";
  return out;
}

DriveType MemoryFileSystem::GetDriveType(std::string_view root) {
  std::shared_lock lock(mutex_);
  auto parsed = ParseDrivePath(root);
  if (!parsed || !parsed->parts.empty()) return DriveType::NoRootDir;
  auto drive = drives_.find(parsed->drive);
  return drive == drives_.end() ? DriveType::NoRootDir : drive->second.type;
}

bool MemoryFileSystem::IsVolumeReady(std::string_view root) {
  std::shared_lock lock(mutex_);
  auto parsed = ParseDrivePath(root);
  if (!parsed || !parsed->parts.empty()) return false;
  auto drive = drives_.find(parsed->drive);
  return drive != drives_.end() && drive->second.ready;
}

bool MemoryFileSystem::FileExists(std::string_view path) {
  ++probes_;
  std::shared_lock lock(mutex_);
  std::string pattern;
  Node* parent = nullptr;
  auto parsed = ParseDrivePath(path);
  if (!parsed || parsed->parts.empty() || parsed->trailingSeparator) return false;
  if (AnyWildcards(parsed->parts, parsed->parts.size() - 1)) return false;
  pattern = parsed->parts.back();
  std::string parentPath = std::string(1, parsed->drive) + ":\\";
  for (size_t i = 0; i + 1 < parsed->parts.size(); ++i) parentPath += parsed->parts[i] + "\\";
  parent = Find(parentPath);
  if (!parent || !parent->isFolder) return false;
  if (!HasWildcards(pattern)) {
    auto child = parent->children.find(UpperCase(pattern));
    return child != parent->children.end() && !child->second->isFolder;
  }
  for (const auto& [key, child] : parent->children) {
    if (!child->isFolder && pathrules::MatchesPattern(child->name, pattern)) return true;
  }
  return false;
}

bool MemoryFileSystem::FolderExists(std::string_view path) {
  ++probes_;
  std::shared_lock lock(mutex_);
  auto parsed = ParseDrivePath(path);
  if (!parsed || AnyWildcards(parsed->parts, parsed->parts.size())) return false;
  Node* node = Find(path);
  return node && node->isFolder;
}

std::vector<FolderEntry> MemoryFileSystem::ListFolder(std::string_view folder, std::string_view pattern) {
  std::shared_lock lock(mutex_);
  std::vector<FolderEntry> entries;
  auto parsed = ParseDrivePath(folder);
  if (!parsed || pattern.empty() || AnyWildcards(parsed->parts, parsed->parts.size())) return entries;
  Node* node = Find(folder);
  if (!node || !node->isFolder) return entries;
  for (const auto& [key, child] : node->children) {
    if (!pathrules::MatchesPattern(child->name, pattern)) continue;
    entries.push_back({child->name, child->isFolder, child->attributes.hidden, child->attributes.system,
                       child->attributes.readOnly, child->attributes.reparsePoint});
  }
  return entries;
}

std::optional<std::string> MemoryFileSystem::ExpandEnvironment(std::string_view text, size_t maxLength) {
  std::shared_lock lock(mutex_);
  return pathrules::ExpandVariables(
      text,
      [this](std::string_view name) -> std::optional<std::string> {
        auto found = environment_.find(UpperCase(name));
        if (found == environment_.end()) return std::nullopt;
        return found->second.second;
      },
      maxLength);
}

std::optional<std::string> MemoryFileSystem::GetEnvironmentVariable(std::string_view name) {
  std::shared_lock lock(mutex_);
  auto found = environment_.find(UpperCase(name));
  if (found == environment_.end()) return std::nullopt;
  return found->second.second;
}

bool MemoryFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  std::unique_lock lock(mutex_);
  if (failWrites_) return false;
  Node* source = Find(from);
  if (!source || source->isFolder) return false;
  std::string leaf;
  Node* parent = FindParentFolder(to, &leaf);
  if (!parent) return false;
  auto& slot = parent->children[UpperCase(leaf)];
  if (slot) {
    if (slot.get() == source || slot->isFolder || failIfExists || slot->attributes.readOnly) return false;
  } else {
    slot = std::make_unique<Node>();
    slot->name = leaf;
  }
  slot->contents = source->contents;
  slot->attributes = source->attributes;
  slot->lastWriteTime = source->lastWriteTime;  // a copy keeps the source's time, as the system's does
  return true;
}

bool MemoryFileSystem::CreateFolderTree(std::string_view path) {
  std::unique_lock lock(mutex_);
  if (Node* existing = Find(path)) return existing->isFolder;
  if (failWrites_) return false;
  return MakeFolders(path, false) != nullptr;
}

std::optional<FileDetails> MemoryFileSystem::GetFileDetails(std::string_view path) {
  std::shared_lock lock(mutex_);
  auto parsed = ParseDrivePath(path);
  if (!parsed || AnyWildcards(parsed->parts, parsed->parts.size())) return std::nullopt;
  Node* node = Find(path);
  if (!node) return std::nullopt;
  return FileDetails{node->contents.size(), node->lastWriteTime};
}

bool MemoryFileSystem::DeleteFile(std::string_view path) {
  std::unique_lock lock(mutex_);
  std::string leaf;
  Node* parent = FindParentFolder(path, &leaf);
  if (!parent) return false;
  auto child = parent->children.find(UpperCase(leaf));
  if (child == parent->children.end() || child->second->isFolder || child->second->attributes.readOnly) return false;
  if (refusedDeletes_.count(CanonicalKey(*ParseDrivePath(path)))) return false;
  parent->children.erase(child);
  return true;
}

std::optional<std::string> MemoryFileSystem::ReadFile(std::string_view path) {
  ++reads_;
  std::shared_lock lock(mutex_);
  auto parsed = ParseDrivePath(path);
  if (!parsed || AnyWildcards(parsed->parts, parsed->parts.size())) return std::nullopt;
  Node* node = Find(path);
  if (!node || node->isFolder) return std::nullopt;
  return node->contents;
}

bool MemoryFileSystem::PutFile(std::string_view path, std::string_view bytes, bool append) {
  std::unique_lock lock(mutex_);
  if (failWrites_) return false;
  std::string leaf;
  Node* parent = FindParentFolder(path, &leaf);
  if (!parent) return false;
  auto& slot = parent->children[UpperCase(leaf)];
  if (slot && (slot->isFolder || slot->attributes.readOnly)) return false;
  if (!slot) {
    slot = std::make_unique<Node>();
    slot->name = leaf;
  }
  const bool fits = !writeRoom_ || bytes.size() <= *writeRoom_;
  if (!fits) bytes = bytes.substr(0, static_cast<size_t>(*writeRoom_));
  if (writeRoom_) *writeRoom_ -= bytes.size();
  if (append) {
    slot->contents += bytes;
  } else {
    slot->contents = std::string(bytes);
  }
  slot->lastWriteTime = clock_;
  return fits;
}

bool MemoryFileSystem::TruncateFile(std::string_view path, uint64_t size) {
  std::unique_lock lock(mutex_);
  Node* node = Find(path);
  if (!node || node->isFolder || node->attributes.readOnly) return false;
  if (size < node->contents.size()) node->contents.resize(static_cast<size_t>(size));
  node->lastWriteTime = clock_;
  return true;
}

bool MemoryFileSystem::WriteFile(std::string_view path, std::string_view bytes) { return PutFile(path, bytes, false); }

bool MemoryFileSystem::AppendFile(std::string_view path, std::string_view bytes) { return PutFile(path, bytes, true); }

}  // namespace quillet
