#pragma once
// Per-test environment: a private LOCALAPPDATA, temporary folders, files, the log.
#include <windows.h>
#include <string>
#include <vector>

namespace testhost {

std::wstring ExeDirectory();                  // with trailing backslash
std::wstring DefaultPluginPath();             // <exe dir>zkTamrelDesk.nbp
std::wstring EngineDirectory();               // folder of the WebView2 engine double (with backslash)
std::wstring MakeTempDir(const std::wstring& hint = L"t");  // fresh empty folder, trailing backslash
bool RemoveTree(const std::wstring& path);
// Creates folders below `base` (one per step) until the path has at least `minLength`
// characters; returns it without a trailing backslash, or empty when a folder cannot be made.
std::wstring MakeDeepFolder(const std::wstring& base, size_t minLength);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
std::wstring Widen(const std::string& utf8);
std::string Utf8(const std::wstring& text);
std::string Ansi(const std::wstring& text);   // CP_ACP

// Points LOCALAPPDATA at a fresh folder for the lifetime of the object and restores it after.
class ScopedLocalAppData {
 public:
  ScopedLocalAppData();
  ~ScopedLocalAppData();
  const std::wstring& dir() const { return dir_; }  // with trailing backslash
  std::wstring LogPath() const { return dir_ + L"tamrelDesk\\tamrelDesk.log"; }
  std::string Log() const { return ReadFileBytes(LogPath()); }
  std::vector<std::string> LogLines() const;         // split at CR LF, without the ends
  // The text after the fixed fields ("... | PID=n | TID=n | ").
  std::vector<std::string> LogTexts() const;
 private:
  std::wstring dir_, saved_;
  bool had_ = false;
};

// A top-level window standing in for a Rectangle object of the publication.
class RectangleWindow {
 public:
  RectangleWindow(int width = 400, int height = 300);
  ~RectangleWindow();
  HWND hwnd() const { return hwnd_; }
  std::string HandleText() const;  // decimal, as the host answers code 7
 private:
  HWND hwnd_ = nullptr;
};

}  // namespace testhost
