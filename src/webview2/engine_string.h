#pragma once
// TEngineString: owns one string that a WebView2 getter hands out ([out] LPWSTR*) and frees it
// with CoTaskMemFree, as the engine requires.
#include <windows.h>
#include <objbase.h>
#include <string>

class TEngineString {
 public:
  TEngineString() = default;
  ~TEngineString() { CoTaskMemFree(FText); }
  TEngineString(const TEngineString&) = delete;
  TEngineString& operator=(const TEngineString&) = delete;

  // For the getter's [out] parameter; frees whatever was held before.
  LPWSTR* Receive() {
    CoTaskMemFree(FText);
    FText = nullptr;
    return &FText;
  }
  bool IsNull() const { return FText == nullptr; }
  // A null string reads as empty.
  std::wstring Text() const { return FText ? std::wstring(FText) : std::wstring(); }

 private:
  LPWSTR FText = nullptr;
};
