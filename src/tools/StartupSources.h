#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "settings/RegGlobal.h"

// Where Windows finds the programs it starts at log-on: the Run-type keys of the user and of the
// machine, and the two Startup folders. Each entry is listed with the source it came from, so
// the delete step never has to guess it back from a (translatable) location text.
namespace quillet {

enum class StartupFolder { None, User, Common };

struct StartupSource {
  const char* rootName;  // long root name of a registry source; nullptr for a Startup folder
  const char* keyPath;   // below the root
  StartupFolder folder;
  bool only9x;           // the keys Windows 9x and Me alone read
};

// In the order the dialog lists them.
inline constexpr std::array<StartupSource, 10> kStartupSources{{
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", StartupFolder::None, false},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", StartupFolder::None, false},
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
     StartupFolder::None, false},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
     StartupFolder::None, false},
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", StartupFolder::None, false},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", StartupFolder::None, false},
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", StartupFolder::None, true},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", StartupFolder::None, true},
    {nullptr, nullptr, StartupFolder::User, false},
    {nullptr, nullptr, StartupFolder::Common, false},
}};

struct StartupEntry {
  std::string caption;  // the value name, or the shortcut's file name with its extension
  std::string file;     // the value's text as stored (not expanded), or the shortcut's target
  size_t source = 0;    // index in kStartupSources
};

// True for Windows 95, 98 and Me, the systems that read the RunServices keys.
bool IsWindows9x(WindowsVersionCode version);

// What the Location column shows: the root name in capitals, "\" and the key path; or the
// folder's label in the current language.
std::string StartupLocationText(const StartupSource& source);

// The Startup folder's path with a trailing "\"; empty when the system has no such folder.
std::optional<std::string> StartupFolderPath(StartupFolder folder);

// Appends the entries of one source. A key that does not open with full access (missing, or
// not changeable by this user) lists nothing; only string and expandable-string values are
// listed. A folder lists its ".lnk" files whose target can be read. std::runtime_error when
// the system's shell link object cannot be made: the entries appended so far stay.
void ListStartupSource(size_t sourceIndex, std::vector<StartupEntry>& entries);

}  // namespace quillet
