#pragma once
// Owners of Win32 handles: a kernel handle (CloseHandle) and a find handle (FindClose).
#include <windows.h>

#include <string>

namespace chromium {

template <BOOL(WINAPI* Close)(HANDLE)>
class Scoped {
 public:
  explicit Scoped(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Scoped() {
    if (valid()) Close(handle_);
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

 private:
  HANDLE handle_;
};

using ScopedHandle = Scoped<CloseHandle>;
using ScopedFind = Scoped<FindClose>;

// Reads a whole file (a /proc entry, a small state file); empty when it cannot be read.
inline std::string ReadWholeFile(const std::wstring& path) {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  std::string out;
  if (!file.valid()) return out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  return out;
}

}  // namespace chromium
