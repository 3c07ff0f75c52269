#pragma once
#include <string>

// Registers every file below a folder with the host as a publication file (absolute
// paths, enumeration order, subfolders where they are met). Each real directory is
// walked once, so junction or link cycles below the folder end instead of looping.
void RegisterFolderFiles(const std::wstring& folder);
