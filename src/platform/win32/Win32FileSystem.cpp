#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "platform/win32/WideString.h"

namespace quillet::win32 {
namespace {

// Probes of empty floppy and CD drives must not raise the system's "no disk" box on whatever
// thread asks; the mode is per thread and put back afterwards.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~QuietCriticalErrors() { ::SetThreadErrorMode(previous_, nullptr); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

DriveType FromDriveType(UINT type) {
  switch (type) {
    case DRIVE_NO_ROOT_DIR: return DriveType::NoRootDir;
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    default: return DriveType::Unknown;
  }
}

bool IsDotEntry(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

int64_t UnixSeconds(const FILETIME& time) {
  constexpr int64_t kTicksTo1970 = 116444736000000000LL;  // 100 ns ticks from 1601 to 1970
  int64_t ticks = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return (ticks - kTicksTo1970) / 10000000LL;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return ::FlushFileBuffers(file) != 0;
}

}  // namespace

DriveType Win32FileSystem::GetDriveType(std::string_view root) {
  return FromDriveType(::GetDriveTypeW(ToWide(root).c_str()));
}

bool Win32FileSystem::IsVolumeReady(std::string_view root) {
  QuietCriticalErrors quiet;
  return ::GetVolumeInformationW(ToWide(root).c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
}

bool Win32FileSystem::FileExists(std::string_view path) {
  QuietCriticalErrors quiet;
  // A plain path names one entry, and asking for its attributes answers as the directory search
  // below does at a fraction of its cost (no search handle to open and close). Wildcards, and an
  // ending the search treats on its own, still go through the search.
  if (!path.empty() && path.find_first_of("*?<>\"") == std::string_view::npos &&
      std::string_view("\\/. ").find(path.back()) == std::string_view::npos) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  WIN32_FIND_DATAW data;
  UniqueFind find(::FindFirstFileW(ToWide(path).c_str(), &data));
  if (!find) return false;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  } while (::FindNextFileW(find.get(), &data));
  return false;
}

bool Win32FileSystem::FolderExists(std::string_view path) {
  QuietCriticalErrors quiet;
  DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<FolderEntry> Win32FileSystem::ListFolder(std::string_view folder, std::string_view pattern) {
  std::vector<FolderEntry> entries;
  std::wstring search = ToWide(folder);
  if (!search.empty() && search.back() != L'\\') search += L'\\';
  search += ToWide(pattern);
  QuietCriticalErrors quiet;
  WIN32_FIND_DATAW data;
  UniqueFind find(::FindFirstFileW(search.c_str(), &data));
  if (!find) return entries;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    DWORD a = data.dwFileAttributes;
    entries.push_back({ToUtf8(data.cFileName), (a & FILE_ATTRIBUTE_DIRECTORY) != 0, (a & FILE_ATTRIBUTE_HIDDEN) != 0,
                       (a & FILE_ATTRIBUTE_SYSTEM) != 0, (a & FILE_ATTRIBUTE_READONLY) != 0,
                       (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (::FindNextFileW(find.get(), &data));
  return entries;
}

std::optional<std::string> Win32FileSystem::ExpandEnvironment(std::string_view text, size_t maxLength) {
  std::wstring source = ToWide(text);
  std::wstring buffer(std::max<size_t>(maxLength, 1), L'\0');
  DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  // The count includes the terminator; more than the buffer holds means the text was cut.
  if (needed == 0 || needed > maxLength) return std::nullopt;
  buffer.resize(needed - 1);
  return ToUtf8(buffer);
}

std::optional<std::string> Win32FileSystem::GetEnvironmentVariable(std::string_view name) {
  std::wstring wideName = ToWide(name);
  std::wstring buffer(256, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return ToUtf8(buffer);
    }
    buffer.assign(length, L'\0');
  }
}

bool Win32FileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return ::CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), failIfExists) != 0;
}

bool Win32FileSystem::CreateFolderTree(std::string_view path) {
  std::wstring folder = WithoutTrailingSeparators(ToWide(path));
  if (FolderExists(path)) return true;
  size_t separator = folder.find_last_of(L"\\/");
  if (separator != std::wstring::npos && separator > 2) {
    if (!CreateFolderTree(ToUtf8(folder.substr(0, separator)))) return false;
  }
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return FolderExists(path);
}

std::optional<FileDetails> Win32FileSystem::GetFileDetails(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileDetails details;
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    details.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  details.lastWriteTime = UnixSeconds(data.ftLastWriteTime);
  return details;
}

bool Win32FileSystem::DeleteFile(std::string_view path) { return ::DeleteFileW(ToWide(path).c_str()) != 0; }

std::optional<std::string> Win32FileSystem::ReadFile(std::string_view path) {
  UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.get(), bytes);
}

bool Win32FileSystem::AppendFile(std::string_view path, std::string_view bytes) {
  UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER zero{};
  if (!::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return false;
  return WriteAll(file.get(), bytes);
}

bool Win32FileSystem::TruncateFile(std::string_view path, uint64_t size) {
  UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  return ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()) &&
         ::FlushFileBuffers(file.get());
}

}  // namespace quillet::win32
