#include "platform/win32/Win32Shell.h"

#include <stdexcept>
#include <vector>

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {
namespace {

struct ItemIdListTraits {
  using Handle = LPITEMIDLIST;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CoTaskMemFree(h); }
};
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;

template <typename Interface>
struct ComPointerTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};
using UniqueShellLink = UniqueHandle<ComPointerTraits<IShellLinkW>>;
using UniquePersistFile = UniqueHandle<ComPointerTraits<IPersistFile>>;

// COM for the calling thread, once; the scan thread keeps it until it ends. A thread that
// already has COM in the other apartment model can use the shell link object all the same.
bool EnsureComOnThisThread() {
  thread_local const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
}

int Csidl(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::AppData: return CSIDL_APPDATA;
    case SpecialFolder::Fonts: return CSIDL_FONTS;
    case SpecialFolder::Programs: return CSIDL_PROGRAMS;
    case SpecialFolder::CommonPrograms: return CSIDL_COMMON_PROGRAMS;
    case SpecialFolder::StartMenu: return CSIDL_STARTMENU;
    case SpecialFolder::CommonStartMenu: return CSIDL_COMMON_STARTMENU;
    case SpecialFolder::Desktop: return CSIDL_DESKTOPDIRECTORY;
    case SpecialFolder::CommonDesktop: return CSIDL_COMMON_DESKTOPDIRECTORY;
    case SpecialFolder::Recent: return CSIDL_RECENT;
    case SpecialFolder::Startup: return CSIDL_STARTUP;
    case SpecialFolder::CommonStartup: return CSIDL_COMMON_STARTUP;
    case SpecialFolder::Windows: return CSIDL_WINDOWS;
    case SpecialFolder::System: return CSIDL_SYSTEM;
    case SpecialFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
  }
  return -1;
}

std::optional<std::string> PathOfItem(LPCITEMIDLIST item) {
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(item, path)) return std::nullopt;
  return ToUtf8(path);
}

// Disables every enabled window of this thread while the picker is open, and enables exactly
// those again afterwards, so the picker behaves as the one modal window of the program.
class DisabledThreadWindows {
 public:
  DisabledThreadWindows() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisabledThreadWindows::DisableOne, reinterpret_cast<LPARAM>(this));
  }
  ~DisabledThreadWindows() {
    for (HWND window : windows_) ::EnableWindow(window, TRUE);
  }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

 private:
  static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
      ::EnableWindow(window, FALSE);
      reinterpret_cast<DisabledThreadWindows*>(self)->windows_.push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> windows_;
};

class QuietCriticalErrors {
 public:
  QuietCriticalErrors() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietCriticalErrors() { ::SetErrorMode(previous_); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  UINT previous_;
};

int CALLBACK CentreOnInitialised(HWND picker, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    RECT client{};
    ::GetClientRect(picker, &client);
    int left = (::GetSystemMetrics(SM_CXSCREEN) - client.right) / 2;
    int top = (::GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2;
    ::SetWindowPos(picker, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

}  // namespace

std::optional<std::string> Win32Shell::GetSpecialFolder(SpecialFolder folder) {
  UniqueItemIdList item;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, Csidl(folder), item.put())) || !item) return std::nullopt;
  auto path = PathOfItem(item.get());
  if (path && path->size() > 3 && path->back() == '\\') path->pop_back();
  if (path && path->empty()) return std::nullopt;
  return path;
}

bool Win32Shell::BrowseForFolder(std::string_view title, std::string& path) {
  HWND owner = owner_ ? owner_ : ::GetActiveWindow();
  std::wstring wideTitle = ToWide(title);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &CentreOnInitialised;

  std::optional<std::string> chosen;
  {
    QuietCriticalErrors quiet;
    DisabledThreadWindows disabled;
    UniqueItemIdList item(::SHBrowseForFolderW(&info));
    if (item) chosen = PathOfItem(item.get());
  }
  if (owner) ::SetActiveWindow(owner);
  if (!chosen) return false;
  path = *chosen;
  return true;
}

bool Win32Shell::DeleteFileSilently(std::string_view path) {
  // The shell takes a list of names, each ended by a NUL, the list by another.
  std::wstring from = ToWide(path);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool Win32Shell::OpenDocument(std::string_view target) {
  auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", ToWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::string Win32Shell::ResolveShortcutTarget(std::string_view shortcutPath) {
  if (!EnsureComOnThisThread()) return {};
  UniqueShellLink link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))) ||
      !link) {
    throw std::runtime_error("The shell link object could not be created");
  }
  UniquePersistFile file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) || !file) {
    throw std::runtime_error("The shell link object has no IPersistFile interface");
  }
  // Only the stored path is read: no Resolve, so no search and no rewrite of the user's file.
  if (FAILED(file.get()->Load(ToWide(shortcutPath).c_str(), STGM_READ))) return {};
  wchar_t target[MAX_PATH + 1] = {};
  WIN32_FIND_DATAW findData{};
  if (FAILED(link.get()->GetPath(target, MAX_PATH + 1, &findData, SLGP_UNCPRIORITY))) return {};
  return ToUtf8(target);
}

}  // namespace quillet::win32
