#include <gtest/gtest.h>

#include <algorithm>

#include "ScanFixture.h"
#include "scan/ObsoleteEmptyKeyScans.h"

namespace quillet::testing {
namespace {

constexpr const char* kObsolete = "Obsolete Software Key";
constexpr const char* kEmpty = "Empty Registry Keys";
constexpr const char* kProfile = "HKEY_USERS\\S-1-5-21-100";

ProblemEntry Row(std::string problem, std::string keyPath, std::string value) {
  return ProblemEntry{std::move(problem), std::move(keyPath), std::move(value), RepairAction::DeleteNamedSubkey, false};
}

TEST(ScanObsoleteSoftware, ReportsDirectSubkeysOfSoftwareWhoseTreeHoldsNothing) {
  ScanFixture f;
  f.reg.key("HKEY_CURRENT_USER\\Software\\Chain\\Product\\1.0");
  f.reg.key("HKEY_CURRENT_USER\\Software\\DefaultOnly").str("", "");
  f.reg.key("HKEY_CURRENT_USER\\Software\\Deep\\Product\\1.0").dword("Installed", 1);
  f.reg.key("HKEY_CURRENT_USER\\Software\\Lone");
  f.reg.key("HKEY_CURRENT_USER\\Software\\TwoEmpty\\A");
  f.reg.key("HKEY_CURRENT_USER\\Software\\TwoEmpty\\B");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Microsoft");
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "C:\\Vendor");

  EXPECT_EQ(f.Run(ScanObsoleteSoftware, 14),
            (std::vector<ProblemEntry>{
                Row(kObsolete, "HKEY_CURRENT_USER\\Software", "Chain"),
                Row(kObsolete, "HKEY_CURRENT_USER\\Software", "Lone"),
            }));
  EXPECT_EQ(f.sink.Only("key:"),
            (std::vector<std::string>{"key:Software\\Chain", "key:Software\\Deep", "key:Software\\DefaultOnly",
                                      "key:Software\\Lone", "key:Software\\TwoEmpty", "key:Software\\Microsoft",
                                      "key:Software\\Vendor"}));
}

// The system's own containers are empty on a fresh system and yet no leftover of any program.
TEST(ScanObsoleteSoftware, NeverReportsTheSystemsOwnContainers) {
  ScanFixture f;
  for (const char* name : {"Policies", "Registered Applications", "RegisteredApplications", "Clients", "Classes",
                           "Wow6432Node", "ODBC"}) {
    f.reg.key(std::string("HKEY_LOCAL_MACHINE\\Software\\") + name);
    f.reg.key(std::string("HKEY_CURRENT_USER\\Software\\") + name);
  }
  f.reg.key("HKEY_LOCAL_MACHINE\\Software\\Stale");
  EXPECT_EQ(f.Run(ScanObsoleteSoftware, 14),
            (std::vector<ProblemEntry>{Row(kObsolete, "HKEY_LOCAL_MACHINE\\Software", "Stale")}));
}

TEST(ScanEmptyKeys, ReportsEveryLevelOfAnEmptyChainInPreOrder) {
  ScanFixture f;
  f.reg.key(std::string(kProfile) + "\\Software\\Vendor\\Product\\1.0");
  f.reg.key("HKEY_USERS\\Loose");
  EXPECT_EQ(f.Run(ScanEmptyKeys, 23),
            (std::vector<ProblemEntry>{
                // A user's hive, the keys directly under it and its Software are the system's own.
                Row(kEmpty, std::string(kProfile) + "\\Software", "Vendor"),
                Row(kEmpty, std::string(kProfile) + "\\Software\\Vendor", "Product"),
                Row(kEmpty, std::string(kProfile) + "\\Software\\Vendor\\Product", "1.0"),
            }));
  EXPECT_EQ(f.sink.Only("key:").front(), "key:\\Loose") << "top-level paths count from the root";
}

TEST(ScanEmptyKeys, SkipsDefaultProfilesAndSystemAreasWithTheirSubtrees) {
  ScanFixture f;
  f.reg.key("HKEY_USERS\\.DEFAULT\\Software\\Empty");
  f.reg.key(std::string(kProfile) + "\\.Default\\Empty");
  f.reg.key(std::string(kProfile) + "\\SOFTWARE\\microsoft\\Empty");
  f.reg.key(std::string(kProfile) + "\\Control Panel\\desktop\\Empty");
  f.reg.key(std::string(kProfile) + "\\Keyboard Layout\\Preload");
  f.reg.key(std::string(kProfile) + "\\Control Panel\\Mouse").str("Speed", "1");
  f.reg.key(std::string(kProfile) + "\\Software\\Vendor").str("Kept", "1");

  EXPECT_TRUE(f.Run(ScanEmptyKeys, 23).empty());
  EXPECT_EQ(f.sink.Only("key:"),
            (std::vector<std::string>{"key:\\S-1-5-21-100", "key:S-1-5-21-100\\Control Panel",
                                      "key:S-1-5-21-100\\Control Panel\\Mouse", "key:S-1-5-21-100\\SOFTWARE",
                                      "key:S-1-5-21-100\\SOFTWARE\\Vendor"}));
}

TEST(ScanEmptyKeys, ProtectedAreasAreWalkedButNeverReported) {
  ScanFixture f;
  f.reg.key(std::string(kProfile) + "\\Printers\\Connections");
  f.reg.key(std::string(kProfile) + "\\Software\\Vendor\\printers");
  f.reg.key(std::string(kProfile) + "\\Software\\kasperskylab").str("Version", "1");
  f.reg.key(std::string(kProfile) + "\\Software\\kasperskylab\\PROTECTED\\Empty");
  f.reg.key(std::string(kProfile) + "\\Software\\Classes\\.xyz");
  f.reg.key(std::string(kProfile) + "\\Software\\Vendor").str("Kept", "1");
  f.reg.key("HKEY_USERS\\S-1-5-19_Classes\\Empty");
  f.reg.key("HKEY_USERS\\S-1-5-21-100_Classes\\Empty\\Inner");

  EXPECT_EQ(f.Run(ScanEmptyKeys, 23),
            (std::vector<ProblemEntry>{
                Row(kEmpty, std::string(kProfile) + "\\Software\\Vendor", "printers"),
                Row(kEmpty, "HKEY_USERS\\S-1-5-21-100_Classes\\Empty", "Inner"),
            }));
  const std::vector<std::string> keys = f.sink.Only("key:");
  EXPECT_NE(std::find(keys.begin(), keys.end(), "key:S-1-5-21-100\\Printers\\Connections"), keys.end());
  EXPECT_NE(std::find(keys.begin(), keys.end(), "key:S-1-5-19_Classes\\Empty"), keys.end());
}

TEST(ScanEmptyKeys, KeysThatDoNotOpenAreNeitherReportedNorEntered) {
  ScanFixture f;
  f.reg.key(std::string(kProfile) + "\\Locked").denyFullAccess();
  f.reg.key(std::string(kProfile) + "\\Locked\\Inner");
  f.reg.key(std::string(kProfile) + "\\Vendor").str("Kept", "1");
  EXPECT_TRUE(f.Run(ScanEmptyKeys, 23).empty());
  const std::vector<std::string> keys = f.sink.Only("key:");
  EXPECT_EQ(std::find(keys.begin(), keys.end(), "key:S-1-5-21-100\\Locked\\Inner"), keys.end());
}

// A chain of single subkeys that ends in a key the scan cannot open was never seen to be empty.
TEST(ObsoleteEmptyKeyScans, AChainThroughAKeyThatDoesNotOpenIsNotEmpty) {
  ScanFixture f;
  f.reg.key("HKEY_CURRENT_USER\\Software\\Vendor\\Locked").denyFullAccess().str("Secret", "x");
  f.reg.key(std::string(kProfile) + "\\Software\\Vendor\\Product\\Locked").denyFullAccess().str("Secret", "x");
  EXPECT_TRUE(f.Run(ScanObsoleteSoftware, 14).empty());
  EXPECT_TRUE(f.Run(ScanEmptyKeys, 23).empty());
}

TEST(MayReportEmptyKey, OnlyTheVendorAreaIgnoresCase) {
  EXPECT_FALSE(MayReportEmptyKey("S-1\\Software\\KASPERSKYLAB\\Protected\\X"));
  EXPECT_FALSE(MayReportEmptyKey("S-1\\Software\\Microsoft\\SystemCertificates\\Root"));
  EXPECT_TRUE(MayReportEmptyKey("S-1\\Software\\microsoft\\systemcertificates\\Root"));
  EXPECT_FALSE(MayReportEmptyKey("S-1\\Windows 3.1 Migration Status\\IniFiles"));
  EXPECT_TRUE(MayReportEmptyKey("S-1\\Software\\classes\\x"));
}

TEST(ObsoleteEmptyKeyScans, NamesThatAreNoRootGiveNothing) {
  ScanFixture f;
  f.reg.key("HKEY_CURRENT_USER\\Software\\Lone");
  f.reg.key("HKEY_USERS\\Loose");
  std::unique_ptr<ScanContext> context = f.Context();
  ScanObsoleteSoftwareRoot(*context, "HKCU");
  WalkEmptyKeys(*context, "Users", "");
  EXPECT_TRUE(f.sink.Events().empty());
  ScanObsoleteSoftwareRoot(*context, "hkey_current_user");
  ASSERT_EQ(f.sink.Rows().size(), 1u);
  EXPECT_EQ(f.sink.Rows()[0].keyPath, "HKEY_CURRENT_USER\\Software");
}

}  // namespace
}  // namespace quillet::testing
