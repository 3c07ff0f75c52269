#include "dependencies/asset_listing.h"
#include <windows.h>
#include <algorithm>
#include <set>
#include "host/file_system.h"
#include "host/file_system_path.h"
#include "host/text.h"

namespace {
bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  const std::wstring ua = UpperAscii(a), ub = UpperAscii(b);
  return ua != ub ? ua < ub : a < b;
}

void Walk(const std::wstring& folder, const std::wstring& pattern, bool allSubfolders, std::set<DirectoryId>& visited,
          std::vector<std::wstring>& out) {
  DirectoryId id;
  if (ReadDirectoryId(folder, id)) {
    if (!visited.insert(id).second) return;
  } else if (AttributesAt(folder) & FILE_ATTRIBUTE_REPARSE_POINT) {
    return;  // a link whose target cannot be identified is not followed
  }

  std::vector<std::wstring> files, subfolders;
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirst(JoinPath(folder, L"*"), entry));
  if (find.get() == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      subfolders.push_back(name);
    else if (MatchesWildcard(name, pattern))
      files.push_back(name);
  } while (FindNextFileW(find.get(), &entry));

  std::sort(files.begin(), files.end(), LessIgnoringCase);
  for (const auto& name : files) out.push_back(JoinPath(folder, name));
  if (!allSubfolders) return;
  std::sort(subfolders.begin(), subfolders.end(), LessIgnoringCase);
  for (const auto& name : subfolders) Walk(JoinPath(folder, name), pattern, true, visited, out);
}

wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
}  // namespace

bool MatchesWildcard(const std::wstring& name, const std::wstring& pattern) {
  // Greedy match with backtracking to the last "*".
  size_t n = 0, p = 0, starP = std::wstring::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::wstring::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

std::vector<std::wstring> ListMatchingFiles(const std::wstring& folder, const std::wstring& pattern,
                                            bool allSubfolders) {
  std::vector<std::wstring> out;
  std::set<DirectoryId> visited;
  Walk(folder, pattern, allSubfolders, visited, out);
  return out;
}
