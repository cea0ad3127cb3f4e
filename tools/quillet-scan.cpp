// quillet-scan: runs the scanners of chosen categories over a registry and file system and
// prints the rows. The host build scans .reg fixtures over host folders mapped as drives; the
// Windows build scans the live registry and file system (or .reg fixtures when given).
#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CountingFileSystem.h"
#include "platform/Platform.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/RegFileReader.h"
#include "platform/memory/ScriptedShell.h"
#include "platform/memory/Windows1252.h"
#include "scan/FilesAndFoldersScans.h"
#include "scan/ScanCategory.h"
#include "scan/ScanContext.h"
#include "scan/ScanSink.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"

#ifdef _WIN32
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#else
#include "platform/memory/HostMappedFileSystem.h"
#endif

namespace quillet {
namespace {

struct FolderName {
  const char* name;
  SpecialFolder folder;
};
constexpr std::array<FolderName, 14> kFolderNames{{
    {"AppData", SpecialFolder::AppData},
    {"Fonts", SpecialFolder::Fonts},
    {"Programs", SpecialFolder::Programs},
    {"CommonPrograms", SpecialFolder::CommonPrograms},
    {"StartMenu", SpecialFolder::StartMenu},
    {"CommonStartMenu", SpecialFolder::CommonStartMenu},
    {"Desktop", SpecialFolder::Desktop},
    {"CommonDesktop", SpecialFolder::CommonDesktop},
    {"Recent", SpecialFolder::Recent},
    {"Startup", SpecialFolder::Startup},
    {"CommonStartup", SpecialFolder::CommonStartup},
    {"Windows", SpecialFolder::Windows},
    {"System", SpecialFolder::System},
    {"ProgramFiles", SpecialFolder::ProgramFiles},
}};

// What --windows-version sets: the system version that GetWindowsVersion classifies as the code.
std::optional<OsVersion> VersionForCode(int code) {
  switch (code) {
    case 1: return OsVersion{PlatformId::Windows9x, 4, 0};
    case 3: return OsVersion{PlatformId::Windows9x, 4, 10};
    case 8: return OsVersion{PlatformId::Windows9x, 4, 90};
    case 5: return OsVersion{PlatformId::WindowsNt, 3, 51};
    case 6: return OsVersion{PlatformId::WindowsNt, 4, 0};
    case 7: return OsVersion{PlatformId::WindowsNt, 5, 0};
    case 9: return OsVersion{PlatformId::WindowsNt, 5, 1};
    case 10: return OsVersion{PlatformId::WindowsNt, 5, 2};
    case 11: return OsVersion{PlatformId::WindowsNt, 6, 0};
    case 12: return OsVersion{PlatformId::WindowsNt, 6, 1};
    case 13: return OsVersion{PlatformId::WindowsNt, 6, 2};
    default: return std::nullopt;
  }
}

struct ToolOptions {
  std::vector<std::string> registryFiles;
  std::vector<std::string> drives;
  std::vector<std::pair<std::string, std::string>> environment;
  std::vector<std::pair<SpecialFolder, std::string>> folders;
  std::optional<int> windowsVersion;
  bool wow64 = false;
  bool includeRemovable = false;
  bool includeCd = false;
  std::vector<int> categories;
  bool stats = false;
  bool speedUps = true;
  bool why = false;  // a fifth column: why each row was flagged
  std::string walkKey;  // a long root name and a path; empty: the categories' own scanners
};

// The key --walk names, for the scanner below (scanners are plain functions).
std::string gWalkRoot;
std::string gWalkPath;

// The Files and Folders walk over one key and everything below it, without the skip lists of
// categories 3 and 4, as the other scans that share the walk run it.
void WalkGivenKey(ScanContext& context) { WalkFileReferences(context, 0, gWalkRoot, gWalkPath, ""); }
Scanner WalkScanner(int) { return WalkGivenKey; }

void PrintUsage(std::ostream& out) {
  out << "usage: quillet-scan [--registry FILE.reg]... [--drive L=DIR[:fixed|cdrom|removable|remote]]...\n"
         "                    [--env NAME=VALUE]... [--folder NAME=PATH]... [--windows-version CODE] [--wow64]\n"
         "                    [--include-removable] [--include-cd] [--categories 6,8,9,...] [--format tsv]\n"
         "                    [--stats] [--no-speed-ups] [--walk KEY] [--why]\n\n"
         "Runs the scanners of the given category codes (all 23 when --categories is missing) and prints one\n"
         "row per finding, in the order found: problem, key path, value, repair action, tab-separated.\n\n"
         "  --registry FILE.reg   load a REGEDIT4 or version 5.00 file into the registry (repeatable)\n"
         "  --drive L=DIR[:TYPE]  host build: drive letter L is the host folder DIR; unmapped letters are no drive\n"
         "  --env NAME=VALUE      host build: an environment variable for %NAME% expansion\n"
         "  --folder NAME=PATH    a special folder of the shell (names below)\n"
         "  --windows-version N   what the Windows version classification returns (1,3,5-13; default 12)\n"
         "  --wow64               scan as a 32-bit process on 64-bit Windows\n"
         "  --include-removable   test references to removable media (drives A: and B: too)\n"
         "  --include-cd          test references to CD drives\n"
         "  --stats               on stderr, one line per category with its seconds, then one summary\n"
         "                        line: categories, keys opened, values read, file-system probes,\n"
         "                        rows, seconds\n"
         "  --no-speed-ups        ask the file system and the registry every question anew (no probe\n"
         "                        cache, no values read once per key): the same rows, slower\n"
         "  --walk KEY            instead of the categories' scanners, walk KEY (HKEY_...\\path) and\n"
         "                        everything below it as the Files and Folders scans do, without their\n"
         "                        skip lists; the rows carry the problem text of the first category\n"
         "                        (3 when --categories is missing)\n"
         "  --why                 a fifth column: why the scanner flagged the row\n\n"
         "Categories:\n";
  for (const ScanCategory& category : ScanCategories()) {
    out << "  " << category.code << "\t" << category.caption << "\n";
  }
#ifndef _WIN32
  out << "\nSpecial folders and their defaults (a Windows 7 system on C:):\n";
  ScriptedShell defaults;
  for (const FolderName& folder : kFolderNames) {
    out << "  " << folder.name << "\t" << defaults.GetSpecialFolder(folder.folder).value_or("(none)") << "\n";
  }
#else
  out << "\nSpecial folders: ";
  for (const FolderName& folder : kFolderNames) out << folder.name << " ";
  out << "(default: the system's own)\n";
#endif
}

std::optional<std::pair<std::string, std::string>> SplitAssignment(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return std::nullopt;
  return std::pair{text.substr(0, equals), text.substr(equals + 1)};
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

// Returns an error message, or empty when the arguments were understood.
std::string ParseArguments(const std::vector<std::string>& args, ToolOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto needValue = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--wow64") {
      options.wow64 = true;
    } else if (arg == "--include-removable") {
      options.includeRemovable = true;
    } else if (arg == "--include-cd") {
      options.includeCd = true;
    } else if (arg == "--stats") {
      options.stats = true;
    } else if (arg == "--no-speed-ups") {
      options.speedUps = false;
    } else if (arg == "--why") {
      options.why = true;
    } else if (arg == "--registry" || arg == "--drive" || arg == "--env" || arg == "--folder" ||
               arg == "--windows-version" || arg == "--categories" || arg == "--format" || arg == "--walk") {
      std::optional<std::string> value = needValue();
      if (!value) return arg + " needs a value";
      if (arg == "--registry") {
        options.registryFiles.push_back(*value);
      } else if (arg == "--walk") {
        const size_t separator = value->find('\\');
        if (!ParseRootName(value->substr(0, separator))) return "--walk takes a key beginning with a long root name";
        options.walkKey = *value;
      } else if (arg == "--drive") {
        options.drives.push_back(*value);
      } else if (arg == "--env") {
        auto pair = SplitAssignment(*value);
        if (!pair) return "--env takes NAME=VALUE";
        options.environment.push_back(*pair);
      } else if (arg == "--folder") {
        auto pair = SplitAssignment(*value);
        if (!pair) return "--folder takes NAME=PATH";
        const FolderName* found = nullptr;
        for (const FolderName& folder : kFolderNames) {
          if (SameText(folder.name, pair->first)) found = &folder;
        }
        if (!found) return "unknown special folder " + pair->first;
        options.folders.emplace_back(found->folder, pair->second);
      } else if (arg == "--windows-version") {
        const int code = CategoryCodeFromText(*value);
        if (!VersionForCode(code)) return "unknown Windows version code " + *value;
        options.windowsVersion = code;
      } else if (arg == "--categories") {
        for (const std::string& code : SplitList(*value)) {
          const int number = CategoryCodeFromText(code);
          if (!FindScanCategory(number)) return "unknown category " + code;
          options.categories.push_back(number);
        }
      } else if (*value != "tsv") {
        return "the only format is tsv";
      }
    } else {
      return "unknown argument " + arg;
    }
  }
  if (options.categories.empty() && !options.walkKey.empty()) options.categories.push_back(3);
  if (options.categories.empty()) {
    for (const ScanCategory& category : ScanCategories()) options.categories.push_back(category.code);
  }
  return {};
}

// Prints each row as it arrives and times each category; the scan thread is the only caller.
class PrintingSink final : public ScanSink {
 public:
  using Clock = std::chrono::steady_clock;
  explicit PrintingSink(bool why) : why_(why) {}
  void SetStatusText(const std::string&) override {}
  void ShowScannedKey(const std::string&) override {}
  void AddRow(const ProblemEntry& row) override {
    std::lock_guard lock(mutex_);
    std::cout << row.problem << '\t' << row.keyPath << '\t' << row.value << '\t' << static_cast<int>(row.action);
    if (why_) std::cout << '\t' << row.reason;
    std::cout << '\n';
    ++rows_;
  }
  void CategoryStarted() override {
    std::lock_guard lock(mutex_);
    categoryStarted_ = Clock::now();
  }
  void CategoryFinished() override {
    std::lock_guard lock(mutex_);
    categorySeconds_.push_back(std::chrono::duration<double>(Clock::now() - categoryStarted_).count());
  }
  void RunFinished() override {}
  void RunFailed(const std::string& message) override {
    std::lock_guard lock(mutex_);
    failure_ = message;
  }
  // The seconds of each category that ran to its end, in the order they ran.
  std::vector<double> CategorySeconds() const {
    std::lock_guard lock(mutex_);
    return categorySeconds_;
  }
  uint64_t Rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
  }
  std::string Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  const bool why_;
  mutable std::mutex mutex_;
  Clock::time_point categoryStarted_;
  std::vector<double> categorySeconds_;
  uint64_t rows_ = 0;
  std::string failure_;
};

std::string FormatSeconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.3f", seconds);
  return text;
}

int RunTool(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      PrintUsage(std::cout);
      return 0;
    }
  }
  ToolOptions options;
  if (std::string error = ParseArguments(args, options); !error.empty()) {
    std::cerr << "quillet-scan: " << error << "\n\n";
    PrintUsage(std::cerr);
    return 2;
  }

  memory::MemoryRegistry fixtureRegistry;
  FixedSystemInfo fixedSystem;
#ifdef _WIN32
  ScriptedShell scriptedShell;
  win32::Win32AnsiCodePage ansi;
  win32::Win32Registry liveRegistry(options.speedUps ? win32::ValueReads::OncePerOpen
                                                     : win32::ValueReads::PerQuestion);
  win32::Win32FileSystem baseFiles;
  win32::Win32Shell liveShell;
  win32::Win32SystemInfo liveSystem;
  RegistryStore& registry = options.registryFiles.empty() ? static_cast<RegistryStore&>(liveRegistry)
                                                          : static_cast<RegistryStore&>(fixtureRegistry);
  if (!options.drives.empty() || !options.environment.empty()) {
    std::cerr << "quillet-scan: --drive and --env belong to the host build; Windows has its own\n";
    return 2;
  }
  const bool scriptedFolders = !options.folders.empty();
  Shell& shell = scriptedFolders ? static_cast<Shell&>(scriptedShell) : static_cast<Shell&>(liveShell);
  const bool fixedVersion = options.windowsVersion.has_value() || options.wow64;
  SystemInfo& system = fixedVersion ? static_cast<SystemInfo&>(fixedSystem) : static_cast<SystemInfo&>(liveSystem);
  if (fixedVersion) fixedSystem.executableFolder(liveSystem.ExecutableFolder());
#else
  memory::Windows1252 ansi;
  RegistryStore& registry = fixtureRegistry;
  HostMappedFileSystem baseFiles;
  for (const std::string& drive : options.drives) {
    std::optional<DriveMapping> mapping = ParseDriveMapping(drive);
    if (!mapping) {
      std::cerr << "quillet-scan: --drive takes L=DIR[:fixed|cdrom|removable|remote], not " << drive << "\n\n";
      PrintUsage(std::cerr);
      return 2;
    }
    baseFiles.mapDrive(*mapping);
  }
  for (const auto& [name, value] : options.environment) baseFiles.env(name, value);
  // Shortcut targets are read from the .lnk files of the mapped drives.
  ScriptedShell scriptedShell(&baseFiles);
  Shell& shell = scriptedShell;
  SystemInfo& system = fixedSystem;
#endif
  for (const auto& [folder, path] : options.folders) scriptedShell.specialFolder(folder, path);
  const OsVersion version = *VersionForCode(options.windowsVersion.value_or(12));
  fixedSystem.osVersion(version.platform, version.major, version.minor).wow64(options.wow64);

  for (const std::string& file : options.registryFiles) {
    for (const memory::RegFileProblem& problem : memory::ReadRegFileFromPath(file, ansi, fixtureRegistry)) {
      std::cerr << "quillet-scan: " << file << ": " << memory::Describe(problem) << "\n";
      if (problem.line == 0) return 1;
    }
  }

  CountingFileSystem files(baseFiles);
  Platform platform;
  platform.registry = &registry;
  platform.files = &files;
  platform.shell = &shell;
  platform.system = &system;
  platform.ansi = &ansi;
  ScopedPlatform installed(platform);
  OptionsSetting.IncludeRemoveMedia = options.includeRemovable;
  OptionsSetting.IncludeCDdrive = options.includeCd;

  PrintingSink sink(options.why);
  const auto started = std::chrono::steady_clock::now();
  TScanTaskThread task(CurrentPlatform());
  task.CategoryCodes = options.categories;
  task.Sink = &sink;
  task.CacheProbes = options.speedUps;
  if (!options.walkKey.empty()) {
    const size_t separator = options.walkKey.find('\\');
    gWalkRoot = options.walkKey.substr(0, separator);
    gWalkPath = separator == std::string::npos ? std::string() : options.walkKey.substr(separator + 1);
    task.CategoryCodes.resize(1);
    task.ScannerFor = WalkScanner;
  }
  if (options.includeRemovable) {
    task.DriveAReady = files.IsVolumeReady("a:\\");
    task.DriveBReady = files.IsVolumeReady("b:\\");
  }
  task.Start();
  task.Wait();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout.flush();

  if (options.stats) {
    const std::vector<double> categorySeconds = sink.CategorySeconds();
    for (size_t i = 0; i < categorySeconds.size() && i < task.CategoryCodes.size(); ++i) {
      const ScanCategory* category = FindScanCategory(task.CategoryCodes[i]);
      std::cerr << "category " << task.CategoryCodes[i] << " " << (category ? category->caption : "") << ": "
                << FormatSeconds(categorySeconds[i]) << " s\n";
    }
    char line[256];
    std::snprintf(line, sizeof(line),
                  "categories %zu, keys opened %llu, values read %llu, probes %llu, rows %llu, seconds %.3f\n",
                  options.categories.size(), static_cast<unsigned long long>(task.Counters().keysOpened),
                  static_cast<unsigned long long>(task.Counters().valuesRead),
                  static_cast<unsigned long long>(files.Probes()), static_cast<unsigned long long>(sink.Rows()),
                  seconds);
    std::cerr << line;
  }
  if (!sink.Failure().empty()) {
    std::cerr << "quillet-scan: the scan ended early: " << sink.Failure() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace quillet

#ifdef _WIN32
#include "platform/win32/ToolArguments.h"
int main() { return quillet::RunTool(quillet::win32::ToolArguments()); }
#else
int main(int argc, char** argv) { return quillet::RunTool(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
