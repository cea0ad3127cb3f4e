#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scan/ProblemEntry.h"
#include "scan/WhyFlagged.h"

namespace quillet {

class FileSystem;
class ProbeCacheFileSystem;
class RegistryCursor;
class RegistryStore;
class ScanSink;
class Shell;
class StopFlag;
struct ScanCategory;

// What a scan decided when its thread was made; nothing changes it during the run.
struct ScanFlags {
  std::string DriveLetters;  // letters of the drives whose references are tested
  bool DriveAReady = false;  // drive A: holds a readable volume (only when removable media count)
  bool DriveBReady = false;
  bool IsWow64 = false;      // a 32-bit process on 64-bit Windows
  bool IsWin7Or8 = false;    // WindowsVersionCode 12 or 13
  bool IsWin8 = false;       // WindowsVersionCode 13
  int WindowsVersionCode = 12;
  // The existence probes are answered once per path for the whole scan (off only to measure
  // the cache and to prove it changes no row).
  bool CacheProbes = true;
};

// Counted by the cursors a scan hands out, for the host tool's --stats.
struct ScanCounters {
  uint64_t keysOpened = 0;
  uint64_t valuesRead = 0;
};

// Everything a scanner works with: cursors that honour a stop, the file system (behind the
// scan's probe cache when the flags ask for it), the shell, the scan's flags and the sink that
// takes the rows.
class ScanContext {
 public:
  ScanContext(RegistryStore& registry, FileSystem& files, Shell& shell, const ScanFlags& flags, ScanSink& sink,
              const StopFlag& stop, std::vector<int> categoryCodes);
  ~ScanContext();

  std::unique_ptr<RegistryCursor> NewCursor() const;
  FileSystem& Files() const { return files_; }
  Shell& GetShell() const { return shell_; }
  const ScanFlags& Flags() const { return flags_; }
  // Read from the live settings at each check, as the option may be read during the run.
  bool IncludeRemoveMedia() const;

  int CurrentCategory() const { return currentCategory_; }
  bool RunIncludes(int code) const;

  // The dialog's key line: the root-relative path of the key being walked.
  void ShowScannedKey(const std::string& keyPath);
  // A row of the current category; reason says why the scanner flagged it (see WhyFlagged.h).
  void AddRow(std::string keyPath, std::string value, RepairAction action, std::string reason = {});
  // The reason of a row in the language the scan started in.
  std::string Reason(Why kind, std::string_view subject = {}) const { return why_.Format(kind, subject); }
  void ThrowIfStopped() const;

  const ScanCounters& Counters() const { return *counters_; }

  // Used by the scan task between categories.
  void BeginCategory(const ScanCategory& category);

 private:
  std::unique_ptr<ScanCounters> counters_;
  std::unique_ptr<RegistryStore> registry_;
  std::unique_ptr<ProbeCacheFileSystem> probeCache_;  // made with the context: each scan starts empty
  FileSystem& files_;
  Shell& shell_;
  const ScanFlags& flags_;
  ScanSink& sink_;
  const StopFlag& stop_;
  std::vector<int> categoryCodes_;
  const WhyWordings why_;  // read when the scan starts
  int currentCategory_ = 0;
};

}  // namespace quillet
