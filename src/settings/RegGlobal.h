#pragma once

#include <string>
#include <string_view>

#include "platform/SystemInfo.h"

// The small routines every part shares. They reach the system through CurrentPlatform() and
// keep no state; the language lookup reads OptionsSetting.Lan.
namespace quillet {

// 1 Windows 95, 3 Windows 98, 8 Windows Me, 5 NT 3.x, 6 NT 4, 7 Windows 2000, 9 XP,
// 10 Server 2003 and anything unknown, 11 Vista (and other 6.x), 12 Windows 7, 13 Windows 8.
using WindowsVersionCode = int;

// The text for a "RES_" key in the current language; the English text itself when the
// language is English (no file is read then) or when the language file lacks the key.
std::string GetLangText(std::string_view key, std::string_view englishText);
// The language file of a language: "Lan_<lan>.ini" beside the executable when it is there,
// otherwise the same name in the executable's "Languages" folder (whether or not it exists).
std::string GetLanguageFilePath(std::string_view lan);
// The user's roaming application-data folder with a trailing backslash.
std::string GetAppDataFolder();

WindowsVersionCode ClassifyWindowsVersion(const OsVersion& version);
WindowsVersionCode GetWindowsVersion();
// True when this 32-bit process runs on a 64-bit system; false when the system cannot say.
bool IsWow64();

// The folder picker, centred; true and the chosen folder on OK, false and path untouched on cancel.
bool BrowseForFolder(std::string_view title, std::string& path);
// Deletes the file through the shell, silently and without the recycle bin.
bool ShellDeleteFile(std::string_view path);

// n in decimal, with a leading "0" when n is 9 or less.
std::string TwoDigits(int n);
// Each ASCII letter moved 13 places within its case; everything else stays.
std::string Rot13(std::string_view text);
// The executable's folder followed by "Backup": where backups go unless the user chose a folder.
std::string DefaultOutputDirectory();

}  // namespace quillet
