#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Windows shell: special folders, the folder picker, silent deletes, opening documents.
namespace quillet {

// Shell folders the program asks for (CSIDL numbers on Windows).
enum class SpecialFolder {
  AppData,            // CSIDL_APPDATA, roaming application data
  Fonts,              // CSIDL_FONTS
  Programs,           // CSIDL_PROGRAMS, the user's start menu programs
  CommonPrograms,     // CSIDL_COMMON_PROGRAMS
  StartMenu,          // CSIDL_STARTMENU
  CommonStartMenu,    // CSIDL_COMMON_STARTMENU
  Desktop,            // CSIDL_DESKTOPDIRECTORY
  CommonDesktop,      // CSIDL_COMMON_DESKTOPDIRECTORY
  Recent,             // CSIDL_RECENT
  Startup,            // CSIDL_STARTUP
  CommonStartup,      // CSIDL_COMMON_STARTUP
  Windows,            // the Windows folder
  System,             // the system folder
  ProgramFiles,       // CSIDL_PROGRAM_FILES
};

class Shell {
 public:
  virtual ~Shell() = default;
  // The folder's path without a trailing backslash; empty when the system has none.
  virtual std::optional<std::string> GetSpecialFolder(SpecialFolder folder) = 0;
  // The folder picker centred on the screen; true and the chosen path (no trailing "\") on OK.
  virtual bool BrowseForFolder(std::string_view title, std::string& path) = 0;
  // Deletes the file silently (no recycle bin, no dialog); true when the shell reports success.
  [[nodiscard]] virtual bool DeleteFileSilently(std::string_view path) = 0;
  // Opens a document or web address with its default program.
  virtual bool OpenDocument(std::string_view target) = 0;
  // The target path stored in a ".lnk" shortcut file (the network form first); empty when the
  // file cannot be read. Only reads: a moved target is not searched for and the file is never
  // rewritten. std::runtime_error when the system's shell link object cannot be made.
  virtual std::string ResolveShortcutTarget(std::string_view shortcutPath) = 0;
};

}  // namespace quillet
