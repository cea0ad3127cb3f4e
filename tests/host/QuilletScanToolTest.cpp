// Runs the host scan tool as a user would, over a .reg fixture and a host folder as drive C:.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace quillet::testing {
namespace {

namespace fs = std::filesystem;

struct ToolResult {
  int exitCode;
  std::string output;
};

ToolResult RunTool(const std::string& arguments) {
  const std::string command = std::string(QUILLET_HOST_TOOLS_DIR) + "/quillet-scan " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof(buffer), pipe)) output.append(buffer, read);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class QuilletScanTool : public ::testing::Test {
 protected:
  void SetUp() override {
    drive = fs::temp_directory_path() / ("quillet-scan-" + std::to_string(::getpid()));
    fs::create_directories(drive / "apps");
    fs::create_directories(drive / "windows" / "system32");
    fs::create_directories(drive / "windows" / "fonts");
    for (const char* file : {"apps/Present.exe", "apps/tool.exe", "apps/shared.dll", "apps/unused.dll",
                             "apps/present.hlp", "windows/fonts/arial.ttf"}) {
      std::ofstream(drive / file) << "x";
    }
  }
  void TearDown() override { fs::remove_all(drive); }

  std::string Fixture() const { return std::string(QUILLET_TEST_DATA) + "/scan/software.reg"; }
  std::string DriveC() const { return "--drive c=" + drive.string() + ":fixed --env SystemRoot=C:\\\\Windows"; }

  fs::path drive;
};

TEST_F(QuilletScanTool, PrintsTheRowsOfTheSoftwareLocationCategories) {
  ToolResult result = RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 6,7,8,9 --format tsv");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  const std::string lm = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows";
  EXPECT_EQ(result.output,
            "Software Locations Issue\t" + lm + "\\CurrentVersion\\App Paths\\gone.exe\t\"C:\\Apps\\gone.exe\" -x\t0\n"
            // The path is cut right after the key name, so "tool" does not find tool.exe.
            "Software Locations Issue\t" + lm + "\\CurrentVersion\\App Paths\\tool\tC:\\Apps\\tool -run\t0\n"
            "Fonts Issue\t" + lm + " NT\\CurrentVersion\\Fonts\\Lost (TrueType)\tC:\\Fonts2\\lost.ttf\t1\n"
            "Invalid Help Files\t" + lm + "\\Help\\gone.hlp\tC:\\Apps\\gone.hlp\t1\n"
            "Missing Shared Dlls\t" + lm + "\\CurrentVersion\\SharedDlls\tC:\\Apps\\unused.dll\t2\n"
            "Missing Shared Dlls\t" + lm + "\\CurrentVersion\\SharedDlls\tC:\\Apps\\missing.dll\t2\n"
            "Missing Shared Dlls\t" + lm + "\\CurrentVersion\\SharedDlls\t%SystemRoot%\\System32\\gone.dll\t2\n");
}

TEST_F(QuilletScanTool, PrintsTheRowsOfTheRegistryWideCategories) {
  ToolResult result = RunTool("--registry " + std::string(QUILLET_TEST_DATA) + "/scan/registry-wide.reg --drive c=" +
                              drive.string() + " --categories 3,4,5,10,11,12,13,14,23");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  const std::string version = "\\Software\\Microsoft\\Windows\\CurrentVersion";
  EXPECT_EQ(result.output,
            "Invalid File or Folder\tHKEY_CURRENT_USER\\Software\\Vendor\\Documents\\Last\tC:\\Docs\\gone.txt\t1\n"
            "Invalid File or Folder\tHKEY_USERS\\S-1-5-21-1\\Software\\Vendor\\Path\tC:\\Old\\old.exe\t1\n"
            "Missing Startup Programs\tHKEY_CURRENT_USER" + version + "\\Run\\Gone\tC:\\Apps\\gone.exe /tray\t1\n"
            "Add/Remove Programs Issue\tHKEY_LOCAL_MACHINE" + version + "\\Uninstall\tLeftover\t3\n"
            "Obsolete Software Key\tHKEY_CURRENT_USER\\Software\tEmptyVendor\t3\n");
}

TEST_F(QuilletScanTool, ReadsShortcutTargetsFromTheLinkFilesOfTheMappedDrive) {
  const fs::path desktop = drive / "Users" / "User" / "Desktop";
  fs::create_directories(desktop);
  fs::copy_file(std::string(QUILLET_TEST_DATA) + "/shortcuts/documented-sample-a-txt.lnk", desktop / "A.lnk");
  ToolResult result = RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 17");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output, "Missing ShortCut reference\tC:\\Users\\User\\Desktop\\A.lnk\tC:\\test\\a.txt\t4\n");

  fs::create_directories(drive / "test");
  std::ofstream(drive / "test" / "a.txt") << "x";
  EXPECT_EQ(RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 17").output, "");
}

TEST_F(QuilletScanTool, CategoriesWithoutScannersPrintNothing) {
  ToolResult result = RunTool("--registry " + Fixture() + " --categories 1,2 --format tsv");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "");
}

TEST_F(QuilletScanTool, StatsTimeEachCategoryAndCountTheWork) {
  ToolResult result = RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 9,6 --stats");
  const size_t nine = result.output.find("\ncategory 9 ");
  const size_t six = result.output.find("\ncategory 6 ");
  ASSERT_NE(nine, std::string::npos) << result.output;
  EXPECT_LT(nine, six) << "in the order they ran";
  EXPECT_NE(result.output.find(" s\ncategories 2, keys opened"), std::string::npos) << "the summary comes last";
  result = RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 9 --stats");
  EXPECT_NE(result.output.find("categories 1, keys opened 1, values read 2, probes"), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find(", rows 3, seconds "), std::string::npos) << result.output;
}

TEST_F(QuilletScanTool, WhyAddsTheReasonAsAFifthColumn) {
  ToolResult result = RunTool("--registry " + Fixture() + " " + DriveC() + " --categories 9 --why");
  const std::string key = "Missing Shared Dlls\tHKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\t";
  EXPECT_EQ(result.output, key + "C:\\Apps\\unused.dll\t2\tno program uses this shared file any more (use count 0)\n" + key +
                               "C:\\Apps\\missing.dll\t2\tC:\\Apps\\missing.dll does not exist\n" + key +
                               "%SystemRoot%\\System32\\gone.dll\t2\tC:\\Windows\\System32\\gone.dll does not exist\n");
}

// The walk of one key applies no skip list (category 3 would pass over App Paths), and the speed-ups
// change the probes it costs, never its rows.
TEST_F(QuilletScanTool, WalksOneKeyWithAndWithoutTheSpeedUps) {
  const std::string walk = "--registry " + Fixture() + " " + DriveC() +
                           " --walk 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths'";
  ToolResult fast = RunTool(walk);
  ToolResult plain = RunTool(walk + " --no-speed-ups");
  EXPECT_EQ(fast.exitCode, 0) << fast.output;
  EXPECT_EQ(fast.output,
            "Invalid File or Folder\tHKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"
            "\\gone.exe\\\t\"C:\\Apps\\gone.exe\" -x\t1\n");
  EXPECT_EQ(plain.output, fast.output);
}

TEST_F(QuilletScanTool, BadArgumentsGetUsageAndExitCode2) {
  for (const char* arguments : {"--categories 6,99", "--windows-version 2", "--drive nonsense", "--format csv",
                                "--registry", "--what", "--walk HKEY_NOWHERE\\Key"}) {
    ToolResult result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_NE(result.output.find("usage: quillet-scan"), std::string::npos) << arguments;
  }
}

TEST_F(QuilletScanTool, MissingRegistryFileIsAnError) {
  ToolResult result = RunTool("--registry /nonexistent/x.reg --categories 6");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.output.find("/nonexistent/x.reg"), std::string::npos);
}

}  // namespace
}  // namespace quillet::testing
