#pragma once

#include "platform/Processes.h"

namespace quillet::win32 {

// Starts processes with CreateProcessW; the child owns its process and thread handles.
class Win32Processes : public ProcessLauncher {
 public:
  std::unique_ptr<ChildProcess> Start(std::string_view commandLine, bool hidden) override;
};

}  // namespace quillet::win32
