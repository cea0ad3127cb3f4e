#pragma once

#include <string>

namespace quillet {

class FileSystem;

// The lower-case letters of the drives whose references a scan tests: "ab" and every letter
// from c to z when removable media are included, otherwise the fixed disks (and the CD-ROM
// drives when those are included).
std::string BuildDriveLetters(FileSystem& files, bool includeRemoveMedia, bool includeCdDrive);

}  // namespace quillet
