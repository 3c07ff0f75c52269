#pragma once
// Paths and folders as every subsystem needs them.
#include <windows.h>
#include <string>
#include <tuple>
#include "support/unique_resource.h"

// Existence tests. Both follow symbolic links and junctions to their targets: a file test is
// false for a folder, a folder test true only for a folder.
bool FileExistsAt(const std::wstring& path);
bool DirectoryExistsAt(const std::wstring& path);

// The path made absolute against the process's current directory and normalised by the
// system ("." and ".." resolved, "/" turned into "\"). An empty path, or one the system
// refuses, gives an empty text.
std::wstring FullPath(const std::wstring& path);

// Volume serial number and file index: one physical directory, whatever path or link leads to
// it. Recursive walks keep the ones they entered, so a link cycle is walked once.
using DirectoryId = std::tuple<DWORD, DWORD, DWORD>;
bool ReadDirectoryId(const std::wstring& path, DirectoryId& id);

// A FindFirstFileW handle, closed when the holder goes; false when FindFirstFileW failed.
using FindHandle = TUniqueFind;
