#pragma once
// TEngineString: owns one string that a WebView2 getter hands out ([out] LPWSTR*) and frees it
// with CoTaskMemFree, as the engine requires.
#include <string>
#include "support/unique_resource.h"

class TEngineString : public TUniqueCoTaskMemString {
 public:
  // For the getter's [out] parameter; frees whatever was held before.
  LPWSTR* Receive() { return put(); }
  bool IsNull() const { return get() == nullptr; }
  // A null string reads as empty.
  std::wstring Text() const { return get() ? std::wstring(get()) : std::wstring(); }
};
