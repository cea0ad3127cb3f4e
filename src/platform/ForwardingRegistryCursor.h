#pragma once

#include <memory>

#include "platform/RegistryStore.h"

namespace quillet {

// Passes every call on to another cursor, which it owns; a decorator derives from it and
// overrides only the calls it changes.
class ForwardingRegistryCursor : public RegistryCursor {
 public:
  explicit ForwardingRegistryCursor(std::unique_ptr<RegistryCursor> inner) : inner_(std::move(inner)) {}

  void SetRoot(RootKey root) override { inner_->SetRoot(root); }
  RootKey Root() const override { return inner_->Root(); }
  void SetReadOnly() override { inner_->SetReadOnly(); }
  bool OpenKey(std::string_view path) override { return inner_->OpenKey(path); }
  void CloseKey() override { inner_->CloseKey(); }
  // The new cursor is the inner one's, undecorated; a decorator that must see its calls too
  // overrides this and wraps it.
  std::unique_ptr<RegistryCursor> OpenSubkey(std::string_view path) override { return inner_->OpenSubkey(path); }
  bool HasCurrentKey() const override { return inner_->HasCurrentKey(); }
  const std::string& CurrentPath() const override { return inner_->CurrentPath(); }
  void GetSubkeyNames(std::vector<std::string>& names) override { inner_->GetSubkeyNames(names); }
  void GetValueNames(std::vector<std::string>& names) override { inner_->GetValueNames(names); }
  ValueKind GetValueKind(std::string_view name) override { return inner_->GetValueKind(name); }
  int64_t GetValueSize(std::string_view name) override { return inner_->GetValueSize(name); }
  std::string ReadString(std::string_view name) override { return inner_->ReadString(name); }
  int32_t ReadInteger(std::string_view name) override { return inner_->ReadInteger(name); }
  size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) override {
    return inner_->ReadBytes(name, buffer, capacity);
  }
  bool ValueExists(std::string_view name) override { return inner_->ValueExists(name); }
  std::optional<RegistryValue> ReadRawValue(std::string_view name) override { return inner_->ReadRawValue(name); }
  bool KeyExists(std::string_view path) override { return inner_->KeyExists(path); }
  KeyInfo GetKeyInfo() override { return inner_->GetKeyInfo(); }
  bool DeleteKey(std::string_view path) override { return inner_->DeleteKey(path); }
  bool DeleteKeyOnly(std::string_view path) override { return inner_->DeleteKeyOnly(path); }
  bool DeleteValue(std::string_view name) override { return inner_->DeleteValue(name); }

 private:
  std::unique_ptr<RegistryCursor> inner_;
};

}  // namespace quillet
