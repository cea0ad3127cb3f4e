#pragma once

#include <optional>
#include <string>

#include "SyntheticRegistry.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"

namespace quillet::bench {

// Puts a generated registry and its files into the in-memory store and file system.
class SyntheticMemoryLoader final : public SyntheticOutput {
 public:
  SyntheticMemoryLoader(memory::MemoryRegistry& reg, MemoryFileSystem& fs) : reg_(reg), fs_(fs) {}
  void File(const std::string& path) override { fs_.file(path); }
  void Key(const std::string& fullPath) override { key_.emplace(reg_.key(fullPath)); }
  void Value(const RegistryValue& value) override { key_->raw(value.name, value.type, value.data); }

 private:
  memory::MemoryRegistry& reg_;
  MemoryFileSystem& fs_;
  std::optional<memory::KeyBuilder> key_;
};

}  // namespace quillet::bench
