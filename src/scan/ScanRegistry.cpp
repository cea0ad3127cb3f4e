#include "scan/ScanRegistry.h"

#include "platform/RegistryStore.h"
#include "scan/ScanContext.h"
#include "scan/ScanStop.h"

namespace quillet {
namespace {

class StoppableCursor final : public RegistryCursor {
 public:
  StoppableCursor(std::unique_ptr<RegistryCursor> inner, const StopFlag& stop, ScanCounters& counters)
      : inner_(std::move(inner)), stop_(stop), counters_(counters) {}

  void SetRoot(RootKey root) override { inner_->SetRoot(root); }
  RootKey Root() const override { return inner_->Root(); }
  void SetReadOnly() override { inner_->SetReadOnly(); }
  bool OpenKey(std::string_view path) override {
    stop_.ThrowIfRequested();
    bool opened = inner_->OpenKey(path);
    if (opened) ++counters_.keysOpened;
    return opened;
  }
  void CloseKey() override { inner_->CloseKey(); }
  bool HasCurrentKey() const override { return inner_->HasCurrentKey(); }
  const std::string& CurrentPath() const override { return inner_->CurrentPath(); }
  void GetSubkeyNames(std::vector<std::string>& names) override {
    stop_.ThrowIfRequested();
    inner_->GetSubkeyNames(names);
  }
  void GetValueNames(std::vector<std::string>& names) override {
    stop_.ThrowIfRequested();
    inner_->GetValueNames(names);
  }
  ValueKind GetValueKind(std::string_view name) override { return inner_->GetValueKind(name); }
  int64_t GetValueSize(std::string_view name) override { return inner_->GetValueSize(name); }
  std::string ReadString(std::string_view name) override {
    ++counters_.valuesRead;
    return inner_->ReadString(name);
  }
  int32_t ReadInteger(std::string_view name) override {
    ++counters_.valuesRead;
    return inner_->ReadInteger(name);
  }
  size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) override {
    ++counters_.valuesRead;
    return inner_->ReadBytes(name, buffer, capacity);
  }
  bool ValueExists(std::string_view name) override { return inner_->ValueExists(name); }
  std::optional<RegistryValue> ReadRawValue(std::string_view name) override {
    ++counters_.valuesRead;
    return inner_->ReadRawValue(name);
  }
  bool KeyExists(std::string_view path) override {
    stop_.ThrowIfRequested();
    return inner_->KeyExists(path);
  }
  KeyInfo GetKeyInfo() override { return inner_->GetKeyInfo(); }
  bool DeleteKey(std::string_view path) override { return inner_->DeleteKey(path); }
  bool DeleteKeyOnly(std::string_view path) override { return inner_->DeleteKeyOnly(path); }
  bool DeleteValue(std::string_view name) override { return inner_->DeleteValue(name); }

 private:
  std::unique_ptr<RegistryCursor> inner_;
  const StopFlag& stop_;
  ScanCounters& counters_;
};

class StoppableStore final : public RegistryStore {
 public:
  StoppableStore(RegistryStore& inner, const StopFlag& stop, ScanCounters& counters)
      : inner_(inner), stop_(stop), counters_(counters) {}
  std::unique_ptr<RegistryCursor> NewCursor() override {
    return std::make_unique<StoppableCursor>(inner_.NewCursor(), stop_, counters_);
  }

 private:
  RegistryStore& inner_;
  const StopFlag& stop_;
  ScanCounters& counters_;
};

}  // namespace

std::unique_ptr<RegistryStore> MakeScanRegistry(RegistryStore& inner, const StopFlag& stop, ScanCounters& counters) {
  return std::make_unique<StoppableStore>(inner, stop, counters);
}

}  // namespace quillet
