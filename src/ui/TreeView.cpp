#include "ui/TreeView.h"

namespace quillet::ui {

TTreeNode::TTreeNode(TTreeView& tree, TTreeNode* parent, std::string text, int imageIndex)
    : tree_(tree), parent_(parent), text_(std::move(text)), imageIndex_(imageIndex) {}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* node = parent_; node; node = node->parent_) ++level;
  return level;
}

void TTreeNode::SetText(std::string text) {
  text_ = std::move(text);
  tree_.NodeChanged(Change::Items);
}

void TTreeNode::SetStateIndex(int index) {
  if (index == stateIndex_) return;
  stateIndex_ = index;
  tree_.NodeChanged(Change::ItemState);
}

void TTreeNode::SetExpanded(bool expanded) {
  if (expanded == expanded_) return;
  expanded_ = expanded;
  tree_.NodeChanged(Change::ItemState);
}

TTreeNode* TTreeNode::NextSibling() const {
  const auto& siblings = parent_ ? parent_->children_ : tree_.roots_;
  for (size_t i = 0; i + 1 < siblings.size(); ++i) {
    if (siblings[i].get() == this) return siblings[i + 1].get();
  }
  return nullptr;
}

int TTreeNode::AbsoluteIndex() const {
  const std::vector<TTreeNode*> nodes = tree_.Nodes();
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i] == this) return static_cast<int>(i);
  }
  return -1;
}

TTreeView::TTreeView(TForm& owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), ComponentKind::TreeView, parent) {}

TTreeView::~TTreeView() = default;

TTreeNode* TTreeView::AddChild(TTreeNode* parent, std::string text, int imageIndex) {
  auto node = std::make_unique<TTreeNode>(*this, parent, std::move(text), imageIndex);
  TTreeNode* raw = node.get();
  (parent ? parent->children_ : roots_).push_back(std::move(node));
  Notify(Change::Items);
  return raw;
}

std::vector<TTreeNode*> TTreeView::Nodes() const {
  std::vector<TTreeNode*> out;
  // Depth-first, each node before its children, without recursion limits on depth.
  std::vector<TTreeNode*> stack;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    TTreeNode* node = stack.back();
    stack.pop_back();
    out.push_back(node);
    for (size_t i = node->ChildCount(); i-- > 0;) stack.push_back(node->Child(i));
  }
  return out;
}

TTreeNode* TTreeView::NodeAt(int absoluteIndex) const {
  const std::vector<TTreeNode*> nodes = Nodes();
  if (absoluteIndex < 0 || absoluteIndex >= static_cast<int>(nodes.size())) return nullptr;
  return nodes[static_cast<size_t>(absoluteIndex)];
}

void TTreeView::FullExpand() {
  for (TTreeNode* node : Nodes()) {
    if (node->HasChildren()) node->expanded_ = true;
  }
  Notify(Change::ItemState);
}

TreeHit TTreeView::GetHitTestInfoAt(int x, int y) {
  return Peer() ? Peer()->HitTest(*this, x, y) : TreeHit{};
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
  TreeHit hit = GetHitTestInfoAt(x, y);
  return hit.onItem ? NodeAt(hit.nodeIndex) : nullptr;
}

bool TTreeView::AllowCollapse(TTreeNode& node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(node, allow);
  return allow;
}

}  // namespace quillet::ui
