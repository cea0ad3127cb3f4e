#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "SyntheticRegistry.h"
#include "platform/win32/UniqueHandle.h"

// Writes a synthetic registry into the live registry and its files into the file system with
// the registry functions directly: each key is created below its parent's open handle and each
// value set once, several times faster than importing the same tree as a .reg file.
namespace quillet::bench {

class SyntheticLiveSeeder final : public SyntheticOutput {
 public:
  // Folders are made once each; files that exist already (the system's own) are left alone.
  void File(const std::string& path) override;
  void Key(const std::string& fullPath) override;
  void Value(const RegistryValue& value) override;

  void CloseKeys() { open_.clear(); }
  uint64_t Failures() const { return failures_; }
  // Deletes the files and folders this seeder made (and only those), files first, then the
  // folders deepest first.
  void RemoveMadeFiles();

 private:
  struct OpenKey {
    std::string path;
    win32::UniqueKey key;
  };

  void MakeFolders(const std::string& folder);

  std::vector<OpenKey> open_;
  std::unordered_set<std::string> seenFolders_;
  std::vector<std::string> madeFolders_;
  std::vector<std::string> madeFiles_;
  uint64_t failures_ = 0;
};

}  // namespace quillet::bench
