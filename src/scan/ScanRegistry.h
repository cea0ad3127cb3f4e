#pragma once

#include <memory>

namespace quillet {

class RegistryStore;
class StopFlag;
struct ScanCounters;

// A view of a store for one scan: its cursors check the stop flag on every open and
// enumeration, and count the keys opened and the values read.
std::unique_ptr<RegistryStore> MakeScanRegistry(RegistryStore& inner, const StopFlag& stop, ScanCounters& counters);

}  // namespace quillet
