#include <gtest/gtest.h>

#include "ScanFixture.h"
#include "platform/ProbeCacheFileSystem.h"
#include "scan/FilesAndFoldersScans.h"

namespace quillet::testing {
namespace {

TEST(ProbeCache, AsksOncePerPathWhateverItsCase) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\Dir\\App.exe");
  ProbeCacheFileSystem cache(fs);
  EXPECT_TRUE(cache.FileExists("C:\\Dir\\App.exe"));
  EXPECT_TRUE(cache.FileExists("c:\\DIR\\app.EXE"));
  EXPECT_FALSE(cache.FileExists("C:\\Dir\\Gone.exe"));
  EXPECT_FALSE(cache.FileExists("c:\\dir\\gone.exe"));
  EXPECT_EQ(fs.ProbeCount(), 2u);
}

TEST(ProbeCache, KeepsTheFileAndTheFolderQuestionApart) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').folder("C:\\Dir").file("C:\\Dir\\App.exe");
  ProbeCacheFileSystem cache(fs);
  EXPECT_FALSE(cache.FileExists("C:\\Dir"));
  EXPECT_TRUE(cache.FolderExists("C:\\Dir"));
  EXPECT_TRUE(cache.FileExists("C:\\Dir\\App.exe"));
  EXPECT_FALSE(cache.FolderExists("C:\\Dir\\App.exe"));
  EXPECT_FALSE(cache.FileExists("C:\\DIR"));
  EXPECT_TRUE(cache.FolderExists("c:\\dir"));
  EXPECT_EQ(fs.ProbeCount(), 4u);
}

TEST(ProbeCache, AWriteThroughItForgetsEveryAnswer) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').folder("C:\\Dir");
  ProbeCacheFileSystem cache(fs);
  EXPECT_FALSE(cache.FileExists("C:\\Dir\\new.txt"));
  ASSERT_TRUE(cache.WriteFile("C:\\Dir\\new.txt", "x"));
  EXPECT_TRUE(cache.FileExists("C:\\Dir\\new.txt"));
  ASSERT_TRUE(cache.DeleteFile("C:\\Dir\\new.txt"));
  EXPECT_FALSE(cache.FileExists("C:\\Dir\\new.txt"));
  ASSERT_TRUE(cache.CreateFolderTree("C:\\Dir\\new.txt"));
  EXPECT_TRUE(cache.FolderExists("C:\\Dir\\new.txt"));
}

TEST(ProbeCache, StaysWithinItsCapacityAndStillAnswersRight) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\a").file("C:\\b");
  ProbeCacheFileSystem cache(fs, 2);
  EXPECT_TRUE(cache.FileExists("C:\\a"));
  EXPECT_TRUE(cache.FileExists("C:\\b"));
  EXPECT_FALSE(cache.FileExists("C:\\c"));
  EXPECT_LE(cache.Size(), 2u);
  EXPECT_TRUE(cache.FileExists("C:\\a"));
  EXPECT_TRUE(cache.FileExists("C:\\b"));
  EXPECT_EQ(fs.ProbeCount(), 5u);
}

// The same command line in many keys costs the probes of one key in a scan.
TEST(ProbeAnswerTable, PathsOfTheSameHashStayApartUntilCleared) {
  ProbeAnswerTable table(4);
  constexpr uint64_t kSameHash = 7;
  EXPECT_EQ(table.Find("C:\\A", kSameHash), nullptr) << "a table that holds nothing yet";
  table.Insert("C:\\A", kSameHash, 1);
  table.Insert("C:\\B", kSameHash, 2);
  table.Insert("", kSameHash, 3);
  ASSERT_NE(table.Find("C:\\A", kSameHash), nullptr);
  ASSERT_NE(table.Find("C:\\B", kSameHash), nullptr);
  ASSERT_NE(table.Find("", kSameHash), nullptr);
  EXPECT_EQ(*table.Find("C:\\A", kSameHash), 1);
  EXPECT_EQ(*table.Find("C:\\B", kSameHash), 2);
  EXPECT_EQ(*table.Find("", kSameHash), 3);
  EXPECT_EQ(table.Find("C:\\C", kSameHash), nullptr);
  EXPECT_EQ(table.Find("C:\\A", kSameHash + 1), nullptr);
  table.Insert("C:\\D", kSameHash, 4);
  EXPECT_TRUE(table.Full());
  table.Clear();
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table.Find("C:\\A", kSameHash), nullptr);
}

TEST(ProbeCache, AScanProbesEachPathOnce) {
  ScanFixture f;
  f.fs.file("C:\\Tools\\tool.exe");
  for (int i = 0; i < 50; ++i) {
    f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor\\Key" + std::to_string(i))
        .str("Command", "C:\\Tools\\tool /quiet")
        .str("Gone", "C:\\Missing\\Folder\\app.exe");
  }
  f.flags.CacheProbes = false;
  const uint64_t start = f.fs.ProbeCount();
  const std::vector<ProblemEntry> plain = f.Run(ScanFilesAndFolders, 3);
  const uint64_t plainProbes = f.fs.ProbeCount() - start;
  f.flags.CacheProbes = true;
  const std::vector<ProblemEntry> both = f.Run(ScanFilesAndFolders, 3);  // the sink keeps the first run's rows
  const std::vector<ProblemEntry> cached(both.begin() + static_cast<long>(plain.size()), both.end());
  const uint64_t cachedProbes = f.fs.ProbeCount() - start - plainProbes;
  EXPECT_EQ(cached, plain);
  EXPECT_EQ(cached.size(), 50u);
  EXPECT_EQ(cachedProbes * 50, plainProbes);
}

// Each scan starts with an empty cache, so what changed on disk since the last scan shows.
TEST(ProbeCache, ALaterScanSeesFilesThatAppearedSince) {
  ScanFixture f;
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "C:\\Vendor\\app.exe");
  EXPECT_EQ(f.Run(ScanFilesAndFolders, 3).size(), 1u);
  f.fs.file("C:\\Vendor\\app.exe");
  EXPECT_EQ(f.Run(ScanFilesAndFolders, 3).size(), 1u) << "the second scan found the file missing again";
}

}  // namespace
}  // namespace quillet::testing
