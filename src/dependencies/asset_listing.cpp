#include "dependencies/asset_listing.h"
#include <windows.h>
#include <algorithm>
#include <set>
#include <tuple>
#include "host/text.h"

namespace {
typedef std::tuple<DWORD, DWORD, DWORD> DirectoryId;  // volume serial, file index high, low

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return h_; }
 private:
  HANDLE h_;
};

// The identity of the directory a path leads to, links resolved.
bool IdentifyDirectory(const std::wstring& path, DirectoryId& id) {
  HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!ok) return false;
  id = DirectoryId(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
  return true;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  const std::wstring ua = UpperAscii(a), ub = UpperAscii(b);
  return ua != ub ? ua < ub : a < b;
}

void Walk(const std::wstring& folder, const std::wstring& pattern, bool allSubfolders, std::set<DirectoryId>& visited,
          std::vector<std::wstring>& out) {
  DirectoryId id;
  if (IdentifyDirectory(folder, id)) {
    if (!visited.insert(id).second) return;
  } else if (GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) {
    return;  // a link whose target cannot be identified is not followed
  }

  std::vector<std::wstring> files, subfolders;
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
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
  for (const auto& name : files) out.push_back(folder + L"\\" + name);
  if (!allSubfolders) return;
  std::sort(subfolders.begin(), subfolders.end(), LessIgnoringCase);
  for (const auto& name : subfolders) Walk(folder + L"\\" + name, pattern, true, visited, out);
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
