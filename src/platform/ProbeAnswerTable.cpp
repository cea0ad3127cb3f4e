#include "platform/ProbeAnswerTable.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace quillet {

ProbeAnswerTable::ProbeAnswerTable(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void ProbeAnswerTable::Clear() {
  if (count_ == 0) return;
  std::fill(slots_.begin(), slots_.end(), Slot{});
  text_.clear();
  count_ = 0;
}

uint64_t ProbeAnswerTable::HashOf(std::string_view path) { return std::hash<std::string_view>{}(path); }

uint8_t* ProbeAnswerTable::Find(std::string_view path, uint64_t hash) {
  if (slots_.empty()) return nullptr;
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.bits == 0) return nullptr;
    if (slot.hash == hash && slot.length == path.size() &&
        std::string_view(text_.data() + slot.offset, slot.length) == path) {
      return &slot.bits;
    }
  }
}

void ProbeAnswerTable::Insert(std::string_view path, uint64_t hash, uint8_t bits) {
  // Made with the first answer, so a scan that probes nothing costs no table.
  if (slots_.empty()) slots_.resize(std::bit_ceil(capacity_ * 2));
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].bits != 0) i = (i + 1) & mask;
  slots_[i] = Slot{hash, static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(path.size()), bits};
  text_.append(path);
  ++count_;
}

}  // namespace quillet
