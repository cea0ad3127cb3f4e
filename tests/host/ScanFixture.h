#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "RecordingSink.h"
#include "platform/Platform.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedShell.h"
#include "scan/ScanCategory.h"
#include "scan/ScanContext.h"
#include "scan/ScanStop.h"
#include "scan/ScannerTable.h"
#include "settings/OptionsSetting.h"

namespace quillet {

// Rows print readably when a whole-vector comparison fails.
inline void PrintTo(const ProblemEntry& row, std::ostream* out) {
  *out << "{" << row.problem << " | " << row.keyPath << " | " << row.value << " | " << static_cast<int>(row.action)
       << (row.checked ? " | checked" : "") << "}";
}

}  // namespace quillet

namespace quillet::testing {

// A registry, a file system with a fixed C: drive, a shell and a sink, installed as the
// current platform; scanners run directly against them.
class ScanFixture {
 public:
  ScanFixture() : platform_(MakePlatform()) {
    OptionsSetting = TOptionsSetting();
    fs.fixedDrive('c');
    flags.DriveLetters = "c";
  }
  ~ScanFixture() { OptionsSetting = TOptionsSetting(); }

  // Runs one category's scanner and returns the rows it added.
  std::vector<ProblemEntry> Run(Scanner scanner, int code) {
    ScanContext context(reg, fs, shell, flags, sink, stop, {code});
    context.BeginCategory(*FindScanCategory(code));
    scanner(context);
    return sink.Rows();
  }

  // A context for calling the checker directly.
  std::unique_ptr<ScanContext> Context() {
    return std::make_unique<ScanContext>(reg, fs, shell, flags, sink, stop, std::vector<int>{});
  }

  memory::MemoryRegistry reg;
  MemoryFileSystem fs;
  ScriptedShell shell{&fs};
  FixedSystemInfo system;
  RecordingSink sink;
  ScanFlags flags;
  StopFlag stop;

 private:
  Platform MakePlatform() {
    Platform platform;
    platform.registry = &reg;
    platform.files = &fs;
    platform.shell = &shell;
    platform.system = &system;
    return platform;
  }
  ScopedPlatform platform_;
};

}  // namespace quillet::testing
