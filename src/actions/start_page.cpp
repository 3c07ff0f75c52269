#include "actions/start_page.h"
#include <cwchar>

namespace {
bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool HasExtendedPrefix(const std::wstring& page) {
  return StartsWith(page, L"\\\\?\\") || StartsWith(page, L"\\\\.\\");
}

bool IsRootedPage(const std::wstring& page) {
  return (!page.empty() && (page[0] == L'\\' || page[0] == L'/')) || (page.size() >= 2 && page[1] == L':') ||
         HasExtendedPrefix(page);
}
}  // namespace

bool HasInvalidPathCharacters(const std::wstring& page) {
  const size_t from = HasExtendedPrefix(page) ? 4 : 0;
  for (size_t i = from; i < page.size(); ++i) {
    const wchar_t c = page[i];
    if (c < 32 || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L'*' || c == L'?') return true;
  }
  return false;
}

std::wstring StartPagePath(const std::wstring& folder, const std::wstring& page) {
  if (IsRootedPage(page)) return page;
  const wchar_t last = folder.empty() ? L'\0' : folder.back();
  if (last == L'\\' || last == L'/' || last == L':') return folder + page;
  return folder + L"\\" + page;
}
