#include "platform/ProbeCacheFileSystem.h"

#include "settings/TextCompare.h"

namespace quillet {

ProbeCacheFileSystem::ProbeCacheFileSystem(FileSystem& inner, size_t capacity)
    : inner_(inner), capacity_(capacity == 0 ? 1 : capacity) {}

bool ProbeCacheFileSystem::Ask(std::string_view path, uint8_t known, uint8_t yes,
                               bool (FileSystem::*probe)(std::string_view)) {
  std::string key = UpperCase(path);
  auto found = answers_.find(key);
  if (found != answers_.end() && (found->second & known)) return (found->second & yes) != 0;
  const bool answer = (inner_.*probe)(path);
  const uint8_t bits = static_cast<uint8_t>(known | (answer ? yes : 0));
  if (found != answers_.end()) {
    found->second |= bits;
  } else {
    if (answers_.size() >= capacity_) answers_.clear();
    answers_.emplace(std::move(key), bits);
  }
  return answer;
}

bool ProbeCacheFileSystem::FileExists(std::string_view path) {
  return Ask(path, kFileKnown, kFile, &FileSystem::FileExists);
}

bool ProbeCacheFileSystem::FolderExists(std::string_view path) {
  return Ask(path, kFolderKnown, kFolder, &FileSystem::FolderExists);
}

bool ProbeCacheFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  Clear();
  return inner_.CopyFile(from, to, failIfExists);
}

bool ProbeCacheFileSystem::CreateFolderTree(std::string_view path) {
  Clear();
  return inner_.CreateFolderTree(path);
}

bool ProbeCacheFileSystem::DeleteFile(std::string_view path) {
  Clear();
  return inner_.DeleteFile(path);
}

bool ProbeCacheFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.WriteFile(path, bytes);
}

bool ProbeCacheFileSystem::AppendFile(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.AppendFile(path, bytes);
}

}  // namespace quillet
