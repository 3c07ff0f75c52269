#pragma once
// Existence tests on paths. Both follow symbolic links and junctions to their targets: a file
// test is false for a folder, a folder test true only for a folder.
#include <string>

bool FileExistsAt(const std::wstring& path);
bool DirectoryExistsAt(const std::wstring& path);
