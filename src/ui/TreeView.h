#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace quillet::ui {

class TTreeView;

class TTreeNode {
 public:
  TTreeNode(TTreeView& tree, TTreeNode* parent, std::string text, int imageIndex);
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TTreeView& Tree() const { return tree_; }
  TTreeNode* Parent() const { return parent_; }
  int Level() const;
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  int ImageIndex() const { return imageIndex_; }
  // The state image: -1 none; with the tick images 1 unticked and 2 ticked.
  int StateIndex() const { return stateIndex_; }
  void SetStateIndex(int index);
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool expanded);

  bool HasChildren() const { return !children_.empty(); }
  size_t ChildCount() const { return children_.size(); }
  TTreeNode* Child(size_t index) const { return children_.at(index).get(); }
  TTreeNode* FirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
  TTreeNode* NextSibling() const;
  // Number of the node in a depth-first walk from the first root, each node before its children.
  int AbsoluteIndex() const;

 private:
  friend class TTreeView;
  TTreeView& tree_;
  TTreeNode* parent_;
  std::string text_;
  int imageIndex_;
  int stateIndex_ = -1;
  bool expanded_ = false;
  std::vector<std::unique_ptr<TTreeNode>> children_;
};

class TTreeView : public TControl {
 public:
  TTreeView(TForm& owner, std::string name, TControl* parent = nullptr);
  ~TTreeView() override;

  // Appends a node under parent (nullptr: a root).
  TTreeNode* AddChild(TTreeNode* parent, std::string text, int imageIndex = -1);
  TTreeNode* First() const { return roots_.empty() ? nullptr : roots_.front().get(); }
  TTreeNode* Root(size_t index) const { return roots_.at(index).get(); }
  // All nodes in depth-first order.
  std::vector<TTreeNode*> Nodes() const;
  TTreeNode* NodeAt(int absoluteIndex) const;
  void FullExpand();

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  // The tick images: state image 1 an empty box, 2 a ticked one.
  bool TickStateImages() const { return tickStateImages_; }
  void SetTickStateImages(bool on) { tickStateImages_ = on; }

  TTreeNode* Selected() const { return selected_; }
  void SetSelectedFromUser(TTreeNode* node) { selected_ = node; }

  // What lies under a point of the client area; asks the renderer.
  TreeHit GetHitTestInfoAt(int x, int y);
  TTreeNode* GetNodeAt(int x, int y);

  std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseDown;
  // The space bar on the selected node, when set: the key flips the node's tick.
  std::function<void(TTreeNode& node)> OnTickKey;
  // Asked before a node collapses; setting allow to false keeps it open.
  std::function<void(TTreeNode& node, bool& allow)> OnCollapsing;

  // The renderer asks before it collapses a node; true when the node may collapse.
  bool AllowCollapse(TTreeNode& node);

 private:
  friend class TTreeNode;
  void NodeChanged(Change change) { Notify(change); }
  std::vector<std::unique_ptr<TTreeNode>> roots_;
  bool readOnly_ = false;
  bool tickStateImages_ = false;
  TTreeNode* selected_ = nullptr;
};

}  // namespace quillet::ui
