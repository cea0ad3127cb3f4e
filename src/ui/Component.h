#pragma once

#include <functional>
#include <string>

// The portable component library the form models are made of. A component holds its texts and
// state; whoever renders it (the Win32 renderer, the scripted UI of the host tests) attaches a
// peer and is told of every change the program makes. Changes the user makes arrive through the
// *FromUser setters, which tell no peer, and through the events.
//
// Sizes and positions are pixels at 96 DPI; the renderer scales them to the monitor.
namespace quillet::ui {

class TForm;
class TComponent;
class TTreeView;
class TCustomListView;
class TPopupMenu;

enum class ComponentKind {
  Label,
  Button,
  SpeedButton,
  CheckBox,
  GroupBox,
  Edit,
  Memo,
  ListBox,
  ListView,
  TreeView,
  StatusBar,
  PageControl,
  TabSheet,
  ProgressBar,
  Image,
  Timer,
  MainMenu,
  PopupMenu,
  MenuItem,
  Action,
  ActionList,
  SaveDialog,
};

// What changed, so a peer updates only that.
enum class Change {
  Caption,     // caption or text
  Bounds,
  Visible,
  Enabled,
  Checked,
  Font,
  Items,       // rows, entries, nodes, panels, pages or menu items were added or removed
  ItemState,   // ticks or images of existing rows or nodes
  Selection,
  Columns,
  Position,    // progress bar position or range
  Interval,
  ActivePage,
  WindowState,
  Focus,       // the form's active control
};

// Result of a tree view hit test.
struct TreeHit {
  bool onItem = false;       // on the node's row
  bool onStateIcon = false;  // on its state image (the tick box)
  bool onLabel = false;      // on its caption
  int nodeIndex = -1;        // depth-first number of the node under the point
};

class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Changed(TComponent& component, Change change) = 0;
  // Asked by a tree view for the node at a point of its client area.
  virtual TreeHit HitTest(TTreeView& tree, int x, int y) { return {}; }
  // Asked by a list view for the width that fits a column's widest entry; -1: not measured.
  virtual int AutoColumnWidth(TCustomListView& list, size_t column) { return -1; }
};

struct TFont {
  std::string name;   // empty: the system's message font
  int size = 0;       // points; 0: the message font's size
  bool bold = false;
  bool underline = false;
  unsigned color = kDefaultColor;  // 0xBBGGRR, or kDefaultColor for the system's text colour

  static constexpr unsigned kDefaultColor = 0xFFFFFFFFu;
  bool operator==(const TFont&) const = default;
};

enum class BackgroundColor { Default, Window, ButtonFace, Banner };

enum class MouseButton { Left, Right, Middle };
struct ShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

class TComponent {
 public:
  TComponent(TForm& owner, std::string name, ComponentKind kind);
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  ComponentKind Kind() const { return kind_; }
  TForm& Owner() const { return owner_; }

  void AttachPeer(ComponentPeer* peer) { peer_ = peer; }
  ComponentPeer* Peer() const { return peer_; }

 protected:
  void Notify(Change change) {
    if (peer_) peer_->Changed(*this, change);
  }

 private:
  TForm& owner_;
  std::string name_;
  ComponentKind kind_;
  ComponentPeer* peer_ = nullptr;
};

struct TRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const TRect&) const = default;
};

// A component with a place on its form: a control. Its parent is the container it sits in (a
// group box or a tab sheet), or none for the form's client area; its bounds are relative to it.
class TControl : public TComponent {
 public:
  TControl(TForm& owner, std::string name, ComponentKind kind, TControl* parent);

  TControl* Parent() const { return parent_; }

  const TRect& Bounds() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  int Right() const { return bounds_.Right(); }
  int Bottom() const { return bounds_.Bottom(); }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int top) { SetBounds(bounds_.left, top, bounds_.width, bounds_.height); }
  void SetWidth(int width) { SetBounds(bounds_.left, bounds_.top, width, bounds_.height); }
  void SetHeight(int height) { SetBounds(bounds_.left, bounds_.top, bounds_.width, height); }
  // The renderer reports sizes the system decides (a status bar's height).
  void SetBoundsFromUser(const TRect& bounds) { bounds_ = bounds; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible, and so are all the containers it sits in.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);

  BackgroundColor Color() const { return color_; }
  void SetColor(BackgroundColor color) { color_ = color; }

  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  virtual void CaptionChanged() {}

 private:
  TControl* parent_;
  TRect bounds_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  TFont font_;
  BackgroundColor color_ = BackgroundColor::Default;
  TPopupMenu* popupMenu_ = nullptr;
};

}  // namespace quillet::ui
