#pragma once
// Controls of the Chromium engine (its WebView2Loader.dll), for tests and for programs that
// show publications: besides the loader's two exports, these cdecl functions. Call them on
// the thread that created the browsers.
#include <windows.h>
#include <cstdint>

extern "C" {

// COM objects of the engine still referenced by anyone.
int32_t __cdecl ChromiumEngine_LiveObjects(void);
// Pages (controllers not yet closed) and browser processes still running.
int32_t __cdecl ChromiumEngine_PageCount(void);
int32_t __cdecl ChromiumEngine_BrowserCount(void);
// Writes a PNG picture of the page whose controller's parent window is `window` or lies
// inside it. S_OK, or the failure (no such page: HRESULT_FROM_WIN32(ERROR_NOT_FOUND)).
HRESULT __cdecl ChromiumEngine_CapturePng(HWND window, const wchar_t* path);

}  // extern "C"
