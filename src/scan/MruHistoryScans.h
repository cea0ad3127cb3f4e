#pragma once

namespace quillet {

class ScanContext;

// Code 20: the file dialogs' recent-file lists and the user-assist run counters.
void ScanMruLists(ScanContext& context);

}  // namespace quillet
