#pragma once

#include <string>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

// Direct registry writes for test set-up, independent of the implementations under test.
namespace quillet::testing {

// Opens the key with full access, creating it and the keys above it when missing.
win32::UniqueKey CreateKey(HKEY root, const std::wstring& path);
void SetRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t size);
// A string value of the given kind with its terminating NUL.
void SetText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ);
// Gives the key an access list that grants everyone exactly these rights and nothing else; the
// handle needs WRITE_DAC. False when the system refused it.
bool RestrictKeyAccess(HKEY key, DWORD rights);

}  // namespace quillet::testing
