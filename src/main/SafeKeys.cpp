#include "main/SafeKeys.h"

namespace quillet {
namespace {

constexpr const char* kSafeKeysAlways[] = {
    "HKEY_CLASSES_ROOT\\.DAT",
    "HKEY_CLASSES_ROOT\\.hta",
    "HKEY_CLASSES_ROOT\\.htc",
    "HKEY_CLASSES_ROOT\\.manifest",
    "HKEY_CLASSES_ROOT\\Applications\\WINWORD.EXE\\TaskbarExceptionsIcons",
    "HKEY_CLASSES_ROOT\\CLSID\\{08EE6878-C867-4D8C-A360-FED4B6501D54}",
    "HKEY_CURRENT_USER\\Software\\Lexmark",
    "HKEY_CURRENT_USER\\Software\\JavaSoft",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\lexmark\\MarkVision\\LexBCE\\Debug Options",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\WDM",
    "HKEY_USERS\\S-1-5-20\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-19\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-20\\Software\\Microsoft\\MediaPlayer\\Setup\\CreatedLinks",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\IMAPI\\StashInfo",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\10.0\\Outlook\\Journal",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Office\\10.0\\Outlook\\Journal",
    "HKEY_CURRENT_USER\\Software\\ThinPrint",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Outlook\\Journal",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Office\\11.0\\Outlook\\Journal",
    "HKEY_CURRENT_USER\\Software\\Ahead\\Nero - Burning Rom\\Database",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Ahead\\Nero - Burning Rom\\Database",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Citrix Program Neighborhood",
    "HKEY_CURRENT_USER\\Software\\Funk Software, Inc.",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-21-1229272821-854245398-1343024091-1003\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Media Center\\MRU",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Hewlett-Packard\\DigitalImaging",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SilverFast UScan-SE_is1",
    "HKEY_CLASSES_ROOT\\CLSID\\{01483019-D8C9-47D8-8E93-AF032EBFADA6}",
    "HKEY_CLASSES_ROOT\\CLSID\\{19CAD08F-0413-47F8-B1D9-5D66826E1E39}",
    "HKEY_CLASSES_ROOT\\CLSID\\{42130E6A-0045-4208-A252-71CA12C8FE99}",
    "HKEY_CLASSES_ROOT\\CLSID\\{4D6295C9-2765-49B0-A45B-4136B610954C}",
    "HKEY_CLASSES_ROOT\\CLSID\\{56101D38-6A8B-49D6-8C9D-939595AB2D19}",
    "HKEY_CLASSES_ROOT\\CLSID\\{5A810830-B199-4a4c-89CB-928D960A5C04}",
    "HKEY_CLASSES_ROOT\\CLSID\\{83E6F60E-7147-4475-9DF6-5F1E237FE2CE}",
    "HKEY_CLASSES_ROOT\\CLSID\\{959BA0A4-0893-48B4-8B02-BA0DA0A401FE}",
    "HKEY_CLASSES_ROOT\\CLSID\\{D8E9E2ED-846D-4711-A9B8-A29312157DB4}",
    "HKEY_CLASSES_ROOT\\CLSID\\{DEBBD32E-1D08-4F6A-8A26-E1B3D768A1E5}",
    "HKEY_CLASSES_ROOT\\CLSID\\{F01F76EC-3376-4E62-B201-8074C8239376}",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\IMEKR\\8.0\\Dictionary",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows Search\\Gathering Manager\\TempPath",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\OEM Links",
    "HKEY_USERS\\360SandBox",
};

constexpr const char* kSafeKeysVistaTo8[] = {
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Speech\\Recognizers\\Tokens",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\Sysprep\\Cleanup",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\IME\\China\\imesc\\Directories",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\TPG\\InputPersonalization\\AnalysisTokens\\4103\\IPS",
    "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{B977CB2D-EC6E-4A8F-BFFE-D18682BB0D52}\\InProcServer32",
    "HKEY_CLASSES_ROOT\\CLSID\\{B977CB2D-EC6E-4A8F-BFFE-D18682BB0D52}\\InProcServer32",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\IMEJP\\10.0\\directories",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\PowerShell\\1\\PowerShellEngine",
    "HKEY_LOCAL_MACHINE\\Software\\ARM Software\\MacroMaker",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.wdseml",
};

static_assert(std::size(kSafeKeysAlways) == 46);
static_assert(std::size(kSafeKeysVistaTo8) == 10);

}  // namespace

std::span<const char* const> SafeKeysAlways() { return kSafeKeysAlways; }
std::span<const char* const> SafeKeysVistaTo8() { return kSafeKeysVistaTo8; }

}  // namespace quillet
