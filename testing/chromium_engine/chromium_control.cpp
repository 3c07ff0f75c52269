#include "chromium_control.h"

#include "browser_process.h"
#include "chromium_core.h"
#include "live_objects.h"

extern "C" {

int32_t __cdecl ChromiumEngine_LiveObjects(void) { return engine::LiveObjectCount(); }

int32_t __cdecl ChromiumEngine_PageCount(void) { return chromium::ChromiumCore::Instance().PageCount(); }

int32_t __cdecl ChromiumEngine_BrowserCount(void) { return chromium::BrowserProcess::Running(); }

HRESULT __cdecl ChromiumEngine_CapturePng(HWND window, const wchar_t* path) {
  if (!path) return E_POINTER;
  try {
    return chromium::ChromiumCore::Instance().CapturePng(window, path);
  } catch (...) {
    return E_FAIL;
  }
}

}  // extern "C"
