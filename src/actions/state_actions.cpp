#include "actions/action_handlers.h"
#include "host/not_available.h"

bool GetBrowserInfo(const std::wstring&, const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelGetInfo"); }
bool SetBrowserZoom(const std::wstring&, int32_t) { ActionNotAvailable(L"zkTamrelSetZoom"); }
bool GetBrowserZoom(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"tamrelGetZoom"); }
