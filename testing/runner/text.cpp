#include "text.h"
#include <windows.h>

namespace runner {
namespace {
std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}
std::string FromWide(UINT codePage, const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}
}  // namespace

std::wstring WideFromUtf8(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf8FromWide(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }
std::string AnsiFromUtf8(const std::string& utf8) { return FromWide(CP_ACP, ToWide(CP_UTF8, utf8)); }
std::string Utf8FromAnsi(const std::string& ansi) { return FromWide(CP_UTF8, ToWide(CP_ACP, ansi)); }

}  // namespace runner
