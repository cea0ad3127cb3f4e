#include "RegistrySeed.h"

#include <aclapi.h>

namespace quillet::testing {

win32::UniqueKey CreateKey(HKEY root, const std::wstring& path) {
  win32::UniqueKey key;
  ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  return key;
}

void SetRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t size) {
  ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type) {
  SetRaw(key, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool RestrictKeyAccess(HKEY key, DWORD rights) {
  EXPLICIT_ACCESSW access{};
  BuildExplicitAccessWithNameW(&access, const_cast<wchar_t*>(L"EVERYONE"), rights, SET_ACCESS, NO_INHERITANCE);
  PACL acl = nullptr;
  if (::SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS) return false;
  const DWORD result = ::SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                         nullptr, nullptr, acl, nullptr);
  ::LocalFree(acl);
  return result == ERROR_SUCCESS;
}

}  // namespace quillet::testing
