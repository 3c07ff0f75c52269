#include "actions/file_url.h"
#include <windows.h>
#include "host/text.h"

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) return std::wstring();
  // The current directory may change between the two calls: ask again while the buffer is short.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD needed = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], nullptr);
    if (needed == 0) return std::wstring();
    if (needed < buffer.size()) {
      buffer.resize(needed);
      return buffer;
    }
    buffer.assign(static_cast<size_t>(needed) + 1, L'\0');
  }
}

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
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '_' || byte == '.' || byte == '~' || byte == '/' || byte == ':';
}

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
}  // namespace

std::wstring PathToFileURL(const std::wstring& path) {
  std::wstring body = WithoutExtendedPrefix(FullPath(Trim(path)));
  for (auto& c : body)
    if (c == L'\\') c = L'/';
  const bool network = body.size() >= 2 && body[0] == L'/' && body[1] == L'/';
  if (network) body.erase(0, 2);
  return (network ? L"file://" : L"file:///") + PercentEncodeUtf8(body);
}
