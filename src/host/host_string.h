#pragma once
// Host string buffers: a variable holding null or a GlobalAlloc'ed NUL-terminated ANSI
// string, released with GlobalFree by whichever side ends up holding it.
#include <string>

void SetHostString(char*& buffer, const std::wstring& text);  // raises on allocation failure
void FreeHostString(char*& buffer);

// Owns a plug-in-made buffer for one call to the host; whatever the variable holds
// afterwards is released when the holder goes out of scope, on every path.
class HostStringHolder {
 public:
  HostStringHolder() = default;
  ~HostStringHolder() { FreeHostString(buffer_); }
  HostStringHolder(const HostStringHolder&) = delete;
  HostStringHolder& operator=(const HostStringHolder&) = delete;
  char*& variable() { return buffer_; }
 private:
  char* buffer_ = nullptr;
};
