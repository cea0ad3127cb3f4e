#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace quillet {

// A child process for host tests: it runs until the test ends it or the program terminates it.
class ScriptedChildProcess : public ChildProcess {
 public:
  struct State {
    std::atomic<bool> ended{false};
    std::atomic<int> terminations{0};
    std::atomic<unsigned> exitCode{0};
  };
  explicit ScriptedChildProcess(std::shared_ptr<State> state) : state_(std::move(state)) {}

  bool HasEnded() override { return state_->ended; }
  void Terminate(unsigned exitCode) override;

 private:
  std::shared_ptr<State> state_;
};

// Starts scripted child processes and records their command lines; each one's state stays
// readable after the program let go of it.
class ScriptedProcesses : public ProcessLauncher {
 public:
  struct Started {
    std::string commandLine;
    bool hidden = false;
    std::shared_ptr<ScriptedChildProcess::State> state;
  };
  // The next Start calls fail.
  ScriptedProcesses& failStarts(bool fail = true);
  std::vector<Started> StartedProcesses();

  std::unique_ptr<ChildProcess> Start(std::string_view commandLine, bool hidden) override;

 private:
  std::mutex mutex_;
  bool failStarts_ = false;
  std::vector<Started> started_;
};

}  // namespace quillet
