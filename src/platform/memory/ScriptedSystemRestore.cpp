#include "platform/memory/ScriptedSystemRestore.h"

namespace quillet {

ScriptedSystemRestore& ScriptedSystemRestore::answer(RestorePointAnswer answer) {
  std::lock_guard lock(mutex_);
  answer_ = answer;
  return *this;
}

ScriptedSystemRestore& ScriptedSystemRestore::hold() {
  std::lock_guard lock(mutex_);
  holding_ = true;
  return *this;
}

void ScriptedSystemRestore::Release() {
  {
    std::lock_guard lock(mutex_);
    holding_ = false;
  }
  changed_.notify_all();
}

void ScriptedSystemRestore::WaitForReturns(size_t count) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return returned_ >= count; });
}

std::vector<std::string> ScriptedSystemRestore::Descriptions() {
  std::lock_guard lock(mutex_);
  return descriptions_;
}

size_t ScriptedSystemRestore::Started() {
  std::lock_guard lock(mutex_);
  return descriptions_.size();
}

RestorePointAnswer ScriptedSystemRestore::CreateRestorePoint(std::string_view description) {
  std::unique_lock lock(mutex_);
  descriptions_.emplace_back(description);
  changed_.notify_all();
  changed_.wait(lock, [&] { return !holding_; });
  ++returned_;
  const RestorePointAnswer answer = answer_;
  lock.unlock();
  changed_.notify_all();
  return answer;
}

}  // namespace quillet
