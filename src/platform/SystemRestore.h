#pragma once

#include <string_view>

// The System Restore client of the operating system.
namespace quillet {

enum class RestorePointAnswer {
  Created,      // the request was accepted
  Failed,       // the client refused the request
  Unavailable,  // the system has no restore client (or the call could not be made)
};

class SystemRestore {
 public:
  virtual ~SystemRestore() = default;
  // Asks for a restore point that marks the start of an application install with this
  // description. Blocks until the client answers; safe to call from any thread.
  virtual RestorePointAnswer CreateRestorePoint(std::string_view description) = 0;
};

}  // namespace quillet
