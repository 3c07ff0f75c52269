#include "publishing/asset_listing.h"
#include "support/directory_walk.h"

namespace {
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
  TWalkOptions options;
  options.order = TWalkOrder::woFilesByName;
  options.unidentifiedLinks = TUnidentifiedLinks::ulSkip;
  options.subfolders = allSubfolders;
  WalkDirectory(folder, options, [&](const std::wstring& path, const std::wstring& name) {
    if (MatchesWildcard(name, pattern)) out.push_back(path);
  });
  return out;
}
