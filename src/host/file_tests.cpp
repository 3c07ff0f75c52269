#include "host/file_tests.h"
#include <windows.h>

namespace {
enum class Kind { None, File, Directory };

// What the path names; a link is judged by what it points to (a dangling link names nothing).
Kind KindAt(const std::wstring& path) {
  if (path.empty()) return Kind::None;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::None;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
  HANDLE target = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (target == INVALID_HANDLE_VALUE) return Kind::None;
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = GetFileInformationByHandle(target, &info) != 0;
  CloseHandle(target);
  if (!known) return Kind::None;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
}
}  // namespace

bool FileExistsAt(const std::wstring& path) { return KindAt(path) == Kind::File; }
bool DirectoryExistsAt(const std::wstring& path) { return KindAt(path) == Kind::Directory; }
