#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One generation of the probe cache: up to a fixed number of paths, each with a byte of answer
// bits (never 0). The paths lie end to end in one text block and the slots of an open-addressing
// table point into it, so a lookup reads one slot and one stretch of text, and an insert
// allocates nothing once the generation has filled the first time.
class ProbeAnswerTable {
 public:
  explicit ProbeAnswerTable(size_t capacity);

  size_t Size() const { return count_; }
  bool Full() const { return count_ >= capacity_; }
  void Clear();

  // The answer bits of the path, or null; hash is HashOf(path).
  uint8_t* Find(std::string_view path, uint64_t hash);
  // Adds a path that is not in the table yet; the table must not be full.
  void Insert(std::string_view path, uint64_t hash, uint8_t bits);

  static uint64_t HashOf(std::string_view path);

 private:
  struct Slot {
    uint64_t hash = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
    uint8_t bits = 0;  // 0: the slot is free
  };

  size_t capacity_;
  size_t count_ = 0;
  std::vector<Slot> slots_;  // a power of two, at least twice the capacity; empty until the first insert
  std::string text_;
};

}  // namespace quillet
