#include <gtest/gtest.h>

#include "RecordingSink.h"
#include "ScanFixture.h"
#include "SyntheticMemoryLoader.h"
#include "SyntheticRegistry.h"
#include "platform/CountingFileSystem.h"
#include "scan/ScanTask.h"

namespace quillet::testing {
namespace {

struct ScanOutcome {
  std::vector<ProblemEntry> rows;
  std::vector<std::string> events;
  uint64_t probes = 0;
};

// Every category, as the scan command runs them, over the whole generated registry.
ScanOutcome FullScan(ScanFixture& f, bool speedUps) {
  CountingFileSystem counting(f.fs);
  Platform platform = CurrentPlatform();
  platform.files = &counting;
  ScopedPlatform installed(platform);
  RecordingSink sink;
  TScanTaskThread task(CurrentPlatform());
  for (int code = 1; code <= 23; ++code) task.CategoryCodes.push_back(code);
  task.Sink = &sink;
  task.CacheProbes = speedUps;
  task.Run();
  return {sink.Rows(), sink.Events(), counting.Probes()};
}

TEST(ScanSpeedUps, TheFullScanFindsTheSameRowsInTheSameOrder) {
  for (int windowsMinor : {1, 2}) {  // Windows 7 and 8, with their different skip lists
    SCOPED_TRACE("Windows 6." + std::to_string(windowsMinor));
    ScanFixture f;
    f.fs.env("SystemRoot", bench::kSyntheticSystemRoot).env("ProgramFiles", bench::kSyntheticProgramFiles);
    f.system.osVersion(PlatformId::WindowsNt, 6, windowsMinor);
    bench::SyntheticMemoryLoader loader(f.reg, f.fs);
    bench::SyntheticShape shape;
    shape.seed = 7;
    shape.keys = 40000;
    shape.values = 70000;
    const bench::SyntheticSummary summary = bench::GenerateSyntheticRegistry(shape, loader);
    ASSERT_EQ(summary.keys, shape.keys);
    ASSERT_EQ(summary.values, shape.values);

    const ScanOutcome plain = FullScan(f, false);
    const ScanOutcome fast = FullScan(f, true);
    ASSERT_EQ(fast.rows.size(), plain.rows.size());
    EXPECT_TRUE(fast.rows == plain.rows);
    EXPECT_TRUE(fast.events == plain.events) << "the key lines and category steps differ";
    // A generated registry this size has missing references in every part, so there is
    // something to compare, and the cache must have been in the way of the probes.
    EXPECT_GT(plain.rows.size(), 100u);
    EXPECT_LT(fast.probes * 2, plain.probes);
  }
}

TEST(SyntheticRegistry, TheSameSeedGivesTheSameRegistryAndAnotherSeedAnother) {
  auto dump = [](uint64_t seed) {
    ScanFixture f;
    bench::SyntheticMemoryLoader loader(f.reg, f.fs);
    bench::SyntheticShape shape;
    shape.seed = seed;
    shape.keys = 3000;
    shape.values = 5000;
    shape.baseKey = "HKEY_CURRENT_USER\\Software\\Bench";
    bench::GenerateSyntheticRegistry(shape, loader);
    return f.reg.Dump() + f.fs.Dump();
  };
  EXPECT_EQ(dump(3), dump(3));
  EXPECT_NE(dump(3), dump(4));
}

TEST(SyntheticRegistry, HasTheRequestedSizeAndARealisticMix) {
  ScanFixture f;
  bench::SyntheticMemoryLoader loader(f.reg, f.fs);
  bench::SyntheticShape shape;
  shape.keys = 20000;
  shape.values = 34000;
  const bench::SyntheticSummary summary = bench::GenerateSyntheticRegistry(shape, loader);
  EXPECT_EQ(summary.keys, 20000u);
  EXPECT_EQ(summary.values, 34000u);
  const double strings = static_cast<double>(summary.stringValues);
  EXPECT_NEAR(strings / static_cast<double>(summary.values), 0.6, 0.1);
  EXPECT_NEAR(static_cast<double>(summary.pathValues) / strings, 0.2, 0.05);
  EXPECT_GT(summary.missingReferences, summary.pathValues / 100);
  EXPECT_LT(summary.missingReferences, summary.pathValues / 10);
  EXPECT_GE(summary.maxDepth, 8u);
}

}  // namespace
}  // namespace quillet::testing
