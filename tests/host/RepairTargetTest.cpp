// What a problem row stands for: one target kept from row to row (as the filter keeps it) must
// read each row exactly as a fresh one does, whatever the row before it left behind.
#include <gtest/gtest.h>

#include "main/RepairTarget.h"

namespace quillet::testing {
namespace {

struct Row {
  const char* key;
  const char* value;
  RepairAction action;
  const char* expectedKey;
  const char* expectedValue;
};

TEST(RepairTarget, AReusedTargetReadsEveryRowAsAFreshOne) {
  const Row rows[] = {
      {"HKEY_CURRENT_USER\\Software\\A\\Path", "C:\\a.exe", RepairAction::DeleteValueInPath,
       "HKEY_CURRENT_USER\\Software\\A", "Path"},
      {"HKEY_CURRENT_USER\\Name", "", RepairAction::DeleteValueInPath, "HKEY_CURRENT_USER\\", "Name"},
      {"HKEY_LOCAL_MACHINE\\Software\\B", "", RepairAction::DeleteKey, "HKEY_LOCAL_MACHINE\\Software\\B", ""},
      {"HKEY_CLASSES_ROOT\\", "Sub", RepairAction::DeleteNamedSubkey, "HKEY_CLASSES_ROOT\\Sub", ""},
      {"HKEY_CLASSES_ROOT\\CLSID", "{X}", RepairAction::DeleteNamedSubkey, "HKEY_CLASSES_ROOT\\CLSID\\{X}", ""},
      {"C:\\Dir\\old.lnk", "C:\\gone.exe", RepairAction::DeleteFile, "", ""},
      {"HKEY_USERS\\S-1\\Software", "Named", RepairAction::DeleteNamedValue, "HKEY_USERS\\S-1\\Software", "Named"},
      {"HKEY_CURRENT_USER\\Software\\C", "", RepairAction::DeleteDefaultValue, "HKEY_CURRENT_USER\\Software\\C", ""},
      {"HKEY_CURRENT_USER\\Software\\D", "Nop", RepairAction::DeleteRot13Value, "HKEY_CURRENT_USER\\Software\\D",
       "Abc"},
      {"NOROOT", "Value", RepairAction::DeleteNamedValue, "NOROOT", "Value"},
      {"HKEY_CURRENT_USER\\E", "", static_cast<RepairAction>(99), "", ""},
  };
  RepairTarget reused;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.key) + " | " + row.value);
      TargetOfRowInto(row.key, row.value, row.action, reused);
      const RepairTarget fresh = TargetOfRow(row.key, row.value, row.action);
      EXPECT_EQ(reused.key, row.expectedKey);
      EXPECT_EQ(reused.value, row.expectedValue);
      EXPECT_EQ(reused.split, fresh.split);
      EXPECT_EQ(reused.root, fresh.root);
      EXPECT_EQ(reused.rest, fresh.rest);
      EXPECT_EQ(reused.isFile, fresh.isFile);
      EXPECT_EQ(reused.isValue, fresh.isValue);
      EXPECT_EQ(reused.key, fresh.key);
      EXPECT_EQ(reused.value, fresh.value);
      EXPECT_EQ(reused.known, fresh.known);
    }
  }
}

}  // namespace
}  // namespace quillet::testing
