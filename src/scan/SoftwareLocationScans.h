#pragma once

namespace quillet {

class ScanContext;

void ScanSoftwareLocations(ScanContext& context);  // code 6: App Paths
void ScanWindowsFonts(ScanContext& context);       // code 7
void ScanHelpFiles(ScanContext& context);          // code 8: Help and Html Help
void ScanSharedDlls(ScanContext& context);         // code 9

}  // namespace quillet
