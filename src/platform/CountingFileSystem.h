#pragma once

#include <atomic>
#include <cstdint>

#include "platform/ForwardingFileSystem.h"

namespace quillet {

// Passes every call on and counts the existence probes, so tools can report what a scan cost.
class CountingFileSystem final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  uint64_t Probes() const { return probes_.load(std::memory_order_relaxed); }

  bool FileExists(std::string_view path) override {
    probes_.fetch_add(1, std::memory_order_relaxed);
    return ForwardingFileSystem::FileExists(path);
  }
  bool FolderExists(std::string_view path) override {
    probes_.fetch_add(1, std::memory_order_relaxed);
    return ForwardingFileSystem::FolderExists(path);
  }

 private:
  std::atomic<uint64_t> probes_{0};
};

}  // namespace quillet
