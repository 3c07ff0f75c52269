// Where the plug-in file and the host executable lie.
#include <windows.h>
#include "support/module.h"

namespace {
// The directory part of a module's file name with a trailing backslash; empty when Windows
// cannot tell or the name does not fit the 260-character buffer.
std::wstring ModuleDirectory(HMODULE module) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  const std::wstring name(buffer, length);
  const size_t cut = name.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : name.substr(0, cut + 1);
}
}  // namespace

std::wstring PluginDirectory() { return ModuleDirectory(PluginInstance); }
std::wstring HostExecutableDirectory() { return ModuleDirectory(nullptr); }
