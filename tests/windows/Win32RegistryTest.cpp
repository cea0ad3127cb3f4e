// The registry contract against Wine's real registry. Each test seeds a scratch key of its own
// under HKEY_CURRENT_USER\Software\QuilletTests through the raw API and removes it afterwards.
#include "platform/win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include "contract/RegistryStoreContract.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace quillet::testing {
namespace {

using win32::ToWide;
using win32::UniqueKey;

class Win32Environment {
 public:
  static constexpr bool kValuesInCreationOrder = false;  // Wine keeps values sorted by name

  explicit Win32Environment(std::string_view testName)
      : scratch_("Software\\QuilletTests\\" + std::string(testName) + "." + std::to_string(::GetCurrentProcessId())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(scratch_).c_str());
    CreateKey({});
  }
  ~Win32Environment() {
    // Give locked keys their access back first, so the tree can go on any system.
    for (UniqueKey& key : locked_) ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, OpenSecurity().get());
    locked_.clear();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(scratch_).c_str());
  }
  Win32Environment(const Win32Environment&) = delete;
  Win32Environment& operator=(const Win32Environment&) = delete;

  const std::string& Scratch() const { return scratch_; }

  void CreateKey(std::string_view sub) { Create(sub); }

  void SetValue(std::string_view sub, std::string_view name, uint32_t type, std::vector<uint8_t> data) {
    UniqueKey key = Create(sub);
    LONG result = ::RegSetValueExW(key.get(), ToWide(name).c_str(), 0, type, data.data(),
                                   static_cast<DWORD>(data.size()));
    ASSERT_EQ(result, ERROR_SUCCESS) << "seeding value " << name;
  }

  // An access list that grants everyone reading only.
  bool DenyFullAccess(std::string_view sub) {
    UniqueKey key = Create(sub);
    SecurityDescriptor readOnly = Security(L"D:P(A;;KR;;;WD)");
    if (::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, readOnly.get()) != ERROR_SUCCESS) return false;
    locked_.push_back(std::move(key));  // opened before the lock, so it can undo it
    return true;
  }

  RegistryStore& Store() { return store_; }

 private:
  struct LocalFreeTraits {
    using Handle = PSECURITY_DESCRIPTOR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
  };
  using SecurityDescriptor = win32::UniqueHandle<LocalFreeTraits>;

  static SecurityDescriptor Security(const wchar_t* sddl) {
    SecurityDescriptor descriptor;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, descriptor.put(), nullptr);
    return descriptor;
  }
  static SecurityDescriptor OpenSecurity() { return Security(L"D:(A;;KA;;;WD)"); }

  UniqueKey Create(std::string_view sub) {
    std::string path = scratch_;
    if (!sub.empty()) path.append("\\").append(sub);
    UniqueKey key;
    LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    key.put(), nullptr);
    EXPECT_EQ(result, ERROR_SUCCESS) << "seeding key " << path;
    return key;
  }

  std::string scratch_;
  std::vector<UniqueKey> locked_;
  win32::Win32Registry store_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryStoreContract, ::testing::Types<Win32Environment>);

TEST(Win32Registry, OpensEveryRootKey) {
  win32::Win32Registry registry;
  for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users,
                       RootKey::CurrentConfig}) {
    SCOPED_TRACE(RootName(root));
    auto cursor = registry.NewCursor();
    cursor->SetRoot(root);
    cursor->SetReadOnly();
    EXPECT_TRUE(cursor->OpenKey("\\"));
    EXPECT_EQ(cursor->CurrentPath(), "");
    EXPECT_GT(cursor->GetKeyInfo().subkeyCount, 0u);
  }
}

TEST(Win32Registry, DeletesASubtreeWiderThanOneEnumerationBuffer) {
  Win32Environment env("Win32Registry.Wide");
  for (int i = 0; i < 300; ++i) env.CreateKey("W\\Key" + std::to_string(i) + "\\Below");
  auto cursor = env.Store().NewCursor();
  EXPECT_TRUE(cursor->DeleteKey("\\" + env.Scratch() + "\\W"));
  EXPECT_FALSE(cursor->KeyExists("\\" + env.Scratch() + "\\W"));
}

}  // namespace
}  // namespace quillet::testing
