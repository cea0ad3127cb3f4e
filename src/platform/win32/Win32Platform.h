#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32DesktopWindows.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"

namespace quillet::win32 {

// Every Windows implementation of the platform services, owned together, as the program, its
// benchmarks and the Windows tests install them.
class Win32Platform {
 public:
  explicit Win32Platform(ValueReads reads = ValueReads::OncePerOpen);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  const Platform& Services() const { return services_; }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Profile profile_;
  Win32Shell shell_;
  Win32SystemInfo system_;
  Win32AnsiCodePage ansi_;
  Win32Clock clock_;
  Win32Processes processes_;
  Win32DesktopWindows desktop_;
  Platform services_;
};

}  // namespace quillet::win32
