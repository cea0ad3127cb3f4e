#pragma once

// The platform services the core reaches through its shared routines. The program installs
// the Windows implementations at start; host tests install in-memory ones with ScopedPlatform.
namespace quillet {

class RegistryStore;
class FileSystem;
class Profile;
class Shell;
class SystemInfo;
class AnsiCodePage;
class Clock;
class SystemRestore;
class ProcessLauncher;
class DesktopWindows;

struct Platform {
  RegistryStore* registry = nullptr;
  FileSystem* files = nullptr;
  Profile* profile = nullptr;
  Shell* shell = nullptr;
  SystemInfo* system = nullptr;
  AnsiCodePage* ansi = nullptr;
  Clock* clock = nullptr;
  SystemRestore* restore = nullptr;
  ProcessLauncher* processes = nullptr;
  DesktopWindows* desktop = nullptr;
};

Platform& CurrentPlatform();

// Installs a platform for its lifetime and puts the previous one back afterwards.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform previous_;
};

}  // namespace quillet
