#pragma once
#include <windows.h>

// The plug-in's own module instance, set in DllMain.
extern HINSTANCE PluginInstance;
