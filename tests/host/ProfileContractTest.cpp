// The profile contract against IniProfile over the in-memory file system.
#include "contract/ProfileContract.h"
#include "platform/memory/IniProfile.h"
#include "platform/memory/MemoryFileSystem.h"

namespace quillet::contract {
namespace {

class IniProfileEnv {
 public:
  IniProfileEnv() { fs_.fixedDrive('c').folder("C:\\QuilletTests\\Profile"); }
  Profile& profile() { return profile_; }
  std::string path(std::string_view name) { return "C:\\QuilletTests\\Profile\\" + std::string(name); }
  void put(std::string_view path, std::string_view bytes) { fs_.file(path, bytes); }
  std::optional<std::string> get(std::string_view path) { return fs_.ReadFile(path); }

 private:
  MemoryFileSystem fs_;
  IniProfile profile_{fs_};
};

using Implementations = ::testing::Types<IniProfileEnv>;
INSTANTIATE_TYPED_TEST_SUITE_P(Host, ProfileContract, Implementations);

}  // namespace
}  // namespace quillet::contract
