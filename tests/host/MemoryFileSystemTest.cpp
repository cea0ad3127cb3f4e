#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/memory/MemoryFileSystem.h"

namespace quillet {
namespace {

TEST(MemoryFileSystem, DrivesReportTheTypeAndReadinessTheyWereGiven) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').cdromDrive('d', false).removableDrive('e').remoteDrive('n').drive('r', DriveType::RamDisk);
  EXPECT_EQ(fs.GetDriveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(fs.GetDriveType("d:\\"), DriveType::CdRom);
  EXPECT_EQ(fs.GetDriveType("E:"), DriveType::Removable);
  EXPECT_EQ(fs.GetDriveType("N:\\"), DriveType::Remote);
  EXPECT_EQ(fs.GetDriveType("R:\\"), DriveType::RamDisk);
  EXPECT_EQ(fs.GetDriveType("Q:\\"), DriveType::NoRootDir);
  EXPECT_EQ(fs.GetDriveType("C:\\Windows"), DriveType::NoRootDir);
  EXPECT_TRUE(fs.IsVolumeReady("c:\\"));
  EXPECT_FALSE(fs.IsVolumeReady("D:\\"));
  EXPECT_TRUE(fs.IsVolumeReady("E:\\"));
  EXPECT_FALSE(fs.IsVolumeReady("Q:\\"));
}

TEST(MemoryFileSystem, ADriveWithoutMediaShowsNothing) {
  MemoryFileSystem fs;
  fs.cdromDrive('d').file("D:\\Setup\\setup.exe");
  ASSERT_TRUE(fs.FileExists("D:\\Setup\\setup.exe"));
  fs.cdromDrive('d', false);
  EXPECT_FALSE(fs.FileExists("D:\\Setup\\setup.exe"));
  EXPECT_FALSE(fs.FolderExists("D:\\"));
  EXPECT_EQ(fs.ReadFile("D:\\Setup\\setup.exe"), std::nullopt);
  EXPECT_FALSE(fs.CreateFolderTree("D:\\New"));
}

TEST(MemoryFileSystem, BuilderRefusesPathsOnUndeclaredDrives) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\Dir\\app.exe");
  EXPECT_THROW(fs.file("E:\\x.txt"), std::invalid_argument);
  EXPECT_THROW(fs.folder("C:\\Dir\\app.exe\\Sub"), std::invalid_argument);
  EXPECT_THROW(fs.file("C:\\Dir"), std::invalid_argument);
  EXPECT_THROW(fs.attributes("C:\\Missing", {}), std::invalid_argument);
}

TEST(MemoryFileSystem, InjectedWriteFailuresFailEveryWrite) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\Dir\\a.txt", "old").failWrites();
  EXPECT_FALSE(fs.WriteFile("C:\\Dir\\a.txt", "new"));
  EXPECT_FALSE(fs.AppendFile("C:\\Dir\\a.txt", "new"));
  EXPECT_FALSE(fs.CopyFile("C:\\Dir\\a.txt", "C:\\Dir\\b.txt", false));
  EXPECT_FALSE(fs.CreateFolderTree("C:\\Dir\\New"));
  EXPECT_TRUE(fs.CreateFolderTree("C:\\Dir")) << "an existing folder needs no write";
  EXPECT_EQ(fs.ReadFile("C:\\Dir\\a.txt"), std::string("old"));
  EXPECT_FALSE(fs.FileExists("C:\\Dir\\b.txt"));
  fs.failWrites(false);
  EXPECT_TRUE(fs.WriteFile("C:\\Dir\\a.txt", "new"));
}

TEST(MemoryFileSystem, ARefusedDeleteLeavesTheFileWhateverTheSpelling) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\Dir\\keep.txt").file("C:\\Dir\\drop.txt").refuseDelete("c:\\dir\\KEEP.TXT");
  EXPECT_FALSE(fs.DeleteFile("C:\\Dir\\keep.txt"));
  EXPECT_FALSE(fs.DeleteFile("C:/DIR/./keep.txt"));
  EXPECT_TRUE(fs.FileExists("C:\\Dir\\keep.txt"));
  EXPECT_TRUE(fs.DeleteFile("C:\\Dir\\drop.txt"));
}

TEST(MemoryFileSystem, WritesTakeTheClockAndListingsTheAttributes) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').folder("C:\\Dir").clock(1500000000);
  ASSERT_TRUE(fs.WriteFile("C:\\Dir\\new.txt", "abc"));
  EXPECT_EQ(fs.GetFileDetails("C:\\Dir\\new.txt")->lastWriteTime, 1500000000);
  fs.file("C:\\Dir\\secret.sys").attributes("C:\\Dir\\secret.sys", {.hidden = true, .system = true});
  auto entries = fs.ListFolder("C:\\Dir", "*.sys");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].isHidden);
  EXPECT_TRUE(entries[0].isSystem);
  EXPECT_FALSE(entries[0].isReadOnly);
}

TEST(MemoryFileSystem, CountsProbesAndReads) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').file("C:\\a.txt");
  fs.FileExists("C:\\a.txt");
  fs.FileExists("C:\\b.txt");
  fs.FolderExists("C:\\");
  fs.ListFolder("C:\\");
  fs.ReadFile("C:\\missing.txt");
  EXPECT_EQ(fs.ProbeCount(), 3u);
  EXPECT_EQ(fs.ReadCount(), 1u);
}

TEST(MemoryFileSystem, DumpShowsDrivesTreeAndEnvironment) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').removableDrive('e', false).file("C:\\Dir\\app.exe", "MZ").folder("C:\\Dir\\Sub");
  fs.attributes("C:\\Dir\\app.exe", {.readOnly = true}).env("SystemRoot", "C:\\Windows").refuseDelete("C:\\Dir\\app.exe");
  EXPECT_EQ(fs.Dump(),
            "drives:\n"
            "  C: fixed\n"
            "  E: removable, not ready\n"
            "C:\\\n"
            "C:\\Dir\\\n"
            "C:\\Dir\\app.exe (2 bytes) read-only\n"
            "C:\\Dir\\Sub\\\n"
            "E:\\\n"
            "environment:\n"
            "  SystemRoot=C:\\Windows\n"
            "delete refused: C:\\DIR\\APP.EXE\n");
}

TEST(MemoryFileSystem, ConcurrentProbesAndWritesStayConsistent) {
  MemoryFileSystem fs;
  fs.fixedDrive('c').folder("C:\\Dir").file("C:\\Dir\\fixed.dll");
  std::atomic<bool> missed{false};
  std::vector<std::thread> threads;
  for (int reader = 0; reader < 3; ++reader) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        if (!fs.FileExists("C:\\Dir\\fixed.dll") || !fs.FolderExists("C:\\Dir")) missed = true;
        fs.FileExists("C:\\Dir\\log*.txt");
        fs.ListFolder("C:\\Dir");
      }
    });
  }
  threads.emplace_back([&] {
    for (int i = 0; i < 2000; ++i) fs.AppendFile("C:\\Dir\\log" + std::to_string(i % 7) + ".txt", "x");
  });
  for (auto& thread : threads) thread.join();
  EXPECT_FALSE(missed);
  EXPECT_EQ(fs.ProbeCount(), 3u * 2000u * 3u);
  EXPECT_EQ(fs.ReadFile("C:\\Dir\\log0.txt")->size(), 286u);
}

}  // namespace
}  // namespace quillet
