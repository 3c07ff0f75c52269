#pragma once
// Pictures of a Rectangle's page. WebView2 itself offers no picture of a page to its host, so
// this asks the WebView2Loader.dll that the plug-in loaded into this process: the Chromium
// engine of the test set-up exports one; Microsoft's loader and the engine double do not, and
// then the picture fails with a message that says so.
#include <windows.h>
#include <string>

namespace runner {

// Empty on success, otherwise why no picture was written.
std::string SavePagePicture(HWND rectangle, const std::wstring& pngPath);

}  // namespace runner
