#include "scan/ScanRegistry.h"

#include "platform/ForwardingRegistryCursor.h"
#include "platform/RegistryStore.h"
#include "scan/ScanContext.h"
#include "scan/ScanStop.h"

namespace quillet {
namespace {

class StoppableCursor final : public ForwardingRegistryCursor {
 public:
  StoppableCursor(std::unique_ptr<RegistryCursor> inner, const StopFlag& stop, ScanCounters& counters)
      : ForwardingRegistryCursor(std::move(inner)), stop_(stop), counters_(counters) {}

  bool OpenKey(std::string_view path) override {
    stop_.ThrowIfRequested();
    bool opened = ForwardingRegistryCursor::OpenKey(path);
    if (opened) ++counters_.keysOpened;
    return opened;
  }
  std::unique_ptr<RegistryCursor> OpenSubkey(std::string_view path) override {
    stop_.ThrowIfRequested();
    std::unique_ptr<RegistryCursor> opened = ForwardingRegistryCursor::OpenSubkey(path);
    if (!opened) return nullptr;
    ++counters_.keysOpened;
    return std::make_unique<StoppableCursor>(std::move(opened), stop_, counters_);
  }
  void GetSubkeyNames(std::vector<std::string>& names) override {
    stop_.ThrowIfRequested();
    ForwardingRegistryCursor::GetSubkeyNames(names);
  }
  void GetValueNames(std::vector<std::string>& names) override {
    stop_.ThrowIfRequested();
    ForwardingRegistryCursor::GetValueNames(names);
  }
  std::string ReadString(std::string_view name) override {
    ++counters_.valuesRead;
    return ForwardingRegistryCursor::ReadString(name);
  }
  int32_t ReadInteger(std::string_view name) override {
    ++counters_.valuesRead;
    return ForwardingRegistryCursor::ReadInteger(name);
  }
  size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) override {
    ++counters_.valuesRead;
    return ForwardingRegistryCursor::ReadBytes(name, buffer, capacity);
  }
  std::optional<RegistryValue> ReadRawValue(std::string_view name) override {
    ++counters_.valuesRead;
    return ForwardingRegistryCursor::ReadRawValue(name);
  }
  bool KeyExists(std::string_view path) override {
    stop_.ThrowIfRequested();
    return ForwardingRegistryCursor::KeyExists(path);
  }

 private:
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
