#include "platform/memory/ScriptedProcesses.h"

namespace quillet {

void ScriptedChildProcess::Terminate(unsigned exitCode) {
  ++state_->terminations;
  state_->exitCode = exitCode;
  state_->ended = true;
}

ScriptedProcesses& ScriptedProcesses::failStarts(bool fail) {
  std::lock_guard lock(mutex_);
  failStarts_ = fail;
  return *this;
}

std::vector<ScriptedProcesses::Started> ScriptedProcesses::StartedProcesses() {
  std::lock_guard lock(mutex_);
  return started_;
}

std::unique_ptr<ChildProcess> ScriptedProcesses::Start(std::string_view commandLine, bool hidden) {
  std::lock_guard lock(mutex_);
  if (failStarts_) return nullptr;
  auto state = std::make_shared<ScriptedChildProcess::State>();
  started_.push_back({std::string(commandLine), hidden, state});
  return std::make_unique<ScriptedChildProcess>(state);
}

}  // namespace quillet
