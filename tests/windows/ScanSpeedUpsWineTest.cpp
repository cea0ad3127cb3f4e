// The full scan over Wine's registry with a generated tree seeded into it (and the files it
// names made under C:\), once asking the registry and the file system every question anew and
// once with the speed-ups: the same rows in the same order.
#include <gtest/gtest.h>

#include "LiveScan.h"
#include "SyntheticLiveSeeder.h"
#include "SyntheticRegistry.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32.h"

namespace quillet::testing {
namespace {

constexpr const char* kBase = "Software\\QuilletTests\\SpeedUps";

// Seeds the tree and its files; takes both away again.
class SeededTree {
 public:
  SeededTree() {
    Remove();
    bench::SyntheticShape shape;
    shape.seed = 11;
    shape.keys = 4000;
    shape.values = 6800;
    shape.baseKey = std::string("HKEY_CURRENT_USER\\") + kBase;
    summary = bench::GenerateSyntheticRegistry(shape, seeder_);
    seeder_.CloseKeys();
  }
  ~SeededTree() {
    seeder_.RemoveMadeFiles();
    Remove();
  }
  uint64_t Failures() const { return seeder_.Failures(); }
  bench::SyntheticSummary summary;

 private:
  static void Remove() { ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(kBase).c_str()); }
  bench::SyntheticLiveSeeder seeder_;
};

struct Scanned {
  std::vector<ProblemEntry> rows;
  std::vector<std::string> events;
};

Scanned FullScan(bool speedUps) {
  std::vector<std::string> codes;
  for (int code = 1; code <= 23; ++code) codes.push_back(std::to_string(code));
  LiveScanResult result = RunLiveScan(std::move(codes), {speedUps ? win32::ValueReads::OncePerOpen : win32::ValueReads::PerQuestion, speedUps});
  return {std::move(result.rows), std::move(result.events)};
}

TEST(ScanSpeedUpsWine, TheFullScanFindsTheSameRowsInTheSameOrder) {
  SeededTree tree;
  ASSERT_EQ(tree.Failures(), 0u);
  const Scanned plain = FullScan(false);
  const Scanned fast = FullScan(true);
  EXPECT_EQ(plain.events.back(), "close");
  ASSERT_EQ(fast.rows.size(), plain.rows.size());
  EXPECT_TRUE(fast.rows == plain.rows);
  EXPECT_TRUE(fast.events == plain.events) << "the key lines and category steps differ";
  size_t seededRows = 0;
  for (const ProblemEntry& row : fast.rows) seededRows += row.keyPath.find("\\QuilletTests\\SpeedUps\\") != std::string::npos;
  EXPECT_GT(seededRows, 10u) << "the generated tree gave nothing to compare";
}

}  // namespace
}  // namespace quillet::testing
