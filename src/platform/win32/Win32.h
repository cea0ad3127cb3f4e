#pragma once

// The one way to windows.h. Only platform/win32 and ui/win32 include this.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef WINVER
#define WINVER _WIN32_WINNT
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

// The platform interfaces have methods named like these character-set-neutral macros. The
// program calls the W functions by their full names, so the macros are not needed.
#undef CopyFile
#undef DeleteFile
#undef GetDriveType
#undef GetEnvironmentVariable

// The A/W macros below share their names with functions of the program's own interfaces
// (UiHost::MessageBox, FileSystem::DeleteFile, ...). Left defined they would rename those in
// some files and not in others; the Windows calls are always made by their W names.
#undef CopyFile
#undef DeleteFile
#undef GetDriveType
#undef GetEnvironmentVariable
#undef MessageBox
#undef PostMessage
