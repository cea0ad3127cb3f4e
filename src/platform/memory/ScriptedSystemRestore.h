#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SystemRestore.h"

namespace quillet {

// A restore client for host tests: it gives the answer it was told (Created unless told
// otherwise), records each description, and can hold every request until released, so a test
// can act while a request is in flight.
class ScriptedSystemRestore : public SystemRestore {
 public:
  ScriptedSystemRestore& answer(RestorePointAnswer answer);
  // Requests wait in CreateRestorePoint until Release.
  ScriptedSystemRestore& hold();
  void Release();
  // Blocks until this many requests have returned.
  void WaitForReturns(size_t count);

  std::vector<std::string> Descriptions();
  size_t Started();

  RestorePointAnswer CreateRestorePoint(std::string_view description) override;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  RestorePointAnswer answer_ = RestorePointAnswer::Created;
  bool holding_ = false;
  std::vector<std::string> descriptions_;
  size_t returned_ = 0;
};

}  // namespace quillet
