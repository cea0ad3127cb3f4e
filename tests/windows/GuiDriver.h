#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

#include <commctrl.h>

// Drives quillet.exe from outside, as a user would: finds its windows by class and caption,
// clicks and types into them, and reads what its controls show. Controls of another process
// are read through memory lent in that process, as accessibility tools do.
namespace quillet::testing::gui {

inline constexpr const wchar_t* kMainClass = L"Orvane Quillet Made by Orvane Software";
inline constexpr const wchar_t* kMainCaption = L"Orvane Quillet 3.5";
inline constexpr const wchar_t* kDialogClass = L"QuilletForm";

// The options file quillet.exe keeps in the test prefix's application-data folder. Every GUI test
// starts without one, as a first start, and leaves none behind.
std::wstring OptionsFilePath();
// Writes one key of that file through the profile functions, making its folder first.
bool WriteOption(const wchar_t* section, const wchar_t* key, const std::wstring& value);
// Ticks exactly these category codes in that file (the others unticked).
bool WriteTicks(const std::vector<int>& codes);

// Polls until the condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs = 50);

class QuilletProcess {
 public:
  // Starts the built quillet.exe, or the program at exePath when one is given.
  explicit QuilletProcess(const std::wstring& arguments = L"", const std::wstring& exePath = L"");
  ~QuilletProcess();  // closes a window still open, and ends the process if it will not go
  QuilletProcess(const QuilletProcess&) = delete;
  QuilletProcess& operator=(const QuilletProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }
  // The visible main window of this process, or nullptr when none came within the time.
  HWND WaitForMainWindow(DWORD timeoutMs = 20000);
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);

 private:
  win32::UniqueKernelHandle process_;
  win32::UniqueKernelHandle thread_;
  DWORD id_ = 0;
};

// Top-level windows of a process with this class (and caption, when given).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr);
// A visible top-level window of the process with this class and caption, waiting up to 10 s.
HWND WaitForDialog(const QuilletProcess& process, const wchar_t* className, const wchar_t* caption);
HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* caption = nullptr);
std::wstring WindowText(HWND window);

// A press and release of the left button at a point of the window's client area.
void Click(HWND window, POINT client);
// A button's own click, as the mouse or the space bar gives it.
void PressButton(HWND button);
// Keys typed into the foreground window: e.g. {VK_MENU, 'H'} pressed together, then released.
void TypeChord(HWND foreground, const std::vector<WORD>& keys);

// Memory of the given size in another process, freed when this goes.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return address_; }
  LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
  void Write(const void* data, size_t size, size_t offset = 0);
  void Read(void* data, size_t size, size_t offset = 0) const;
  std::wstring ReadText(size_t offset, size_t maxChars) const;

 private:
  HANDLE process_;
  void* address_;
};

class RemoteTree {
 public:
  RemoteTree(HWND tree, HANDLE process) : tree_(tree), process_(process) {}
  // Every item, depth first (all are expanded).
  std::vector<HTREEITEM> Items() const;
  HTREEITEM Find(const std::wstring& text) const;
  std::wstring Text(HTREEITEM item) const;
  int StateImage(HTREEITEM item) const;  // 0 none, 1 unticked, 2 ticked
  // Points of the client area on the item's state image and on its caption.
  POINT StateIconPoint(HTREEITEM item) const;
  POINT CaptionPoint(HTREEITEM item) const;
  // Scrolls the item into view.
  void Show(HTREEITEM item) const;

 private:
  RECT TextRect(HTREEITEM item) const;
  UINT HitFlags(POINT point) const;
  HWND tree_;
  HANDLE process_;
};

class RemoteList {
 public:
  RemoteList(HWND list, HANDLE process) : list_(list), process_(process) {}
  int Count() const;
  std::wstring Text(int row, int column) const;
  bool Ticked(int row) const;
  // "problem|key|value" for every row.
  std::vector<std::wstring> Rows() const;
  // A point of the client area on the row's tick box; x is -1 when there is none.
  POINT StateIconPoint(int row) const;
  // A point of the client area on the row's caption.
  POINT CaptionPoint(int row) const;

 private:
  HWND list_;
  HANDLE process_;
};

std::wstring StatusText(HWND statusBar, HANDLE process, int part);

// Saves what the screen shows of the window as build/windows/screenshots/<name>.png.
bool SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace quillet::testing::gui
