#pragma once

#include "platform/SystemRestore.h"

namespace quillet::win32 {

// The System Restore client "SrClient.dll", loaded for each request and released after it, so
// a system without it (Windows before XP, Wine) answers Unavailable at once. Stateless.
class Win32SystemRestore : public SystemRestore {
 public:
  RestorePointAnswer CreateRestorePoint(std::string_view description) override;
};

}  // namespace quillet::win32
