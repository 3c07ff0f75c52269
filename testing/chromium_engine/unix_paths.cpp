#include "unix_paths.h"

#include <windows.h>

#include <cwctype>

#include "scoped_handle.h"

namespace chromium {
namespace {

using UnixNameProc = char*(__cdecl*)(const wchar_t*);
using DosNameProc = wchar_t*(__cdecl*)(const char*);

template <typename Proc>
Proc Kernel32Export(const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// Wine's functions return HeapAlloc'ed strings of the process heap.
struct HeapText {
  void* p;
  ~HeapText() {
    if (p) HeapFree(GetProcessHeap(), 0, p);
  }
};

bool AllDigits(const wchar_t* name) {
  if (!*name) return false;
  for (; *name; ++name)
    if (!iswdigit(*name)) return false;
  return true;
}

}  // namespace

std::string UnixPath(const std::wstring& windowsPath) {
  static const auto proc = Kernel32Export<UnixNameProc>("wine_get_unix_file_name");
  if (!proc) return std::string();
  HeapText text{proc(windowsPath.c_str())};
  return text.p ? std::string(static_cast<const char*>(text.p)) : std::string();
}

std::wstring WindowsPath(const std::string& unixPath) {
  static const auto proc = Kernel32Export<DosNameProc>("wine_get_dos_file_name");
  if (!proc) return std::wstring();
  HeapText text{proc(unixPath.c_str())};
  return text.p ? std::wstring(static_cast<const wchar_t*>(text.p)) : std::wstring();
}

int CountProcessesWithArgument(const std::string& argument) {
  const std::wstring proc = WindowsPath("/proc");
  if (proc.empty()) return 0;
  int count = 0;
  WIN32_FIND_DATAW entry;
  ScopedFind find(FindFirstFileW((proc + L"\\*").c_str(), &entry));
  if (!find.valid()) return 0;
  do {
    if (!AllDigits(entry.cFileName)) continue;
    const std::string cmdline = ReadWholeFile(proc + L"\\" + entry.cFileName + L"\\cmdline");
    // Arguments are separated by NUL characters.
    size_t start = 0;
    while (start < cmdline.size()) {
      size_t end = cmdline.find('\0', start);
      if (end == std::string::npos) end = cmdline.size();
      if (cmdline.compare(start, end - start, argument) == 0) {
        ++count;
        break;
      }
      start = end + 1;
    }
  } while (FindNextFileW(find.get(), &entry));
  return count;
}

}  // namespace chromium
