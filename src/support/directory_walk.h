#pragma once
// The one walk of a folder tree that every subsystem uses. Each physical directory is entered
// once (by its DirectoryId), so a link cycle ends the walk; deep trees are walked on the heap,
// not on the call stack.
#include <windows.h>
#include <functional>
#include <string>

enum class TWalkOrder {
  woAsFound,      // entries in the order the file system lists them; a subfolder is walked
                  // where it is found, before the rest of its parent
  woFilesByName,  // a folder's files first, by name (ASCII case ignored), then each subfolder
                  // in turn, by name
};

// A directory whose identity cannot be read may be a link whose target is gone or foreign.
enum class TUnidentifiedLinks {
  ulWalk,  // walk it all the same: only a proven repeat is skipped
  ulSkip,  // do not follow a link that cannot be identified
};

struct TWalkOptions {
  TWalkOrder order = TWalkOrder::woAsFound;
  TUnidentifiedLinks unidentifiedLinks = TUnidentifiedLinks::ulWalk;
  bool subfolders = true;  // false: the folder's own files only
};

// Calls onFile with the path (folder joined with the names below it) and the name of each file.
void WalkDirectory(const std::wstring& folder, const TWalkOptions& options,
                   const std::function<void(const std::wstring& path, const std::wstring& name)>& onFile);
