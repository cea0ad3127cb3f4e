#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32SystemRestore.h"

namespace quillet::win32 {

Win32Platform::Win32Platform(ValueReads reads) : registry_(reads) {
  // A restore point request may still be in flight when the window is gone (its dialog was
  // closed early), so the client lives as long as the process.
  static auto* restore = new Win32SystemRestore;
  services_.registry = &registry_;
  services_.files = &files_;
  services_.profile = &profile_;
  services_.shell = &shell_;
  services_.system = &system_;
  services_.ansi = &ansi_;
  services_.clock = &clock_;
  services_.restore = restore;
  services_.processes = &processes_;
  services_.desktop = &desktop_;
}

}  // namespace quillet::win32
