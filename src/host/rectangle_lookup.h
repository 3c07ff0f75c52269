#pragma once
#include <windows.h>
#include <string>

// Asks the host (interface code 7) for the window of the named Rectangle; raises on failure.
HWND GetRectangleHandle(const std::wstring& name);
