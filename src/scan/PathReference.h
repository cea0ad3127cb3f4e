#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/RegistryStore.h"

namespace quillet {

class ScanContext;

// What satisfies the walk from the parent folder: a file only, or an existing folder too.
enum class FolderMatch : bool { FilesOnly, FoldersToo };

// Does a registry string name a file on a tested drive, and is that file missing? Anything that
// cannot be read as a local path on one of the scan's drive letters counts as not broken.
//   keyName: empty, or a file name the path must contain; the path is cut right after it.
// Reads the scan's DriveLetters, IsWow64, DriveAReady and DriveBReady and the live
// removable-media option.
bool IsBrokenReference(const ScanContext& context, std::string_view text, std::string_view keyName,
                       FolderMatch folders);

// The path IsBrokenReference tests for the text (quotes, a leading %FOLDER% and the part after
// keyName dealt with); the text itself when it names no path the checker would test.
std::string ReferencedPath(const ScanContext& context, std::string_view text, std::string_view keyName = {});

// Expands a %NAME% reference when it names an existing folder; otherwise the text unchanged.
std::string ExpandFolderVariable(const ScanContext& context, std::string_view text);

// How much a key holds: its value count, else its subkey count when two or more, else the
// count of its only subkey; 0 for a chain of empty keys. Unknown (empty) when the key or a key
// of the chain does not open or cannot be listed: nothing of it was seen, so it is no empty key.
std::optional<int> CountKeyEntries(const ScanContext& context, RootKey root, std::string_view keyPath);

// With removable media included: a path on A: or B: whose drive held no disk when the scan started.
bool FloppyTestFires(const ScanContext& context, std::string_view path);

}  // namespace quillet
