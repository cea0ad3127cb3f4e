#include "scan/ScanCategory.h"

#include <array>

#include "settings/RegGlobal.h"

namespace quillet {
namespace {

// Codes 6 and 14 share a status text; code 15 falls back to "Obsolete Software Key" unless the
// language file has its own; code 22 keeps whatever the previous category showed.
constexpr std::array<ScanCategory, 23> kCategories{{
    {1, "My Computers", 0, nullptr, nullptr, nullptr, nullptr},
    {2, "Files and Folders", 1, nullptr, nullptr, nullptr, nullptr},
    {3, "HKEY_LOCAL_MACHINE", 2, "RES_Scanning_Files_And_Folders_HKEY_LOCAL_MACHINE",
     "Scanning Files and Folders - HKEY_LOCAL_MACHINE...", "RES_Problem_Files_And_Folders_HKEY_LOCAL_MACHINE",
     "Invalid File or Folder"},
    {4, "HKEY_CURRENT_USER", 2, "RES_Scanning_Files_And_Folders_HKEY_CURRENT_USER",
     "Scanning Files and Folders - HKEY_CURRENT_USER...", "RES_Problem_Files_And_Folders_HKEY_CURRENT_USER",
     "Invalid File or Folder"},
    {5, "HKEY_USERS", 2, "RES_Scanning_Files_And_Folders_HKEY_USERS", "Scanning Files and Folders - HKEY_USERS...",
     "RES_Problem_Files_And_Folders_HKEY_USERS", "Invalid File or Folder"},
    {6, "Software Locations", 1, "RES_Scanning_Software_Locations", "Scanning Software Locations...",
     "RES_Problem_Applications_Path", "Software Locations Issue"},
    {7, "Windows Fonts", 1, "RES_Scanning_Windows_Fonts", "Scanning Windows Fonts...", "RES_Problem_Fonts",
     "Fonts Issue"},
    {8, "Invalid Help Files", 1, "RES_Scanning_Invalid_Help_Files", "Scanning Invalid Help Files...",
     "RES_Problem_Help", "Invalid Help Files"},
    {9, "Shared DLLs", 1, "RES_Scanning_Shared_Dlls", "Scanning Shared DLLs...", "RES_Problem_SharedDll",
     "Missing Shared Dlls"},
    {10, "Startup Programs", 1, "RES_Scanning_Startup_Programs", "Scanning Startup Programs...",
     "RES_Problem_Startup_Run", "Missing Startup Programs"},
    {11, "Add/Remove Programs", 1, "RES_Scanning_Add_Remove_Programs", "Scanning Add/Remove Programs...",
     "RES_Problem_AddRomve", "Add/Remove Programs Issue"},
    {12, "File Extensions", 1, "RES_Scanning_File_Extensions", "Scanning File Extensions...",
     "RES_Problem_FileExtension", "Unused File Extension"},
    {13, "Custom Controls", 1, "RES_Scanning_Custom_Controls", "Scanning Custom Controls...",
     "RES_Problem_Custom_Controls", "Custom Controls Issue"},
    {14, "Obsolete Software", 1, "RES_Scanning_Software_Locations", "Scanning Software Locations...",
     "RES_Problem_Obsolete_Software", "Obsolete Software Key"},
    {15, "Windows Services", 1, "RES_Scanning_Windows_Services", "Obsolete Software Key",
     "RES_Problem_Windows_Service", "Windows Service Issue"},
    {16, "Start Menu", 1, "RES_Scanning_Start_Menu", "Scanning Start Menu...", "RES_Problem_Start_Menu",
     "Old Start Menu Key"},
    {17, "Shortcuts", 1, "RES_Scanning_Shortcuts", "Scanning Shortcuts...", "RES_Problem_ShortCuts",
     "Missing ShortCut reference"},
    {18, "Sound and Appevents", 1, "RES_Scanning_Sound_And_Appevents", "Scanning Sound and Appevents...",
     "RES_Problem_Sound", "Missing Sound File"},
    {19, "Invalid ActiveX", 1, "RES_Scanning_Invalid_ActiveX", "Scanning Invalid ActiveX...",
     "RES_Problem_ActiveX", "ActiveX Issue"},
    {20, "MRU and History Lists", 1, "RES_Scanning_MRU_And_History_Lists", "Scanning MRU and History Lists...",
     "RES_Problem_MRU", "Missing MRU and History Lists file"},
    {21, "Installer", 1, "RES_Scanning_Installer", "Scanning Installer...", "RES_Problem_Installer",
     "Installer Reference Issue"},
    {22, "Applications", 1, nullptr, nullptr, "RES_Problem_Applications", "Open with Application Issue"},
    {23, "Empty Keys", 1, "RES_Scanning_Empty_Key_HKEY_USERS", "Scanning Empty Registry Keys...",
     "RES_Problem_Empty_Key_HKEY_USERS", "Empty Registry Keys"},
}};

}  // namespace

std::span<const ScanCategory> ScanCategories() { return kCategories; }

const ScanCategory* FindScanCategory(int code) {
  if (code < 1 || code > static_cast<int>(kCategories.size())) return nullptr;
  return &kCategories[static_cast<size_t>(code - 1)];
}

std::string CategoryStatusText(const ScanCategory& category) {
  if (!category.statusKey) return {};
  return GetLangText(category.statusKey, category.statusDefault);
}

std::string CategoryProblemText(const ScanCategory& category) {
  if (!category.problemKey) return {};
  return GetLangText(category.problemKey, category.problemDefault);
}

}  // namespace quillet
