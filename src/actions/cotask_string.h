#pragma once
// Owns a string that a WebView2 getter handed out; the engine allocated it with
// CoTaskMemAlloc and the caller frees it with CoTaskMemFree.
#include <windows.h>
#include <objbase.h>
#include <string>

class TCoTaskString {
 public:
  TCoTaskString() = default;
  ~TCoTaskString() { CoTaskMemFree(FText); }
  TCoTaskString(const TCoTaskString&) = delete;
  TCoTaskString& operator=(const TCoTaskString&) = delete;

  // For the getter's out parameter; whatever was held before is freed first.
  LPWSTR* Out() {
    CoTaskMemFree(FText);
    FText = nullptr;
    return &FText;
  }
  // A null string reads as empty.
  std::wstring Text() const { return FText ? std::wstring(FText) : std::wstring(); }

 private:
  LPWSTR FText = nullptr;
};
