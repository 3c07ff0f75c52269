#include "test_env.h"
#include <atomic>
#include <cstdio>

namespace testhost {

std::wstring ExeDirectory() {
  wchar_t buf[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::wstring DefaultPluginPath() { return ExeDirectory() + L"zkTamrelDesk.nbp"; }
std::wstring EngineDirectory() { return ExeDirectory() + L"engine\\"; }

std::wstring MakeTempDir(const std::wstring& hint) {
  static std::atomic<int> counter{0};
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  for (;;) {
    wchar_t name[MAX_PATH + 64];
    swprintf(name, MAX_PATH + 64, L"%lstamrel-%ls-%lu-%d", tmp, hint.c_str(),
             static_cast<unsigned long>(GetCurrentProcessId()), counter++);
    if (CreateDirectoryW(name, nullptr)) return std::wstring(name) + L"\\";
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
  }
}

bool RemoveTree(const std::wstring& input) {
  std::wstring path = input;
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  const DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return true;
  if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && !(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") RemoveTree(path + L"\\" + n);
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
  }
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryW(path.c_str()) != 0;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(path.c_str()) != 0;
}

std::wstring MakeDeepFolder(const std::wstring& base, size_t minLength) {
  std::wstring path = base;
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  for (int step = 0; path.size() < minLength; ++step) {
    path += L"\\a-folder-name-of-some-length-" + std::to_wstring(step);
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
  }
  return path;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD w = 0;
  const BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &w, nullptr);
  CloseHandle(h);
  return ok != 0;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

static std::string Narrow(const std::wstring& text, UINT cp) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string Utf8(const std::wstring& text) { return Narrow(text, CP_UTF8); }
std::string Ansi(const std::wstring& text) { return Narrow(text, CP_ACP); }

ScopedLocalAppData::ScopedLocalAppData() {
  wchar_t buf[32768];
  const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buf, 32768);
  had_ = n > 0 && n < 32768;
  if (had_) saved_.assign(buf, n);
  dir_ = MakeTempDir(L"lad");
  SetEnvironmentVariableW(L"LOCALAPPDATA", dir_.c_str());
}

ScopedLocalAppData::~ScopedLocalAppData() {
  SetEnvironmentVariableW(L"LOCALAPPDATA", had_ ? saved_.c_str() : nullptr);
  RemoveTree(dir_);
}

std::vector<std::string> ScopedLocalAppData::LogLines() const {
  std::vector<std::string> lines;
  const std::string all = Log();
  size_t start = 0;
  for (size_t pos; (pos = all.find("\r\n", start)) != std::string::npos; start = pos + 2)
    lines.push_back(all.substr(start, pos - start));
  if (start < all.size()) lines.push_back(all.substr(start));
  return lines;
}

std::vector<std::string> ScopedLocalAppData::LogTexts() const {
  std::vector<std::string> texts;
  for (const auto& line : LogLines()) {
    const size_t tid = line.find(" | TID=");
    if (tid == std::string::npos) {
      const size_t bar = line.find(" | ");
      texts.push_back(bar == std::string::npos ? line : line.substr(bar + 3));
      continue;
    }
    const size_t bar = line.find(" | ", tid + 7);
    texts.push_back(bar == std::string::npos ? std::string() : line.substr(bar + 3));
  }
  return texts;
}

static LRESULT CALLBACK RectangleProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

RectangleWindow::RectangleWindow(int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RectangleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TamrelTestRectangle";
    RegisterClassW(&wc);
    registered = true;
  }
  // A top-level window whose client area is exactly width x height.
  RECT r = {0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  hwnd_ = CreateWindowExW(0, L"TamrelTestRectangle", L"Rectangle", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RectangleWindow::~RectangleWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

std::string RectangleWindow::HandleText() const {
  return std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(hwnd_)));
}

}  // namespace testhost
