#include "scan/ScanContext.h"

#include <algorithm>

#include "platform/ProbeCacheFileSystem.h"
#include "platform/RegistryStore.h"
#include "scan/ScanCategory.h"
#include "scan/ScanSink.h"
#include "scan/ScanStop.h"
#include "scan/ScanRegistry.h"
#include "scan/SystemContainerKeys.h"
#include "settings/OptionsSetting.h"

namespace quillet {

ScanContext::ScanContext(RegistryStore& registry, FileSystem& files, Shell& shell, const ScanFlags& flags,
                         ScanSink& sink, const StopFlag& stop, std::vector<int> categoryCodes)
    : counters_(std::make_unique<ScanCounters>()),
      registry_(MakeScanRegistry(registry, stop, *counters_)),
      probeCache_(flags.CacheProbes ? std::make_unique<ProbeCacheFileSystem>(files) : nullptr),
      files_(probeCache_ ? *probeCache_ : files),
      shell_(shell),
      flags_(flags),
      sink_(sink),
      stop_(stop),
      categoryCodes_(std::move(categoryCodes)) {}

ScanContext::~ScanContext() = default;

std::unique_ptr<RegistryCursor> ScanContext::NewCursor() const { return registry_->NewCursor(); }

bool ScanContext::IncludeRemoveMedia() const { return OptionsSetting.IncludeRemoveMedia; }

bool ScanContext::RunIncludes(int code) const {
  return std::find(categoryCodes_.begin(), categoryCodes_.end(), code) != categoryCodes_.end();
}

void ScanContext::ShowScannedKey(const std::string& keyPath) {
  stop_.ThrowIfRequested();
  sink_.ShowScannedKey(keyPath);
}

void ScanContext::AddRow(std::string keyPath, std::string value, RepairAction action, std::string reason) {
  stop_.ThrowIfRequested();
  // Whatever a scanner makes of it, a key of the system's own is never offered for deletion.
  if ((action == RepairAction::DeleteKey && IsSystemContainerKeyPath(keyPath)) ||
      (action == RepairAction::DeleteNamedSubkey && IsSystemContainerKeyPath(keyPath + "\\" + value))) {
    return;
  }
  // Looked up per row, so a language file changed during the run is honoured as it is read.
  const ScanCategory* category = FindScanCategory(currentCategory_);
  ProblemEntry row;
  row.problem = category ? CategoryProblemText(*category) : std::string();
  row.keyPath = std::move(keyPath);
  row.value = std::move(value);
  row.action = action;
  row.reason = std::move(reason);
  sink_.AddRow(row);
}

void ScanContext::ThrowIfStopped() const { stop_.ThrowIfRequested(); }

void ScanContext::BeginCategory(const ScanCategory& category) {
  currentCategory_ = category.code;
  if (category.statusKey) sink_.SetStatusText(CategoryStatusText(category));
}

}  // namespace quillet
