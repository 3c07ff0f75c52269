#include "page_picture.h"
#include <cstdio>

namespace runner {
namespace {
// The Chromium engine's picture export: a PNG of the page whose controller's parent window is
// the given window or lies inside it.
using CapturePngFn = HRESULT(__cdecl*)(HWND, const wchar_t*);
}  // namespace

std::string SavePagePicture(HWND rectangle, const std::wstring& pngPath) {
  HMODULE engine = GetModuleHandleW(L"WebView2Loader.dll");
  if (!engine) return "no WebView2Loader.dll is loaded yet: create a browser in the Rectangle first";
  auto capture = reinterpret_cast<CapturePngFn>(GetProcAddress(engine, "ChromiumEngine_CapturePng"));
  if (!capture)
    return "the WebView2Loader.dll beside the plug-in cannot take pictures of its pages (only the Chromium engine "
           "of the test set-up can; Microsoft's loader and the engine double cannot)";
  const HRESULT hr = capture(rectangle, pngPath.c_str());
  if (hr == HRESULT_FROM_WIN32(ERROR_NOT_FOUND)) return "the Rectangle shows no browser";
  if (FAILED(hr)) {
    char text[64];
    std::snprintf(text, sizeof text, "the engine could not write the picture (HRESULT 0x%08lX)",
                  static_cast<unsigned long>(hr));
    return text;
  }
  return std::string();
}

}  // namespace runner
