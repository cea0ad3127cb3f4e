#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Component.h"
#include "ui/UiHost.h"

namespace quillet::ui {

class TMainMenu;

// The dialog results, numbered as the system numbers them.
enum class ModalResult : int { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

enum class FormPosition { Designed, ScreenCenter, OwnerFormCenter };
enum class FormBorder { Sizeable, Dialog };
enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free };

// The system's own messages the models post or answer.
namespace msg {
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kSysCommand = 0x0112;
inline constexpr uintptr_t kScMaximize = 0xF030;
}  // namespace msg

class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void FormChanged(TForm& form, Change change) = 0;
};

// A window of the program: its components in creation order, its texts and state, and its
// handlers. Made for one use and shown through the UI host; only the main window lives long.
class TForm {
 public:
  TForm(UiHost& host, std::string name);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  UiHost& Host() const { return host_; }
  const std::string& Name() const { return name_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // Outer bounds; Left and Top on the screen. All in pixels at 96 DPI.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  // A form designed by its client area: the renderer adds the frame, caption and menu bar.
  void SetDesignClientSize(int width, int height);
  bool DesignedByClientSize() const { return byClientSize_; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }

  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }
  FormBorder BorderStyle() const { return border_; }
  void SetBorderStyle(FormBorder border) { border_ = border; }
  // The title bar's buttons and window menu; a form without them still closes with Alt+F4.
  bool SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(bool on) { systemMenu_ = on; }
  BackgroundColor Color() const { return color_; }
  void SetColor(BackgroundColor color) { color_ = color; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu) { menu_ = menu; }
  // The registered window class name, for a window other programs look for; empty: any.
  const std::string& WindowClassName() const { return windowClassName_; }
  void SetWindowClassName(std::string name) { windowClassName_ = std::move(name); }

  // The control the program last put the keyboard focus in; the renderer moves the focus there
  // (at once, or when the form is next activated).
  TControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TControl* control);

  bool Visible() const { return visible_; }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetVisible(bool visible);
  WindowState GetWindowState() const { return windowState_; }
  void SetWindowState(WindowState state);

  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;

  // Makes a component owned by the form; components are kept in creation order.
  template <typename T, typename... Args>
  T* Make(std::string name, Args&&... args) {
    auto component = std::make_unique<T>(*this, std::move(name), std::forward<Args>(args)...);
    T* raw = component.get();
    components_.push_back(std::move(component));
    return raw;
  }

  std::function<void()> OnShow;
  std::function<void()> OnActivate;
  std::function<void()> OnResize;
  std::function<void(CloseAction& action)> OnClose;
  // Runs whenever the form's message loop has nothing left to handle: where commands re-check
  // whether they are available.
  std::function<void()> OnIdle;

  // Handlers of the private messages and of the system messages the form answers itself.
  void OnMessage(unsigned message, std::function<void(uintptr_t wParam, intptr_t lParam)> handler);
  bool HandlesMessage(unsigned message) const { return handlers_.count(message) != 0; }
  // Runs the handler of a message; a close request without its own handler closes the form.
  // True when the form answered it.
  bool Dispatch(unsigned message, uintptr_t wParam, intptr_t lParam);

  ModalResult ShowModal();
  bool IsModal() const { return modal_; }
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }
  // Asks the form to close: a modal form ends with Cancel (its close handler runs as the modal
  // run ends); any other form runs its close handler and closes.
  void Close();
  bool Closed() const { return closed_; }

  // Used by the UI hosts.
  void AttachPeer(FormPeer* peer) { peer_ = peer; }
  FormPeer* Peer() const { return peer_; }
  void BeginModal();
  // The modal result is set: runs the close handler. True when the form closes; false when the
  // handler kept it open (the modal result is then cleared).
  bool EndModal();
  void SetClientSizeFromUser(int width, int height);
  void SetBoundsFromUser(int left, int top, int width, int height);
  void SetWindowStateFromUser(WindowState state) { windowState_ = state; }
  void SetVisibleFromUser(bool visible) { visible_ = visible; }
  void* HostData() const { return hostData_; }
  void SetHostData(void* data) { hostData_ = data; }

 private:
  void Notify(Change change) {
    if (peer_) peer_->FormChanged(*this, change);
  }

  UiHost& host_;
  std::string name_;
  std::string caption_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 400;
  int height_ = 300;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool byClientSize_ = false;
  FormPosition position_ = FormPosition::Designed;
  FormBorder border_ = FormBorder::Sizeable;
  bool systemMenu_ = true;
  BackgroundColor color_ = BackgroundColor::ButtonFace;
  TMainMenu* menu_ = nullptr;
  TControl* activeControl_ = nullptr;
  std::string windowClassName_;
  bool visible_ = false;
  WindowState windowState_ = WindowState::Normal;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::map<unsigned, std::function<void(uintptr_t, intptr_t)>> handlers_;
  bool modal_ = false;
  bool closed_ = false;
  ModalResult modalResult_ = ModalResult::None;
  FormPeer* peer_ = nullptr;
  void* hostData_ = nullptr;
};

}  // namespace quillet::ui
