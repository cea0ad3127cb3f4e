#include "scan/DriveLetters.h"

#include "platform/FileSystem.h"

namespace quillet {

std::string BuildDriveLetters(FileSystem& files, bool includeRemoveMedia, bool includeCdDrive) {
  std::string letters = includeRemoveMedia ? "ab" : "";
  for (char letter = 'c'; letter <= 'z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    const DriveType type = files.GetDriveType(root);
    if (type == DriveType::CdRom) {
      if (!includeCdDrive) continue;
      letters += letter;  // and again below when removable media count, which changes nothing
    }
    if (includeRemoveMedia) {
      letters += letter;
    } else if (type == DriveType::Fixed) {
      letters += letter;
    }
  }
  return letters;
}

}  // namespace quillet
