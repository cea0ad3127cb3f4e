#include "platform/win32/Win32SystemRestore.h"

#include <cstring>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

#include <srrestoreptapi.h>

namespace quillet::win32 {

RestorePointAnswer Win32SystemRestore::CreateRestorePoint(std::string_view description) {
  UniqueModule client(::LoadLibraryW(L"SrClient.dll"));
  if (!client) return RestorePointAnswer::Unavailable;
  using SetRestorePointFunction = BOOL(WINAPI*)(PRESTOREPOINTINFOA, PSTATEMGRSTATUS);
  auto setRestorePoint = reinterpret_cast<SetRestorePointFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(client.get(), "SRSetRestorePointA")));
  if (!setRestorePoint) return RestorePointAnswer::Unavailable;

  RESTOREPOINTINFOA request{};
  request.dwEventType = BEGIN_SYSTEM_CHANGE;
  request.dwRestorePtType = APPLICATION_INSTALL;
  request.llSequenceNumber = 0;
  // The record holds ANSI text; a description too long for it is cut, never left unterminated.
  const std::wstring wide = ToWide(description);
  ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, request.szDescription, MAX_DESC, nullptr, nullptr);
  request.szDescription[MAX_DESC - 1] = '\0';
  STATEMGRSTATUS status{};
  return setRestorePoint(&request, &status) ? RestorePointAnswer::Created : RestorePointAnswer::Failed;
}

}  // namespace quillet::win32
