#include "url_mapping.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "unix_paths.h"

namespace chromium {
namespace {

struct DriveRoot {
  std::string windows;  // "file:///C:/"
  std::string unix;     // "file:///.../drive_c/"
};

std::string Escaped(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~' || c == '/' || c == ':') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

// Longest Unix root first, so that C: (inside the prefix) wins over Z: (the Unix root).
const std::vector<DriveRoot>& Roots() {
  static const std::vector<DriveRoot> roots = [] {
    std::vector<DriveRoot> list;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if (!(drives & (1u << i))) continue;
      const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
      std::string unix = UnixPath(root);
      if (unix.empty()) continue;
      if (unix.back() != '/') unix += '/';
      list.push_back(DriveRoot{std::string("file:///") + static_cast<char>('A' + i) + ":/", "file://" + Escaped(unix)});
    }
    std::sort(list.begin(), list.end(),
              [](const DriveRoot& a, const DriveRoot& b) { return a.unix.size() > b.unix.size(); });
    return list;
  }();
  return roots;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

}  // namespace

std::string ToBrowserUrl(const std::string& url) {
  for (const DriveRoot& root : Roots())
    if (StartsWithNoCase(url, root.windows)) return root.unix + url.substr(root.windows.size());
  return url;
}

std::string FromBrowserUrl(const std::string& url) {
  for (const DriveRoot& root : Roots())
    if (url.compare(0, root.unix.size(), root.unix) == 0) return root.windows + url.substr(root.unix.size());
  return url;
}

}  // namespace chromium
