#include "settings/ResourceStrings.h"

#include <iterator>

namespace quillet {
namespace {

constexpr const char* kResourceStringKeys[] = {
    "RES_Backup_Registry",
    "RES_CheckedProblems",
    "RES_Common_Startup",
    "RES_CreatePoint_Fail",
    "RES_Create_Directory",
    "RES_Directory_Not_Exist",
    "RES_File_Exist",
    "RES_FindProblems",
    "RES_Ignore_Entry_Not_Kept",
    "RES_Problem_ActiveX",
    "RES_Problem_AddRomve",
    "RES_Problem_Applications",
    "RES_Problem_Applications_Path",
    "RES_Problem_Custom_Controls",
    "RES_Problem_Empty_Key_HKEY_USERS",
    "RES_Problem_FileExtension",
    "RES_Problem_Files_And_Folders_HKEY_CURRENT_USER",
    "RES_Problem_Files_And_Folders_HKEY_LOCAL_MACHINE",
    "RES_Problem_Files_And_Folders_HKEY_USERS",
    "RES_Problem_Fonts",
    "RES_Problem_Help",
    "RES_Problem_Installer",
    "RES_Problem_MRU",
    "RES_Problem_Obsolete_Software",
    "RES_Problem_SharedDll",
    "RES_Problem_ShortCuts",
    "RES_Problem_Sound",
    "RES_Problem_Start_Menu",
    "RES_Problem_Startup_Run",
    "RES_Problem_Windows_Service",
    "RES_Regedit_Not_Exist",
    "RES_RepairProblems",
    "RES_Restory_Registry",
    "RES_SaveDialog_BackupFullRegistry",
    "RES_Scanning_Add_Remove_Programs",
    "RES_Scanning_Custom_Controls",
    "RES_Scanning_Empty_Key_HKEY_USERS",
    "RES_Scanning_File_Extensions",
    "RES_Scanning_Files_And_Folders_HKEY_CURRENT_USER",
    "RES_Scanning_Files_And_Folders_HKEY_LOCAL_MACHINE",
    "RES_Scanning_Files_And_Folders_HKEY_USERS",
    "RES_Scanning_Installer",
    "RES_Scanning_Invalid_ActiveX",
    "RES_Scanning_Invalid_Help_Files",
    "RES_Scanning_MRU_And_History_Lists",
    "RES_Scanning_Shared_Dlls",
    "RES_Scanning_Shortcuts",
    "RES_Scanning_Software_Locations",
    "RES_Scanning_Sound_And_Appevents",
    "RES_Scanning_Start_Menu",
    "RES_Scanning_Startup_Programs",
    "RES_Scanning_Windows_Fonts",
    "RES_Scanning_Windows_Services",
    "RES_Select_Directory",
    "RES_Startup",
    "RES_ThereTotal",
};
static_assert(std::size(kResourceStringKeys) == 56);

}  // namespace

std::span<const char* const> ResourceStringKeys() { return kResourceStringKeys; }

}  // namespace quillet
