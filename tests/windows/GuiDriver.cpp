#include "GuiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "PngWriter.h"
#include "TestPaths.h"

#include <shlobj.h>

namespace quillet::testing::gui {

std::wstring OptionsFilePath() {
  wchar_t folder[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\Orvane\\Quillet\\options.ini";
}

bool WriteOption(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
  const std::wstring file = OptionsFilePath();
  ::SHCreateDirectoryExW(nullptr, file.substr(0, file.rfind(L'\\')).c_str(), nullptr);
  return ::WritePrivateProfileStringW(section, key, value.c_str(), file.c_str()) != FALSE;
}

bool WriteTicks(const std::vector<int>& codes) {
  bool written = true;
  for (int code = 1; code <= 24; ++code) {
    const bool ticked = std::find(codes.begin(), codes.end(), code) != codes.end();
    written = WriteOption(L"TreeViewNodeCheck", std::to_wstring(code).c_str(), ticked ? L"1" : L"0") && written;
  }
  return written;
}

namespace {
// The program saves its options at every close; without this each GUI test would start with
// the ticks and bounds the one before it left.
class NoOptionsFileAroundGuiTests : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& test) override { Remove(test); }
  void OnTestEnd(const ::testing::TestInfo& test) override { Remove(test); }
  static void Remove(const ::testing::TestInfo& test) {
    if (std::string_view(test.test_suite_name()).starts_with("Gui")) ::DeleteFileW(OptionsFilePath().c_str());
  }
};
const bool kOptionsFileListenerInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new NoOptionsFileAroundGuiTests);
  return true;
}();
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (true) {
    if (condition()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(stepMs);
  }
}

QuilletProcess::QuilletProcess(const std::wstring& arguments, const std::wstring& exePath) {
  std::wstring commandLine = L"\"" + (exePath.empty() ? QuilletExePath() : exePath) + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
  }
}

QuilletProcess::~QuilletProcess() {
  if (!process_ || ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
  for (HWND window : TopLevelWindows(id_, kMainClass)) ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_.get(), 1);
}

HWND QuilletProcess::WaitForMainWindow(DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(id_, kMainClass, kMainCaption)) {
          if (::IsWindowVisible(window)) found = window;
        }
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool QuilletProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) ::GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

namespace {
struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  std::vector<HWND> found;
};

bool Matches(HWND window, const wchar_t* className, const wchar_t* caption);

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if ((search.processId == 0 || owner == search.processId) && Matches(window, search.className, search.caption)) {
    search.found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK FindFirstChild(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  if (!Matches(window, search.className, search.caption)) return TRUE;
  search.found.push_back(window);
  return FALSE;
}

bool Matches(HWND window, const wchar_t* className, const wchar_t* caption) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  if (className && lstrcmpiW(name, className) != 0) return false;
  return !caption || WindowText(window) == caption;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className, const wchar_t* caption) {
  WindowSearch search{processId, className, caption, {}};
  ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(const QuilletProcess& process, const wchar_t* className, const wchar_t* caption) {
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        for (HWND found : TopLevelWindows(process.Id(), className, caption)) {
          if (::IsWindowVisible(found)) dialog = found;
        }
        return dialog != nullptr;
      },
      10000);
  return dialog;
}

HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* caption) {
  WindowSearch search{0, className, caption, {}};
  ::EnumChildWindows(parent, FindFirstChild, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
  return std::wstring(text, std::min<size_t>(length, 1023));
}

void Click(HWND window, POINT client) {
  const LPARAM where = MAKELPARAM(client.x, client.y);
  ::PostMessageW(window, WM_MOUSEMOVE, 0, where);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(window, WM_LBUTTONUP, 0, where);
}

void PressButton(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void TypeChord(HWND foreground, const std::vector<WORD>& keys) {
  ::SetForegroundWindow(foreground);
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteBuffer::Write(const void* data, size_t size, size_t offset) {
  ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

void RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
  ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

std::wstring RemoteBuffer::ReadText(size_t offset, size_t maxChars) const {
  std::wstring text(maxChars, L'\0');
  Read(text.data(), maxChars * sizeof(wchar_t), offset);
  text.resize(std::min(text.find(L'\0'), maxChars));
  return text;
}

std::vector<HTREEITEM> RemoteTree::Items() const {
  std::vector<HTREEITEM> items;
  std::vector<HTREEITEM> stack;
  auto next = [&](HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree_, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  };
  for (HTREEITEM root = next(nullptr, TVGN_ROOT); root; root = next(root, TVGN_NEXT)) {
    stack.push_back(root);
    while (!stack.empty()) {
      HTREEITEM item = stack.back();
      stack.pop_back();
      items.push_back(item);
      std::vector<HTREEITEM> children;
      for (HTREEITEM child = next(item, TVGN_CHILD); child; child = next(child, TVGN_NEXT)) children.push_back(child);
      stack.insert(stack.end(), children.rbegin(), children.rend());
    }
  }
  return items;
}

HTREEITEM RemoteTree::Find(const std::wstring& text) const {
  for (HTREEITEM item : Items()) {
    if (Text(item) == text) return item;
  }
  return nullptr;
}

std::wstring RemoteTree::Text(HTREEITEM item) const {
  constexpr size_t kChars = 260;
  RemoteBuffer buffer(process_, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
  TVITEMW request{};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = item;
  request.pszText = reinterpret_cast<wchar_t*>(buffer.Param(sizeof(TVITEMW)));
  request.cchTextMax = kChars;
  buffer.Write(&request, sizeof(request));
  ::SendMessageW(tree_, TVM_GETITEMW, 0, buffer.Param());
  return buffer.ReadText(sizeof(TVITEMW), kChars);
}

int RemoteTree::StateImage(HTREEITEM item) const {
  const auto state = static_cast<UINT>(
      ::SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

RECT RemoteTree::TextRect(HTREEITEM item) const {
  RemoteBuffer buffer(process_, sizeof(RECT));
  RECT rect{};
  // The request names the item in the rectangle's first bytes.
  std::memcpy(&rect, &item, sizeof(item));
  buffer.Write(&rect, sizeof(rect));
  ::SendMessageW(tree_, TVM_GETITEMRECT, TRUE, buffer.Param());
  buffer.Read(&rect, sizeof(rect));
  return rect;
}

UINT RemoteTree::HitFlags(POINT point) const {
  RemoteBuffer buffer(process_, sizeof(TVHITTESTINFO));
  TVHITTESTINFO info{};
  info.pt = point;
  buffer.Write(&info, sizeof(info));
  ::SendMessageW(tree_, TVM_HITTEST, 0, buffer.Param());
  buffer.Read(&info, sizeof(info));
  return info.flags;
}

POINT RemoteTree::StateIconPoint(HTREEITEM item) const {
  const RECT text = TextRect(item);
  const int y = (text.top + text.bottom) / 2;
  int right = -1;
  int left = -1;
  for (int x = text.left - 1; x >= 0; --x) {
    const bool onIcon = (HitFlags({x, y}) & TVHT_ONITEMSTATEICON) != 0;
    if (onIcon && right < 0) right = x;
    if (onIcon) left = x;
    if (!onIcon && right >= 0) break;
  }
  return {right < 0 ? -1 : (left + right) / 2, y};
}

POINT RemoteTree::CaptionPoint(HTREEITEM item) const {
  const RECT text = TextRect(item);
  return {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
}

void RemoteTree::Show(HTREEITEM item) const {
  ::SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

int RemoteList::Count() const { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring RemoteList::Text(int row, int column) const {
  constexpr size_t kChars = 1024;
  RemoteBuffer buffer(process_, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  LVITEMW request{};
  request.iSubItem = column;
  request.pszText = reinterpret_cast<wchar_t*>(buffer.Param(sizeof(LVITEMW)));
  request.cchTextMax = kChars;
  buffer.Write(&request, sizeof(request));
  ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), buffer.Param());
  return buffer.ReadText(sizeof(LVITEMW), kChars);
}

bool RemoteList::Ticked(int row) const {
  const auto state =
      static_cast<UINT>(::SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::vector<std::wstring> RemoteList::Rows() const {
  std::vector<std::wstring> rows;
  const int count = Count();
  for (int row = 0; row < count; ++row) rows.push_back(Text(row, 0) + L"|" + Text(row, 1) + L"|" + Text(row, 2));
  return rows;
}

POINT RemoteList::StateIconPoint(int row) const {
  RemoteBuffer buffer(process_, std::max(sizeof(RECT), sizeof(LVHITTESTINFO)));
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  buffer.Write(&bounds, sizeof(bounds));
  ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer.Param());
  buffer.Read(&bounds, sizeof(bounds));
  const int y = (bounds.top + bounds.bottom) / 2;
  for (int x = std::max<int>(0, bounds.left); x < bounds.left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    buffer.Write(&hit, sizeof(hit));
    ::SendMessageW(list_, LVM_HITTEST, 0, buffer.Param());
    buffer.Read(&hit, sizeof(hit));
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) return {x + 4, y};
  }
  return {-1, y};
}

POINT RemoteList::CaptionPoint(int row) const {
  RemoteBuffer buffer(process_, sizeof(RECT));
  RECT label{};
  label.left = LVIR_LABEL;
  buffer.Write(&label, sizeof(label));
  ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer.Param());
  buffer.Read(&label, sizeof(label));
  return {label.left + 8, (label.top + label.bottom) / 2};
}

std::wstring StatusText(HWND statusBar, HANDLE process, int part) {
  constexpr size_t kChars = 512;
  RemoteBuffer buffer(process, kChars * sizeof(wchar_t));
  std::vector<wchar_t> zeros(kChars, L'\0');
  buffer.Write(zeros.data(), zeros.size() * sizeof(wchar_t));
  ::SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), buffer.Param());
  return buffer.ReadText(0, kChars);
}

bool SaveScreenshot(HWND window, const std::wstring& name) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect)) return false;
  RgbImage image;
  image.width = rect.right - rect.left;
  image.height = rect.bottom - rect.top;
  if (image.width <= 0 || image.height <= 0) return false;

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(image.width) * image.height; ++i) {
    image.rgb[i * 3] = pixels[i * 4 + 2];
    image.rgb[i * 3 + 1] = pixels[i * 4 + 1];
    image.rgb[i * 3 + 2] = pixels[i * 4];
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  const std::wstring folder = BuildFolder() + L"screenshots";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return WritePng(folder + L"\\" + name + L".png", image);
}

}  // namespace quillet::testing::gui
