#pragma once

#include "platform/RegistryStore.h"
#include "platform/win32/Win32.h"

namespace quillet::win32 {

// How a cursor answers the questions about a key's values after listing them.
enum class ValueReads {
  // The listing reads every value's name, type and data in one enumeration; kind, size and
  // reads of a listed name are answered from it until the cursor opens another key or changes
  // this one. Names not in the listing (another spelling, values added since) ask the system.
  OncePerOpen,
  // Every question is a system call of its own (kept to measure the difference and to prove
  // that both give the same answers).
  PerQuestion,
};

// The live registry through the W functions. Full access is KEY_ALL_ACCESS, read-only KEY_READ.
class Win32Registry final : public RegistryStore {
 public:
  explicit Win32Registry(ValueReads reads = ValueReads::OncePerOpen) : reads_(reads) {}
  std::unique_ptr<RegistryCursor> NewCursor() override;

 private:
  ValueReads reads_;
};

HKEY RootHandle(RootKey root);

}  // namespace quillet::win32
