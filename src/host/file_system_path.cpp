#include "host/file_system_path.h"
#include <windows.h>
#include <cwchar>
#include <vector>

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool IsUncStep(const std::wstring& rest) {
  return rest.size() >= 4 && (rest[0] == L'U' || rest[0] == L'u') && (rest[1] == L'N' || rest[1] == L'n') &&
         (rest[2] == L'C' || rest[2] == L'c') && IsSeparator(rest[3]);
}

// The steps of a path below "\\?\", the first `rootSteps` of them its root ("C:", or "UNC",
// server and share): empty steps and "." dropped, ".." taking back one step but never the
// root. A trailing separator stays, and a path that comes back to its root ends with one.
std::wstring NormaliseSteps(const std::wstring& rest, size_t rootSteps) {
  std::vector<std::wstring> steps;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::wstring step = rest.substr(start, end - start);
    if (steps.size() < rootSteps) {
      if (!step.empty()) steps.push_back(step);
    } else if (step == L"..") {
      if (steps.size() > rootSteps) steps.pop_back();
    } else if (!step.empty() && step != L".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::wstring out;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (i) out += L'\\';
    out += steps[i];
  }
  const bool trailing = !rest.empty() && IsSeparator(rest.back());
  if (trailing || steps.size() <= rootSteps) out += L'\\';
  return out;
}

// "\\?\" + the rest normalised; the rest is "UNC\server\share\..." or begins with a volume.
std::wstring Extended(const std::wstring& rest) {
  return L"\\\\?\\" + NormaliseSteps(rest, IsUncStep(rest) ? 3 : 1);
}
}  // namespace

std::wstring FileSystemPath(const std::wstring& fullPath) {
  const std::wstring& p = fullPath;
  if (StartsWith(p, L"\\\\?\\")) return Extended(p.substr(4));
  if (p.size() < MAX_PATH) return p;
  if (StartsWith(p, L"\\\\.\\")) return Extended(p.substr(4));
  if (p.size() >= 3 && p[1] == L':' && IsSeparator(p[2])) return Extended(p);
  if (p.size() >= 3 && IsSeparator(p[0]) && IsSeparator(p[1])) return Extended(L"UNC\\" + p.substr(2));
  return p;  // not a full path: nothing to put a prefix on
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
  return folder + L"\\" + name;
}
