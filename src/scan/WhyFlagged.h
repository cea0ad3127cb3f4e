#pragma once

#include <array>
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
inline constexpr size_t kWhyKinds = static_cast<size_t>(Why::NeverRun) + 1;

// The wording of every kind in the current language, read from the language file once: a scan
// may flag many thousands of rows, and each would otherwise read the file again.
class WhyWordings {
 public:
  WhyWordings();
  // The reason of a row: the kind's wording with subject (a path, a name) in place of its "%s".
  std::string Format(Why kind, std::string_view subject = {}) const;

 private:
  std::array<std::string, kWhyKinds> wordings_;
};

}  // namespace quillet
