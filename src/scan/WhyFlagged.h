#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The kinds of test a scanner can fail an entry on; each has one wording, looked up in the
// language file's [ResourceString] section by its "RES_Why_" key.
enum class Why {
  MissingFile,        // the path the checker tested does not exist
  EmptyCommand,       // a command line with nothing in it
  EmptyKey,           // no values, and no subkey holds any
  EmptyDefault,       // only an empty default value
  UnusedSharedDll,    // a shared file's use count is 0
  AppIdNotRegistered,
  TypeLibNotRegistered,
  NoTypeLib,
  NotInstalled,       // cached program data of a program no longer installed
  NoUninstaller,
  NoMenuFolder,
  ShortcutTarget,     // the shortcut's target does not exist
  NeverRun,
};

// The reason of a row: the wording of the kind in the current language, with subject (a
// path, a name) in place of its "%s".
std::string WhyFlagged(Why kind, std::string_view subject = {});

}  // namespace quillet
