#include "substitution.h"
#include <windows.h>

namespace runner {
namespace {
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '.'; }

// The UTF-8 text of one character of the ANSI code page.
std::string AnsiCharacter(int code) {
  const char byte = static_cast<char>(code);
  wchar_t wide[2] = {};
  const int n = MultiByteToWideChar(CP_ACP, 0, &byte, 1, wide, 2);
  char utf8[8] = {};
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
  return std::string(utf8, m > 0 ? m : 0);
}
}  // namespace

std::string Substitute(const std::string& text, const Variables& variables) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '[') {
      out += text[i++];
      continue;
    }
    size_t j = i + 1;
    if (j < text.size() && text[j] == '#') {
      size_t k = j + 1;
      int code = 0;
      while (k < text.size() && IsDigit(text[k]) && k - j <= 3) code = code * 10 + (text[k++] - '0');
      if (k > j + 1 && k < text.size() && text[k] == ']' && code >= 1 && code <= 255) {
        out += AnsiCharacter(code);
        i = k + 1;
        continue;
      }
    } else if (j < text.size() && IsLetter(text[j])) {
      size_t k = j;
      while (k < text.size() && IsNameChar(text[k])) ++k;
      if (k < text.size() && text[k] == ']') {
        out += variables.Value(text.substr(j, k - j));
        i = k + 1;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

}  // namespace runner
