#include "page_picture.h"
#include <cstdint>

namespace runner {
namespace {
using WebViewCountFn = int32_t(__cdecl*)();
using ParentWindowFn = HWND(__cdecl*)(int32_t);
using IsClosedFn = BOOL(__cdecl*)(int32_t);
using CapturePngFn = BOOL(__cdecl*)(int32_t, const wchar_t*);

bool InsideRectangle(HWND window, HWND rectangle) {
  return window && (window == rectangle || IsChild(rectangle, window));
}
}  // namespace

std::string SavePagePicture(HWND rectangle, const std::wstring& pngPath) {
  HMODULE engine = GetModuleHandleW(L"WebView2Loader.dll");
  if (!engine) return "no WebView2Loader.dll is loaded yet: create a browser in the Rectangle first";
  auto capture = reinterpret_cast<CapturePngFn>(GetProcAddress(engine, "Engine_CapturePng"));
  auto count = reinterpret_cast<WebViewCountFn>(GetProcAddress(engine, "Engine_WebViewCount"));
  auto parent = reinterpret_cast<ParentWindowFn>(GetProcAddress(engine, "Engine_ParentWindow"));
  auto closed = reinterpret_cast<IsClosedFn>(GetProcAddress(engine, "Engine_IsClosed"));
  if (!capture || !count || !parent || !closed)
    return "the WebView2Loader.dll beside the plug-in cannot take pictures of its pages (only the Chromium engine "
           "of the test set-up can; Microsoft's loader and the engine double cannot)";
  // The newest open page whose window lies inside the Rectangle is the one the Rectangle shows.
  for (int32_t n = count(); n >= 1; --n) {
    if (closed(n) || !InsideRectangle(parent(n), rectangle)) continue;
    if (!capture(n, pngPath.c_str())) return "the engine could not write the picture";
    return std::string();
  }
  return "the Rectangle shows no browser";
}

}  // namespace runner
