#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/RegistryStore.h"

namespace quillet {

class ScanContext;

void ScanActiveX(ScanContext& context);       // code 19: type libraries and class identifiers
void ScanInstaller(ScanContext& context);     // code 21: uninstall programs, installer folders, ARPCache
void ScanApplications(ScanContext& context);  // code 22: commands of the Open With applications

// The class part of the ActiveX scan: class keys whose application identifier points nowhere.
void ScanClassIds(ScanContext& context);

// One key below an application key that has a "command" subkey: its root-relative path and the
// command's default value (empty when missing).
struct CommandKey {
  std::string keyPath;
  std::string command;
};
// The command keys at and below keyPath, in the order a depth-first walk meets them. A key with
// a "command" subkey that opens is not walked further; a command whose default value is not a
// string is no hit.
std::vector<CommandKey> FindCommandKeys(ScanContext& context, RootKey root, const std::string& keyPath);

}  // namespace quillet
