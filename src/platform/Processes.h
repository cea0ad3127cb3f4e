#pragma once

#include <memory>
#include <string_view>

// Child processes the program starts and waits for (the registry editor, the backup program).
namespace quillet {

class ChildProcess {
 public:
  virtual ~ChildProcess() = default;  // lets go of the process; does not end it
  // True once the process has ended; never waits.
  virtual bool HasEnded() = 0;
  // Ends the process at once with this exit code.
  virtual void Terminate(unsigned exitCode) = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the command line; hidden: its windows are not shown. Empty when it did not start.
  virtual std::unique_ptr<ChildProcess> Start(std::string_view commandLine, bool hidden) = 0;
};

}  // namespace quillet
