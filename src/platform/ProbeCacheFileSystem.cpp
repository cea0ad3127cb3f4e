#include "platform/ProbeCacheFileSystem.h"

#include <utility>

#include "base/TextCompare.h"

namespace quillet {

namespace {
size_t GenerationSize(size_t capacity) { return capacity < 2 ? 1 : (capacity + 1) / 2; }
}  // namespace

ProbeCacheFileSystem::ProbeCacheFileSystem(FileSystem& inner, size_t capacity)
    : ForwardingFileSystem(inner), recent_(GenerationSize(capacity)), older_(GenerationSize(capacity)) {}

bool ProbeCacheFileSystem::Ask(std::string_view path, uint8_t known, uint8_t yes,
                               bool (FileSystem::*probe)(std::string_view)) {
  key_.assign(path);
  UpperCaseInPlace(key_);
  const uint64_t hash = ProbeAnswerTable::HashOf(key_);
  uint8_t* found = recent_.Find(key_, hash);
  uint8_t bits = 0;
  if (found) {
    bits = *found;
  } else if (const uint8_t* old = older_.Find(key_, hash)) {
    bits = *old;
  }
  if (!(bits & known)) bits |= static_cast<uint8_t>(known | ((Inner().*probe)(path) ? yes : 0));
  if (found) {
    *found = bits;
  } else {
    // An answer in use moves to the recent generation; a full one becomes the older and the
    // older one is dropped, so what is asked often stays.
    if (recent_.Full()) {
      std::swap(recent_, older_);
      recent_.Clear();
    }
    recent_.Insert(key_, hash, bits);
  }
  return (bits & yes) != 0;
}

bool ProbeCacheFileSystem::FileExists(std::string_view path) {
  return Ask(path, kFileKnown, kFile, &FileSystem::FileExists);
}

bool ProbeCacheFileSystem::FolderExists(std::string_view path) {
  return Ask(path, kFolderKnown, kFolder, &FileSystem::FolderExists);
}

bool ProbeCacheFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  Clear();
  return ForwardingFileSystem::CopyFile(from, to, failIfExists);
}

bool ProbeCacheFileSystem::CreateFolderTree(std::string_view path) {
  Clear();
  return ForwardingFileSystem::CreateFolderTree(path);
}

bool ProbeCacheFileSystem::DeleteFile(std::string_view path) {
  Clear();
  return ForwardingFileSystem::DeleteFile(path);
}

bool ProbeCacheFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  Clear();
  return ForwardingFileSystem::WriteFile(path, bytes);
}

bool ProbeCacheFileSystem::AppendFile(std::string_view path, std::string_view bytes) {
  Clear();
  return ForwardingFileSystem::AppendFile(path, bytes);
}

bool ProbeCacheFileSystem::TruncateFile(std::string_view path, uint64_t size) {
  Clear();
  return ForwardingFileSystem::TruncateFile(path, size);
}

}  // namespace quillet
