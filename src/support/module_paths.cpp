// Where the plug-in file and the host executable lie.
#include <windows.h>
#include "support/buffer_text.h"
#include "support/module.h"

namespace {
// The directory part of a module's file name with a trailing backslash; empty when Windows
// cannot tell.
std::wstring ModuleDirectory(HMODULE module) {
  const std::wstring name =
      BufferText([module](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); });
  if (name.empty()) return std::wstring();
  const size_t cut = name.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : name.substr(0, cut + 1);
}
}  // namespace

std::wstring PluginDirectory() { return ModuleDirectory(PluginInstance); }
std::wstring HostExecutableDirectory() { return ModuleDirectory(nullptr); }
