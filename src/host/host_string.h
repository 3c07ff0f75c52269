#pragma once
// Host string buffers: a variable holding null or a GlobalAlloc'ed NUL-terminated ANSI
// string, released with GlobalFree by whichever side ends up holding it.
#include <string>
#include "support/unique_resource.h"

void SetHostString(char*& buffer, const std::wstring& text);  // raises on allocation failure
void FreeHostString(char*& buffer);

// Owns a plug-in-made buffer for one call to the host; whatever the variable holds
// afterwards is released when the holder goes out of scope, on every path.
using HostStringHolder = TUniqueGlobalString;
