#include "host/file_system.h"
#include "host/file_system_path.h"

namespace {
enum class Kind { None, File, Directory };

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

// Opens what a path leads to (links resolved) for reading its attributes.
bool ReadTargetInformation(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  FileHandle h(CreateFileW(FileSystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h.get() != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h.get(), &info);
}

// What the path names; a link is judged by what it points to (a dangling link names nothing).
Kind KindAt(const std::wstring& path) {
  if (path.empty()) return Kind::None;
  const DWORD attributes = GetFileAttributesW(FileSystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::None;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!ReadTargetInformation(path, info)) return Kind::None;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
}
}  // namespace

bool FileExistsAt(const std::wstring& path) { return KindAt(path) == Kind::File; }
bool DirectoryExistsAt(const std::wstring& path) { return KindAt(path) == Kind::Directory; }

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) return std::wstring();
  // The current directory may change between the two calls: ask again while the buffer is short.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD needed = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], nullptr);
    if (needed == 0) return std::wstring();
    if (needed < buffer.size()) {
      buffer.resize(needed);
      // Windows gives a "\\?\" path back as it came; its steps are resolved here instead.
      return buffer.compare(0, 4, L"\\\\?\\") == 0 ? FileSystemPath(buffer) : buffer;
    }
    buffer.assign(static_cast<size_t>(needed) + 1, L'\0');
  }
}

bool ReadDirectoryId(const std::wstring& path, DirectoryId& id) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!ReadTargetInformation(path, info)) return false;
  id = DirectoryId(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
  return true;
}

HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  return FindFirstFileW(FileSystemPath(pattern).c_str(), &data);
}

DWORD AttributesAt(const std::wstring& path) { return GetFileAttributesW(FileSystemPath(path).c_str()); }
