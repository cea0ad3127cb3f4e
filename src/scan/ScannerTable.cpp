#include "scan/ScannerTable.h"

#include <array>
#include <utility>

#include "scan/ActiveXInstallerScans.h"
#include "scan/FileExtensionScans.h"
#include "scan/FilesAndFoldersScans.h"
#include "scan/MruHistoryScans.h"
#include "scan/ObsoleteEmptyKeyScans.h"
#include "scan/ServiceShortcutSoundScans.h"
#include "scan/SoftwareLocationScans.h"
#include "scan/StartupUninstallScans.h"

namespace quillet {
namespace {

// Category code → scanner. Codes 1 and 2 are tree nodes without a scanner of their own.
constexpr std::array<std::pair<int, Scanner>, 21> kScanners{{
    {3, ScanFilesAndFolders},
    {4, ScanFilesAndFolders},
    {5, ScanFilesAndFolders},
    {6, ScanSoftwareLocations},
    {7, ScanWindowsFonts},
    {8, ScanHelpFiles},
    {9, ScanSharedDlls},
    {10, ScanStartupPrograms},
    {11, ScanUninstallEntries},
    {12, ScanFileExtensions},
    {13, ScanCustomControls},
    {14, ScanObsoleteSoftware},
    {15, ScanWindowsServices},
    {16, ScanStartMenu},
    {17, ScanShortcuts},
    {18, ScanSoundEvents},
    {19, ScanActiveX},
    {20, ScanMruLists},
    {21, ScanInstaller},
    {22, ScanApplications},
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
