#include "served_files.h"

#include <windows.h>

#include <cwctype>
#include <vector>

#include "scoped_handle.h"
#include "text_utf8.h"

namespace chromium {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() + 0 && i + 2 <= text.size() - 1 + 0) {
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

bool IsDeviceName(const std::wstring& segment) {
  std::wstring base = segment.substr(0, segment.find(L'.'));
  for (wchar_t& c : base) c = static_cast<wchar_t>(towupper(c));
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices)
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) && base[3] >= L'0' &&
         base[3] <= L'9';
}

// The decoded path's segments, or false when one of them would leave the folder or name
// something other than a plain file or folder name.
bool SafeSegments(const std::string& decoded, std::vector<std::wstring>& segments) {
  size_t start = 0;
  while (start <= decoded.size()) {
    size_t end = decoded.find('/', start);
    if (end == std::string::npos) end = decoded.size();
    const std::string segment = decoded.substr(start, end - start);
    start = end + 1;
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") return false;
    for (const char c : segment)
      if (c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) return false;
    const std::wstring wide = FromUtf8(segment);
    if (wide.empty() || IsDeviceName(wide)) return false;
    // Windows drops trailing dots and blanks, so "..." or "a. " would name another entry.
    if (wide.back() == L'.' || wide.back() == L' ') return false;
    segments.push_back(wide);
  }
  return true;
}

// The final path of a file or folder with every link resolved; empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& path) {
  ScopedHandle handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return std::wstring();
  std::wstring out(1024, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(handle.get(), &out[0], static_cast<DWORD>(out.size()), 0);
  if (n == 0 || n >= out.size()) return std::wstring();
  out.resize(n);
  return out;
}

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
  std::wstring prefix = folder;
  if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
  return path.size() > prefix.size() &&
         CompareStringOrdinal(path.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                              static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool ReadWholeFile(const std::wstring& path, std::string& body) {
  ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle.get(), &size) || size.QuadPart > 256 * 1024 * 1024) return false;
  body.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  return body.empty() ||
         (ReadFile(handle.get(), &body[0], static_cast<DWORD>(body.size()), &read, nullptr) && read == body.size());
}

ServedFile Refused() {
  ServedFile file;
  file.status = 403;
  return file;
}

}  // namespace

std::string MimeTypeOf(const std::wstring& fileName) {
  const size_t dot = fileName.rfind(L'.');
  std::wstring ext = dot == std::wstring::npos ? std::wstring() : fileName.substr(dot + 1);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
  static const struct {
    const wchar_t* ext;
    const char* type;
  } kTypes[] = {
      {L"html", "text/html; charset=utf-8"},
      {L"htm", "text/html; charset=utf-8"},
      {L"js", "text/javascript; charset=utf-8"},
      {L"mjs", "text/javascript; charset=utf-8"},
      {L"css", "text/css; charset=utf-8"},
      {L"json", "application/json"},
      {L"map", "application/json"},
      {L"txt", "text/plain; charset=utf-8"},
      {L"xml", "application/xml"},
      {L"svg", "image/svg+xml"},
      {L"png", "image/png"},
      {L"jpg", "image/jpeg"},
      {L"jpeg", "image/jpeg"},
      {L"gif", "image/gif"},
      {L"webp", "image/webp"},
      {L"ico", "image/x-icon"},
      {L"wasm", "application/wasm"},
      {L"woff", "font/woff"},
      {L"woff2", "font/woff2"},
      {L"ttf", "font/ttf"},
      {L"otf", "font/otf"},
      {L"mp3", "audio/mpeg"},
      {L"wav", "audio/wav"},
      {L"mp4", "video/mp4"},
      {L"webm", "video/webm"},
      {L"pdf", "application/pdf"},
  };
  for (const auto& entry : kTypes)
    if (ext == entry.ext) return entry.type;
  return "application/octet-stream";
}

ServedFile ServeFromFolder(const std::wstring& folder, const std::string& urlPath) {
  const std::string path = urlPath.substr(0, urlPath.find_first_of("?#"));
  std::vector<std::wstring> segments;
  if (!SafeSegments(PercentDecoded(path), segments)) return Refused();

  const std::wstring root = FinalPath(folder);
  if (root.empty()) return ServedFile();
  // Each step is checked where it lies: a link anywhere on the way may not lead outside.
  std::wstring current = folder;
  while (!current.empty() && current.back() == L'\\') current.pop_back();
  for (const std::wstring& segment : segments) {
    current += L'\\' + segment;
    const DWORD attributes = GetFileAttributesW(current.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ServedFile();
    if (IsLink(attributes) && !StartsWithFolder(FinalPath(current), root)) return Refused();
  }
  DWORD attributes = GetFileAttributesW(current.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    current += L"\\index.html";
    attributes = GetFileAttributesW(current.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ServedFile();
  }
  if (attributes == INVALID_FILE_ATTRIBUTES) return ServedFile();
  // Whatever the way there, the file itself must end up inside the folder.
  if (!StartsWithFolder(FinalPath(current), root)) return Refused();

  ServedFile file;
  if (!ReadWholeFile(current, file.body)) return ServedFile();
  file.status = 200;
  file.mimeType = MimeTypeOf(current);
  return file;
}

}  // namespace chromium
