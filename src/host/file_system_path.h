#pragma once
// The form of a path that file-system calls are given. Windows refuses paths of MAX_PATH
// characters or more unless they carry the extended-length prefix, and the host executable
// does not opt into long paths; the system does not normalise a path after that prefix.
#include <string>

// A full path as file-system calls take it: one of MAX_PATH characters or more in its "\\?\"
// form ("\\?\UNC\server\share\..." for a network path), and every "\\?\" path with its
// separators and "." / ".." steps resolved here. Shorter paths, and paths that are not
// full, are returned as they are. Pure: it reads neither the disk nor the current directory.
std::wstring FileSystemPath(const std::wstring& fullPath);

// The folder and a name in it with exactly one separator between them; a folder that ends
// with one (a root such as C:\ or \\?\C:\, or any folder given so) keeps it.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
