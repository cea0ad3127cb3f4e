#pragma once

#include <string>
#include <string_view>

// Reads the target path of a ".lnk" shortcut file from its bytes, for hosts without the shell's
// link object. The path comes from the link's location information (the network form first, as
// the shell gives it when asked for network paths first) or, when the link has none, from its
// item list (a drive followed by file-system names). A file that is malformed or cut short
// anywhere in its structures has no target: the result is empty. ANSI strings are read as
// Windows-1252; the result is UTF-8.
namespace quillet {

std::string ReadShellLinkTarget(std::string_view bytes);

}  // namespace quillet
