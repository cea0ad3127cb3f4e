#include "scan/ScannerTable.h"

#include <array>
#include <utility>

#include "scan/ObsoleteEmptyKeyScans.h"
#include "scan/SoftwareLocationScans.h"
#include "scan/StartupUninstallScans.h"

namespace quillet {
namespace {

// Category code → scanner. Codes 1 and 2 are tree nodes without a scanner of their own.
constexpr std::array<std::pair<int, Scanner>, 8> kScanners{{
    {6, ScanSoftwareLocations},
    {7, ScanWindowsFonts},
    {8, ScanHelpFiles},
    {9, ScanSharedDlls},
    {10, ScanStartupPrograms},
    {11, ScanUninstallEntries},
    {14, ScanObsoleteSoftware},
    {23, ScanEmptyKeys},
}};

}  // namespace

Scanner FindScanner(int code) {
  for (const auto& [scannerCode, scanner] : kScanners) {
    if (scannerCode == code) return scanner;
  }
  return nullptr;
}

}  // namespace quillet
