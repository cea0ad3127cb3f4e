#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "host/HostScratch.h"
#include "platform/memory/HostMappedFileSystem.h"

namespace quillet {
namespace {

struct MappingCase {
  const char* argument;
  bool valid;
  char letter;
  const char* folder;
  DriveType type;
};

TEST(HostMappedFileSystem, ParsesDriveArguments) {
  const MappingCase cases[] = {
      {"C=/srv/win/c", true, 'C', "/srv/win/c", DriveType::Fixed},
      {"d=/media/cd:cdrom", true, 'D', "/media/cd", DriveType::CdRom},
      {"E=/mnt/stick:Removable", true, 'E', "/mnt/stick", DriveType::Removable},
      {"N=/net/share:remote", true, 'N', "/net/share", DriveType::Remote},
      {"F=/odd:name", true, 'F', "/odd:name", DriveType::Fixed},
      {"G=/x:fixed", true, 'G', "/x", DriveType::Fixed},
      {"C=", false, 0, "", DriveType::Fixed},
      {"C=:cdrom", false, 0, "", DriveType::Fixed},
      {"CC=/x", false, 0, "", DriveType::Fixed},
      {"1=/x", false, 0, "", DriveType::Fixed},
      {"C/x", false, 0, "", DriveType::Fixed},
  };
  for (const auto& c : cases) {
    auto mapping = ParseDriveMapping(c.argument);
    ASSERT_EQ(mapping.has_value(), c.valid) << c.argument;
    if (!mapping) continue;
    EXPECT_EQ(mapping->letter, c.letter) << c.argument;
    EXPECT_EQ(mapping->hostFolder, std::filesystem::path(c.folder)) << c.argument;
    EXPECT_EQ(mapping->type, c.type) << c.argument;
  }
  EXPECT_EQ(ParseEnvironmentAssignment("SystemRoot=C:\\Windows"),
            (std::pair<std::string, std::string>{"SystemRoot", "C:\\Windows"}));
  EXPECT_EQ(ParseEnvironmentAssignment("EMPTY="), (std::pair<std::string, std::string>{"EMPTY", ""}));
  EXPECT_EQ(ParseEnvironmentAssignment("=x"), std::nullopt);
  EXPECT_EQ(ParseEnvironmentAssignment("novalue"), std::nullopt);
}

TEST(HostMappedFileSystem, FindsMixedCaseHostNamesAsWindowsWouldSeeThem) {
  testing::HostScratchFolder scratch;
  std::filesystem::create_directories(scratch.path() / "Program Files" / "Vendor App");
  std::ofstream(scratch.path() / "Program Files" / "Vendor App" / "Tool.EXE") << "MZ";
  std::ofstream(scratch.path() / ".hidden") << "";
  HostMappedFileSystem fs;
  fs.mapDrive(*ParseDriveMapping("c=" + scratch.path().string()));
  fs.mapDrive('d', scratch.path() / "Program Files", DriveType::CdRom);

  EXPECT_TRUE(fs.FileExists("c:\\PROGRAM FILES\\vendor app\\tool.exe"));
  EXPECT_TRUE(fs.FileExists("C:/program files/Vendor App/t*.exe"));
  EXPECT_TRUE(fs.FolderExists("C:\\program files\\VENDOR APP\\"));
  EXPECT_EQ(fs.ReadFile("C:\\Program Files\\vendor app\\TOOL.exe"), "MZ");
  EXPECT_EQ(fs.Resolve("C:\\program files\\vendor app\\tool.exe"),
            scratch.path() / "Program Files" / "Vendor App" / "Tool.EXE");
  EXPECT_TRUE(fs.FileExists("D:\\Vendor App\\Tool.exe"));
  EXPECT_EQ(fs.GetDriveType("D:\\"), DriveType::CdRom);
  EXPECT_EQ(fs.GetDriveType("E:\\"), DriveType::NoRootDir);
  EXPECT_FALSE(fs.FileExists("E:\\Vendor App\\Tool.exe"));

  auto entries = fs.ListFolder("C:\\");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, ".hidden");
  EXPECT_TRUE(entries[0].isHidden);
  EXPECT_EQ(entries[1].name, "Program Files");
  EXPECT_TRUE(entries[1].isFolder);
  EXPECT_EQ(fs.ProbeCount(), 5u);
}

TEST(HostMappedFileSystem, ListsSymbolicLinksAsReparsePoints) {
  testing::HostScratchFolder scratch;
  std::filesystem::create_directories(scratch.path() / "Real");
  std::filesystem::create_directory_symlink(scratch.path(), scratch.path() / "Loop");
  HostMappedFileSystem fs;
  fs.mapDrive('c', scratch.path());
  std::vector<FolderEntry> entries = fs.ListFolder("C:\\");
  ASSERT_EQ(entries.size(), 2u);
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  EXPECT_EQ(entries[0].name, "Loop");
  EXPECT_TRUE(entries[0].isFolder && entries[0].isReparsePoint);
  EXPECT_TRUE(entries[1].isFolder && !entries[1].isReparsePoint);
}

TEST(HostMappedFileSystem, WritesLandBesideTheExistingSpelling) {
  testing::HostScratchFolder scratch;
  std::filesystem::create_directories(scratch.path() / "Data");
  std::ofstream(scratch.path() / "Data" / "Log.txt") << "one ";
  HostMappedFileSystem fs;
  fs.mapDrive('C', scratch.path());
  EXPECT_TRUE(fs.AppendFile("C:\\DATA\\LOG.TXT", "two"));
  EXPECT_TRUE(fs.WriteFile("C:\\data\\New.txt", "new"));
  EXPECT_TRUE(fs.CreateFolderTree("C:\\data\\Deep\\Er"));
  EXPECT_EQ(fs.ReadFile("C:\\Data\\Log.txt"), "one two");
  EXPECT_TRUE(std::filesystem::exists(scratch.path() / "Data" / "New.txt"));
  EXPECT_TRUE(std::filesystem::is_directory(scratch.path() / "Data" / "Deep" / "Er"));
  EXPECT_FALSE(std::filesystem::exists(scratch.path() / "DATA"));
}

}  // namespace
}  // namespace quillet
