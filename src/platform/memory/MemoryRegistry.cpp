#include "platform/memory/MemoryRegistry.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>

#include "base/KeyPath.h"
#include "platform/RegistryDump.h"
#include "base/Utf16.h"
#include "base/TextCompare.h"

namespace quillet::memory {

struct StoredValue {
  RegistryValue value;
  std::string upperName;
};

struct Node {
  std::string name;
  RootKey root = RootKey::CurrentUser;
  Node* parent = nullptr;  // null for a root and for a node taken out of the tree
  bool deleted = false;    // a cursor may still hold it, as a handle to a deleted key
  // Keyed by the upper-cased name, which gives the sorted enumeration order.
  std::map<std::string, std::shared_ptr<Node>> subkeys;
  std::vector<StoredValue> values;
  bool denyFullAccess = false;
  bool deletableReadOnly = false;  // with denyFullAccess: the delete succeeds all the same
  bool denyOpen = false;
  bool refuseDelete = false;
  std::vector<std::string> refusedValueDeletes;  // upper-cased names

  Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  // Frees the subtree without recursing per level: a key path of any depth must not exhaust the stack.
  ~Node() {
    std::vector<std::shared_ptr<Node>> pending;
    const auto takeChildren = [&pending](Node& node) {
      for (auto& [upper, child] : node.subkeys) pending.push_back(std::move(child));
      node.subkeys.clear();
    };
    takeChildren(*this);
    while (!pending.empty()) {
      std::shared_ptr<Node> node = std::move(pending.back());
      pending.pop_back();
      // A node a cursor still holds keeps its subtree.
      if (node.use_count() == 1) takeChildren(*node);
    }
  }
};

struct Tree {
  mutable std::shared_mutex mutex;
  std::array<std::shared_ptr<Node>, 5> roots;
  std::vector<std::string> deletedKeys;

  Tree() {
    for (size_t i = 0; i < roots.size(); ++i) {
      roots[i] = std::make_shared<Node>();
      roots[i]->root = static_cast<RootKey>(i);
    }
  }
  Node& Root(RootKey root) { return *roots[static_cast<size_t>(root)]; }
};

namespace {

std::shared_ptr<Node> Find(const std::shared_ptr<Node>& base, std::string_view path) {
  const Node* node = base.get();
  const std::shared_ptr<Node>* found = &base;
  std::string upper;  // one buffer for every part
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    // Empty parts (doubled or trailing separators) are skipped, as the system does.
    if (end > start) {
      upper.assign(path.substr(start, end - start));
      UpperCaseInPlace(upper);
      auto it = node->subkeys.find(upper);
      if (it == node->subkeys.end()) return nullptr;
      found = &it->second;
      node = found->get();
    }
    start = end + 1;
  }
  return *found;
}

std::shared_ptr<Node> FindOrCreate(const std::shared_ptr<Node>& base, std::string_view path) {
  std::shared_ptr<Node> node = base;
  for (std::string_view part : SplitKeyPath(path)) {
    auto& slot = node->subkeys[UpperCase(part)];
    if (!slot) {
      slot = std::make_shared<Node>();
      slot->name = std::string(part);
      slot->root = node->root;
      slot->parent = node.get();
    }
    node = slot;
  }
  return node;
}

template <typename NodeType>
auto FindValue(NodeType& node, std::string_view name) -> decltype(&node.values.front()) {
  // Names are unique without regard to case, so a name spelt as stored is the one.
  for (auto& stored : node.values) {
    if (stored.value.name == name) return &stored;
  }
  const std::string upper = UpperCase(name);
  for (auto& stored : node.values) {
    if (stored.upperName == upper) return &stored;
  }
  return nullptr;
}

void SetValue(Node& node, std::string_view name, uint32_t type, std::vector<uint8_t> data) {
  if (StoredValue* existing = FindValue(node, name)) {
    existing->value.type = type;
    existing->value.data = std::move(data);
    return;
  }
  node.values.push_back({RegistryValue{std::string(name), type, std::move(data)}, UpperCase(name)});
}

std::string FullPath(const Node& node) {
  std::string path;
  for (const Node* n = &node; n->parent; n = n->parent) path = "\\" + n->name + path;
  return RootName(node.root) + path;
}

void Detach(Node& node) {
  node.parent->subkeys.erase(UpperCase(node.name));
  node.parent = nullptr;
  node.deleted = true;
}

void MarkSubtreeDeleted(Node& top) {
  std::vector<Node*> pending{&top};
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    node->deleted = true;
    for (auto& [upper, child] : node->subkeys) {
      child->parent = nullptr;
      pending.push_back(child.get());
    }
  }
}

std::vector<uint8_t> LittleEndian(uint64_t value, size_t bytes) {
  std::vector<uint8_t> data(bytes);
  for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<uint8_t>(value >> (8 * i));
  return data;
}

void DumpKeyLine(const Node& node, const std::string& fullPath, std::string& out) {
  out.append(1, '[').append(fullPath).append(1, ']');
  if (node.denyOpen) out += " ; deny open";
  if (node.denyFullAccess) out += node.deletableReadOnly ? " ; read and delete only" : " ; deny full access";
  if (node.refuseDelete) out += " ; refuse delete";
  for (const std::string& name : node.refusedValueDeletes) out += " ; refuse delete of value " + name;
  out += "\n";
  for (const StoredValue& stored : node.values) out += FormatRegistryValue(stored.value) + "\n";
}

// Depth first in enumeration order, with an explicit stack instead of recursion per level.
void DumpTree(const Node& root, std::string& out) {
  struct Pending {
    const Node* node;
    std::string path;
  };
  std::vector<Pending> pending{{&root, RootName(root.root)}};
  while (!pending.empty()) {
    Pending next = std::move(pending.back());
    pending.pop_back();
    if (next.node->parent || !next.node->values.empty()) DumpKeyLine(*next.node, next.path, out);
    for (auto it = next.node->subkeys.rbegin(); it != next.node->subkeys.rend(); ++it) {
      pending.push_back({it->second.get(), next.path + "\\" + it->second->name});
    }
  }
}

class MemoryCursor final : public RegistryCursor {
 public:
  explicit MemoryCursor(std::shared_ptr<Tree> tree) : tree_(std::move(tree)) {}

  void SetRoot(RootKey root) override {
    CloseKey();
    root_ = root;
  }
  RootKey Root() const override { return root_; }
  void SetReadOnly() override { readOnly_ = true; }

  bool OpenKey(std::string_view path) override {
    if (HasNulInside(path)) return false;
    std::shared_lock lock(tree_->mutex);
    auto [base, sub, absolute] = Base(path);
    if (base->deleted) return false;
    std::shared_ptr<Node> node = Find(base, sub);
    if (!node || node->denyOpen || (!readOnly_ && node->denyFullAccess)) return false;
    if (absolute || !current_ || path_.empty()) {
      path_ = std::string(sub);
    } else if (!sub.empty()) {
      path_ += "\\";
      path_ += sub;
    }
    current_ = std::move(node);
    currentWritable_ = !readOnly_;
    return true;
  }

  void CloseKey() override {
    current_.reset();
    path_.clear();
  }

  std::unique_ptr<RegistryCursor> OpenSubkey(std::string_view path) override {
    if (!current_ || path.starts_with('\\') || HasNulInside(path)) return nullptr;
    auto child = std::make_unique<MemoryCursor>(tree_);
    child->root_ = root_;
    child->readOnly_ = readOnly_;
    {
      std::shared_lock lock(tree_->mutex);
      if (current_->deleted) return nullptr;
      child->current_ = Find(current_, path);
      const Node* node = child->current_.get();
      if (!node || node->denyOpen || (!readOnly_ && node->denyFullAccess)) return nullptr;
    }
    child->currentWritable_ = !readOnly_;
    child->path_ = JoinKeyPath(path_, path);
    return child;
  }
  bool HasCurrentKey() const override { return current_ != nullptr; }
  const std::string& CurrentPath() const override { return path_; }

  void GetSubkeyNames(std::vector<std::string>& names) override {
    names.clear();
    std::shared_lock lock(tree_->mutex);
    if (!Readable()) return;
    for (const auto& [upper, child] : current_->subkeys) names.push_back(child->name);
  }

  void GetValueNames(std::vector<std::string>& names) override {
    names.clear();
    std::shared_lock lock(tree_->mutex);
    if (!Readable()) return;
    for (const StoredValue& stored : current_->values) names.push_back(stored.value.name);
  }

  ValueKind GetValueKind(std::string_view name) override {
    std::shared_lock lock(tree_->mutex);
    const StoredValue* stored = Lookup(name);
    return stored ? KindOfType(stored->value.type) : ValueKind::Other;
  }

  int64_t GetValueSize(std::string_view name) override {
    std::shared_lock lock(tree_->mutex);
    const StoredValue* stored = Lookup(name);
    return stored ? static_cast<int64_t>(stored->value.data.size()) : -1;
  }

  std::string ReadString(std::string_view name) override {
    std::shared_lock lock(tree_->mutex);
    const StoredValue* stored = Lookup(name);
    if (!stored) return {};
    ValueKind kind = KindOfType(stored->value.type);
    if (kind != ValueKind::String && kind != ValueKind::ExpandString) {
      throw RegistryError(InvalidDataTypeMessage(name));
    }
    return Utf8FromUtf16Le(stored->value.data.data(), stored->value.data.size());
  }

  int32_t ReadInteger(std::string_view name) override {
    auto value = ReadRawValue(name);
    // The data is fetched into a 4-byte buffer before its type is looked at, so larger data
    // fails as "more data" whatever its type.
    if (!value || value->data.size() > 4) throw RegistryError(FailedToGetDataMessage(name));
    if (value->type != regtype::kDword) throw RegistryError(InvalidDataTypeMessage(name));
    uint32_t result = 0;
    for (size_t i = 0; i < value->data.size(); ++i) result |= static_cast<uint32_t>(value->data[i]) << (8 * i);
    return static_cast<int32_t>(result);
  }

  size_t ReadBytes(std::string_view name, void* buffer, size_t capacity) override {
    std::shared_lock lock(tree_->mutex);
    const StoredValue* stored = Lookup(name);
    if (!stored) return 0;
    size_t count = std::min(capacity, stored->value.data.size());
    std::copy_n(stored->value.data.begin(), count, static_cast<uint8_t*>(buffer));
    return count;
  }

  bool ValueExists(std::string_view name) override {
    std::shared_lock lock(tree_->mutex);
    return Lookup(name) != nullptr;
  }

  std::optional<RegistryValue> ReadRawValue(std::string_view name) override {
    std::shared_lock lock(tree_->mutex);
    const StoredValue* stored = Lookup(name);
    if (!stored) return std::nullopt;
    // Named as asked, as the system's query reports it.
    return RegistryValue{std::string(name), stored->value.type, stored->value.data};
  }

  bool KeyExists(std::string_view path) override {
    if (HasNulInside(path)) return false;
    std::shared_lock lock(tree_->mutex);
    auto [base, sub, absolute] = Base(path);
    if (base->deleted) return false;
    std::shared_ptr<Node> node = Find(base, sub);
    return node && !node->denyOpen;
  }

  KeyInfo GetKeyInfo() override {
    std::shared_lock lock(tree_->mutex);
    if (!Readable()) return {};
    return {static_cast<uint32_t>(current_->subkeys.size()), static_cast<uint32_t>(current_->values.size())};
  }

  bool DeleteKey(std::string_view path) override {
    std::unique_lock lock(tree_->mutex);
    auto [base, sub, absolute] = Base(path);
    // An empty path would name the base key itself; nothing is deleted through it.
    if (SplitKeyPath(sub).empty() || base->deleted || HasNulInside(sub)) return false;
    return DeleteTree(base, sub);
  }

  bool DeleteKeyOnly(std::string_view path) override {
    std::unique_lock lock(tree_->mutex);
    auto [base, sub, absolute] = Base(path);
    if (SplitKeyPath(sub).empty() || base->deleted || HasNulInside(sub)) return false;
    std::shared_ptr<Node> node = Find(base, sub);
    return node && DeleteAlone(*node);
  }

  bool DeleteValue(std::string_view name) override {
    std::unique_lock lock(tree_->mutex);
    // Deleting a value needs a key opened for writing.
    if (!Readable() || !currentWritable_ || HasNulInside(name)) return false;
    const std::string upper = UpperCase(name);
    for (const std::string& refused : current_->refusedValueDeletes) {
      if (refused == upper) return false;
    }
    auto& values = current_->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (it->upperName == upper) {
        values.erase(it);
        return true;
      }
    }
    return false;
  }

 private:
  struct Start {
    std::shared_ptr<Node> base;
    std::string_view sub;
    bool absolute;
  };

  // Where a path counts from: "\" starts at the root, anything else at the current key.
  Start Base(std::string_view path) const {
    const bool absolute = path.starts_with('\\');
    if (absolute) path.remove_prefix(1);
    std::shared_ptr<Node> base = (absolute || !current_) ? tree_->roots[static_cast<size_t>(root_)] : current_;
    return {std::move(base), path, absolute};
  }

  bool Readable() const { return current_ && !current_->deleted; }

  const StoredValue* Lookup(std::string_view name) const {
    return Readable() && !HasNulInside(name) ? FindValue(*current_, name) : nullptr;
  }

  // Subkeys first, depth first, last index first; then the key itself, which the system
  // refuses while it still has subkeys. An explicit stack keeps deep trees off the call stack.
  bool DeleteTree(const std::shared_ptr<Node>& base, std::string_view sub) {
    std::shared_ptr<Node> top = Find(base, sub);
    if (!top) return false;
    struct Pending {
      std::shared_ptr<Node> node;
      std::vector<std::shared_ptr<Node>> children;  // still to delete, the last first
    };
    const auto visit = [](std::shared_ptr<Node> node) {
      Pending pending{std::move(node), {}};
      // The subkeys of a key that does not open cannot be listed.
      if (!pending.node->denyOpen) {
        for (const auto& [upper, child] : pending.node->subkeys) pending.children.push_back(child);
      }
      return pending;
    };
    std::vector<Pending> stack;
    stack.push_back(visit(top));
    bool deleted = false;
    while (!stack.empty()) {
      if (!stack.back().children.empty()) {
        std::shared_ptr<Node> child = std::move(stack.back().children.back());
        stack.back().children.pop_back();
        // A name with a NUL cannot be passed on: the system would take the sibling named by its start.
        if (!HasNulInside(child->name)) stack.push_back(visit(std::move(child)));
        continue;
      }
      deleted = DeleteAlone(*stack.back().node);
      stack.pop_back();
    }
    return deleted;
  }

  bool DeleteAlone(Node& node) {
    if (node.refuseDelete || node.denyOpen || (node.denyFullAccess && !node.deletableReadOnly) ||
        !node.subkeys.empty()) {
      return false;
    }
    tree_->deletedKeys.push_back(FullPath(node));
    Detach(node);
    return true;
  }

  std::shared_ptr<Tree> tree_;
  RootKey root_ = RootKey::CurrentUser;
  bool readOnly_ = false;
  std::shared_ptr<Node> current_;
  bool currentWritable_ = false;
  std::string path_;
};

}  // namespace

KeyBuilder::KeyBuilder(std::shared_ptr<Tree> tree, std::shared_ptr<Node> node)
    : tree_(std::move(tree)), node_(std::move(node)) {}

KeyBuilder& KeyBuilder::raw(std::string_view name, uint32_t type, std::vector<uint8_t> bytes) {
  std::unique_lock lock(tree_->mutex);
  SetValue(*node_, name, type, std::move(bytes));
  return *this;
}

KeyBuilder& KeyBuilder::str(std::string_view name, std::string_view text) {
  return raw(name, regtype::kString, Utf16LeBytes(text));
}

KeyBuilder& KeyBuilder::expand(std::string_view name, std::string_view text) {
  return raw(name, regtype::kExpandString, Utf16LeBytes(text));
}

KeyBuilder& KeyBuilder::dword(std::string_view name, uint32_t value) {
  return raw(name, regtype::kDword, LittleEndian(value, 4));
}

KeyBuilder& KeyBuilder::qword(std::string_view name, uint64_t value) {
  return raw(name, regtype::kQword, LittleEndian(value, 8));
}

KeyBuilder& KeyBuilder::binary(std::string_view name, std::vector<uint8_t> bytes) {
  return raw(name, regtype::kBinary, std::move(bytes));
}

KeyBuilder& KeyBuilder::multi(std::string_view name, const std::vector<std::string>& items) {
  std::vector<uint8_t> data;
  for (const std::string& item : items) {
    std::vector<uint8_t> bytes = Utf16LeBytes(item);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  data.push_back(0);
  data.push_back(0);
  return raw(name, regtype::kMultiString, std::move(data));
}

KeyBuilder& KeyBuilder::denyFullAccess() {
  std::unique_lock lock(tree_->mutex);
  node_->denyFullAccess = true;
  return *this;
}

KeyBuilder& KeyBuilder::readAndDeleteOnly() {
  std::unique_lock lock(tree_->mutex);
  node_->denyFullAccess = true;
  node_->deletableReadOnly = true;
  return *this;
}

KeyBuilder& KeyBuilder::denyOpen() {
  std::unique_lock lock(tree_->mutex);
  node_->denyOpen = true;
  return *this;
}

KeyBuilder& KeyBuilder::refuseDelete() {
  std::unique_lock lock(tree_->mutex);
  node_->refuseDelete = true;
  return *this;
}

KeyBuilder& KeyBuilder::refuseValueDelete(std::string_view name) {
  std::unique_lock lock(tree_->mutex);
  node_->refusedValueDeletes.push_back(UpperCase(name));
  return *this;
}

KeyBuilder KeyBuilder::subkey(std::string_view relativePath) {
  std::unique_lock lock(tree_->mutex);
  return KeyBuilder(tree_, FindOrCreate(node_, relativePath));
}

MemoryRegistry::MemoryRegistry() : tree_(std::make_shared<Tree>()) {}

MemoryRegistry::~MemoryRegistry() = default;

KeyBuilder MemoryRegistry::key(std::string_view fullPath) {
  const size_t separator = fullPath.find('\\');
  auto root = ParseRootName(fullPath.substr(0, separator));
  if (!root) throw std::invalid_argument("no root key in \"" + std::string(fullPath) + "\"");
  std::string_view path = separator == std::string_view::npos ? std::string_view() : fullPath.substr(separator + 1);
  std::unique_lock lock(tree_->mutex);
  return KeyBuilder(tree_, FindOrCreate(tree_->roots[static_cast<size_t>(*root)], path));
}

std::unique_ptr<RegistryCursor> MemoryRegistry::NewCursor() { return std::make_unique<MemoryCursor>(tree_); }

bool MemoryRegistry::RemoveKeyTree(RootKey root, std::string_view path) {
  std::unique_lock lock(tree_->mutex);
  if (SplitKeyPath(path).empty()) return false;
  std::shared_ptr<Node> node = Find(tree_->roots[static_cast<size_t>(root)], path);
  if (!node) return false;
  MarkSubtreeDeleted(*node);
  Detach(*node);
  return true;
}

bool MemoryRegistry::RemoveValue(RootKey root, std::string_view path, std::string_view name) {
  std::unique_lock lock(tree_->mutex);
  std::shared_ptr<Node> node = Find(tree_->roots[static_cast<size_t>(root)], path);
  if (!node) return false;
  const std::string upper = UpperCase(name);
  return std::erase_if(node->values, [&](const StoredValue& stored) { return stored.upperName == upper; }) > 0;
}

std::vector<std::string> MemoryRegistry::DeletedKeys() const {
  std::shared_lock lock(tree_->mutex);
  return tree_->deletedKeys;
}

std::string MemoryRegistry::Dump() const {
  std::shared_lock lock(tree_->mutex);
  std::string out;
  for (const auto& root : tree_->roots) DumpTree(*root, out);
  return out;
}

}  // namespace quillet::memory
