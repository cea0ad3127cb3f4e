#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ScanContext;

void ScanWindowsServices(ScanContext& context);  // code 15: services whose program file is missing
void ScanStartMenu(ScanContext& context);        // code 16: start-menu orderings of folders that are gone
void ScanShortcuts(ScanContext& context);        // code 17: shortcut files whose target is missing
void ScanSoundEvents(ScanContext& context);      // code 18: sound-scheme entries whose sound file is missing

// Walks one folder and all its subfolders, testing every ".lnk" file in it.
void ScanShortcutFolder(ScanContext& context, const std::string& folder);
// Tests the key base + name when it is a scheme key and walks its subkeys with base + name + "\".
void WalkSoundEvents(ScanContext& context, std::string_view rootName, const std::string& base,
                     const std::string& name);

}  // namespace quillet
