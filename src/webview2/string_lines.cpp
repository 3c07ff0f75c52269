#include "webview2/string_lines.h"

void TStringLines::SetText(const std::wstring& text) {
  FLines.clear();
  const size_t n = text.size();
  size_t start = 0;
  while (start < n) {
    size_t end = start;
    while (end < n && text[end] != L'\r' && text[end] != L'\n') ++end;
    FLines.push_back(text.substr(start, end - start));
    if (end < n) {
      // One break: CR LF together, or a lone CR or LF.
      end += (text[end] == L'\r' && end + 1 < n && text[end + 1] == L'\n') ? 2 : 1;
    }
    start = end;
  }
}

std::wstring TStringLines::Text() const {
  std::wstring text;
  for (const auto& line : FLines) {
    text += line;
    text += L"\r\n";
  }
  return text;
}
