#include "actions/file_url.h"
#include <windows.h>
#include "support/file_system.h"
#include "support/text.h"

namespace {
bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

// "\\?\C:\x" names C:\x and "\\?\UNC\server\share" names \\server\share (likewise after "\\.\").
// In a URL the prefix would turn into a host name of "?" or ".".
std::wstring WithoutExtendedPrefix(const std::wstring& full) {
  if (!StartsWith(full, L"\\\\?\\") && !StartsWith(full, L"\\\\.\\")) return full;
  const std::wstring rest = full.substr(4);
  if (rest.size() >= 4 && SameTextAscii(rest.substr(0, 4), L"UNC\\")) return L"\\\\" + rest.substr(4);
  return rest;
}

bool KeptAsIs(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' ||
         byte == '_' || byte == '.' || byte == '~' || byte == '/' || byte == ':';
}
}  // namespace

std::wstring PercentEncodeUtf8(const std::wstring& text) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (const char c : WideToUtf8(text)) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (KeptAsIs(byte)) {
      out += static_cast<wchar_t>(byte);
    } else {
      out += L'%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
  }
  return out;
}

std::wstring PathToFileURL(const std::wstring& path) {
  std::wstring body = WithoutExtendedPrefix(FullPath(Trim(path)));
  for (auto& c : body)
    if (c == L'\\') c = L'/';
  const bool network = body.size() >= 2 && body[0] == L'/' && body[1] == L'/';
  if (network) body.erase(0, 2);
  return (network ? L"file://" : L"file:///") + PercentEncodeUtf8(body);
}
