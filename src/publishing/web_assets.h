#pragma once
// The web library files beside the plug-in, registered as publication files.
#include <string>

// True when the list (items separated by ";" or ",", each trimmed, letter case ignored)
// names the component or "ALL".
bool IsComponentSelected(const std::wstring& components, const std::wstring& name);

// Registers one existing file with the host; false (and a log line) when it cannot.
bool RegisterAssetFile(const std::wstring& path);

// Registers every file of the folder whose name matches the pattern, in all subfolders or
// the top level only; counter grows by one per registered file. False when the folder is
// missing or any file failed; the other files are registered all the same.
bool RegisterAssetFolder(const std::wstring& folder, const std::wstring& pattern, bool allSubfolders, int& counter);
