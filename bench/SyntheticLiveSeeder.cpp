#include "SyntheticLiveSeeder.h"

#include <cstdio>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"

namespace quillet::bench {
namespace {

using win32::ToWide;

std::pair<HKEY, std::string> SplitRoot(const std::string& fullPath) {
  const size_t separator = fullPath.find('\\');
  const std::optional<RootKey> root = ParseRootName(fullPath.substr(0, separator));
  if (!root) return {nullptr, {}};
  return {win32::RootHandle(*root), separator == std::string::npos ? std::string() : fullPath.substr(separator + 1)};
}

bool IsBelow(const std::string& path, const std::string& ancestor) {
  return path.size() > ancestor.size() && path.compare(0, ancestor.size(), ancestor) == 0 &&
         path[ancestor.size()] == '\\';
}

}  // namespace

void SyntheticLiveSeeder::File(const std::string& path) {
  MakeFolders(path.substr(0, path.rfind('\\')));
  HANDLE file =
      ::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  ::CloseHandle(file);
  madeFiles_.push_back(path);
}

void SyntheticLiveSeeder::MakeFolders(const std::string& folder) {
  if (folder.size() <= 3 || !seenFolders_.insert(folder).second) return;
  MakeFolders(folder.substr(0, folder.rfind('\\')));
  if (::CreateDirectoryW(ToWide(folder).c_str(), nullptr)) madeFolders_.push_back(folder);
}

void SyntheticLiveSeeder::Key(const std::string& fullPath) {
  // Keys come parents first: the open keys that are not ancestors of this one are done.
  while (!open_.empty() && !IsBelow(fullPath, open_.back().path)) open_.pop_back();
  HKEY base = nullptr;
  std::string sub;
  if (open_.empty()) {
    std::tie(base, sub) = SplitRoot(fullPath);
  } else {
    base = open_.back().key.get();
    sub = fullPath.substr(open_.back().path.size() + 1);
  }
  OpenKey entry{fullPath, {}};
  if (!base || ::RegCreateKeyExW(base, ToWide(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, entry.key.put(),
                                 nullptr) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot create %s\n", fullPath.c_str());
    ++failures_;
    return;
  }
  open_.push_back(std::move(entry));
}

void SyntheticLiveSeeder::Value(const RegistryValue& value) {
  if (open_.empty() ||
      ::RegSetValueExW(open_.back().key.get(), ToWide(value.name).c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS) {
    ++failures_;
  }
}

void SyntheticLiveSeeder::RemoveMadeFiles() {
  for (const std::string& file : madeFiles_) ::DeleteFileW(ToWide(file).c_str());
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) ::RemoveDirectoryW(ToWide(*it).c_str());
  madeFiles_.clear();
  madeFolders_.clear();
}

}  // namespace quillet::bench
