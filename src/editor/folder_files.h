#pragma once
#include <string>

// Registers every file below a folder with the host as a publication file (absolute
// paths, enumeration order, subfolders where they are met). Each real directory is
// walked once, so junction or link cycles below the folder end instead of looping. A file
// whose path the ANSI code page cannot hold is left out with a log line.
void RegisterFolderFiles(const std::wstring& folder);
