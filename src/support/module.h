#pragma once
#include <windows.h>

#include <string>

// The plug-in's own module instance, set in DllMain.
extern HINSTANCE PluginInstance;

// Directory of the plug-in's own file / of the host executable, with a trailing backslash;
// empty when Windows cannot tell.
std::wstring PluginDirectory();
std::wstring HostExecutableDirectory();
