#pragma once
#include <string>
#include <vector>

// Full paths of the files below `folder` (no trailing backslash) whose names match the
// wildcard pattern ("*" and "?", ASCII letter case ignored). A folder's own files come first,
// by name, then each subfolder's in turn. A directory reached again through a junction or
// symbolic link is not walked a second time, so a link cycle ends the walk.
std::vector<std::wstring> ListMatchingFiles(const std::wstring& folder, const std::wstring& pattern,
                                            bool allSubfolders);

bool MatchesWildcard(const std::wstring& name, const std::wstring& pattern);
