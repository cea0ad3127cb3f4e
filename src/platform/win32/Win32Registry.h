#pragma once

#include "platform/RegistryStore.h"
#include "platform/win32/Win32.h"

namespace quillet::win32 {

// The live registry through the W functions. Full access is KEY_ALL_ACCESS, read-only KEY_READ.
class Win32Registry final : public RegistryStore {
 public:
  std::unique_ptr<RegistryCursor> NewCursor() override;
};

HKEY RootHandle(RootKey root);

}  // namespace quillet::win32
