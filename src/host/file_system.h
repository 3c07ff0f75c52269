#pragma once
// Paths and folders as every subsystem needs them.
#include <windows.h>
#include <memory>
#include <string>
#include <tuple>

// Every call below takes a full path and hands the system its FileSystemPath form, so that
// paths of MAX_PATH characters or more work on Windows too.

// Existence tests. Both follow symbolic links and junctions to their targets: a file test is
// false for a folder, a folder test true only for a folder.
bool FileExistsAt(const std::wstring& path);
bool DirectoryExistsAt(const std::wstring& path);

// The path made absolute against the process's current directory and normalised by the
// system ("." and ".." resolved, "/" turned into "\"; after a "\\?\" prefix, where the system
// leaves them, resolved here). An empty path, or one the system refuses, gives an empty text.
std::wstring FullPath(const std::wstring& path);

// Volume serial number and file index: one physical directory, whatever path or link leads to
// it. Recursive walks keep the ones they entered, so a link cycle is walked once.
using DirectoryId = std::tuple<DWORD, DWORD, DWORD>;
bool ReadDirectoryId(const std::wstring& path, DirectoryId& id);

// A FindFirstFileW handle, closed when the holder goes.
struct FindCloser {
  void operator()(HANDLE h) const {
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
  }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

// FindFirstFileW on a search pattern ("<folder>\\*.*"); INVALID_HANDLE_VALUE when nothing is found.
HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data);
// GetFileAttributesW of the path (INVALID_FILE_ATTRIBUTES when it names nothing).
DWORD AttributesAt(const std::wstring& path);
