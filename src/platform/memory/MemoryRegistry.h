#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryStore.h"

// An in-memory registry for host tests and host tools. It behaves like Windows where callers can
// notice: names compare without regard to case, subkeys enumerate sorted by their upper-cased
// names, values in creation order, and values are stored raw (strings as UTF-16LE with a NUL).
// Cursors on different threads may work at the same time; one lock guards the whole tree.
namespace quillet::memory {

struct Tree;
struct Node;

class MemoryRegistry;

// Seeds one key. Every call returns the builder, so a fixture reads as one statement:
//   reg.key("HKEY_LOCAL_MACHINE\\Software\\Vendor").str("Path", "C:\\Old\\app.exe").dword("Count", 0);
// Setting a value that exists (in any case) replaces its type and data and keeps its place.
class KeyBuilder {
 public:
  KeyBuilder& str(std::string_view name, std::string_view text);
  KeyBuilder& expand(std::string_view name, std::string_view text);
  KeyBuilder& dword(std::string_view name, uint32_t value);
  KeyBuilder& qword(std::string_view name, uint64_t value);
  KeyBuilder& binary(std::string_view name, std::vector<uint8_t> bytes);
  KeyBuilder& multi(std::string_view name, const std::vector<std::string>& items);
  KeyBuilder& raw(std::string_view name, uint32_t type, std::vector<uint8_t> bytes);

  // The key opens for reading only, as under an access list that grants nothing else; a
  // delete of the key is refused too.
  KeyBuilder& denyFullAccess();
  // The key opens for reading only, and yet a delete of it succeeds (an access list that grants
  // reading and DELETE).
  KeyBuilder& readAndDeleteOnly();
  // The key opens neither for reading nor for writing; its parent still lists it.
  KeyBuilder& denyOpen();
  // Failure injection: deleting this key, or one of its values, fails.
  KeyBuilder& refuseDelete();
  KeyBuilder& refuseValueDelete(std::string_view name);

  // A key below this one (created with its missing parents).
  KeyBuilder subkey(std::string_view relativePath);

 private:
  friend class MemoryRegistry;
  KeyBuilder(std::shared_ptr<Tree> tree, std::shared_ptr<Node> node);

  std::shared_ptr<Tree> tree_;
  std::shared_ptr<Node> node_;
};

class MemoryRegistry final : public RegistryStore {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

  // Creates the key and its missing parents. The path starts with a long root name;
  // std::invalid_argument otherwise.
  KeyBuilder key(std::string_view fullPath);

  std::unique_ptr<RegistryCursor> NewCursor() override;

  // For loaders: remove a key with its subtree, or one value, ignoring injected refusals.
  // False when there was nothing to remove.
  bool RemoveKeyTree(RootKey root, std::string_view path);
  bool RemoveValue(RootKey root, std::string_view path, std::string_view name);

  // Full paths of the keys cursors deleted, in the order they went.
  std::vector<std::string> DeletedKeys() const;

  // Every key that holds values or subkeys, depth first in enumeration order, with its
  // values and flags, in the form of DumpRegistryTree.
  std::string Dump() const;

 private:
  std::shared_ptr<Tree> tree_;
};

}  // namespace quillet::memory
