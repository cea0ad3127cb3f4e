// The Files and Folders scans (categories 3, 4 and 5) over the synthetic registry in memory, on
// one thread, once without and once with the scan's speed-ups. Reports per run: wall and CPU
// seconds, keys and values (every value of the walked keys) per CPU second, that is per core,
// probes per string value, rows, and the scan's peak memory above the loaded registry.
//   bench-files-and-folders [--keys N] [--values N] [--seed S]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "SyntheticMemoryLoader.h"
#include "SyntheticRegistry.h"
#include "platform/CountingFileSystem.h"
#include "platform/Platform.h"
#include "platform/memory/FixedSystemInfo.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedShell.h"
#include "scan/ScanSink.h"
#include "scan/ScanTask.h"
#include "settings/OptionsSetting.h"

namespace {

using namespace quillet;

// Keeps the rows, as the problem list does; nothing else.
class KeepingSink final : public ScanSink {
 public:
  void SetStatusText(const std::string&) override {}
  void ShowScannedKey(const std::string&) override {}
  void AddRow(const ProblemEntry& row) override { rows.push_back(row); }
  void CategoryStarted() override {}
  void CategoryFinished() override {}
  void RunFinished() override {}
  void RunFailed(const std::string& message) override { failure = message; }
  std::vector<ProblemEntry> rows;
  std::string failure;
};

// Resident and peak resident memory in KiB, from /proc; writing 5 to clear_refs starts a new peak.
long StatusKib(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return -1;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct RunFigures {
  double seconds = 0;
  double cpuSeconds = 0;
  ScanCounters counters;
  uint64_t probes = 0;
  std::vector<ProblemEntry> rows;
  long peakAboveStartKib = 0;
};

RunFigures RunScan(CountingFileSystem& files, bool speedUps) {
  KeepingSink sink;
  TScanTaskThread task(CurrentPlatform());
  task.CategoryCodes = {3, 4, 5};
  task.Sink = &sink;
  task.CacheProbes = speedUps;
  const uint64_t probesBefore = files.Probes();
  const long residentBefore = StatusKib("VmRSS:");
  ResetPeak();
  const double cpuStarted = CpuSeconds();
  const auto started = std::chrono::steady_clock::now();
  task.Run();
  RunFigures figures;
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  figures.cpuSeconds = CpuSeconds() - cpuStarted;
  figures.peakAboveStartKib = StatusKib("VmHWM:") - residentBefore;
  figures.counters = task.Counters();
  figures.probes = files.Probes() - probesBefore;
  figures.rows = std::move(sink.rows);
  if (!sink.failure.empty()) std::fprintf(stderr, "the scan failed: %s\n", sink.failure.c_str());
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  bench::SyntheticShape shape;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--keys") shape.keys = std::stoull(argv[i + 1]);
    else if (arg == "--values") shape.values = std::stoull(argv[i + 1]);
    else if (arg == "--seed") shape.seed = std::stoull(argv[i + 1]);
  }

  memory::MemoryRegistry reg;
  MemoryFileSystem fs;
  fs.fixedDrive('c').env("SystemRoot", bench::kSyntheticSystemRoot).env("ProgramFiles", bench::kSyntheticProgramFiles);
  const long residentEmpty = StatusKib("VmRSS:");
  bench::SyntheticMemoryLoader loader(reg, fs);
  const auto loadStarted = std::chrono::steady_clock::now();
  const bench::SyntheticSummary summary = bench::GenerateSyntheticRegistry(shape, loader);
  const double loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStarted).count();

  CountingFileSystem files(fs);
  FixedSystemInfo system;
  system.osVersion(PlatformId::WindowsNt, 5, 1);  // no version skips: every key is walked
  ScriptedShell shell(&fs);
  Platform platform;
  platform.registry = &reg;
  platform.files = &files;
  platform.shell = &shell;
  platform.system = &system;
  ScopedPlatform installed(platform);
  OptionsSetting = TOptionsSetting();

  std::printf("registry: %llu keys, %llu values, %llu strings (%llu path-like), %llu files; depth mean %.1f max %u; "
              "generated and loaded in %.1f s, %ld MiB resident\n",
              static_cast<unsigned long long>(summary.keys), static_cast<unsigned long long>(summary.values),
              static_cast<unsigned long long>(summary.stringValues),
              static_cast<unsigned long long>(summary.pathValues), static_cast<unsigned long long>(summary.files),
              static_cast<double>(summary.depthSum) / static_cast<double>(summary.keys), summary.maxDepth,
              loadSeconds, (StatusKib("VmRSS:") - residentEmpty) / 1024);

  std::printf("%-10s %6s %6s %10s %11s %9s %8s %7s %12s\n", "run", "wall s", "cpu s", "keys/s", "values/s", "probes",
              "per str", "rows", "peak scan");
  std::vector<ProblemEntry> firstRows;
  for (bool speedUps : {false, true}) {
    RunFigures figures = RunScan(files, speedUps);
    const double strings = static_cast<double>(figures.counters.valuesRead);
    std::printf("%-10s %6.2f %6.2f %10.0f %11.0f %9llu %8.2f %7zu %8ld KiB\n", speedUps ? "speed-ups" : "plain",
                figures.seconds, figures.cpuSeconds, static_cast<double>(figures.counters.keysOpened) / figures.cpuSeconds,
                static_cast<double>(summary.values) / figures.cpuSeconds, static_cast<unsigned long long>(figures.probes),
                strings > 0 ? static_cast<double>(figures.probes) / strings : 0.0, figures.rows.size(),
                figures.peakAboveStartKib);
    if (!speedUps) {
      firstRows = std::move(figures.rows);
    } else if (figures.rows != firstRows) {
      std::printf("the rows differ between the two runs\n");
      return 1;
    }
  }
  std::printf("rows identical in both runs\n");
  return 0;
}
